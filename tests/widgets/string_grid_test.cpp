// String grid: the Delphi-like counts, fixed rows, current row and column widths, and the
// bulk loads of a 100 000-entry library.
#include "widgets/StringGrid.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A library-like grid: header row, three columns, `rows` entries.
struct LibraryGrid : ::testing::Test {
    StringGrid grid;

    void load(int rows)
    {
        grid.setColCount(3);
        grid.setCells(0, 0, QStringLiteral("Contador"));
        grid.setCells(1, 0, QStringLiteral("Descrição da Música"));
        std::vector<QStringList> columns(3);
        for (int i = 0; i < rows; ++i) {
            columns[0] << QString::number(i + 1);
            columns[1] << QStringLiteral("MÚSICA %1.MP3").arg(i);
            columns[2] << QStringLiteral("/música/%1.mp3").arg(i);
        }
        grid.setRows(std::move(columns));
    }
};

TEST_F(LibraryGrid, CellsOutsideTheGridReadEmptyAndIgnoreWrites)
{
    grid.setColCount(2);
    grid.setRowCount(3);
    grid.setCells(1, 2, QStringLiteral("x"));
    grid.setCells(2, 1, QStringLiteral("beyond the columns"));
    grid.setCells(0, 3, QStringLiteral("beyond the rows"));
    grid.setCells(-1, 0, QStringLiteral("negative"));
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("x"));
    EXPECT_EQ(grid.Cells(2, 1), QString());
    grid.setColCount(3);
    grid.setRowCount(4);
    EXPECT_EQ(grid.Cells(2, 1), QString());
    EXPECT_EQ(grid.Cells(0, 3), QString());
}

TEST_F(LibraryGrid, RowCountKeepsExistingRowsAndEmptiesNewOnes)
{
    load(3);
    ASSERT_EQ(grid.RowCount(), 4);
    grid.setRowCount(2);
    grid.setRowCount(5);
    EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("Descrição da Música"));
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("MÚSICA 0.MP3"));
    EXPECT_EQ(grid.Cells(1, 2), QString()) << "a dropped row comes back empty";
    EXPECT_EQ(grid.Cells(2, 4), QString());
}

TEST_F(LibraryGrid, FixedRowsStayBelowTheRowCount)
{
    grid.setRowCount(2);
    grid.setFixedRows(1);
    grid.setFixedRows(5); // would leave no scrollable row
    EXPECT_EQ(grid.FixedRows(), 1);
    grid.setRowCount(1);
    EXPECT_EQ(grid.FixedRows(), 0);
}

TEST_F(LibraryGrid, FixedRowsShowAsTheHeaderAndFollowTheirCells)
{
    load(2);
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Descrição da Música"));
    EXPECT_TRUE(grid.horizontalHeader()->isVisibleTo(&grid));
    grid.setCells(1, 0, QStringLiteral("<ESC>-SAIR do modo Pesquisa"));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("<ESC>-SAIR do modo Pesquisa"));
    grid.setFixedRows(0);
    EXPECT_FALSE(grid.horizontalHeader()->isVisibleTo(&grid));
}

// The current row names the selected library entry, so it must never be the header; catches
// a setter, a key or a click that lands on row 0.
TEST_F(LibraryGrid, RowNeverLandsOnAFixedRow)
{
    load(10);
    grid.resize(300, 200);
    grid.show();
    EXPECT_EQ(grid.Row(), 1) << "a new grid's current row is its first scrollable row";

    const std::pair<int, int> cases[] = {{0, 1}, {-3, 1}, {5, 5}, {10, 10}, {11, 10}, {999, 10}};
    for (const auto& [asked, got] : cases) {
        grid.setRow(asked);
        EXPECT_EQ(grid.Row(), got) << asked;
        EXPECT_TRUE(grid.selectionModel()->isRowSelected(got)) << asked;
    }

    grid.setRow(1);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Up);
    QTest::keyClick(&grid, Qt::Key_Home);
    EXPECT_EQ(grid.Row(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);

    // Shrinking the grid pulls the current row back onto the last row.
    grid.setRow(10);
    grid.setRowCount(4);
    EXPECT_EQ(grid.Row(), 3);
}

TEST_F(LibraryGrid, RowChangedOnlyWhenTheRowNumberChanges)
{
    load(10);
    grid.resize(300, 200);
    grid.show();
    QSignalSpy spy(&grid, &StringGrid::rowChanged);
    grid.setRow(4);
    grid.setRow(4);
    load(10); // new contents, same current row
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 4);

    const QRect row6 = grid.visualRect(grid.model()->index(6, 1));
    ASSERT_TRUE(row6.isValid());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, row6.center());
    EXPECT_EQ(grid.Row(), 6);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 6);
}

TEST_F(LibraryGrid, DefaultColWidthResetsEveryColumn)
{
    grid.setColCount(3);
    grid.setColWidths(0, 0);
    grid.setColWidths(1, 300);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_EQ(grid.columnWidth(1), 300);

    grid.setDefaultColWidth(396);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid.ColWidths(c), 396) << c;
        EXPECT_FALSE(grid.isColumnHidden(c)) << c;
        EXPECT_EQ(grid.columnWidth(c), 396) << c;
    }
    grid.setColCount(4);
    EXPECT_EQ(grid.ColWidths(3), 396) << "a new column takes the default width";
}

TEST_F(LibraryGrid, BulkLoadOf100000RowsKeepsTheHeaderAndEveryCell)
{
    load(100000);
    grid.resize(398, 300);
    grid.show();
    EXPECT_EQ(grid.RowCount(), 100001);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("Contador"));
    for (const int row : {1, 2, 50000, 99999, 100000}) {
        EXPECT_EQ(grid.Cells(0, row), QString::number(row));
        EXPECT_EQ(grid.Cells(1, row), QStringLiteral("MÚSICA %1.MP3").arg(row - 1));
        EXPECT_EQ(grid.Cells(2, row), QStringLiteral("/música/%1.mp3").arg(row - 1));
    }
    grid.setRow(100000);
    EXPECT_EQ(grid.Row(), 100000);
    EXPECT_GE(100000, grid.TopRow());
    EXPECT_GT(grid.TopRow(), 99900) << "the last row was scrolled into view";
}

TEST_F(LibraryGrid, EmptyBodyLeavesOneEmptyRowUnderTheHeader)
{
    load(5);
    grid.setRows({});
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(1, 0), QStringLiteral("Descrição da Música"));
    EXPECT_EQ(grid.Cells(1, 1), QString());
}

TEST_F(LibraryGrid, ColumnTextsFillOneColumnFromTheTop)
{
    grid.setColCount(3);
    grid.setRowCount(2);
    grid.setCells(2, 1, QStringLiteral("kept"));
    grid.setColumnTexts(1, {QStringLiteral("Descrição das Músicas"), QStringLiteral("A.MP3"), QStringLiteral("B.MP3")});
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("B.MP3"));
    EXPECT_EQ(grid.Cells(2, 1), QStringLiteral("kept"));
    EXPECT_EQ(grid.Cells(2, 2), QString());
}

TEST_F(LibraryGrid, ClearEmptiesCellsAndKeepsTheShape)
{
    load(3);
    grid.setColWidths(1, 200);
    grid.clear();
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.Cells(1, 0), QString());
    EXPECT_EQ(grid.Cells(1, 2), QString());
    EXPECT_EQ(grid.ColWidths(1), 200);
}

} // namespace
