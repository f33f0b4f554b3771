// The clock of the tests: 7 December 2026, 09:13:34, handed to the library as its local
// time, so that dates and times in headers and protocols are known bytes.
#pragma once

#include <ctime>

inline std::tm fixed_test_time() {
  std::tm t{};
  t.tm_mday = 7;
  t.tm_mon = 11;
  t.tm_year = 2026 - 1900;
  t.tm_hour = 9;
  t.tm_min = 13;
  t.tm_sec = 34;
  return t;
}
