#include "widgets/StringGrid.h"

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent)
{
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

bool StringGridModel::contains(int col, int row) const
{
    return col >= 0 && row >= 0 && col < static_cast<int>(columns_.size()) && row < rows_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.column(), index.row());
    return {};
}

QVariant StringGridModel::headerData(int section, Qt::Orientation o, int role) const
{
    // The fixed rows are drawn as the horizontal header, so they stay in place while the rest
    // scrolls.
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    QStringList lines;
    for (int r = 0; r < fixedRows_; ++r)
        lines << cell(section, r);
    return lines.join(u'\n');
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() < fixedRows_)
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString StringGridModel::cell(int col, int row) const
{
    return contains(col, row) ? columns_[static_cast<std::size_t>(col)].at(row) : QString();
}

void StringGridModel::setCell(int col, int row, const QString& text)
{
    if (!contains(col, row))
        return;
    columns_[static_cast<std::size_t>(col)][row] = text;
    const QModelIndex at = index(row, col);
    emit dataChanged(at, at, {Qt::DisplayRole});
    if (row < fixedRows_)
        emit headerDataChanged(Qt::Horizontal, col, col);
}

void StringGridModel::setRowCount(int n)
{
    n = qMax(0, n);
    if (n == rows_)
        return;
    if (n > rows_)
        beginInsertRows({}, rows_, n - 1);
    else
        beginRemoveRows({}, n, rows_ - 1);
    const bool growing = n > rows_;
    for (QStringList& column : columns_)
        column.resize(n);
    rows_ = n;
    if (growing)
        endInsertRows();
    else
        endRemoveRows();
    // A grid keeps at least one scrollable row below its fixed rows.
    if (fixedRows_ >= rows_)
        setFixedRows(rows_ - 1);
}

void StringGridModel::setColCount(int n)
{
    n = qMax(0, n);
    const int cols = static_cast<int>(columns_.size());
    if (n == cols)
        return;
    if (n > cols) {
        beginInsertColumns({}, cols, n - 1);
        QStringList empty;
        empty.resize(rows_);
        columns_.resize(static_cast<std::size_t>(n), empty);
        endInsertColumns();
    } else {
        beginRemoveColumns({}, n, cols - 1);
        columns_.resize(static_cast<std::size_t>(n));
        endRemoveColumns();
    }
}

void StringGridModel::setFixedRows(int n)
{
    n = qBound(0, n, qMax(0, rows_ - 1));
    if (n == fixedRows_)
        return;
    fixedRows_ = n;
    emit headerDataChanged(Qt::Horizontal, 0, qMax(0, columnCount() - 1));
    emit fixedRowsChanged();
}

void StringGridModel::setColumnTexts(int col, QStringList texts)
{
    if (col < 0 || col >= columnCount())
        return;
    beginResetModel();
    const int n = qMax(rows_, static_cast<int>(texts.size()));
    for (QStringList& column : columns_)
        column.resize(n);
    texts.resize(n);
    columns_[static_cast<std::size_t>(col)] = std::move(texts);
    rows_ = n;
    endResetModel();
}

void StringGridModel::setBody(std::vector<QStringList> columns)
{
    beginResetModel();
    if (columns.size() > columns_.size())
        columns_.resize(columns.size());
    int body = 1;
    for (const QStringList& c : columns)
        body = qMax(body, static_cast<int>(c.size()));
    const int n = fixedRows_ + body;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        QStringList column = columns_[c].mid(0, fixedRows_);
        column.resize(fixedRows_);
        if (c < columns.size())
            column.append(std::move(columns[c]));
        column.resize(n);
        columns_[c] = std::move(column);
    }
    rows_ = n;
    endResetModel();
}

void StringGridModel::clear()
{
    beginResetModel();
    for (QStringList& column : columns_) {
        column.clear();
        column.resize(rows_);
    }
    endResetModel();
}
