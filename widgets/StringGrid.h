// Grid of texts with a Delphi-like Cells/RowCount interface (the library grid and the search
// results), a view over a model of strings so that 100 000 rows cost one list of strings per
// column and no widget per cell; main thread only.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <vector>

// The grid's cells, stored column by column. Row and column numbers are the grid's own:
// fixed rows included, counted from 0.
class StringGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StringGridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QString cell(int col, int row) const; // empty outside the grid
    void setCell(int col, int row, const QString& text); // ignored outside the grid
    void setRowCount(int n); // keeps existing rows, new rows are empty
    void setColCount(int n); // keeps existing columns, new columns are empty
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    void setColumnTexts(int col, QStringList texts);
    void setBody(std::vector<QStringList> columns);
    void clear();

signals:
    void fixedRowsChanged();

private:
    bool contains(int col, int row) const;

    std::vector<QStringList> columns_; // each holds exactly rows_ texts
    int rows_ = 0;
    int fixedRows_ = 0;
};

class StringGrid : public QTableView
{
    Q_OBJECT

public:
    // A new grid has the usual defaults of a string grid: 5 columns 64 pixels wide, 5 rows
    // 24 pixels high, the first of them fixed.
    explicit StringGrid(QWidget* parent = nullptr);

    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text); // ignored outside RowCount x ColCount
    int RowCount() const;
    // Keeps existing rows; new rows are empty. Fewer rows than fixed rows lowers the fixed rows
    // so that one scrollable row remains.
    void setRowCount(int n);
    int ColCount() const;
    void setColCount(int n);
    // Fixed rows are the top rows, shown as the grid's header above the scrolling rows; they
    // are never selected. At most RowCount - 1.
    int FixedRows() const;
    void setFixedRows(int n);
    // The selected row: always a scrollable row, FixedRows() when none was chosen.
    int Row() const;
    void setRow(int r); // clamped to the scrollable rows; selects the whole row and shows it
    int TopRow() const; // first scrollable row in view
    void setTopRow(int r);
    int ColWidths(int col) const;
    void setColWidths(int col, int w); // 0 hides the column
    int DefaultColWidth() const;
    void setDefaultColWidth(int w); // every column takes this width, as in a Delphi grid
    int DefaultRowHeight() const;
    // Rows are at least as high as the grid's font needs, so a scaled font keeps its accents
    // and underscores ("AÇÃO", "MUSIC004_FULL") inside the row.
    void setDefaultRowHeight(int h);

    // Bulk loads, one model reset each. setColumnTexts: column `col` from row 0 down; the row
    // count grows to texts.size() when smaller, cells beyond the texts become empty.
    void setColumnTexts(int col, QStringList texts);
    // Replaces every scrollable row: columns[c] holds column c's texts from row FixedRows()
    // down. The fixed rows stay; RowCount becomes FixedRows() + the longest column (at least
    // one scrollable row); the column count grows to columns.size() when smaller.
    void setRows(std::vector<QStringList> columns);
    // Empties every cell; counts and widths stay.
    void clear();

    StringGridModel* gridModel() const { return model_; }

    // Scrolls vertically only: columns beyond the visible width are never brought into view.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void keyboardSearch(const QString&) override {} // the owner runs its own type-ahead

signals:
    void rowChanged(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyColumnWidth(int col);
    void applyFixedRows();
    void moveCurrentRow(int wanted); // selects the row (clamped); rowChanged when its number changes
    void onCurrentChanged(const QModelIndex& current);
    int clampRow(int r) const;
    int cursorColumn() const;

    StringGridModel* model_;
    std::vector<int> widths_;
    int defaultColWidth_ = 64;
    int rowHeight_ = 1; // as asked for, before the font's need
    int currentRow_ = 1;
    bool syncing_ = false;
};
