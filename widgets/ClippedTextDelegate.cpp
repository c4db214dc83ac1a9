#include "widgets/ClippedTextDelegate.h"

void ClippedTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->text.truncate(shownCharacters);
}
