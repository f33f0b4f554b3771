// The output record buffer shared by the text and binary metafile drivers.
#pragma once

namespace stylus {

// Appends n bytes to the record buffer, writing the pending record first when full.
void qqsbuf(const char* text, int n);
// Appends the blank-ended tokens of text to the record buffer (PostScript devices).
void qpsbuf(const char* text, int n);
// Writes the pending record (if any) with a line end, or padded to rec_len for CGM.
void qqsflush();

}  // namespace stylus
