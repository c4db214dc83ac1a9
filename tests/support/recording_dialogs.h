// A dialogs double: records every box the program shows and answers from a script.
// Confirmations answer OK unless an answer was queued; file choosers answer queued paths
// (or cancel when none is left). A notice stays up, as nobody answers it, until closeNotice():
// meanwhile further notices change its text.
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
        int seconds = 0; // a confirmation that answers OK by itself after this long
        QString countdown = {};
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
        notice_ = -1;
    }

    // The operator answers the notice that is up.
    void closeNotice() { notice_ = -1; }
    bool noticeUp() const { return notice_ >= 0; }

    void beep() override { ++beeps; }
    void message(const QString& text, const QString& caption) override
    {
        shown.append({"message", text, caption, {}});
        if (whileMessageShows)
            whileMessageShows();
    }
    bool notice(const QString& text, const QString& caption) override
    {
        if (notice_ >= 0) {
            shown[notice_].text = text;
            return false;
        }
        notice_ = int(shown.size());
        shown.append({"notice", text, caption, {}});
        return true;
    }
    bool confirm(const QString& text, const QString& caption) override
    {
        shown.append({"confirm", text, caption, {}});
        return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
    }
    bool confirmOrProceed(const QString& text, const QString& caption, int seconds, const QString& countdown) override
    {
        shown.append({"confirm", text, caption, {}, seconds, countdown});
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

private:
    int notice_ = -1; // the notice that is up, as an index of `shown`
};

} // namespace test
