// The call interpreter of the fuzz drivers (see call_sequence.h and README.md). The routine
// table only grows at its end, so that a committed input keeps meaning the same calls.
#include "call_sequence.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "devices/screen_driver.h"
#include "devices/window_system.h"
#include "api/reset.h"
#include "records/state.h"
#include "stylus.h"

namespace fuzz {
namespace {

constexpr int kIntPalette[] = {
    0,   1,   -1,  2,   3,    4,    5,    7,     8,     10,    36,      50,      80,   100,
    101, 255, 256, 999, 1000, 2969, 9999, 10000, 32000, 32001, INT_MAX, INT_MIN, -999, 1 << 20};

const float kFloatPalette[] = {0.0f,
                               -0.0f,
                               1.0f,
                               -1.0f,
                               0.5f,
                               2.0f,
                               3.0f,
                               -32.5f,
                               -23.0f,
                               1e-6f,
                               1e6f,
                               1e30f,
                               1e38f,
                               -1e38f,
                               FLT_MAX,
                               -FLT_MAX,
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN(),
                               std::numeric_limits<float>::denorm_min(),
                               FLT_MIN,
                               0.1f,
                               100.0f,
                               2969.0f};

const char* const kTextPalette[] = {
    // device keywords, in the table's order and in other spellings
    "GKSL", "CGM", "KYOC", "HPGL", "HPA4", "HPA3", "HPA2", "HPA1", "CONS", "TEKT", "VT34", "LN03",
    "POST", "PSCL", "XWIN", "XWI1", "XWI2", "XWI3", "XWI4", "XWI5", "XWND", "TIFF", "IMAG", "VIRT",
    "PNG", "JAVA", "WMF", "SVG", "PDF", "cons", "post", "Png ", "MET5", "MET0", "CONSOLE",
    // colours and colour tables
    "RED", "red", "WHIT", "BLAC", "FORE", "BACK", "GREE", "MAGE", "PINK", "SMAL", "RAIN", "SPEC",
    "GREY", "RRAI", "RSPE", "RGRE", "VGA", "rainbow",
    // axes and pages
    "X", "Y", "Z", "XY", "XYZ", "x", "BAR", "CON", "PIE", "DAT", "Q", "DA4L", "DA4P", "DA3L",
    "PS4L", "KY4P", "HP1L", "XX4L",
    // texts
    "", "    ", "Hello", "0.00", "[2]$x/", "Separation (A)", "Energy (eV)", "\xff\xfe\x80\x01",
    "a\tb\nc", "stylus.met", "out/none.png", "../x.tif", "a.png", "////", "..",
    "A very long text "
    "that goes on and on and on and on and on and on and on and on and on and on and on and on and "
    "on and on and on and on and on and on and on and on and on and on and on and on and on and on "
    "and on and on and on and on and on and on and on and on and on and on and on and on and on.",
    nullptr};

constexpr std::uint8_t kNullText = 254;

template <class T, std::size_t N>
constexpr std::size_t count_of(const T (&)[N]) {
  return N;
}

// Reads the arguments of the calls from the input; an exhausted input reads as zeros.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint32_t raw32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(byte()) << (8 * i);
    return v;
  }
  int integer() {
    const std::uint8_t s = byte();
    if (s < count_of(kIntPalette)) return kIntPalette[s];
    if (s < 200) return static_cast<int>(s) - 100;
    return static_cast<int>(raw32());
  }
  float real() {
    const std::uint8_t s = byte();
    if (s < count_of(kFloatPalette)) return kFloatPalette[s];
    if (s < 200) return static_cast<float>(s) * 0.25f - 40.0f;
    const std::uint32_t bits = raw32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  // A text from the palette, null (selector 254), or raw bytes: a length byte (mod 80) and
  // the characters, a zero byte read as 1.
  const char* text(std::string& storage) {
    const std::uint8_t s = byte();
    if (s < count_of(kTextPalette)) return kTextPalette[s];
    if (s == kNullText) return nullptr;
    const std::size_t n = byte() % 80;
    storage.clear();
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t c = byte();
      storage.push_back(static_cast<char>(c == 0 ? 1 : c));
    }
    return storage.c_str();
  }
  // A hidden length for a by-reference text: its length, a shorter one, 0 or negative.
  long length(const char* text) {
    const long n = text != nullptr ? static_cast<long>(std::strlen(text)) : 0;
    switch (byte() % 4) {
      case 0:
        return n;
      case 1:
        return n / 2;
      case 2:
        return 0;
      default:
        return -static_cast<long>(byte());
    }
  }
  // The address of a number, or null now and then.
  template <class T>
  const T* address(T& value) {
    return byte() % 16 == 0 ? nullptr : &value;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A text for a file name, kept inside the scratch folder: an absolute name is made
// relative to the working folder (its ".." components stay inside, see g_work).
const char* file_name(Reader& in, std::string& s) {
  const char* t = in.text(s);
  if (t == nullptr || t[0] != '/') return t;
  std::string relative = ".";
  relative += t;
  s = std::move(relative);
  return s.c_str();
}

// Every width the routines accept, and those they refuse: a wide line costs the area it
// covers, not its width times its length.
int line_width(Reader& in) {
  return in.integer();
}

// Point arrays of a curve: a count and the values, from the plot's range to the absurd.
struct Points {
  std::vector<float> x, y;
  int n = 0;
  bool null_x = false, null_y = false;
  const float* xp() const { return null_x ? nullptr : x.data(); }
  const float* yp() const { return null_y ? nullptr : y.data(); }
};

constexpr int kPointCounts[] = {0, 1, 2, 3, 59, 100, 101, 250, 1000, 100000, -1, -5, INT_MIN};

Points points(Reader& in) {
  Points p;
  p.n = kPointCounts[in.byte() % count_of(kPointCounts)];
  const std::size_t size = p.n > 0 ? static_cast<std::size_t>(p.n) : 1;
  p.x.resize(size);
  p.y.resize(size);
  const std::uint8_t mode = in.byte() % 6;
  float seed[16];
  for (float& v : seed) v = mode == 1 ? in.real() : 0.0f;
  for (std::size_t i = 0; i < size; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(size);
    switch (mode) {
      case 0:  // a curve inside the axis system of the program's plot
        p.x[i] = 3.0f * t;
        p.y[i] = -30.0f + 5.0f * std::sin(20.0f * t);
        break;
      case 1:  // values from the input, over and over
        p.x[i] = seed[i % 16];
        p.y[i] = seed[(i + 7) % 16];
        break;
      case 2:  // far outside, zigzag
        p.x[i] = i % 2 == 0 ? -1e7f : 1e7f;
        p.y[i] = i % 3 == 0 ? 1e30f : -5.0f;
        break;
      case 3:  // not numbers
        p.x[i] = i % 3 == 0 ? std::numeric_limits<float>::quiet_NaN() : t;
        p.y[i] = i % 5 == 0 ? std::numeric_limits<float>::infinity() : -t;
        break;
      case 4:
        p.null_x = true;
        break;
      default:
        p.null_y = true;
        break;
    }
  }
  return p;
}

// Deviations of error bars for the points p: half a unit, values from the input (negative,
// NaN and infinite ones among them), the last one negative, or null.
struct Deviations {
  std::vector<float> v;
  bool null = false;
  const float* data() const { return null ? nullptr : v.data(); }
};

Deviations deviations(Reader& in, const Points& p) {
  Deviations d;
  d.v.assign(p.x.size(), 0.5f);
  switch (in.byte() % 4) {
    case 0:
      break;
    case 1: {
      float seed[8];
      for (float& f : seed) f = in.real();
      for (std::size_t i = 0; i < d.v.size(); ++i) d.v[i] = seed[i % 8];
      break;
    }
    case 2:
      d.v.back() = -1.0f;
      break;
    default:
      d.null = true;
      break;
  }
  return d;
}

// A symbol size, as it comes: a symbol is clipped to the page, so even a filled one on every
// point of a long curve costs at most the page's pixels or strokes per point.
int symbol_size(Reader& in) {
  return in.integer();
}

using Call = std::function<void(Reader&)>;

// The call of a by-reference entry that takes one whole number.
Call int_by_reference(void (*entry)(const int*)) {
  return [entry](Reader& in) {
    int v = in.integer();
    entry(in.address(v));
  };
}
struct Routine {
  const char* name;
  Call call;
};

// Every public routine, the by-reference entries included.
const std::vector<Routine>& routines() {
  static const std::vector<Routine> table = {
      {"getver", [](Reader&) { (void)getver(); }},
      {"getplv", [](Reader&) { (void)getplv(); }},
      {"metafl",
       [](Reader& in) {
         std::string s;
         metafl(in.text(s));
       }},
      {"setpag",
       [](Reader& in) {
         std::string s;
         setpag(in.text(s));
       }},
      {"winini", [](Reader&) { winini(); }},
      {"disini", [](Reader&) { disini(); }},
      {"disfin", [](Reader&) { disfin(); }},
      {"resall", [](Reader&) { resall(); }},
      {"color",
       [](Reader& in) {
         std::string s;
         color(in.text(s));
       }},
      {"setclr", [](Reader& in) { setclr(in.integer()); }},
      {"setvlt",
       [](Reader& in) {
         std::string s;
         setvlt(in.text(s));
       }},
      {"linwid", [](Reader& in) { linwid(line_width(in)); }},
      {"dddate", [](Reader&) { (void)dddate(); }},
      {"ddtime", [](Reader&) { (void)ddtime(); }},
      {"getver_", [](Reader&) { (void)getver_(); }},
      {"getplv_", [](Reader&) { (void)getplv_(); }},
      {"metafl_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         metafl_(t, in.length(t));
       }},
      {"setpag_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         setpag_(t, in.length(t));
       }},
      {"winini_", [](Reader&) { winini_(); }},
      {"disini_", [](Reader&) { disini_(); }},
      {"disfin_", [](Reader&) { disfin_(); }},
      {"resall_", [](Reader&) { resall_(); }},
      {"color_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         color_(t, in.length(t));
       }},
      {"setclr_",
       [](Reader& in) {
         int v = in.integer();
         setclr_(in.address(v));
       }},
      {"setvlt_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         setvlt_(t, in.length(t));
       }},
      {"linwid_",
       [](Reader& in) {
         int v = line_width(in);
         linwid_(in.address(v));
       }},
      {"lintyp", [](Reader& in) { lintyp(in.integer()); }},
      {"myline",
       [](Reader& in) {
         const int n = in.integer();
         std::vector<int> pattern(n > 0 && n <= 64 ? static_cast<std::size_t>(n) : 1);
         for (int& v : pattern) v = in.integer();
         myline(in.byte() % 16 == 0 ? nullptr : pattern.data(), n > 64 ? 64 : n);
       }},
      {"solid", [](Reader&) { solid(); }},
      {"dash", [](Reader&) { dash(); }},
      {"dashm", [](Reader&) { dashm(); }},
      {"dashl", [](Reader&) { dashl(); }},
      {"dotl", [](Reader&) { dotl(); }},
      {"chndot", [](Reader&) { chndot(); }},
      {"chndsh", [](Reader&) { chndsh(); }},
      {"lnmlt", [](Reader& in) { lnmlt(in.real()); }},
      {"height", [](Reader& in) { height(in.integer()); }},
      {"angle", [](Reader& in) { angle(in.integer()); }},
      {"messag",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         const int x = in.integer();
         messag(t, x, in.integer());
       }},
      {"nlmess",
       [](Reader& in) {
         std::string s;
         (void)nlmess(in.text(s));
       }},
      {"disalf", [](Reader&) { disalf(); }},
      {"height_",
       [](Reader& in) {
         int v = in.integer();
         height_(in.address(v));
       }},
      {"angle_",
       [](Reader& in) {
         int v = in.integer();
         angle_(in.address(v));
       }},
      {"messag_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         int x = in.integer(), y = in.integer();
         const long len = in.length(t);
         messag_(t, in.address(x), in.address(y), len);
       }},
      {"nlmess_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         (void)nlmess_(t, in.length(t));
       }},
      {"disalf_", [](Reader&) { disalf_(); }},
      {"graf",
       [](Reader& in) {
         float v[8];
         for (float& f : v) f = in.real();
         graf(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
       }},
      {"graf (the program's axes)",
       [](Reader&) { graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f); }},
      {"xposn", [](Reader& in) { (void)xposn(in.real()); }},
      {"yposn", [](Reader& in) { (void)yposn(in.real()); }},
      {"nxposn", [](Reader& in) { (void)nxposn(in.real()); }},
      {"nyposn", [](Reader& in) { (void)nyposn(in.real()); }},
      {"trfrel",
       [](Reader& in) {
         Points p = points(in);
         trfrel(p.null_x ? nullptr : p.x.data(), p.null_y ? nullptr : p.y.data(), p.n);
       }},
      {"labdig",
       [](Reader& in) {
         std::string s;
         const int n = in.integer();
         labdig(n, in.text(s));
       }},
      {"name",
       [](Reader& in) {
         std::string a, b;
         const char* t = in.text(a);
         name(t, in.text(b));
       }},
      {"hname", [](Reader& in) { hname(in.integer()); }},
      {"curve",
       [](Reader& in) {
         const Points p = points(in);
         curve(p.xp(), p.yp(), p.n);
       }},
      {"graf_",
       [](Reader& in) {
         float v[8];
         for (float& f : v) f = in.real();
         graf_(in.address(v[0]), in.address(v[1]), in.address(v[2]), in.address(v[3]),
               in.address(v[4]), in.address(v[5]), in.address(v[6]), in.address(v[7]));
       }},
      {"labdig_",
       [](Reader& in) {
         std::string s;
         int n = in.integer();
         const char* t = in.text(s);
         const long len = in.length(t);
         labdig_(in.address(n), t, len);
       }},
      {"name_",
       [](Reader& in) {
         std::string a, b;
         const char* t = in.text(a);
         const char* axes = in.text(b);
         const long lt = in.length(t);
         name_(t, axes, lt, in.length(axes));
       }},
      {"hname_",
       [](Reader& in) {
         int v = in.integer();
         hname_(in.address(v));
       }},
      {"curve_",
       [](Reader& in) {
         const Points p = points(in);
         int n = p.n;
         curve_(p.xp(), p.yp(), in.address(n));
       }},
      {"rimage",
       [](Reader& in) {
         std::string s;
         rimage(file_name(in, s));
       }},
      {"rtiff",
       [](Reader& in) {
         std::string s;
         rtiff(file_name(in, s));
       }},
      {"rpng",
       [](Reader& in) {
         std::string s;
         rpng(file_name(in, s));
       }},
      {"rimage_",
       [](Reader& in) {
         std::string s;
         const char* t = file_name(in, s);
         rimage_(t, in.length(t));
       }},
      {"rtiff_",
       [](Reader& in) {
         std::string s;
         const char* t = file_name(in, s);
         rtiff_(t, in.length(t));
       }},
      {"rpng_",
       [](Reader& in) {
         std::string s;
         const char* t = file_name(in, s);
         rpng_(t, in.length(t));
       }},
      {"msgmod",
       [](Reader& in) {
         std::string s;
         const std::uint8_t pick = in.byte() % 4;
         msgmod(pick == 0 ? "OFF" : pick == 1 ? "ON" : in.text(s));
       }},
      {"nwarns", [](Reader&) { (void)nwarns(); }},
      {"msgmod_",
       [](Reader& in) {
         std::string s;
         const std::uint8_t pick = in.byte() % 4;
         const char* t = pick == 0 ? "off" : pick == 1 ? "on  " : in.text(s);
         msgmod_(t, in.length(t));
       }},
      {"nwarns_", [](Reader&) { (void)nwarns_(); }},
      {"dddate_",
       [](Reader& in) {
         char buf[16];
         const std::uint8_t pick = in.byte() % 3;
         dddate_(pick == 0 ? nullptr : buf, pick == 1 ? 0 : static_cast<long>(in.byte() % 17));
       }},
      {"ddtime_",
       [](Reader& in) {
         char buf[16];
         const std::uint8_t pick = in.byte() % 3;
         ddtime_(pick == 0 ? nullptr : buf, pick == 1 ? 0 : static_cast<long>(in.byte() % 17));
       }},
      {"lintyp_",
       [](Reader& in) {
         int v = in.integer();
         lintyp_(in.address(v));
       }},
      {"myline_",
       [](Reader& in) {
         int n = in.integer();
         std::vector<int> pattern(n > 0 && n <= 64 ? static_cast<std::size_t>(n) : 1);
         for (int& v : pattern) v = in.integer();
         if (n > 64) n = 64;
         const int* p = in.byte() % 16 == 0 ? nullptr : pattern.data();
         myline_(p, in.address(n));
       }},
      {"solid_", [](Reader&) { solid_(); }},
      {"dash_", [](Reader&) { dash_(); }},
      {"dashm_", [](Reader&) { dashm_(); }},
      {"dashl_", [](Reader&) { dashl_(); }},
      {"dotl_", [](Reader&) { dotl_(); }},
      {"chndot_", [](Reader&) { chndot_(); }},
      {"chndsh_", [](Reader&) { chndsh_(); }},
      {"lnmlt_",
       [](Reader& in) {
         float v = in.real();
         lnmlt_(in.address(v));
       }},
      {"xposn_",
       [](Reader& in) {
         float v = in.real();
         (void)xposn_(in.address(v));
       }},
      {"yposn_",
       [](Reader& in) {
         float v = in.real();
         (void)yposn_(in.address(v));
       }},
      {"nxposn_",
       [](Reader& in) {
         float v = in.real();
         (void)nxposn_(in.address(v));
       }},
      {"nyposn_",
       [](Reader& in) {
         float v = in.real();
         (void)nyposn_(in.address(v));
       }},
      {"trfrel_",
       [](Reader& in) {
         Points p = points(in);
         int n = p.n;
         trfrel_(p.null_x ? nullptr : p.x.data(), p.null_y ? nullptr : p.y.data(), in.address(n));
       }},
      // Symbols, error bars and legends.
      {"marker", [](Reader& in) { marker(in.integer()); }},
      {"hsymbl", [](Reader& in) { hsymbl(symbol_size(in)); }},
      {"incmrk", [](Reader& in) { incmrk(in.integer()); }},
      {"symbol",
       [](Reader& in) {
         const int nsym = in.integer(), x = in.integer();
         symbol(nsym, x, in.integer());
       }},
      {"rlsymb",
       [](Reader& in) {
         const int nsym = in.integer();
         const float x = in.real();
         rlsymb(nsym, x, in.real());
       }},
      {"errbar",
       [](Reader& in) {
         const Points p = points(in);
         const Deviations lo = deviations(in, p), hi = deviations(in, p);
         errbar(p.xp(), p.yp(), lo.data(), hi.data(), p.n);
       }},
      {"errhor",
       [](Reader& in) {
         const Points p = points(in);
         const Deviations lo = deviations(in, p);
         errhor(p.xp(), p.yp(), lo.data(), lo.data(), p.n);
       }},
      {"errcap", [](Reader& in) { errcap(in.integer()); }},
      {"legini", [](Reader& in) { legini(in.integer()); }},
      {"leglin",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         leglin(t, in.integer());
       }},
      {"legend",
       [](Reader& in) {
         std::string s;
         const std::uint8_t pick = in.byte() % 6;
         const char* corners[] = {"UR", "UL", "LL", "LR"};
         legend(pick < 4 ? corners[pick] : pick == 4 ? nullptr : in.text(s));
       }},
      {"legpag",
       [](Reader& in) {
         const int x = in.integer();
         legpag(x, in.integer());
       }},
      {"marker_", int_by_reference(marker_)},
      {"hsymbl_",
       [](Reader& in) {
         int v = symbol_size(in);
         hsymbl_(in.address(v));
       }},
      {"incmrk_", int_by_reference(incmrk_)},
      {"symbol_",
       [](Reader& in) {
         int nsym = in.integer(), x = in.integer(), y = in.integer();
         const int* a = in.address(nsym);
         const int* b = in.address(x);
         symbol_(a, b, in.address(y));
       }},
      {"rlsymb_",
       [](Reader& in) {
         int nsym = in.integer();
         float x = in.real(), y = in.real();
         const int* a = in.address(nsym);
         const float* b = in.address(x);
         rlsymb_(a, b, in.address(y));
       }},
      {"errbar_",
       [](Reader& in) {
         const Points p = points(in);
         const Deviations lo = deviations(in, p), hi = deviations(in, p);
         int n = p.n;
         errbar_(p.xp(), p.yp(), lo.data(), hi.data(), in.address(n));
       }},
      {"errhor_",
       [](Reader& in) {
         const Points p = points(in);
         const Deviations lo = deviations(in, p), hi = deviations(in, p);
         int n = p.n;
         errhor_(p.xp(), p.yp(), lo.data(), hi.data(), in.address(n));
       }},
      {"errcap_", int_by_reference(errcap_)},
      {"legini_", int_by_reference(legini_)},
      {"leglin_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         int line = in.integer();
         const long len = in.length(t);
         leglin_(t, in.address(line), len);
       }},
      {"legend_",
       [](Reader& in) {
         std::string s;
         const char* t = in.text(s);
         legend_(t, in.length(t));
       }},
      {"legpag_",
       [](Reader& in) {
         int x = in.integer(), y = in.integer();
         const int* a = in.address(x);
         legpag_(a, in.address(y));
       }},
  };
  return table;
}

