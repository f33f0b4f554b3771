// The device table (see device_table.h): the rows in the lookup order of metafl, the
// session's driver and the drivers' memory between sessions.
#include "devices/device_table.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "devices/byte_sink.h"
#include "records/color_tables.h"

namespace stylus {

// The drivers' factories, one in each driver's file.
std::unique_ptr<Driver> make_gksl_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_cgm_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_kyocera_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_hpgl_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_screen_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_postscript_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_raster_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_java_applet_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_wmf_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_svg_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_pdf_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_tektronix_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_vt340_driver(const DeviceRecord&, DriverMemory&);
std::unique_ptr<Driver> make_ln03_driver(const DeviceRecord&, DriverMemory&);

namespace {

using C = DeviceClass;
using F = FileOutput;

// A screen window: window 1..5 (code 80, the full-screen window, is window 1).
constexpr DeviceRecord screen(const char* keyword, int code, int window) {
  return {.keyword = keyword,
          .code = code,
          .cls = C::kScreen,
          .output = F::kWindow,
          .pixel_clip_margin = true,
          .keeps_picture = true,
          .pixels = true,
          .variant = window,
          .factory = make_screen_driver};
}

// The plotter files share one extension; their class says whether the page is fitted to a
// sheet, and the variant which sheet (1 A4 .. 4 A1).
constexpr DeviceRecord hpgl(const char* keyword, int code, DeviceClass cls, int sheet) {
  return {.keyword = keyword,
          .code = code,
          .cls = cls,
          .extension = "hpg",
          .variant = sheet,
          .factory = make_hpgl_driver};
}

// The raster images: drawn in memory and written at the end in the row's image format
// (ImageFormat; 0 writes none).
constexpr DeviceRecord raster(const char* keyword, int code, const char* extension, int format) {
  return {.keyword = keyword,
          .code = code,
          .cls = C::kRaster,
          .extension = extension,
          .output = format == 0 ? F::kNone : F::kAtEnd,
          .keeps_picture = true,
          .pixels = true,
          .variant = format,
          .factory = make_raster_driver};
}

// The vector files go into the session's output, a temporary file that is put in place only
// when complete.
constexpr DeviceRecord vector_file(const char* keyword, int code, DeviceClass cls,
                                   const char* extension, DriverFactory factory) {
  return {.keyword = keyword,
          .code = code,
          .cls = cls,
          .extension = extension,
          .white_paper = true,
          .white_maps_to_zero = true,
          .draws_widths = true,
          .factory = factory};
}

constexpr std::array kDevices{
    DeviceRecord{.keyword = "GKSL",
                 .code = 201,
                 .cls = C::kGksl,
                 .extension = "met",
                 .end_at_origin = true,
                 .factory = make_gksl_driver},
    DeviceRecord{.keyword = "CGM ",
                 .code = 211,
                 .cls = C::kCgm,
                 .extension = "cgm",
                 .white_paper = true,
                 .white_maps_to_zero = true,
                 .end_at_origin = true,
                 .factory = make_cgm_driver},
    DeviceRecord{.keyword = "KYOC",
                 .code = 301,
                 .cls = C::kKyocera,
                 .extension = "kyo",
                 .small_only = true,
                 .factory = make_kyocera_driver},
    hpgl("HPGL", 401, C::kHpgl, 0),
    hpgl("HPA4", 402, C::kHpglSheet, 1),
    hpgl("HPA3", 403, C::kHpglSheet, 2),
    hpgl("HPA2", 404, C::kHpglSheet, 3),
    hpgl("HPA1", 405, C::kHpglSheet, 4),
    screen("CONS", 80, 1),
    DeviceRecord{.keyword = "TEKT",
                 .code = 151,
                 .cls = C::kTerminal,
                 .extension = "tek",
                 .factory = make_tektronix_driver},
    DeviceRecord{.keyword = "VT34",
                 .code = 103,
                 .cls = C::kTerminal,
                 .output = F::kAtEnd,
                 .keeps_picture = true,
                 .factory = make_vt340_driver},
    DeviceRecord{.keyword = "LN03",
                 .code = 161,
                 .cls = C::kTerminal,
                 .extension = "ln3",
                 .output = F::kAtEnd,
                 .factory = make_ln03_driver},
    DeviceRecord{.keyword = "POST",
                 .code = 501,
                 .cls = C::kPostScript,
                 .extension = "psc",
                 .default_table = kTableRevGrey,
                 .white_paper = true,
                 .small_swapped = true,
                 .draws_widths = true,
                 .factory = make_postscript_driver},
    DeviceRecord{.keyword = "PSCL",
                 .code = 502,
                 .cls = C::kPostScript,
                 .extension = "psc",
                 .draws_widths = true,
                 .variant = 1,  // the page painted black first
                 .factory = make_postscript_driver},
    screen("XWIN", 75, 1),
    screen("XWI1", 75, 1),
    screen("XWI2", 76, 2),
    screen("XWI3", 77, 3),
    screen("XWI4", 78, 4),
    screen("XWI5", 79, 5),
    screen("XWND", 80, 1),
    raster("TIFF", 601, "tif", 2),
    raster("IMAG", 602, "img", 1),
    raster("VIRT", 603, "", 0),
    raster("PNG ", 604, "png", 3),
    DeviceRecord{.keyword = "JAVA",
                 .code = 701,
                 .cls = C::kJava,
                 .extension = "java",
                 .white_paper = true,
                 .factory = make_java_applet_driver},
    DeviceRecord{.keyword = "WMF ",
                 .code = 221,
                 .cls = C::kWmf,
                 .extension = "wmf",
                 .white_paper = true,
                 .white_maps_to_zero = true,
                 .end_at_origin = true,
                 .factory = make_wmf_driver},
    // Beyond the 27 keywords above, which keep their places and codes: vector files of the
    // whole page, coloured as the CGM and Windows-metafile devices, with line widths, caps
    // and joins drawn as the PostScript device draws them.
    vector_file("SVG ", 801, C::kSvg, "svg", make_svg_driver),
    vector_file("PDF ", 802, C::kPdf, "pdf", make_pdf_driver),
};

// The keyword list of metafl, one 4-character keyword and a "+" per row.
constexpr std::array<char, 5 * kDevices.size()> make_keyword_list() {
  std::array<char, 5 * kDevices.size()> list{};
  for (std::size_t i = 0; i < kDevices.size(); ++i) {
    for (int j = 0; j < 4; ++j) list[5 * i + j] = kDevices[i].keyword[j];
    list[5 * i + 4] = i + 1 < kDevices.size() ? '+' : '\0';
  }
  return list;
}
constexpr std::array kKeywordList = make_keyword_list();

constexpr bool keywords_are_four_characters() {
  for (const DeviceRecord& d : kDevices) {
    if (std::string_view(d.keyword).size() != 4) return false;
  }
  return true;
}
static_assert(keywords_are_four_characters(), "keywords are blank-padded to four characters");

// The first 27 keywords keep their places: metafl finds a keyword by its place in the list.
constexpr bool first_keywords_in_place() {
  constexpr std::string_view kFirst =
      "GKSL+CGM +KYOC+HPGL+HPA4+HPA3+HPA2+HPA1+CONS+TEKT+VT34+LN03+POST+PSCL+XWIN+XWI1+XWI2+"
      "XWI3+XWI4+XWI5+XWND+TIFF+IMAG+VIRT+PNG +JAVA+WMF ";
  return std::string_view(kKeywordList.data(), kFirst.size()) == kFirst;
}
static_assert(first_keywords_in_place(), "new keywords go after the first 27");

constexpr DeviceRecord kNoDevice{.keyword = "    ", .code = 0, .cls = C::kNone};

struct TableState {
  std::unique_ptr<ByteSink> output;  // declared first: the driver writes into it
  std::unique_ptr<Driver> driver;
  std::unique_ptr<Driver> (*factory_override)(int) = nullptr;
  DriverMemory memory;
  unsigned long accesses = 0;
};
TableState& state() {
  static TableState s;
  return s;
}

}  // namespace

const char* device_keyword_list() {
  return kKeywordList.data();
}

int device_keyword_count() {
  return static_cast<int>(kDevices.size());
}

const DeviceRecord& device_at(int k) {
  return kDevices.at(static_cast<std::size_t>(k - 1));
}

const DeviceRecord& console_device() {
  return kDevices[8];
}
static_assert(std::string_view(kDevices[8].keyword) == "CONS");

const DeviceRecord& default_device() {
  return kDevices[0];
}

const DeviceRecord* find_device(int code) {
  for (const DeviceRecord& d : kDevices) {
    if (d.code == code) return &d;
  }
  return nullptr;
}

// Asked for every point of the vector path: the record of the code asked for last is kept
// and looked up again only when the code changes.
const DeviceRecord& current_device() {
  static int code = 0;
  static const DeviceRecord* record = nullptr;
  if (record == nullptr || g_ivray.device != code) {
    const DeviceRecord* d = find_device(g_ivray.device);
    record = d != nullptr ? d : &kNoDevice;
    code = g_ivray.device;
  }
  return *record;
}

Driver* current_driver() {
  ++state().accesses;
  return state().driver.get();
}

unsigned long driver_accesses() {
  return state().accesses;
}

void set_current_driver(std::unique_ptr<Driver> driver, std::unique_ptr<ByteSink> output) {
  TableState& s = state();
  s.driver = std::move(driver);
  s.output = std::move(output);
}

ByteSink* session_output() {
  return state().output.get();
}

std::unique_ptr<Driver> make_driver(int device) {
  TableState& s = state();
  if (s.factory_override) return s.factory_override(device);
  const DeviceRecord* d = find_device(device);
  if (d == nullptr || d->factory == nullptr) return nullptr;
  return d->factory(*d, s.memory);
}

void set_driver_factory(std::unique_ptr<Driver> (*factory)(int device)) {
  state().factory_override = factory;
}

DriverMemory& driver_memory() {
  return state().memory;
}

void reset_device_table() {
  TableState& s = state();
  s.driver.reset();
  s.output.reset();
  s.factory_override = nullptr;
  s.memory = DriverMemory{};
}

}  // namespace stylus
