// The record of the screen start: which of the windows 1..5 the last screen session
// opened, and the page scale it computed for each.
#pragma once

namespace stylus {

inline constexpr int kScreenSessionSlots = 5;  // the screen windows' slots

struct ScreenSessionRecord {
  int open[kScreenSessionSlots];
  float scale[kScreenSessionSlots];
};
extern ScreenSessionRecord g_screen_session;

}  // namespace stylus
