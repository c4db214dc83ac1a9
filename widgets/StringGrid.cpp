#include "widgets/StringGrid.h"

#include "widgets/ClippedTextDelegate.h"

#include "widgets/Palette.h"

#include <QEvent>
#include <algorithm>
#include <QHeaderView>
#include <QScrollBar>

namespace {
constexpr int delphiDefaultCount = 5;
constexpr int delphiDefaultRowHeight = 24;

QString gridStyleSheet()
{
    const auto rgb = [](const QColor& c) { return c.name(QColor::HexRgb); };
    return QStringLiteral("QTableView { background: %1; color: %2; gridline-color: %3;"
                          "  selection-background-color: %4; selection-color: white; border: 1px solid %3; }"
                          "QTableView:disabled { color: %5; }"
                          "QHeaderView::section { background: %6; color: %2; border: 0;"
                          "  border-right: 1px solid %3; border-bottom: 1px solid %3; padding: 0 3px; }"
                          "QScrollBar:vertical { background: %1; width: 14px; border-left: 1px solid %3; }"
                          "QScrollBar::handle:vertical { background: %6; border: 1px solid %3; min-height: 20px; }"
                          "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }")
        .arg(rgb(skin::panel), rgb(skin::text), rgb(skin::bevelLight), rgb(skin::highlight),
             rgb(skin::textDisabled), rgb(skin::face));
}
} // namespace

StringGrid::StringGrid(QWidget* parent) : QTableView(parent), model_(new StringGridModel(this))
{
    setModel(model_);
    setStyleSheet(gridStyleSheet());
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Uniform row heights: the view never measures a row, whatever the row count.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setDefaultRowHeight(delphiDefaultRowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(model_, &StringGridModel::fixedRowsChanged, this, [this] {
        applyFixedRows();
        moveCurrentRow(currentRow_);
    });
    const auto afterReshape = [this] {
        applyFixedRows();
        moveCurrentRow(currentRow_);
    };
    connect(model_, &QAbstractItemModel::modelReset, this, afterReshape);
    connect(model_, &QAbstractItemModel::rowsInserted, this, afterReshape);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, afterReshape);
    connect(model_, &QAbstractItemModel::columnsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int c = first; c <= last; ++c) {
            widths_.insert(widths_.begin() + c, defaultColWidth_);
            applyColumnWidth(c);
        }
    });
    connect(model_, &QAbstractItemModel::columnsRemoved, this, [this](const QModelIndex&, int first, int last) {
        widths_.erase(widths_.begin() + first, widths_.begin() + last + 1);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        widths_.resize(static_cast<std::size_t>(ColCount()), defaultColWidth_);
        for (int c = 0; c < ColCount(); ++c)
            applyColumnWidth(c);
    });

    setItemDelegate(new ClippedTextDelegate(this));
    setColCount(delphiDefaultCount);
    setRowCount(delphiDefaultCount);
    setFixedRows(1);
}

QString StringGrid::Cells(int col, int row) const
{
    return model_->cell(col, row);
}

void StringGrid::setCells(int col, int row, const QString& text)
{
    model_->setCell(col, row, text);
}

int StringGrid::RowCount() const
{
    return model_->rowCount();
}

void StringGrid::setRowCount(int n)
{
    model_->setRowCount(n);
}

int StringGrid::ColCount() const
{
    return model_->columnCount();
}

void StringGrid::setColCount(int n)
{
    model_->setColCount(n);
}

int StringGrid::FixedRows() const
{
    return model_->fixedRows();
}

void StringGrid::setFixedRows(int n)
{
    model_->setFixedRows(n);
}

int StringGrid::clampRow(int r) const
{
    return qBound(FixedRows(), r, qMax(FixedRows(), RowCount() - 1));
}

int StringGrid::Row() const
{
    return clampRow(currentRow_);
}

