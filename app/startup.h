// The program's start: screen test, one-copy test, command line, first-run time-format check,
// splash, main window, auxiliary windows, event loop. Main thread only.
#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>

class QApplication;
class Tform_about;
class Tform_dir;
class Tform_mixer;

extern Tform_mixer* form_mixer;
extern Tform_about* form_about;
// Owned by the main window: empty again once the window is gone.
extern QPointer<Tform_dir> form_dir;

namespace startup {

// Every argument after one blank, in order: the text `parametro` holds.
QString junta_parametros(const QStringList& arguments);

// Loads the Portuguese texts of Qt's own buttons and boxes.
void installTranslations(QApplication& app);

// The directory capture dialog over the window's capture folder and scanner, created hidden.
Tform_dir* createDirDialog(Tform_mixer& window);

// Runs start-up with the command-line arguments (the program's name left out) and then the
// event loop; returns the exit code.
int run(QApplication& app, const QStringList& arguments);

} // namespace startup
