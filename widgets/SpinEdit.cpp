#include "widgets/SpinEdit.h"

#include "widgets/Palette.h"

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    setStyleSheet(skin::styleSheet());
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(true);
}
