// Filling a deck's playlist from the library, clearing it and deleting single entries.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/funcoes.h"
#include "app/media_load.h"
#include "playlist/deck_list.h"
#include "widgets/StringGrid.h"

#include <QListWidget>

void Tform_mixer::BitBtn14Click() { addFromLibrary(deckA); }
void Tform_mixer::BitBtn15Click() { addFromLibrary(deckB); }
void Tform_mixer::bitbtn17Click() { clearPlaylist(deckA); }
void Tform_mixer::BitBtn19Click() { clearPlaylist(deckB); }
void Tform_mixer::bitbtn18Click() { deleteSelectedEntry(deckA); }
void Tform_mixer::BitBtn20Click() { deleteSelectedEntry(deckB); }
void Tform_mixer::Exclur1Click() { deleteSelectedEntry(deckA); }
void Tform_mixer::MenuItem5Click() { deleteSelectedEntry(deckB); }

void Tform_mixer::addFromLibrary(Deck& d)
{
    // In search mode the results grid stands where the library grid was.
    const StringGrid* grid = StringGrid2->isHidden() ? StringGrid1 : StringGrid2;
    const int row = grid->Row();
    if (row <= 0)
        return;
    const QString description = grid->Cells(1, row);
    if (description.isEmpty())
        return;
    const QString path = grid->Cells(2, row);
    if (!playlist::fitsDeckList(description, path)) {
        dialogs().message(loadErrorMessage);
        return;
    }
    // Display names are compared, so the same file name from another folder counts too.
    for (int i = 0; i < d.listBox->count(); ++i) {
        if (d.listBox->item(i)->text() == description &&
            !confirma(QStringLiteral("Música já Existente nesta programação - Deseja Continuar ??")))
            return;
    }
    d.listBox->addItem(description);
    d.paths.append(path);
    playlist::showCount(d);
    if (d.listBox->count() == 1) {
        d.listBox->setCurrentRow(0);
        (this->*d.listClick)();
    }
}

void Tform_mixer::clearPlaylist(Deck& d)
{
    d.playlistFile.clear();
    d.listBox->clear();
    d.paths.clear();
    playlist::showCount(d);
}

void Tform_mixer::deleteSelectedEntry(Deck& d)
{
    const int i = playlist::selectedIndex(d);
    if (i < 0)
        return;
    delete d.listBox->takeItem(i);
    d.paths.removeAt(i);
    // Nothing is selected after a delete; the deck keeps whatever it has loaded.
    d.listBox->setCurrentRow(-1);
    playlist::showCount(d);
}
