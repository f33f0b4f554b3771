// Axis titles: placement beside the labels of an axis, centred on it, turned by 90
// degrees on a vertical axis.
#pragma once

namespace stylus {

struct TitlePlacement {
  int x, y;   // upper-left corner of the unrotated title text
  int angle;  // degrees
};
// Where the title of one axis goes (pure apart from the settings it reads): width is the
// title's width at the title height, extent the label extent of the axis. The title
// distance, label distance and tick length must already be signed.
TitlePlacement title_placement(int width, int len, int side, int x, int y, int extent, int axis);

// Draws the title of one axis (nothing for an empty or all-blank title).
void namex(const char* title, int len, int side, int x, int y, int extent, int axis);

}  // namespace stylus
