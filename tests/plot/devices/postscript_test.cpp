// The PostScript writer: byte-exact header lines and the 72-line prolog, the path buffer
// of drwpsc, the colour, width, fill and end tokens in 80-character records, and files
// that Ghostscript reads without error.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "api/session.h"
#include "devices/driver.h"
#include "devices/postscript.h"
#include "pen/pen.h"
#include "records/protocol.h"
#include "devices/device_table.h"
#include "devices/record_buffer.h"
#include "stylus.h"
#include "records/state.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/ghostscript.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

constexpr int kHeaderLines = 5 + 72 + 1;

class PostScriptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    set_local_time_source(fixed_test_time);
    metafl("POST");  // the pen model's dispatch turns page points as on this device
  }
  void TearDown() override { fresh_process(); }

  // Starts a PostScript driver writing into a fresh memory sink (a "PSCL" one with a black
  // background when asked) and makes it the session's driver, so that the pen model
  // reaches it.
  PostScriptDriver& start(bool pscl = false) {
    set_current_driver(nullptr);
    out_ = std::make_unique<MemorySink>();
    auto driver = std::make_unique<PostScriptDriver>(pscl, driver_memory().postscript);
    PostScriptDriver& d = *driver;
    start_driver(d, nullptr, out_.get());
    set_current_driver(std::move(driver));
    pscl_ = pscl;
    return d;
  }
  // The token records written after the header (pending record flushed).
  std::vector<std::string> body() {
    current_driver()->records()->flush();
    std::vector<std::string> lines = split_lines(out_->bytes());
    const std::size_t skip = kHeaderLines + (pscl_ ? 1 : 0);
    return std::vector<std::string>(lines.begin() + std::min(skip, lines.size()), lines.end());
  }
  std::string tokens() {
    std::string all;
    for (const std::string& line : body()) all += line;
    return all;
  }

  std::unique_ptr<MemorySink> out_;
  bool pscl_ = false;
};

TEST_F(PostScriptTest, HeaderOfTheDefaultPage) {
  start();
  EXPECT_EQ(g_xvray.page_scale, 1.8571428f);
  const std::vector<std::string> lines = split_lines(out_->bytes());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines));
  EXPECT_EQ(lines[0], "%!PS-Adobe-2.0");
  EXPECT_EQ(lines[1], "%%BoundingBox:       21.34      28.45     576.17     813.25");
  EXPECT_EQ(lines[2], "%%Creator: STYLUS   7.3 L");
  EXPECT_EQ(lines[3], "%%CreationDate: 07.12.2026 , 09:13:34");
  EXPECT_EQ(lines[4], "%%EndComments");
  EXPECT_EQ(lines[77], "  150 cm   200 cm translate 5 cm setlinewidth   1.000476  1.000476 scale");
  // The header went straight to the file: nothing is pending in the record buffer.
  EXPECT_EQ(current_driver()->records()->fill(), 0);
}

TEST_F(PostScriptTest, PrologHas72LinesInItsFixedFrame) {
  start();
  const std::vector<std::string> lines = split_lines(out_->bytes());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines));
  // Prolog line k is file line k + 5.
  const auto prolog = [&](int k) { return lines[static_cast<std::size_t>(k + 4)]; };
  EXPECT_EQ(prolog(1), "2 setlinecap 2 setlinejoin");
  EXPECT_EQ(prolog(2), "/cm {0.14226378 mul} def /rgb {255 div} def /lc 1 string def");
  EXPECT_EQ(prolog(3), "/u  { /y exch cm def /x exch cm def newpath  x y moveto } def");
  EXPECT_EQ(prolog(5), "/p  { stroke } def");
  EXPECT_EQ(prolog(11), " /r exch rgb def r g b setrgbcolor } def");
  EXPECT_EQ(prolog(24), " x y r1 a a2 arc x y r2 a2 a arcn closepath fill grestore } def");
  EXPECT_EQ(prolog(25), "/Reencsmalldict 12 dict def");
  EXPECT_EQ(prolog(26), "/ReEncodeSmall");
  EXPECT_EQ(prolog(54), "    definefont pop end } def");
  EXPECT_EQ(prolog(55), " /GermanVec [ 8#177 /Adieresis");
  EXPECT_EQ(prolog(69), " 8#247 /ugrave      8#250 /Acircumflex 8#251 /Ecircumflex");
  EXPECT_EQ(prolog(72), " 8#260 /ocircumflex 8#261 /ucircumflex ] def");
}

TEST_F(PostScriptTest, PortraitPageAndUserScale) {
  setpag("DA4P");
  start();
  std::vector<std::string> lines = split_lines(out_->bytes());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "%%BoundingBox:       21.34      28.45     576.17     813.25");
  EXPECT_EQ(lines[2], "%%Creator: STYLUS   7.3 P");

  // A user scale of 0.5 limits the sheet scale to 1.
  setpag("DA4L");
  g_xvray.user_scale = 0.5f;
  start();
  lines = split_lines(out_->bytes());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines));
  EXPECT_EQ(lines[1], "%%BoundingBox:       21.34      28.45     319.95     450.83");
  EXPECT_EQ(lines[77], "  150 cm   200 cm translate 5 cm setlinewidth   0.538462  0.538462 scale");
}

