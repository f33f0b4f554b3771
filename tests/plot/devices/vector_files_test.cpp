// The SVG and PDF devices: the whole SVG file of a short session byte for byte, the PDF
// file's frame (objects at the offsets of the cross-reference table, stream length,
// trailer) and its inflated drawing, the page sizes of other formats, and the colour and
// width rules of the two devices.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <sstream>
#include <string>

#include "api/session.h"
#include "devices/byte_sink.h"
#include "devices/device_table.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "stylus.h"

using namespace stylus;

namespace {

class VectorFiles : public StateTest {
 protected:
  // A session that draws a bent line and a short one in the first pen, changes to the same
  // pen again, then draws a polyline of 121 points (longer than the pen buffer) in red, 4
  // points wide, and ends with a colour change that nothing is drawn in.
  static void draw_session(const char* device) {
    metafl(device);
    disini();
    strtqq(494.0f, 1799.0f);
    connqq(2473.0f, 1799.0f);
    connqq(2473.0f, 400.333f);
    color("FORE");
    linwid(1);
    strtqq(10.0f, 20.0f);
    connqq(30.004f, 20.0f);
    color("red");
    linwid(4);
    strtqq(0.0f, 0.0f);
    for (int i = 1; i <= 120; ++i) connqq(static_cast<float>(i), static_cast<float>(i % 2));
    color("BACK");
    disfin();
  }
  // The 121 points of the red polyline, as "x y" pairs from `first` on.
  static std::string zigzag(int first, const char* between) {
    std::string s;
    for (int i = first; i <= 120; ++i) {
      if (i > first) s += between;
      s += std::to_string(i) + ' ' + std::to_string(i % 2);
    }
    return s;
  }
};

TEST_F(VectorFiles, SvgFileOfAShortSession) {
  draw_session("SVG");
  EXPECT_EQ(read_file("stylus.svg"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!-- STYLUS 7.3, 07.12.2026 09:13:34 -->\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"297mm\" "
            "height=\"210mm\" viewBox=\"0 0 2970 2100\">\n"
            "<rect width=\"2970\" height=\"2100\" fill=\"#ffffff\"/>\n"
            "<g fill=\"none\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\">\n"
            "<g stroke=\"#000000\" stroke-width=\"2.69\">\n"
            "<path d=\"M494 1799L2473 1799 2473 400.33\"/>\n"
            "<path d=\"M10 20L30 20\"/>\n"
            "</g>\n"
            "<g stroke=\"#ff0000\" stroke-width=\"4.31\">\n"
            "<path d=\"M0 0L" +
                zigzag(1, " ") +
                "\"/>\n"
                "</g>\n"
                "</g>\n"
                "</svg>\n");
}

// The inflated content stream of a PDF file, after checking the file's frame: the objects
// 1 to 5 where the cross-reference table says, the trailer, and the stream's length.
std::string pdf_content(const std::string& pdf) {
  EXPECT_EQ(pdf.rfind("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", 0), 0u);
  const std::size_t sx = pdf.rfind("startxref\n");
  if (sx == std::string::npos) return "no startxref";
  const std::size_t xref = std::stoul(pdf.substr(sx + 10));
  EXPECT_EQ(pdf.substr(xref, 29), "xref\n0 6\n0000000000 65535 f \n");
  for (int k = 1; k <= 5; ++k) {
    const std::string entry = pdf.substr(xref + 9 + 20 * k, 20);
    EXPECT_EQ(entry.substr(10), " 00000 n \n") << k;
    const std::string head = std::to_string(k) + " 0 obj\n";
    EXPECT_EQ(pdf.substr(std::stoul(entry.substr(0, 10)), head.size()), head) << k;
  }
  EXPECT_EQ(pdf.substr(xref + 9 + 20 * 6),
            "trailer\n<< /Size 6 /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + std::to_string(xref) +
                "\n%%EOF\n");

  const std::string dict = "4 0 obj\n<< /Length ";
  const std::size_t at = pdf.find(dict);
  if (at == std::string::npos) return "no content stream";
  std::size_t used = 0;
  const std::size_t length = std::stoul(pdf.substr(at + dict.size()), &used);
  const std::string rest = " /Filter /FlateDecode >>\nstream\n";
  const std::size_t data = at + dict.size() + used + rest.size();
  EXPECT_EQ(pdf.substr(at + dict.size() + used, rest.size()), rest);
  EXPECT_EQ(pdf.substr(data + length, 17), "\nendstream\nendobj");
  std::string text(1 << 20, '\0');
  uLongf size = text.size();
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                       reinterpret_cast<const Bytef*>(pdf.data() + data), length),
            Z_OK);
  text.resize(size);
  return text;
}

