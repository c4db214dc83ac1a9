// Builds the real main window for a test and drives it. Every window-level test uses it.
//
//   TEST(Deck, LoadsTheFirstEntry) {
//       test::Harness h;                          // temporary data folder, recording dialogs,
//       h.writeDataFile("lista.upd", "");         //   a 1024 x 768 screen, the manual audio backend
//       Tform_mixer& w = h.create();              // constructs the window: its creation step runs
//       h.show();                                 // shows it: its show step runs
//       w.lista_a << h.dataFile("a.wav");         // state and controls by their own names
//       h.click("ListBox1");                      // a control found by objectName
//       h.key(Qt::Key_F12);                       // a key to the window (its menu shortcuts act)
//       h.render(200);                            // 200 ms of audio pass (manual backend)
//       h.tick("Timer1");                         // one tick of a window timer
//       EXPECT_EQ(h.dialogs.texts(), QStringList{});
//   }
#pragma once
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/paths.h"
#include "app/time_format.h"
#include "audio/engine.h"
#include "support/recording_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace test {

class Harness
{
public:
    explicit Harness(QSize screen = QSize(1024, 768)) : Harness(screen, false) {}

    // The window plays through the engine's real outputs: the test sound server
    // (support/sound_server.h) in a test program that started it, in real time.
    struct RealOutputs {};
    explicit Harness(RealOutputs, QSize screen = QSize(1024, 768)) : Harness(screen, true) {}

    // Lets `ms` milliseconds of audio pass on every opened device.
    void render(int ms) const { audio::renderManual(ms); }

    ~Harness()
    {
        window.reset();
        setDialogs(nullptr);
        app::setDataFolder(QString());
        app::setScreenSize(QSize());
        timefmt::setStorePath(QString());
    }

    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

private:
    Harness(QSize screen, bool realOutputs)
    {
        app::setDataFolder(dataDir.path());
        app::setScreenSize(screen);
        timefmt::setStorePath(dataDir.filePath("user-locale.ini"));
        setDialogs(&dialogs);
        // Tests never need a sound card: time passes only when a test renders it.
        if (!realOutputs)
            audio::useManualBackend();
    }

public:
    RecordingDialogs dialogs;
    QTemporaryDir dataDir;
    std::unique_ptr<Tform_mixer> window;

    QString dataFile(const QString& name) const { return dataDir.filePath(name); }

    void writeDataFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(dataFile(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }

    Tform_mixer& create()
    {
        window = std::make_unique<Tform_mixer>();
        return *window;
    }

    // Shows the window and lets its show step run.
    void show()
    {
        window->show();
        window->activateWindow();
        QApplication::processEvents();
    }

    template <class T = QWidget>
    T* find(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        if (!found)
            ADD_FAILURE() << "no control named " << name.toStdString();
        return found;
    }

    // A left click in the middle of the control, as the operator makes it.
    void click(const QString& name)
    {
        QWidget* control = find(name);
        if (!control)
            return;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->click();
        else
            QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        QApplication::processEvents();
    }

    // A key pressed and released with the focus where it is (or on the window).
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }

    // One tick of a timer of the window, whether or not it is running.
    void tick(const QString& name)
    {
        if (QTimer* timer = window->findChild<QTimer*>(name))
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        else
            ADD_FAILURE() << "no timer named " << name.toStdString();
        QApplication::processEvents();
    }
};

} // namespace test