// The folder a run owns, and the working folder three levels inside it, so that names
// with ".." still land inside.
std::filesystem::path g_scratch;
std::filesystem::path g_work;

// Keeps the scratch folder small, so that file versions never run out (the version search
// ends the program after 999 of them).
void empty_scratch() {
  std::error_code ec;
  std::filesystem::current_path(g_scratch, ec);
  for (const auto& entry : std::filesystem::directory_iterator(g_scratch, ec))
    std::filesystem::remove_all(entry.path(), ec);
  std::filesystem::create_directories(g_work, ec);
  std::filesystem::current_path(g_work, ec);
}

std::size_t scratch_entries() {
  std::error_code ec;
  std::size_t n = 0;
  for (auto it = std::filesystem::recursive_directory_iterator(g_scratch, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    ++n;
  return n;
}

void fresh_library() {
  stylus::reset_process();
  stylus::set_screen_window_system(stylus::make_headless_window_system());
}

}  // namespace

void prepare_process() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "stylus_fuzz_XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
  g_scratch = tmpl;
  g_work = g_scratch / "a" / "b" / "c";
  std::filesystem::create_directories(g_work);
  std::filesystem::current_path(g_work);
  ::unsetenv("DISPLAY");
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  // Files stop growing at 256 MB (a curve of a hundred thousand page-long segments fills
  // gigabytes): the writes fail and the library reports the file error, as on a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{256u << 20, 256u << 20};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::atexit([] {
    std::error_code ec;
    std::filesystem::current_path(g_scratch.parent_path(), ec);
    std::filesystem::remove_all(g_scratch, ec);
  });
}

