// The PostScript writer: header and prolog written directly to the file, then the drawing
// as short tokens through the PostScript record buffer (paths, colours, widths, fills).
#include "devices/postscript.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "draw/device_point.h"
#include "state/record_buffer.h"
#include "state/state.h"
#include "stylus.h"

namespace stylus {

PsPathRecord g_pspath;

namespace {

constexpr float kSheetWidth = 3900.0f;  // sheet area in device units
constexpr float kSheetHeight = 5600.0f;
constexpr float kUnitPoints = 0.14226378f;  // PostScript points per device unit (cm)
constexpr int kPsclDevice = 502;

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
bool landscape_page() {
  return g_ivray.page_ny < g_ivray.page_nx && g_ivray.page_rotation != 2;
}

void write_path_tokens() {
  char buf[32];
  for (int i = 0; i < g_pspath.count; ++i) {
    std::snprintf(buf, sizeof buf, "%5d %5d %s ", g_pspath.x[i], g_pspath.y[i], i == 0 ? "u" : "d");
    qpsbuf(buf, 14);
  }
  qpsbuf("p ", 2);
}

int color_rgb(int ncol, int shift) {
  const int idx = ((ncol % 256) + 256) % 256;
  return (g_cycles.table[idx] >> shift) & 0xFF;
}

class PostScriptDriver final : public Driver {
 public:
  void start() override {
    g_xvray.page_scale = kPsPageScale;
    inipsc(g_control.out_stream);
  }

  void point(const DevicePoint& p, int pen) override { drwpsc(p.x, p.y, pen); }

  void color(int ncol) override {
    drwpsc(0.0f, 0.0f, kPenFlush);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3d %3d %3d f ", color_rgb(ncol, 16), color_rgb(ncol, 8),
                  color_rgb(ncol, 0));
    qpsbuf(buf, 14);
  }

  // The device draws the width itself: line_width holds it negated.
  void line_width(int width) override {
    drwpsc(0.0f, 0.0f, kPenFlush);
    g_ivray.line_width = -width;
    const int w = 2 * width < 5 ? 5 : 2 * width;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%5d cm ", w);
    qpsbuf(buf, 10);
    qpsbuf("setlinewidth ", 13);
  }

  // The rectangle is filled without changing the current colour; the pending path stays.
  void fill(int x1, int y1, int x2, int y2, int ncol) override {
    const float p = g_xvray.page_scale;
    const auto fx = [](int v) { return static_cast<float>(v); };
    int X1, Y1, X2, Y2;
    if (landscape_page()) {
      X1 = round_point(fx(y1) * p);
      Y1 = round_point(fx(x1) * p);
      X2 = round_point(fx(y2) * p);
      Y2 = round_point(fx(x2) * p);
    } else {
      const float h = fx(g_ivray.page_ny);
      X1 = round_point(fx(x1) * p);
      Y1 = round_point((h - fx(y1)) * p);
      X2 = round_point(fx(x2) * p);
      Y2 = round_point((h - fx(y2)) * p);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%5d %5d %5d %5d %3d %3d %3d e ", X1, Y1, X2, Y2,
                  color_rgb(ncol, 16), color_rgb(ncol, 8), color_rgb(ncol, 0));
    qpsbuf(buf, 38);
  }

  void flush() override { drwpsc(0.0f, 0.0f, kPenFlush); }

  int finish() override {
    drwpsc(0.0f, 0.0f, kPenFlush);
    qpsbuf("showpage ", 9);
    return 1;
  }
};

}  // namespace

PsSheetScale postscript_sheet_scale() {
  const float nx = static_cast<float>(g_ivray.page_nx);
  const float ny = static_cast<float>(g_ivray.page_ny);
  float s = landscape_page() ? std::min(kSheetHeight / nx, kSheetWidth / ny)
                             : std::min(kSheetWidth / nx, kSheetHeight / ny);
  s = std::min(s, 2.0f * g_xvray.user_scale);
  return {s, s / g_xvray.page_scale};
}

void inipsc(std::FILE* out) {
  if (out == nullptr) return;
  const bool landscape = landscape_page();
  const PsSheetScale scale = postscript_sheet_scale();
  const float s = g_xvray.page_scale * scale.factor;
  const float nx = static_cast<float>(g_ivray.page_nx);
  const float ny = static_cast<float>(g_ivray.page_ny);
  const float c = kUnitPoints;
  const float right = landscape ? 150.0f + ny * s : 150.0f + nx * s;
  const float top = landscape ? 200.0f + nx * s : 200.0f + ny * s;

  std::fputs("%!PS-Adobe-2.0\n", out);
  std::fprintf(out, "%%%%BoundingBox:  %10.2f %10.2f %10.2f %10.2f\n", c * 150.0f, c * 200.0f,
               c * right, c * top);
  std::fprintf(out, "%%%%Creator: STYLUS  %4.1f %s\n", getver(), landscape ? "L" : "P");
  std::fprintf(out, "%%%%CreationDate: %s , %s\n", dddate(), ddtime());
  std::fputs("%%EndComments\n", out);
  for (const char* line : kProlog) {
    std::fputs(line, out);
    std::fputc('\n', out);
  }
  std::fprintf(out, "  150 cm   200 cm translate 5 cm setlinewidth %10.6f%10.6f scale\n",
               scale.factor, scale.factor);
  if (g_ivray.device == kPsclDevice) {
    // Black background over the whole page.
    const int a = round_point(ny * g_xvray.page_scale);
    const int b = round_point(nx * g_xvray.page_scale);
    if (landscape) {
      std::fprintf(out, "0 0 %d %d 0 0 0 e \n", a, b);
    } else {
      std::fprintf(out, "0 %d %d 0 0 0 0 e \n", a, b);
    }
  }
}

void drwpsc(float x, float y, int pen) {
  PsPathRecord& path = g_pspath;
  if (path.count < 0 || path.count > kPsPathSize) path.count = 0;
  if (pen == kPenDraw) {
    if (path.count == 0) {
      path.x[0] = path.last_x;
      path.y[0] = path.last_y;
      path.count = 1;
    }
    path.x[path.count] = round_point(x);
    path.y[path.count] = round_point(y);
    ++path.count;
    if (path.count < kPsPathSize) return;
  }
  if (path.count > 0) write_path_tokens();
  if (pen == kPenFlush) {
    if (path.count > 0) {
      path.last_x = path.x[path.count - 1];
      path.last_y = path.y[path.count - 1];
    }
    path.count = 0;
  } else {
    // A move, or the draw that filled the buffer: the next path starts at this point.
    path.count = 1;
    path.x[0] = round_point(x);
    path.y[0] = round_point(y);
  }
}

std::unique_ptr<Driver> make_postscript_driver(int /*device*/) {
  return std::make_unique<PostScriptDriver>();
}

}  // namespace stylus
