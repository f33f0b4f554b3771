// The end-of-session protocol (a printed box or a message window) and the clock it reads.
#pragma once

#include <ctime>

namespace stylus {

// Source of the local time read by dddate and ddtime; null restores the real clock.
using LocalTimeSource = std::tm (*)();
void set_local_time_source(LocalTimeSource source);

// Shows a text in a message window with a title. The screen driver installs its own; until
// one is installed (or after null) the text goes to standard output with a line end.
using MessageWindow = void (*)(const char* text, const char* title);
void set_message_window(MessageWindow window);

// Writes the end protocol of the session just ended. written: 0 no metafile, 1 a metafile,
// 10 no metafile but an error file, 11 both. Printed to msg_stream, or shown in the message
// window when protocol_window is set; nothing when messages are off.
void print_end_protocol(int written);

}  // namespace stylus