TEST_F(PostScriptTest, PsclPaintsABlackBackground) {
  start(true);
  std::vector<std::string> lines = split_lines(out_->bytes());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines + 1));
  EXPECT_EQ(lines.back(), "0 0 3898 5514 0 0 0 e ");

  setpag("DA4P");
  start(true);
  lines = split_lines(out_->bytes());
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines + 1));
  EXPECT_EQ(lines.back(), "0 5514 3898 0 0 0 0 e ");
}

TEST_F(PostScriptTest, WithoutAnOutputTheRecordsAreFormedAndDropped) {
  PathEnd last;
  PostScriptDriver d(false, last);
  start_driver(d, nullptr, nullptr);
  d.drwpsc(10.0f, 10.0f, kPenMove);
  for (int i = 0; i < 200; ++i) d.drwpsc(20.0f + i, 20.0f, kPenDraw);
  EXPECT_EQ(d.finish({}), 1);
  EXPECT_EQ(d.records()->fill(), 0);
  EXPECT_EQ(last.x, 219);  // the path was ended all the same
}

TEST_F(PostScriptTest, LineIsWrittenAtTheNextFlush) {
  start();
  lineqq(100, 200, 300, 400);
  qqstrk();
  EXPECT_TRUE(body().empty());  // the path is still open
  current_driver()->flush();
  EXPECT_EQ(tokens(), "371 186 u 743 557 d p ");
}

TEST_F(PostScriptTest, HundredPointsMakeThreePaths) {
  PostScriptDriver& d = start();
  d.drwpsc(1.0f, 1.0f, kPenMove);
  for (int i = 2; i <= 100; ++i) d.drwpsc(static_cast<float>(i), 1.0f, kPenDraw);
  d.drwpsc(0.0f, 0.0f, kPenFlush);
  std::string expected;
  const auto path = [&](int from, int to) {
    for (int i = from; i <= to; ++i)
      expected += std::to_string(i) + (i == from ? " 1 u " : " 1 d ");
    expected += "p ";
  };
  path(1, 50);
  path(50, 99);
  path(99, 100);
  EXPECT_EQ(tokens(), expected);
  for (const std::string& rec : body()) EXPECT_LE(rec.size(), 80u);
}

TEST_F(PostScriptTest, DrawAfterAFlushContinuesFromTheLastPoint) {
  PostScriptDriver& d = start();
  d.drwpsc(10.4f, 20.6f, kPenMove);
  d.drwpsc(30.0f, 40.0f, kPenDraw);
  d.drwpsc(0.0f, 0.0f, kPenFlush);
  d.drwpsc(0.0f, 0.0f, kPenFlush);  // nothing pending: nothing written
  d.drwpsc(50.0f, 60.0f, kPenDraw);
  d.drwpsc(0.0f, 0.0f, kPenFlush);
  EXPECT_EQ(tokens(), "10 21 u 30 40 d p 30 40 u 50 60 d p ");
  // The next driver of the process continues from there too.
  PostScriptDriver& next = start();
  next.drwpsc(70.0f, 80.0f, kPenDraw);
  next.drwpsc(0.0f, 0.0f, kPenFlush);
  EXPECT_EQ(tokens(), "50 60 u 70 80 d p ");
}

TEST_F(PostScriptTest, WidthTokensAndTheNegatedWidth) {
  Driver& d = start();
  const struct {
    int n;
    const char* text;
  } rows[] = {{1, "5 cm setlinewidth "},
              {2, "5 cm setlinewidth "},
              {3, "6 cm setlinewidth "},
              {4, "8 cm setlinewidth "},
              {32000, "64000 cm setlinewidth "}};
  std::string expected;
  for (const auto& r : rows) {
    d.line_width(r.n);
    expected += r.text;
  }
  EXPECT_EQ(tokens(), expected);
}

TEST_F(PostScriptTest, ColourIsWrittenOnEveryChangeAfterThePath) {
  PostScriptDriver& d = start();
  d.drwpsc(10.0f, 10.0f, kPenMove);
  d.drwpsc(20.0f, 20.0f, kPenDraw);
  d.color({254, {255, 0, 0}, 0});
  d.color({254, {255, 0, 0}, 254});  // the same colour again: written again
  d.color({0, {255, 255, 255}, 254});
  EXPECT_EQ(tokens(), "10 10 u 20 20 d p 255 0 0 f 255 0 0 f 255 255 255 f ");
}

TEST_F(PostScriptTest, FillKeepsThePendingPathAndMapsTheCorners) {
  PostScriptDriver& d = start();
  d.drwpsc(10.0f, 10.0f, kPenMove);
  d.drwpsc(20.0f, 20.0f, kPenDraw);
  d.fill(100, 200, 300, 400, 2, {16, 32, 48});
  d.flush();
  EXPECT_EQ(tokens(), "371 186 743 557 16 32 48 e 10 10 u 20 20 d p ");
}

