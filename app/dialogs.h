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
    // A box with an OK button that returns at once and leaves the program running: for what the
    // operator must hear of while the music goes on (a disk that refuses the program's files).
    // A text already on screen is not shown twice.
    virtual void notice(const QString& text) = 0;
    // OK and Cancel; true on OK (closing the box counts as Cancel).
    virtual bool confirm(const QString& text, const QString& caption) = 0;
    // File choosers; an empty result means the operator cancelled.
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
};

// The dialogs in use: Qt's own boxes unless setDialogs() installed another.
Dialogs& dialogs();
// Installs a replacement (not owned); nullptr brings back Qt's boxes.
void setDialogs(Dialogs* replacement);
// The window the boxes are shown over.
void setDialogParent(QWidget* parent);
