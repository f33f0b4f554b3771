// The pen codes of the vector path, shared by the pen model that sends points and the
// drivers that receive them.
#pragma once

namespace stylus {

inline constexpr int kPenMove = 3;
inline constexpr int kPenDraw = 2;
inline constexpr int kPenFlush = 999;

}  // namespace stylus
