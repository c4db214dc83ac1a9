// "PRG": the library dealt out row by row to the two deck playlists, deck A first, letting the
// window run between slices of the work. Main thread only.
#include "app/UMIXER.h"
#include "app/dialogs.h"
#include "app/media_load.h"
#include "library/time_slice.h"
#include "playlist/deck_list.h"
#include "widgets/StringGrid.h"

#include <QListWidget>

namespace {

// Rows past this one are not dealt out: at most 10 001 rows in all.
constexpr int lastDealtRow = 10000;

} // namespace

void Tform_mixer::BitBtn24Click()
{
    if (StringGrid1->Cells(1, 1).isEmpty())
        return;
    int r = 1;
    Deck* target = &deckA;
    library::TimeSlice slice;
    const int repeats = StringGrid1->RowCount() - 1;
    bool refused = false;
    for (int i = 0; i < repeats; ++i) {
        // Moving the grid's selection costs more than dealing a row: it is shown only when the
        // window runs, and the operator may move it meanwhile; the deal goes on from there.
        if (slice.due()) {
            StringGrid1->setRow(r);
            // A close request among these events is held until the deal has ended.
            slice.tick();
            r = StringGrid1->Row();
        }
        const QString description = StringGrid1->Cells(1, r);
        if (r == 0 || description.isEmpty())
            break;
        const QString path = StringGrid1->Cells(2, r);
        if (playlist::fitsDeckList(description, path)) {
            target->listBox->addItem(description);
            target->paths.append(path);
            playlist::showCount(*target);
            target = &otherDeck(*target);
        } else
            refused = true;
        // The grid stays on the last row dealt, also when the limit ends the deal.
        if (r > lastDealtRow)
            break;
        if (r + 1 < StringGrid1->RowCount())
            ++r;
    }
    StringGrid1->setRow(r);
    if (refused)
        dialogs().message(loadErrorMessage);
}
