// Text helpers shared by the whole library: bounded copies of caller texts into zero-ended
// buffers, upper-casing of keywords, and blank handling for fixed-width fields.
#pragma once

#include <cstddef>
#include <string>

namespace stylus {

// Copies min(max, len) bytes of a length-counted text (a by-reference argument) to dst and
// ends it with a zero byte; dst must hold max + 1 bytes. Returns the count copied.
int qqwrcp(char* dst, const char* src, int max, long len);
// Copies at most n bytes of the zero-ended src to dst and ends it with a zero byte; dst must
// hold n + 1 bytes. Returns the count copied.
int qqcopy(char* dst, const char* src, int n);
// Turns a to z into A to Z in place; every other byte stays.
void upstr(char* s);
// Length of s without trailing blanks.
int trmlen(const char* s);
// Removes every blank from the first n characters of s (fewer when s ends earlier), ends the
// result with a zero byte and returns its length.
int dsblnk(char* s, int n);

// A caller's text as the library's messages show it: at most its first `most` bytes, and
// control characters written as escapes ("\n", "\r", "\t", "\x1b", ...), so that a line
// of the library is always one line and sends nothing to a terminal. Null: "".
std::string echo_text(const char* text, std::size_t most = 80);

}  // namespace stylus