void StringGrid::setRow(int r)
{
    moveCurrentRow(r);
    const QModelIndex at = currentIndex();
    if (at.isValid())
        scrollTo(at);
}

int StringGrid::TopRow() const
{
    const int top = rowAt(0);
    return top < 0 ? FixedRows() : top;
}

void StringGrid::setTopRow(int r)
{
    const int column = cursorColumn();
    const QModelIndex at = model_->index(clampRow(r), column);
    if (at.isValid())
        QTableView::scrollTo(at, PositionAtTop);
}

int StringGrid::ColWidths(int col) const
{
    return col >= 0 && col < static_cast<int>(widths_.size()) ? widths_[static_cast<std::size_t>(col)] : 0;
}

void StringGrid::setColWidths(int col, int w)
{
    if (col < 0 || col >= static_cast<int>(widths_.size()))
        return;
    widths_[static_cast<std::size_t>(col)] = qMax(0, w);
    applyColumnWidth(col);
}

int StringGrid::DefaultColWidth() const
{
    return defaultColWidth_;
}

void StringGrid::setDefaultColWidth(int w)
{
    defaultColWidth_ = qMax(0, w);
    for (int c = 0; c < static_cast<int>(widths_.size()); ++c)
        setColWidths(c, defaultColWidth_);
}

int StringGrid::DefaultRowHeight() const
{
    return verticalHeader()->defaultSectionSize();
}

void StringGrid::setDefaultRowHeight(int h)
{
    rowHeight_ = h;
    verticalHeader()->setDefaultSectionSize(std::max({1, h, fontMetrics().height() + 2}));
    applyFixedRows(); // the header holding the fixed rows is as high as they are
}

void StringGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setDefaultRowHeight(rowHeight_);
}

void StringGrid::setColumnTexts(int col, QStringList texts)
{
    model_->setColumnTexts(col, std::move(texts));
}

void StringGrid::setRows(std::vector<QStringList> columns)
{
    model_->setBody(std::move(columns));
}

void StringGrid::clear()
{
    model_->clear();
}

void StringGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int across = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(across);
}

void StringGrid::applyColumnWidth(int col)
{
    const int w = ColWidths(col);
    setColumnHidden(col, w == 0);
    if (w > 0)
        setColumnWidth(col, w);
}

void StringGrid::applyFixedRows()
{
    // Fixed rows live in the horizontal header; the rows themselves stay out of the view.
    const int fixed = FixedRows();
    for (int r = 0; r < RowCount(); ++r) {
        const bool hide = r < fixed;
        if (isRowHidden(r) != hide)
            setRowHidden(r, hide);
        else if (!hide)
            break;
    }
    horizontalHeader()->setVisible(fixed > 0);
    if (fixed > 0)
        horizontalHeader()->setFixedHeight(fixed * DefaultRowHeight() + 2);
}

int StringGrid::cursorColumn() const
{
    // The keyboard cannot move a cursor that stands in a hidden column (the count column is).
    const int current = currentIndex().column();
    if (current >= 0 && !isColumnHidden(current))
        return current;
    for (int c = 0; c < ColCount(); ++c)
        if (!isColumnHidden(c))
            return c;
    return 0;
}

void StringGrid::moveCurrentRow(int wanted)
{
    const int row = clampRow(wanted);
    const bool changed = row != currentRow_;
    currentRow_ = row;
    if (RowCount() > FixedRows()) {
        const int column = cursorColumn();
        const QModelIndex at = model_->index(row, column);
        if (currentIndex() != at || !selectionModel()->isRowSelected(row)) {
            syncing_ = true;
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            syncing_ = false;
        }
    }
    if (changed)
        emit rowChanged(row);
}

void StringGrid::onCurrentChanged(const QModelIndex& current)
{
    if (syncing_ || !current.isValid() || current.row() < FixedRows() || current.row() == currentRow_)
        return;
    currentRow_ = current.row();
    emit rowChanged(currentRow_);
}
