// The play record's hooks on the clip channel and its menu item "Relatório de Execuções", which
// opens the record's folder in the desktop's file manager. Main thread only.
#include "app/UMIXER.h"
#include "app/paths.h"
#include "audio/TCorvoBass.h"

#include <QAction>
#include <QDir>
#include <QUrl>

void Tform_mixer::RelatorioExecucoes1Click()
{
    // Before the first track is on record there is a folder to look at all the same.
    const QString folder = mixer::PlayRecord::folder();
    QDir().mkpath(folder);
    app::openUrl(QUrl::fromLocalFile(folder));
}

void Tform_mixer::connectPlayRecord()
{
    // A clip that the key stops again is closed as a dry stop before the channel stops.
    canal_atalho->OnStop = [this](QObject*) { registro.stopped(*canal_atalho, mixer::StopReason::End); };
    connect(RelatorioExecucoes1, &QAction::triggered, this, &Tform_mixer::RelatorioExecucoes1Click);
}