TEST_F(PostScriptTest, FillOnAPortraitPagePutsYUp) {
  setpag("DA4P");
  Driver& d = start();
  d.fill(100, 200, 300, 400, 255, {0, 0, 0});
  EXPECT_EQ(tokens(), "186 5142 557 4771 0 0 0 e ");
}

TEST_F(PostScriptTest, FinishWritesThePathThenShowpage) {
  Driver& d = start();
  lineqq(100, 200, 300, 400);
  qqstrk();
  EXPECT_EQ(d.finish({}), 1);
  EXPECT_EQ(tokens(), "371 186 u 743 557 d p showpage ");
}

TEST_F(PostScriptTest, TokensFollowIn80CharacterRecords) {
  Driver& d = start();
  for (int i = 0; i < 300; ++i) {
    const float t = static_cast<float>(i);
    if (i % 37 == 0) {
      xmove(t, 2 * t);
    } else {
      xdraw(t * 3.0f, 1000.0f - t);
    }
    if (i % 91 == 0) d.color({i % 256, {i % 256, 0, 0}, 0});
  }
  qqstrk();
  d.finish({});
  const std::vector<std::string> recs = body();
  ASSERT_GT(recs.size(), 20u);
  std::string joined;
  for (std::size_t i = 0; i < recs.size(); ++i) {
    EXPECT_LE(recs[i].size(), 80u) << i;
    ASSERT_FALSE(recs[i].empty());
    EXPECT_EQ(recs[i].back(), ' ') << i;  // records end between tokens
    EXPECT_NE(recs[i].front(), ' ') << i;
    EXPECT_EQ(recs[i].find("  "), std::string::npos) << i;
    // The next token would not have fitted.
    if (i + 1 < recs.size()) {
      const std::size_t next = recs[i + 1].find(' ') + 1;
      EXPECT_GT(recs[i].size() + next, 80u) << i;
    }
    joined += recs[i];
  }
  EXPECT_EQ(joined.substr(joined.size() - 9), "showpage ");
}

class PostScriptFileTest : public PostScriptTest {
 protected:
  // Writes a whole file through the driver and the record buffer, then extra text.
  void write_file(const std::string& name, const std::string& extra, bool pscl = false) {
    std::unique_ptr<FileSink> file = FileSink::create(name.c_str());
    ASSERT_NE(file, nullptr);
    set_current_driver(nullptr);
    auto driver = std::make_unique<PostScriptDriver>(pscl, driver_memory().postscript);
    PostScriptDriver& d = *driver;
    start_driver(d, nullptr, file.get());
    set_current_driver(std::move(driver));
    d.color({0, {255, 255, 255}, 255});
    d.line_width(4);
    lineqq(100, 200, 2900, 2000);
    for (int i = 0; i < 120; ++i) xdraw(100.0f + 20.0f * i, 1000.0f + (i % 7) * 30.0f);
    qqstrk();
    d.color({200, {55, 55, 55}, 0});
    d.fill(500, 500, 900, 700, 128, {127, 127, 127});
    d.finish({});
    file->put(extra);
    ASSERT_TRUE(file->close());
  }
};

TEST_F(PostScriptFileTest, GhostscriptReadsTheFile) {
  ScratchDir dir;
  write_file("plot.psc", "");
  const GhostscriptResult gs = run_ghostscript("plot.psc");
  EXPECT_TRUE(gs.ok()) << gs.status << "\n" << gs.output;
}

TEST_F(PostScriptFileTest, GhostscriptReadsThePsclFile) {
  ScratchDir dir;
  write_file("plot.psc", "", true);
  const GhostscriptResult gs = run_ghostscript("plot.psc");
  EXPECT_TRUE(gs.ok()) << gs.status << "\n" << gs.output;
}

TEST_F(PostScriptFileTest, ReEncodeSmallMakesAGermanFont) {
  ScratchDir dir;
  // After the page: re-encode a base font and check the copy, its name and the base.
  const std::string check =
      "/Helvetica /Helvetica-German GermanVec ReEncodeSmall\n"
      "/Helvetica-German findfont dup /Encoding get\n"
      "dup 8#177 get /Adieresis eq exch 8#261 get /ucircumflex eq and\n"
      "exch /FontName get /Helvetica-German eq and\n"
      "/Helvetica findfont /Encoding get 8#177 get /Adieresis ne and\n"
      "{ (REENCODE-OK) } { (REENCODE-BAD) } ifelse print flush\n"
      "/Helvetica-German findfont 12 scalefont setfont 10 10 moveto (\\177\\205) show\n";
  write_file("plot.psc", check);
  const GhostscriptResult gs = run_ghostscript("plot.psc");
  EXPECT_TRUE(gs.ok()) << gs.status << "\n" << gs.output;
  EXPECT_NE(gs.output.find("REENCODE-OK"), std::string::npos) << gs.output;
}

TEST_F(PostScriptFileTest, GhostscriptReportsABrokenFile) {
  // The check itself must be able to fail.
  ScratchDir dir;
  write_file("plot.psc", "1 0 div\n");
  EXPECT_FALSE(run_ghostscript("plot.psc").ok());
}

}  // namespace
