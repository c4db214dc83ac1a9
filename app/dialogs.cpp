#include "app/dialogs.h"

#include "app/paths.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

// "\r" in the program's texts is a line break in a box.
QString boxText(QString text)
{
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

QPointer<QWidget> parentWindow;

class QtDialogs final : public Dialogs
{
public:
    void beep() override { QApplication::beep(); }

    void message(const QString& text, const QString& caption) override
    {
        QMessageBox box(QMessageBox::NoIcon, title(caption), boxText(text), QMessageBox::Ok, parentWindow);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
    }

    bool notice(const QString& text, const QString& caption) override
    {
        if (noticeBox_) {
            noticeBox_->setText(boxText(text));
            return false;
        }
        noticeBox_ = new QMessageBox(QMessageBox::NoIcon, title(caption), boxText(text), QMessageBox::Ok, parentWindow);
        noticeBox_->setWindowFlag(Qt::WindowStaysOnTopHint);
        QObject::connect(noticeBox_, &QDialog::finished, noticeBox_, &QObject::deleteLater);
        // Shown as the other boxes are, over the window, but the caller goes on at once.
        noticeBox_->open();
        return true;
    }

    bool confirm(const QString& text, const QString& caption) override
    {
        QMessageBox box(QMessageBox::Question, caption, boxText(text), QMessageBox::Ok | QMessageBox::Cancel,
                        parentWindow);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return box.exec() == QMessageBox::Ok;
    }

    bool confirmOrProceed(const QString& text, const QString& caption, int seconds, const QString& countdown) override
    {
        QMessageBox box(QMessageBox::Question, caption, boxText(text), QMessageBox::Ok | QMessageBox::Cancel,
                        parentWindow);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        int left = seconds;
        box.setInformativeText(countdown.arg(left));
        QTimer tick;
        tick.setInterval(1000);
        QObject::connect(&tick, &QTimer::timeout, &box, [&] {
            if (--left > 0)
                box.setInformativeText(countdown.arg(left));
            else
                box.button(QMessageBox::Ok)->click();
        });
        tick.start();
        return box.exec() == QMessageBox::Ok;
    }

    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(parentWindow, caption, folder, filter);
    }

    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        // The callers ask their own overwrite question.
        return QFileDialog::getSaveFileName(parentWindow, caption, folder, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

private:
    static QString title(const QString& caption)
    {
        return caption.isEmpty() ? QString::fromUtf8(app::applicationTitle) : caption;
    }

    // The one box of the automatic actions, while it is up.
    QPointer<QMessageBox> noticeBox_;
};

// The dialogs in use while an Unattended lives: messages become notices, and a beep is heard
// only with the box it announces when that box opens.
class NoticesOnly final : public Dialogs
{
public:
    Dialogs* inner = nullptr;

    void beep() override { beepPending_ = true; }
    void message(const QString& text, const QString& caption) override
    {
        if (inner->notice(text, caption) && beepPending_)
            inner->beep();
        beepPending_ = false;
    }
    bool notice(const QString& text, const QString& caption) override { return inner->notice(text, caption); }
    bool confirm(const QString& text, const QString& caption) override { return inner->confirm(text, caption); }
    bool confirmOrProceed(const QString& text, const QString& caption, int seconds, const QString& countdown) override
    {
        return inner->confirmOrProceed(text, caption, seconds, countdown);
    }
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return inner->openFileName(caption, folder, filter);
    }
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        return inner->saveFileName(caption, folder, filter);
    }

private:
    bool beepPending_ = false;
};

Dialogs* current = nullptr;
int unattendedDepth = 0;

} // namespace

Dialogs& dialogs()
{
    static QtDialogs qtDialogs;
    static NoticesOnly noticesOnly;
    Dialogs& chosen = current ? *current : qtDialogs;
    if (unattendedDepth == 0)
        return chosen;
    noticesOnly.inner = &chosen;
    return noticesOnly;
}

void setDialogs(Dialogs* replacement) { current = replacement; }

void setDialogParent(QWidget* parent) { parentWindow = parent; }

Unattended::Unattended() { ++unattendedDepth; }

Unattended::~Unattended() { --unattendedDepth; }
