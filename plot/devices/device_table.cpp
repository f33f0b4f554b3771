// The device table (see device_table.h): the rows in the lookup order of metafl, the
// session's driver and the drivers' memory between sessions.
#include "devices/device_table.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "devices/byte_sink.h"
#include "devices/cgm.h"
#include "devices/gksl.h"
#include "devices/hpgl.h"
#include "devices/java_applet.h"
#include "devices/kyocera.h"
#include "devices/pdf.h"
#include "devices/postscript.h"
#include "devices/raster_driver.h"
#include "devices/screen_driver.h"
#include "devices/wmf.h"
#include "devices/svg.h"
#include "state/color_tables.h"
#include "state/state.h"

namespace stylus {
namespace {

using C = DeviceClass;
using F = FileOutput;

constexpr DeviceRecord screen(const char* keyword, int code) {
  return {.keyword = keyword,
          .code = code,
          .cls = C::kScreen,
          .output = F::kWindow,
          .pixel_clip_margin = true,
          .factory = make_screen_driver};
}

// The plotter files share one extension; their class says whether the page is fitted to a
// sheet.
constexpr DeviceRecord hpgl(const char* keyword, int code, DeviceClass cls) {
  return {.keyword = keyword,
          .code = code,
          .cls = cls,
          .extension = "hpg",
          .factory = make_hpgl_driver};
}

// Keywords whose codes are started as files but have no driver: disini refuses them.
constexpr DeviceRecord terminal(const char* keyword, int code, const char* extension) {
  return {.keyword = keyword, .code = code, .cls = C::kTerminal, .extension = extension};
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
                 .factory = make_gksl_driver},
    DeviceRecord{.keyword = "CGM ",
                 .code = 211,
                 .cls = C::kCgm,
                 .extension = "cgm",
                 .white_paper = true,
                 .white_maps_to_zero = true,
                 .factory = make_cgm_driver},
    DeviceRecord{.keyword = "KYOC",
                 .code = 301,
                 .cls = C::kKyocera,
                 .extension = "kyo",
                 .small_only = true,
                 .factory = make_kyocera_driver},
    hpgl("HPGL", 401, C::kHpgl),
    hpgl("HPA4", 402, C::kHpglSheet),
    hpgl("HPA3", 403, C::kHpglSheet),
    hpgl("HPA2", 404, C::kHpglSheet),
    hpgl("HPA1", 405, C::kHpglSheet),
    screen("CONS", 80),
    terminal("TEKT", 151, "tek"),
    terminal("VT34", 103, ""),
    terminal("LN03", 161, "ln3"),
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
                 .factory = make_postscript_driver},
    screen("XWIN", 75),
    screen("XWI1", 75),
    screen("XWI2", 76),
    screen("XWI3", 77),
    screen("XWI4", 78),
    screen("XWI5", 79),
    screen("XWND", 80),
    DeviceRecord{.keyword = "TIFF",
                 .code = 601,
                 .cls = C::kRaster,
                 .extension = "tif",
                 .output = F::kAtEnd,
                 .factory = make_raster_driver},
    DeviceRecord{.keyword = "IMAG",
                 .code = 602,
                 .cls = C::kRaster,
                 .extension = "img",
                 .output = F::kAtEnd,
                 .factory = make_raster_driver},
    DeviceRecord{.keyword = "VIRT",
                 .code = 603,
                 .cls = C::kRaster,
                 .output = F::kNone,
                 .factory = make_raster_driver},
    DeviceRecord{.keyword = "PNG ",
                 .code = 604,
                 .cls = C::kRaster,
                 .extension = "png",
                 .output = F::kAtEnd,
                 .factory = make_raster_driver},
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
                 .output = F::kAtEnd,
                 .white_paper = true,
                 .white_maps_to_zero = true,
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
static_assert(kDevices.size() == 27 + 2);
static_assert(std::string_view(kDevices[26].keyword) == "WMF ", "the 27 keywords come first");

constexpr DeviceRecord kNoDevice{.keyword = "    ", .code = 0, .cls = C::kNone};

struct TableState {
  std::unique_ptr<ByteSink> output;  // declared first: the driver writes into it
  std::unique_ptr<Driver> driver;
  std::unique_ptr<Driver> (*factory_override)(int) = nullptr;
  DriverMemory memory;
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

void use_default_device() {
  g_ivray.device = kDevices[0].code;
  std::memcpy(g_control.device_name, kDevices[0].keyword, 4);
  g_control.device_name[4] = '\0';
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
  return state().driver.get();
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
