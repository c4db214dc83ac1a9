// Five-digit seven-segment LED counter (the decks' track counts); main thread only.
#pragma once

#include "widgets/LedPanel.h"

// A number panel of five zero-padded digits over 0..99999.
class LedCounter : public LedPanel
{
    Q_OBJECT

public:
    explicit LedCounter(QWidget* parent = nullptr);
};
