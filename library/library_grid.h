// Filling the library grid (StringGrid1) from library columns: shared by the load of the library
// file and the capture. Main thread.
#pragma once

#include "library/library_file.h"

class StringGrid;

namespace library {

// Writes the three header texts of the library grid into its fixed row.
void writeLibraryHeader(StringGrid& grid);

// Replaces the rows below the header with the columns; no columns leave one empty row.
void showLibraryColumns(StringGrid& grid, LibraryColumns columns);

} // namespace library
