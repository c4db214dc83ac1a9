// Every message box, confirmation, beep and file chooser of the program goes through this
// interface, so tests can record what the operator would see and answer OK or Cancel.
// Main thread only.
#pragma once
#include <QString>

class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual void beep() = 0;
    // A plain box with an OK button. An empty caption means the application's title.
    virtual void message(const QString& text, const QString& caption = QString()) = 0;
    // A plain box that waits for nobody: it stays up and the call returns at once. While it is
    // up, a further notice puts its text in that box instead of opening another. True when this
    // call opened the box. Dialogs that answer every box at once show it as a message.
    virtual bool notice(const QString& text, const QString& caption = QString())
    {
        message(text, caption);
        return true;
    }
    // OK and Cancel; true on OK (closing the box counts as Cancel).
    virtual bool confirm(const QString& text, const QString& caption) = 0;
    // The same, answered OK by the box itself when nobody has answered within `seconds`; the box
    // counts down with `countdown`, whose "%1" is the seconds left. Dialogs that answer every box
    // at once answer it as a confirmation.
    virtual bool confirmOrProceed(const QString& text, const QString& caption, int /*seconds*/,
                                  const QString& /*countdown*/)
    {
        return confirm(text, caption);
    }
    // File choosers; an empty result means the operator cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
};

// The dialogs in use: Qt's own boxes unless setDialogs() installed another; while an Unattended
// lives, those same dialogs with their messages turned into notices.
Dialogs& dialogs();
// Installs a replacement (not owned); nullptr brings back Qt's boxes.
void setDialogs(Dialogs* replacement);
// The window the boxes are shown over.
void setDialogParent(QWidget* parent);

// Lives while an automatic action runs (a hand-over, a stop with Auto Mix on, the silence watch,
// a resume): nobody may be at the desk, and a box that waited for an answer would hold the music
// off. Its messages become notices, so at most one such box is up, showing the newest text, and
// only the box's opening beeps. Nests.
class Unattended
{
public:
    Unattended();
    ~Unattended();
    Unattended(const Unattended&) = delete;
    Unattended& operator=(const Unattended&) = delete;
};
