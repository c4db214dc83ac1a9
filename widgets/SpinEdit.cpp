#include "widgets/SpinEdit.h"

#include "widgets/Palette.h"

SpinEdit::SpinEdit(QWidget* parent) : QSpinBox(parent)
{
    setPalette(skin::darkPalette());
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(true);
}
