// Opening a playlist file into a deck and saving a deck's playlist to one.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/media_load.h"
#include "app/paths.h"
#include "base/textfile.h"
#include "library/time_slice.h"
#include "playlist/deck_list.h"
#include "playlist/ipk_file.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

void Tform_mixer::bitbtn1Click() { choosePlaylistToOpen(deckA); }
void Tform_mixer::BitBtn12Click() { choosePlaylistToOpen(deckB); }
void Tform_mixer::bitbtn10Click() { choosePlaylistToSave(deckA); }
void Tform_mixer::BitBtn16Click() { choosePlaylistToSave(deckB); }
void Tform_mixer::OpenDialog1CanClose(const QString& fileName) { openPlaylist(deckA, fileName); }
void Tform_mixer::OpenDialog2CanClose(const QString& fileName) { openPlaylist(deckB, fileName); }
void Tform_mixer::SaveDialog1CanClose(const QString& fileName) { savePlaylist(deckA, fileName); }
void Tform_mixer::SaveDialog2CanClose(const QString& fileName) { savePlaylist(deckB, fileName); }

void Tform_mixer::choosePlaylistToOpen(Deck& d)
{
    const QString chosen = dialogs().openFileName(QString(), app::dataFolder(), playlist::ipkFilter);
    if (!chosen.isEmpty())
        openPlaylist(d, chosen);
}

void Tform_mixer::openPlaylist(Deck& d, const QString& fileName)
{
    playlist::replaceEntries(d, {}, {});
    QStringList paths;
    // A file that cannot be read (a folder, no permission) is as missing as one that is not there.
    if (!textfile::readFileLines(fileName, paths)) {
        mensagem(QStringLiteral("Arquivo não Localizado - Verifique !!"));
        playlist::showCount(d);
        return;
    }
    d.playlistFile = fileName;
    const qsizetype read = paths.size();
    paths.removeIf([](const QString& path) { return !playlist::fitsDeckList({}, path); });
    if (paths.size() != read)
        dialogs().message(loadErrorMessage);
    library::TimeSlice slice;
    const QStringList names = playlist::entryNames(paths, slice);
    playlist::replaceEntries(d, names, paths);
    playlist::showCount(d);
    if (d.listBox->count() == 0)
        return;
    d.listBox->setCurrentRow(0);
    (this->*d.listClick)();
}

void Tform_mixer::choosePlaylistToSave(Deck& d)
{
    if (d.listBox->count() == 0) {
        mensagem(QStringLiteral("Seleção está vazia"));
        return;
    }
    if (!d.playlistFile.isEmpty())
        d.saveDialogName = d.playlistFile;
    // The dialog opens in the program's folder, on the name it offers when that has a folder of its own.
    const QString offered = d.saveDialogName.isEmpty() ? app::dataFolder()
                                                       : QDir(app::dataFolder()).filePath(d.saveDialogName);
    const QString chosen = dialogs().saveFileName(QString(), offered, playlist::ipkFilter);
    if (chosen.isEmpty())
        return;
    d.saveDialogName = chosen;
    savePlaylist(d, chosen);
}

void Tform_mixer::savePlaylist(Deck& d, const QString& typedName)
{
    const QString target = playlist::saveTarget(typedName);
    if (QFileInfo::exists(target) && !confirma(QStringLiteral("Arquivo de Seleção já Existe - Substitui-lo ??")))
        return;
    if (!textfile::writeFileLines(target, d.paths))
        dialogs().message(QStringLiteral("Ocorreu um erro durante a gravação do arquivo"));
}
