// Draws the cells of a list or grid with their text cut to what any row can show. A wrongly chosen
// or corrupted file can hold one line of megabytes; measuring and eliding such a text takes the
// view seconds per repaint, while the data behind the cell stays whole. Main thread.
#pragma once

#include <QStyledItemDelegate>

class ClippedTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // More characters than the widest view can show in one row.
    static constexpr int shownCharacters = 1024;

    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
