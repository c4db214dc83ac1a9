// A playlist box raises its click when the operator moves the selection with the keyboard
// too, as with the mouse; a selection moved from code raises nothing. Main thread only.
#pragma once
#include <functional>

class QListWidget;

void clickOnKeySelection(QListWidget* list, std::function<void()> click);
