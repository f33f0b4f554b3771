// The PostScript path tokens against the rule they follow: each point's text "%5d %5d u "
// read as tokens from its first 14 characters. Numbers of five characters and fewer are
// written directly; longer ones push the operator or the second number out of those 14.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "api/session.h"
#include "devices/device_point.h"
#include "devices/device_table.h"
#include "devices/postscript.h"
#include "devices/record_buffer.h"
#include "stylus.h"
#include "support/fresh_process.h"

using namespace stylus;

namespace {

TEST(PostScriptPathTokens, AsTheTokenRuleReadsTheirText) {
  fresh_process();
  metafl("POST");  // the default page
  // All of them floats exactly.
  const std::vector<int> values = {0,      1,      -1,      9999,   -9999,    99999,
                                   -10000, 100000, -123456, 654321, 16777216, -1073741824};
  MemorySink out;
  PostScriptDriver d(false, driver_memory().postscript);
  start_driver(d, nullptr, &out);
  const std::size_t header = out.bytes().size();
  MemorySink expected_out;
  RecordBuffer expected(&expected_out, RecordKind::kText);
  // One path per pair of values: a move and a draw, written at the next move.
  for (int vx : values) {
    for (int vy : values) {
      const float fx = static_cast<float>(vx), fy = static_cast<float>(vy);
      d.drwpsc(fx, fy, kPenMove);
      d.drwpsc(fy, fx, kPenDraw);
      const int x = round_point(fx), y = round_point(fy);  // -1 becomes 0, -10000 -9999
      char text[64];
      std::snprintf(text, sizeof text, "%5d %5d u ", x, y);
      expected.append_tokens(text, 14);
      std::snprintf(text, sizeof text, "%5d %5d d ", y, x);
      expected.append_tokens(text, 14);
      expected.append_tokens("p ", 2);
    }
  }
  d.drwpsc(0.0f, 0.0f, kPenFlush);
  d.records()->flush();
  expected.flush();
  EXPECT_EQ(out.bytes().substr(header), expected_out.bytes());
  EXPECT_NE(expected_out.bytes().find("-123455 654321 "), std::string::npos);  // no operator
  fresh_process();
}

}  // namespace