std::size_t run_calls(const std::uint8_t* data, std::size_t size) {
  fresh_library();
  const std::vector<Routine>& table = routines();
  Reader in(data, size);
  std::size_t calls = 0;
  while (!in.done()) {
    table[in.byte() % table.size()].call(in);
    ++calls;
    if (calls % 64 == 0 && stylus::g_ivray.level == 0 && scratch_entries() > 203) empty_scratch();
  }
  if (stylus::g_ivray.level != 0) disfin();
  fresh_library();
  empty_scratch();
  return calls;
}

std::size_t routine_count() {
  return routines().size();
}

const char* routine_name(std::size_t k) {
  return routines().at(k).name;
}

std::size_t routine_index(const std::string& name) {
  const std::vector<Routine>& table = routines();
  for (std::size_t k = 0; k < table.size(); ++k)
    if (name == table[k].name) return k;
  return table.size();
}

// The palette starts with the device keywords, "CONSOLE" the last of them.
std::size_t device_keyword_count() {
  for (std::size_t i = 0; i < count_of(kTextPalette); ++i)
    if (kTextPalette[i] != nullptr && std::strcmp(kTextPalette[i], "CONSOLE") == 0) return i + 1;
  return 0;
}

std::uint8_t device_keyword_selector(std::size_t i) {
  return static_cast<std::uint8_t>(i);
}

}  // namespace fuzz