TEST_F(VectorFiles, PdfFileOfAShortSession) {
  draw_session("PDF");
  const std::string pdf = read_file("stylus.pdf");
  EXPECT_NE(pdf.find("3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 841.89 595.28] "
                     "/Resources << >> /Contents 4 0 R >>\nendobj\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("5 0 obj\n<< /Producer (STYLUS 7.3) /CreationDate (D:20261207091334) >>"),
            std::string::npos);
  EXPECT_EQ(pdf_content(pdf),
            "0.283465 0 0 -0.283465 0 595.28 cm\n2 J 2 j\n"
            "0 0 0 RG 2.69 w\n"
            "494 1799 m\n2473 1799 l\n2473 400.33 l\n"
            "10 20 m\n30 20 l\n"
            "S\n"
            "1 0 0 RG 4.31 w\n"
            "0 0 m\n" +
                zigzag(1, " l\n") + " l\nS\n");
}

// A drawing longer than one content stream's piece (about 3 MB of operators): the file
// has its content streams 4, 6, 7, ... each deflated, ending between two operators, listed
// in that order by the page, every object where the cross-reference table says; joined,
// they are the drawing.
TEST_F(VectorFiles, ALongPdfDrawingIsWrittenInPiecesThatJoinToOneDrawing) {
  constexpr int kPoints = 250000;
  metafl("PDF");
  disini();
  strtqq(0.0f, 0.0f);
  for (int i = 1; i < kPoints; ++i) connqq(static_cast<float>(i % 2900), static_cast<float>(i % 3));
  disfin();
  const std::string pdf = read_file("stylus.pdf");
  const std::size_t sx = pdf.rfind("startxref\n");
  ASSERT_NE(sx, std::string::npos);
  const std::size_t xref = std::stoul(pdf.substr(sx + 10));
  const int objects = std::stoi(pdf.substr(xref + 7)) - 1;
  ASSERT_GE(objects, 7);
  std::string list = "[4 0 R";
  for (int k = 6; k <= objects; ++k) list += ' ' + std::to_string(k) + " 0 R";
  EXPECT_NE(pdf.find("/Contents " + list + "] >>"), std::string::npos);
  std::string joined;
  for (int k = 1; k <= objects; ++k) {
    const std::size_t at = std::stoul(pdf.substr(xref + 9 + 20 * k, 10));
    const std::string head = std::to_string(k) + " 0 obj\n";
    ASSERT_EQ(pdf.substr(at, head.size()), head) << k;
    if (k < 4 || k == 5) continue;
    const std::string dict = head + "<< /Length ";
    ASSERT_EQ(pdf.substr(at, dict.size()), dict) << k;
    std::size_t used = 0;
    const std::size_t length = std::stoul(pdf.substr(at + dict.size()), &used);
    const std::size_t data = at + dict.size() + used + 32;
    ASSERT_EQ(pdf.substr(data - 32, 32), " /Filter /FlateDecode >>\nstream\n") << k;
    ASSERT_EQ(pdf.substr(data + length, 17), "\nendstream\nendobj") << k;
    std::string text(2 << 20, '\0');
    uLongf size = text.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                         reinterpret_cast<const Bytef*>(pdf.data() + data), length),
              Z_OK);
    text.resize(size);
    EXPECT_EQ(text.back(), '\n') << k;
    joined += text;
  }
  std::string expected = "0.283465 0 0 -0.283465 0 595.28 cm\n2 J 2 j\n0 0 0 RG 2.69 w\n0 0 m\n";
  for (int i = 1; i < kPoints; ++i)
    expected += std::to_string(i % 2900) + ' ' + std::to_string(i % 3) + " l\n";
  EXPECT_TRUE(joined == expected + "S\n") << joined.size() << " bytes, " << expected.size() + 2;
}

TEST_F(VectorFiles, OtherPagesInTheirOwnSizeAndOrientation) {
  const struct {
    const char* page;
    const char* svg;
    const char* pdf;
  } rows[] = {
      {"DA4P", "width=\"210mm\" height=\"297mm\" viewBox=\"0 0 2100 2970\"", "[0 0 595.28 841.89]"},
      {"HP4L", "width=\"271.7mm\" height=\"190mm\" viewBox=\"0 0 2717 1900\"",
       "[0 0 770.17 538.58]"},
  };
  for (const auto& row : rows) {
    setpag(row.page);
    for (int code : {801, 802}) {
      MemorySink sink;
      std::unique_ptr<Driver> d = make_driver(code);
      ASSERT_NE(d, nullptr);
      start_driver(*d, nullptr, &sink);
      EXPECT_EQ(d->finish({}), 1);
      EXPECT_NE(sink.bytes().find(code == 801 ? row.svg : row.pdf), std::string::npos)
          << row.page << "\n"
          << sink.bytes();
    }
  }
}

TEST_F(VectorFiles, ColoursOfWhitePaperAndWidthsDrawnByTheDevice) {
  for (const char* device : {"SVG", "PDF"}) {
    SCOPED_TRACE(device);
    metafl(device);
    disini();
    EXPECT_EQ(g_xvray.page_scale, 1.0f);
    EXPECT_EQ(g_ivray.cur_color, 0);  // the rainbow's foreground on white paper: black
    const struct {
      const char* name;
      int ncol;
    } names[] = {{"WHIT", 0}, {"BACK", 255}, {"red", 254}, {"FORE", 0}, {"BLAC", 0}};
    for (const auto& n : names) {
      color(n.name);
      EXPECT_EQ(g_ivray.cur_color, n.ncol) << n.name;
    }
    linwid(3);
    EXPECT_EQ(g_ivray.line_width, -3);  // only the centre line reaches the driver
    disfin();
  }
  EXPECT_TRUE(file_exists("stylus.svg"));
  EXPECT_TRUE(file_exists("stylus.pdf"));
}

}  // namespace
