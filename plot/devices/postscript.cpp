// The PostScript writer: header and prolog written directly to the file, then the drawing
// as short tokens through the token records (paths, colours, widths, fills).
#include "devices/postscript.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "devices/device_point.h"
#include "devices/device_table.h"
#include "records/number_text.h"

namespace stylus {
namespace {

constexpr float kSheetWidth = 3900.0f;  // sheet area in device units
constexpr float kSheetHeight = 5600.0f;
constexpr float kUnitPoints = 0.14226378f;  // PostScript points per device unit (cm)

// The prolog: procedures used by the drawing tokens (u d p e f), text and font procedures,
// and the re-encoding of a font to the German vector.
constexpr const char* kProlog[] = {
    "2 setlinecap 2 setlinejoin",
    "/cm {0.14226378 mul} def /rgb {255 div} def /lc 1 string def",
    "/u  { /y exch cm def /x exch cm def newpath  x y moveto } def",
    "/d  { /y exch cm def /x exch cm def x y lineto } def",
    "/p  { stroke } def",
    "/e { /b exch rgb def /g exch rgb def",
    " /r exch rgb def /v exch cm def /w exch cm def /y exch cm def",
    " /x exch cm def gsave r g b setrgbcolor newpath x y moveto",
    " w y lineto w v lineto x v lineto closepath fill grestore } def",
    "/f { /b exch rgb def /g exch rgb def",
    " /r exch rgb def r g b setrgbcolor } def",
    "/text { /c1 exch def /a exch def /y exch cm def /x exch cm def",
    " /Name exch def gsave x y moveto x y translate a rotate c1 0 gt",
    " { Name stringwidth 2 div neg exch 2 div neg exch rmoveto }",
    " {} ifelse Name show grestore } def /font { /h exch def",
    " /s exch def s findfont h scalefont setfont } def",
    "/c { /a exch def /y exch cm def /x exch cm def /i exch def",
    " gsave x y moveto x y translate a rotate lc 0 i put lc",
    " stringwidth 2 div neg exch 2 div neg exch rmoveto lc show",
    " grestore } def",
    "/sec { /b exch rgb def /g exch rgb def /r exch rgb def",
    " /a2 exch def /a exch def /r2 exch cm def /r1 exch cm def",
    " /y exch cm def /x exch cm def gsave r g b setrgbcolor newpath",
    " x y r1 a a2 arc x y r2 a2 a arcn closepath fill grestore } def",
    "/Reencsmalldict 12 dict def",
    "/ReEncodeSmall",
    "{ Reencsmalldict begin",
    "  /newcodesandnames exch def",
    "  /newfontname exch def",
    "  /basefontname exch def",
    "  /basefontdict basefontname findfont def",
    "  /newfont basefontdict maxlength dict def",
    "  % copy the base font, every entry but FID, the Encoding as a new array",
    "  basefontdict",
    "  { exch dup /FID ne",
    "    { dup /Encoding eq",
    "      { exch dup length array copy",
    "        exch }",
    "      if",
    "      exch newfont 3 1 roll put }",
    "    { pop pop }",
    "    ifelse",
    "  } forall",
    "  % store each pair of a character code and a glyph name into the Encoding",
    "  newcodesandnames aload pop",
    "  newcodesandnames length 2 idiv",
    "  { newfont /Encoding get",
    "    3 1 roll",
    "    put }",
    "  repeat",
    "  % name the copy and define it as a font",
    "  newfont /FontName newfontname put",
    "  newfontname newfont",
    "    definefont pop end } def",
    " /GermanVec [ 8#177 /Adieresis",
    " 8#200 /Odieresis 8#201 /Udieresis 8#202 /adieresis",
    " 8#203 /odieresis 8#204 /udieresis 8#205 /germandbls",
    " 8#206 /Aring     8#207 /Oslash    8#210 /AE",
    " 8#211 /aring     8#212 /oslash    8#213 /ae",
    " 8#214 /Ntilde    8#215 /ntilde    8#216 /Ccedilla",
    " 8#217 /ccedilla  8#220 /Edieresis 8#221 /Idieresis",
    " 8#222 /edieresis 8#223 /idieresis 8#224 /Aacute",
    " 8#225 /Eacute    8#226 /Iacute    8#227 /Oacute",
    " 8#230 /Uacute    8#231 /aacute    8#232 /eacute",
    " 8#233 /iacute    8#234 /oacute    8#235 /uacute",
    " 8#236 /Agrave    8#237 /Egrave    8#240 /Igrave",
    " 8#241 /Ograve    8#242 /Ugrave    8#243 /agrave",
    " 8#244 /egrave    8#245 /igrave    8#246 /ograve",
    " 8#247 /ugrave      8#250 /Acircumflex 8#251 /Ecircumflex",
    " 8#252 /Icircumflex 8#253 /Ocircumflex 8#254 /Ucircumflex",
    " 8#255 /acircumflex 8#256 /ecircumflex 8#257 /icircumflex",
    " 8#260 /ocircumflex 8#261 /ucircumflex ] def",
};
static_assert(std::size(kProlog) == 72, "the prolog has 72 lines");

// A landscape page is turned onto the portrait sheet (rotation option 2 keeps it upright).
bool landscape_page(const DriverPage& page) {
  return page.ny < page.nx && page.rotation != 2;
}

}  // namespace

PsSheetScale postscript_sheet_scale(const DriverPage& page) {
  const float nx = static_cast<float>(page.nx);
  const float ny = static_cast<float>(page.ny);
  float s = landscape_page(page) ? std::min(kSheetHeight / nx, kSheetWidth / ny)
                                 : std::min(kSheetWidth / nx, kSheetHeight / ny);
  s = std::min(s, 2.0f * page.user_scale);
  return {s, s / kPsPageScale};
}

PostScriptDriver::PostScriptDriver(bool black_background, PathEnd& last_point)
    : FileDriver(RecordKind::kText), black_background_(black_background), path_(last_point) {}

float PostScriptDriver::header(const DriverSetup& setup) {
  page_ = setup.page;
  const bool landscape = landscape_page(page_);
  const PsSheetScale scale = postscript_sheet_scale(page_);
  const float s = kPsPageScale * scale.factor;
  const float nx = static_cast<float>(page_.nx);
  const float ny = static_cast<float>(page_.ny);
  const float c = kUnitPoints;
  const float right = landscape ? 150.0f + ny * s : 150.0f + nx * s;
  const float top = landscape ? 200.0f + nx * s : 200.0f + ny * s;

  put("%!PS-Adobe-2.0\n");
  format("%%%%BoundingBox:  %10.2f %10.2f %10.2f %10.2f\n", c * 150.0f, c * 200.0f, c * right,
         c * top);
  format("%%%%Creator: STYLUS  %4.1f %s\n", static_cast<double>(setup.version),
         landscape ? "L" : "P");
  format("%%%%CreationDate: %s , %s\n", setup.date.c_str(), setup.time.c_str());
  put("%%EndComments\n");
  for (const char* line : kProlog) {
    put(line);
    put("\n");
  }
  format("  150 cm   200 cm translate 5 cm setlinewidth %10.6f%10.6f scale\n", scale.factor,
         scale.factor);
  if (black_background_) {
    const int a = round_point(ny * kPsPageScale);
    const int b = round_point(nx * kPsPageScale);
    if (landscape) {
      format("0 0 %d %d 0 0 0 e \n", a, b);
    } else {
      format("0 %d %d 0 0 0 0 e \n", a, b);
    }
  }
  return kPsPageScale;
}

namespace {

// "%5d" of v is exactly five characters: the text "%5d %5d u " of a point is 14 long.
bool five_characters(int v) {
  return v >= -9999 && v <= 99999;
}

// The token of "%5d " without its leading blanks, which the token records drop.
void append_number_token(RecordBuffer& records, int v) {
  char text[kNumberTextSize];
  int n = int_text(text, v);
  text[n++] = ' ';
  records.append_token(text, n);
}

}  // namespace

// One point of a path: "x y u " for its first point, "x y d " for the others.
void PostScriptDriver::write_point(int x, int y, bool first) {
  if (five_characters(x) && five_characters(y)) {
    append_number_token(records_, x);
    append_number_token(records_, y);
    records_.append_token(first ? "u " : "d ", 2);
  } else {
    // Longer numbers push the end of the text past the 14 characters that are read.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%5d %5d %s ", x, y, first ? "u" : "d");
    records_.append_tokens(buf, 14);
  }
}

void PostScriptDriver::write_path() {
  for (int i = 0; i < path_.count(); ++i) write_point(path_.x(i), path_.y(i), i == 0);
  records_.append_tokens("p ", 2);
}

// The polygon is a path of its own, closed and filled in the current colour instead of
// stroked: the prolog's procedures serve unchanged.
bool PostScriptDriver::polygon(const DevicePoint* points, int n) {
  drwpsc(0.0f, 0.0f, kPenFlush);
  for (int i = 0; i < n; ++i)
    write_point(round_point(points[i].x), round_point(points[i].y), i == 0);
  records_.append_tokens("closepath fill ", 15);
  return true;
}

void PostScriptDriver::drwpsc(float x, float y, int pen) {
  path_.add(round_point(x), round_point(y), pen, [this] { write_path(); });
}

void PostScriptDriver::color(const ColorChange& change) {
  drwpsc(0.0f, 0.0f, kPenFlush);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3d %3d %3d f ", change.rgb.r, change.rgb.g, change.rgb.b);
  records_.append_tokens(buf, 14);
}

void PostScriptDriver::line_width(int width) {
  drwpsc(0.0f, 0.0f, kPenFlush);
  const int w = 2 * width < 5 ? 5 : 2 * width;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%5d cm ", w);
  records_.append_tokens(buf, 10);
  records_.append_tokens("setlinewidth ", 13);
}

void PostScriptDriver::miter_limit(float factor, int width) {
  int w = 2 * std::abs(width);
  if (w <= 4) w = 5;
  // A limit beyond the range of the token is written as the largest one.
  const float limit = factor * static_cast<float>(w);
  const int n = limit < 2147483520.0f ? static_cast<int>(limit + 0.5f) : 2147483647;
  // The pending path is written first, so that the new limit applies to later paths only.
  drwpsc(0.0f, 0.0f, kPenFlush);
  char text[32];
  std::snprintf(text, sizeof text, "%12d cm ", n);
  records_.append_tokens(text, 16);
  records_.append_tokens("setmiterlimit ", 14);
}

// The rectangle is filled without changing the current colour; the pending path stays.
void PostScriptDriver::fill(int x1, int y1, int x2, int y2, int /*ncol*/, RgbColor rgb) {
  const float p = kPsPageScale;
  const auto fx = [](int v) { return static_cast<float>(v); };
  int X1, Y1, X2, Y2;
  if (landscape_page(page_)) {
    X1 = round_point(fx(y1) * p);
    Y1 = round_point(fx(x1) * p);
    X2 = round_point(fx(y2) * p);
    Y2 = round_point(fx(x2) * p);
  } else {
    const float h = fx(page_.ny);
    X1 = round_point(fx(x1) * p);
    Y1 = round_point((h - fx(y1)) * p);
    X2 = round_point(fx(x2) * p);
    Y2 = round_point((h - fx(y2)) * p);
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%5d %5d %5d %5d %3d %3d %3d e ", X1, Y1, X2, Y2, rgb.r, rgb.g,
                rgb.b);
  records_.append_tokens(buf, 38);
}

void PostScriptDriver::end() {
  drwpsc(0.0f, 0.0f, kPenFlush);
  records_.append_tokens("showpage ", 9);
}

std::unique_ptr<Driver> make_postscript_driver(const DeviceRecord& device, DriverMemory& memory) {
  return std::make_unique<PostScriptDriver>(device.variant == 1, memory.postscript);
}

}  // namespace stylus
