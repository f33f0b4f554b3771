// Device choice (metafl) and page format (setpag): keyword tables and the two level-0
// routines that set the device and page a following session uses.
#include "state/device_table.h"

#include <cstdio>
#include <cstring>

#include "state/messages.h"
#include "state/state.h"
#include "state/strings.h"
#include "stylus.h"

namespace stylus {

namespace {

constexpr const char kDeviceKeywords[] =
    "GKSL+CGM +KYOC+HPGL+HPA4+HPA3+HPA2+HPA1+CONS+TEKT+VT34+LN03+POST+PSCL+"
    "XWIN+XWI1+XWI2+XWI3+XWI4+XWI5+XWND+TIFF+IMAG+VIRT+PNG +JAVA+WMF ";
constexpr int kDeviceCodes[] = {201, 211, 301, 401, 402, 403, 404, 405, 80,
                                151, 103, 161, 501, 502, 75,  75,  76,  77,
                                78,  79,  80,  601, 602, 603, 604, 701, 221};
constexpr int kDeviceCount = sizeof kDeviceCodes / sizeof kDeviceCodes[0];
static_assert(kDeviceCount == 27 && sizeof kDeviceKeywords == 5 * kDeviceCount);

struct PageFormat {
  const char* name;
  int nx, ny;
};
constexpr PageFormat kPages[] = {
    {"DA4L", 2969, 2099}, {"DA3L", 4199, 2969}, {"DA2L", 5939, 4199}, {"DA1L", 8399, 5939},
    {"HP4L", 2716, 1899}, {"HP3L", 3989, 2716}, {"HP2L", 5339, 3359}, {"HP1L", 7569, 5339},
    {"KY4L", 2869, 1999}, {"PS4L", 2799, 1949},
};

// The first four characters of a caller's keyword, upper-cased, zero-ended.
void keyword_buffer(char (&buf)[5], const char* text) {
  qqcopy(buf, text, 4);
  upstr(buf);
}

}  // namespace

const char* default_extension(int device) {
  switch (device) {
    case 151:
      return "tek";
    case 161:
      return "ln3";
    case 201:
      return "met";
    case 211:
      return "cgm";
    case 221:
      return "wmf";
    case 301:
      return "kyo";
    case 601:
      return "tif";
    case 602:
      return "img";
    case 604:
      return "png";
    case 701:
      return "java";
    default:
      break;
  }
  if (device >= 401 && device <= 500) return "hpg";
  if (device >= 501 && device <= 600) return "psc";
  return "";
}

FileStart file_start_kind(int device) {
  if (device <= 100 || device == 603) return FileStart::kNone;
  if (device == 211) return FileStart::kOpenBinary;
  if (device == 221 || (device >= 601 && device <= 700)) return FileStart::kNameOnly;
  return FileStart::kOpenText;
}

}  // namespace stylus

using namespace stylus;

extern "C" void metafl(const char* cfmt) {
  if (jqqlev(0, 0, "metafl")) return;
  g_ivray.msg_unit = 6;
  g_control.msg_stream = stdout;
  char buf[5];
  keyword_buffer(buf, cfmt);
  if (std::strcmp(buf, "MET1") >= 0 && std::strcmp(buf, "MET9") <= 0) {
    g_ivray.device = 80;
  } else {
    int k = jqqind(kDeviceKeywords, kDeviceCount, cfmt);
    if (k == 0) return;
    g_ivray.device = kDeviceCodes[k - 1];
  }
  std::memcpy(g_control.device_name, buf, sizeof buf);
  g_ivray.device_chosen = 1;
}

extern "C" void setpag(const char* cpag) {
  if (jqqlev(0, 0, "setpag")) return;
  char buf[5];
  keyword_buffer(buf, cpag);
  const bool portrait = buf[3] == 'P';
  if (portrait) buf[3] = 'L';
  for (const PageFormat& page : kPages) {
    if (std::strcmp(buf, page.name) != 0) continue;
    g_ivray.page_nx = portrait ? page.ny : page.nx;
    g_ivray.page_ny = portrait ? page.nx : page.ny;
    if (portrait) buf[3] = 'P';
    std::memcpy(g_control.page_format, buf, sizeof buf);
    if (g_ivray.device_chosen == 0) {
      g_ivray.device = 201;
      std::memcpy(g_control.device_name, "GKSL", 5);
    }
    return;
  }
  warnc1(2, cpag != nullptr ? cpag : "");
}
