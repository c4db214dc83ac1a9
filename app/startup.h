// The program's start: screen test, one-copy test, command line, first-run time-format check,
// splash, main window, auxiliary windows, event loop. Main thread only.
#pragma once
#include <QString>
#include <QStringList>

class QApplication;
class Tform_about;
class Tform_mixer;

extern Tform_mixer* form_mixer;
extern Tform_about* form_about;

namespace startup {

// Every argument after one blank, in order: the text `parametro` holds.
QString junta_parametros(const QStringList& arguments);

// Loads the Portuguese texts of Qt's own buttons and boxes.
void installTranslations(QApplication& app);

// Runs start-up with the application's arguments and then the event loop; returns the exit code.
int run(QApplication& app);

} // namespace startup
