// The shortcut clips: the ten paths of F2..F11 played on canal_atalho, loaded from "ATALHOS.INI"
// at start-up and stored there by the configuration dialog's OK.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/media_load.h"
#include "app/funcoes.h"
#include "app/paths.h"
#include "base/textfile.h"
#include "audio/TCorvoBass.h"
#include "audio/engine.h"
#include "library/path_case.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

QString clipsFile() { return app::dataFile(QStringLiteral("ATALHOS.INI")); }

// True when no path holds more than blanks: the file is then removed instead of written.
bool allEmpty(const std::array<QString, 10>& paths)
{
    return std::all_of(paths.begin(), paths.end(), [](const QString& path) { return path.trimmed().isEmpty(); });
}

// Replaces the file with the ten paths as they stand, or removes it when none is assigned;
// false when the file on disk does not now hold them.
bool storeClips(const std::array<QString, 10>& paths)
{
    const QString path = clipsFile();
    if (allEmpty(paths))
        return !QFileInfo::exists(path) || QFile::remove(path);
    return textfile::writeFileLines(path, QStringList(paths.begin(), paths.end()));
}

} // namespace

void Tform_mixer::PlayAtalho011Click() { play_atalho(atalhos[0], 1); }
void Tform_mixer::PlayAtalho012Click() { play_atalho(atalhos[1], 2); }
void Tform_mixer::PlayAtalho013Click() { play_atalho(atalhos[2], 3); }
void Tform_mixer::PlayAtalho014Click() { play_atalho(atalhos[3], 4); }
void Tform_mixer::PlayAtalho051Click() { play_atalho(atalhos[4], 5); }
void Tform_mixer::PlayAtalho061Click() { play_atalho(atalhos[5], 6); }
void Tform_mixer::PlayAtalho071Click() { play_atalho(atalhos[6], 7); }
void Tform_mixer::PlayAtalho081Click() { play_atalho(atalhos[7], 8); }
void Tform_mixer::PlayAtalho091Click() { play_atalho(atalhos[8], 9); }
void Tform_mixer::PlayAtalho101Click() { play_atalho(atalhos[9], 10); }

void Tform_mixer::play_atalho(const QString& path, int clip)
{
    if (path.isEmpty())
        return;
    // The path boxes show upper case and tables come from Windows: find the file as the disk spells it.
    const QString found = library::existingPathIgnoringCase(path);
    if (!QFileInfo(found).isFile()) {
        mensagem("Arquivo ->" + path + " - Não Localizado !!");
        return;
    }
    // The key works as play/stop: a press while any clip sounds only stops it.
    if (canal_atalho->Playing) {
        registro.stopped(*canal_atalho, mixer::StopReason::Dry);
        canal_atalho->Stop();
        return;
    }
    if (!carrega_midia(*canal_atalho, found))
        return;
    canal_atalho->Play();
    if (canal_atalho->Playing)
        registro.started(*canal_atalho, QStringLiteral("clip %1").arg(clip));
}

void Tform_mixer::carrega_atalhos()
{
    QStringList lines;
    if (!textfile::readFileLines(clipsFile(), lines))
        return;
    // Lines past the tenth have no clip; a shorter file leaves the last clips as they were.
    for (int clip = 0; clip < int(atalhos.size()) && clip < lines.size(); ++clip)
        atalhos[size_t(clip)] = lines[clip];
}

void Tform_mixer::grava_atalhos(const std::array<QString, 10>& paths)
{
    // The keys use the new paths at once, whether or not the file takes them.
    atalhos = paths;
    if (!storeClips(paths))
        dialogs().message(QStringLiteral("Erro ao gravar arquivo de atalhos"));
}
