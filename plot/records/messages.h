// Session levels, argument checks and the numbered warnings.
#pragma once

#include <cstdio>
#include <string>

namespace stylus {

// Level check: returns 0 when lo <= level <= hi, else raises warning 3 and returns 1.
int jqqlev(int lo, int hi, const char* name);
// jqqlev(1, 3, name).
int chkini(const char* name);
// Range check of an integer (hi < lo: no upper bound); warning 2 with the value on failure.
int jqqval(int value, int lo, int hi);
// Keyword lookup in a list of n 4-character keywords each followed by a separator;
// 1-based position, or 0 after warning 2 with the key.
int jqqind(const char* list, int n, const char* key);
// Counts warning n and selects its text.
void errmes(int n);
void warnin(int n);
void warni1(int n, int value);
void warnc1(int n, const char* text);
// An argument that a routine needs is a null pointer: warning 2 naming the routine.
// Returns whether p is null.
bool missing_argument(const void* p, const char* routine);
// The caller's own text for warnings numbered above 100.
void qqserr(const char* text);

// Hands a counted warning to the program's warning handler (setwrn), then writes line and a
// line end to the message stream unless the handler took it. line is the warning line
// without its line end, empty when it is not to be printed (messages off, no stream).
void put_warning_line(int number, const std::string& line);
// printf into a string, for warning lines.
std::string format_line(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The message unit for messages written to stream (null: standard output): 6 or 17, or 0
// while the caller has switched messages off.
int message_unit(const std::FILE* stream);

// Forgets the caller's warning text and warning handler (process reset).
void reset_messages();

}  // namespace stylus
