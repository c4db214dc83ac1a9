#include "library/library_grid.h"

#include "widgets/StringGrid.h"

namespace library {

void writeLibraryHeader(StringGrid& grid)
{
    grid.setCells(0, 0, QStringLiteral("Contador"));
    grid.setCells(1, 0, QStringLiteral("Descrição da Música"));
    grid.setCells(2, 0, QStringLiteral("Endereço da Música"));
}

void showLibraryColumns(StringGrid& grid, LibraryColumns columns)
{
    std::vector<QStringList> rows;
    rows.push_back(std::move(columns.counters));
    rows.push_back(std::move(columns.descriptions));
    rows.push_back(std::move(columns.paths));
    grid.setRows(std::move(rows));
}

} // namespace library
