// The library grids under the mouse: a selection change, presses that start a drag of a row
// towards the deck playlists. Main thread only.
#include "app/UMIXER.h"
#include "library/grid_drag.h"
#include "widgets/StringGrid.h"

void Tform_mixer::StringGrid1MouseDown(Qt::MouseButton button) { pressOnGrid(StringGrid1, button); }
void Tform_mixer::StringGrid2MouseDown(Qt::MouseButton button) { pressOnGrid(StringGrid2, button); }

void Tform_mixer::StringGrid1Click()
{
    StringGrid1->setToolTip(StringGrid1->Cells(2, StringGrid1->Row()));
    linha_drag_a = -1;
    linha_drag_b = -1;
}

void Tform_mixer::pressOnGrid(StringGrid* grid, Qt::MouseButton button)
{
    texto_busca.clear();
    if (button != Qt::LeftButton || grid->Row() == 0)
        return;
    // A numbered row is dragged at once; a row without a counter only after a deliberate move.
    library::beginGridDrag(grid, !grid->Cells(0, grid->Row()).trimmed().isEmpty());
}
