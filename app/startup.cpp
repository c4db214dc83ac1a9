#include "app/startup.h"

#include "app/UMIXER.h"
#include "app/about.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/paths.h"
#include "app/single_instance.h"
#include "app/uabertura.h"
#include "base/path_bytes.h"
#include "library/udir.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

Tform_mixer* form_mixer = nullptr;
Tform_about* form_about = nullptr;
QPointer<Tform_dir> form_dir;

namespace startup {

QString junta_parametros(const QStringList& arguments)
{
    QString joined;
    for (const QString& argument : arguments)
        joined += ' ' + argument;
    return joined;
}

Tform_dir* createDirDialog(Tform_mixer& window)
{
    auto* dialog = new Tform_dir(window.pasta_captura, *window.MixerScan1,
                                 [](const QString& text) { dialogs().message(text); }, &window);
    dialog->setObjectName("form_dir");
    dialog->hide();
    return dialog;
}

void installTranslations(QApplication& app)
{
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(QLocale::Portuguese, QLocale::Brazil), "qtbase", "_",
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

int run(QApplication& app, const QStringList& arguments)
{
    if (app::screenSize().width() < 1024) {
        dialogs().message(QStringLiteral("ARVESTO VOLTARIA-PRO IV  - Resolução de tela Mínima 1024x768 - "
                                         "Verifique\rArvesto Sistemas de Áudio"));
        return 0;
    }
    const QString commandLine = junta_parametros(arguments);
    if (SingleInstance::otherCopyRunning()) {
        // A file opened while the program runs (the menu entry passes it) goes to the running
        // copy, which lists and previews it; saying so in a box first would only cost a click.
        if (!base::isFile(commandLine.trimmed()))
            dialogs().message(QStringLiteral("Arvesto já está aberto. A cópia anterior será ativada."),
                              QStringLiteral("Arvesto Voltaria já está aberto"));
        SingleInstance::activateOtherCopy(commandLine);
        return 0;
    }
    parametro = commandLine;
    if (!QFile::exists(app::dataFile("lista.upd")))
        verifica_hora();

    {
        // The splash goes away once the main window exists, and also when building it fails.
        auto splash = std::make_unique<Tform_abertura>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
        form_mixer = new Tform_mixer;
    }
    auto* instance = new SingleInstance(form_mixer);
    QObject::connect(instance, &SingleInstance::activationRequested, form_mixer, &Tform_mixer::openFromOutside);
    instance->listen();
    form_mixer->setAttribute(Qt::WA_DeleteOnClose);

    form_dir = createDirDialog(*form_mixer);
    form_about = new Tform_about(form_mixer);
    form_about->hide();

    form_mixer->show();
    form_mixer->activateWindow();
    return app.exec();
}

} // namespace startup
