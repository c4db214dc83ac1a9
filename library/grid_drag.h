// Presses on the library grids and the drag of a grid's selected row towards the deck
// playlists, whose drop adds the row (the drop looks at the grid, not at what is carried).
// Main thread.
#pragma once

#include <Qt>
#include <functional>

class StringGrid;

namespace library {

// Runs mouseDown for every press on the grid and doubleClick for every left double click, each
// after the grid has handled the event (so the row under the pointer is already selected), and
// carries out a drag that mouseDown began.
void watchGridPresses(StringGrid* grid, std::function<void(Qt::MouseButton)> mouseDown,
                      std::function<void()> doubleClick = {});

// Begins a drag of the grid from the press being handled: with the first movement when
// immediate, otherwise once the pointer has moved by the system's drag distance. A release
// before that drops the drag.
void beginGridDrag(StringGrid* grid, bool immediate);

} // namespace library
