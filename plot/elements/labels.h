// Numeric axis labels: their texts, their placement along an axis and the label
// decimals (labdig).
#pragma once

#include <functional>
#include <vector>

#include "records/number_text.h"

namespace stylus {

// Width in points of a text at the current character height.
using TextWidth = std::function<int(const char*)>;

// Text of the label for value (the index-th label of the axis); returns its length.
// text must hold kMaxLabelChars + 1 bytes.
int glabxy(float value, int index, int log, int axis, char* text);

struct LabelPlacement {
  char text[kMaxLabelChars + 1];
  int left, top;  // upper-left corner of the horizontal text
};
struct LabelLayout {
  std::vector<LabelPlacement> labels;
  int extent;  // the label height on an x axis, the widest label on a y axis
};
// Where the labels of one axis go (pure apart from the settings it reads); h is the
// character height. The label distance and tick length must already be signed.
LabelLayout label_layout(float begin, float end, float first, float step, int len, int side, int x,
                         int y, int log, int axis, int h, const TextWidth& width);
// Widest label of an axis, measured with width; 0 without labels.
int label_width_max(float end, float first, float step, int len, int axis, const TextWidth& width);

// Draws the labels of one axis; returns the label extent for the title placement.
int labelx(float begin, float end, float first, float step, int len, int side, int x, int y,
           int log, int axis);

}  // namespace stylus
