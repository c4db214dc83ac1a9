#include "widgets/LedCounter.h"

LedCounter::LedCounter(QWidget* parent) : LedPanel(parent)
{
    setRange(0, 99999);
    setDigits(5);
}
