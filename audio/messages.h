// Where the channel's operator messages and its "end the program" request go.
// The program connects these to its dialogs at start-up; tests record them. Main thread only.
#pragma once

#include <QString>
#include <functional>

namespace audio {

using MessageSink = std::function<void(const QString& text)>;
using ExitHook = std::function<void(int code)>;

// Replaces the receiver of the channel's messages; an empty function restores the default,
// which prints the text on the standard error output.
void setMessageSink(MessageSink sink);
void showMessage(const QString& text);

// Replaces what "end the program" does; the default ends the event loop, or the process when
// there is no application object.
void setExitHook(ExitHook hook);
void endProgram(int code);

} // namespace audio
