#include "app/startup.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Without a desktop session the toolkit would abort with a message no operator reads.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "O Arvesto Voltaria precisa de uma sessão gráfica (desktop). A desktop session is "
                             "needed; to try it without one: xvfb-run -s '-screen 0 1280x1024x24' %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    // The user's data folder (~/.local/share/voltaria) and the menu entry are found by these names.
    QApplication::setApplicationName(QStringLiteral("voltaria"));
    QApplication::setDesktopFileName(QStringLiteral("example.arvesto.voltaria"));
    startup::installTranslations(app);
    return startup::run(app, QApplication::arguments().mid(1));
}
