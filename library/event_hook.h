// Attaches a handler to the events of one control without subclassing it: the library's search
// box, grids and their key, focus and mouse events. Main thread.
#pragma once

#include <QChar>
#include <functional>

class QEvent;
class QKeyEvent;
class QObject;

namespace library {

// Runs function for every event target receives, before target sees it; the event is consumed
// when function returns true. The hook lives as long as target.
void onEvents(QObject* target, std::function<bool(QEvent*)> function);

// The character a key press types: Enter gives CR, Esc 27, Backspace 8, Tab 9, other keys their
// text; a null QChar for keys that type nothing (arrows, function keys, modifiers).
QChar typedCharacter(const QKeyEvent& event);

} // namespace library
