// A dialogs double: records every box the program shows and answers from a script.
// Confirmations answer OK unless an answer was queued; file choosers answer queued paths
// (or cancel when none is left).
#pragma once
#include "app/dialogs.h"

#include <QList>
#include <functional>
#include <QStringList>

namespace test {

class RecordingDialogs final : public Dialogs
{
public:
    struct Shown {
        QString kind; // "message", "notice", "confirm", "open" or "save"
        QString text;
        QString caption;
        QString folder; // where a file chooser opened, with the file name it offered
    };

    QList<Shown> shown;
    int beeps = 0;
    QList<bool> confirmAnswers;
    QStringList fileAnswers;
    // Runs while a message is "shown", as a real box would take the focus away meanwhile.
    std::function<void()> whileMessageShows;

    // The texts shown, in order.
    QStringList texts() const
    {
        QStringList all;
        for (const Shown& s : shown)
            all << s.text;
        return all;
    }

    void clear()
    {
        shown.clear();
        beeps = 0;
    }

    void beep() override { ++beeps; }
    void message(const QString& text, const QString& caption) override
    {
        shown.append({"message", text, caption, {}});
        if (whileMessageShows)
            whileMessageShows();
    }
    void notice(const QString& text) override { shown.append({"notice", text, {}, {}}); }
    bool confirm(const QString& text, const QString& caption) override
    {
        shown.append({"confirm", text, caption, {}});
        return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
    }
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        shown.append({"open", filter, caption, folder});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override
    {
        shown.append({"save", filter, caption, folder});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

} // namespace test
