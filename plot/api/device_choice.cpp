// Device choice (metafl) and page format (setpag): the two level-0 routines that set the
// device and page a following session uses.
#include <cstdio>
#include <cstring>

#include "api/session.h"
#include "devices/device_table.h"
#include "records/messages.h"
#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

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

void use_default_device() {
  g_ivray.device = default_device().code;
  std::memcpy(g_control.device_name, default_device().keyword, 4);
  g_control.device_name[4] = '\0';
}

}  // namespace stylus

using namespace stylus;

extern "C" void metafl(const char* cfmt) try {
  const ApiCall call;
  if (jqqlev(0, 0, "metafl") || missing_argument(cfmt, "metafl")) return;
  g_ivray.msg_unit = message_unit(stdout);
  g_control.msg_stream = stdout;
  char buf[5];
  keyword_buffer(buf, cfmt);
  if (std::strcmp(buf, "MET1") >= 0 && std::strcmp(buf, "MET9") <= 0) {
    g_ivray.device = console_device().code;
  } else {
    const int k = jqqind(device_keyword_list(), device_keyword_count(), cfmt);
    if (k == 0) return;
    g_ivray.device = device_at(k).code;
  }
  std::memcpy(g_control.device_name, buf, sizeof buf);
  g_ivray.device_chosen = 1;
  note_device_choice();
} catch (...) {
  api_failure();
}

extern "C" void setpag(const char* cpag) try {
  const ApiCall call;
  if (jqqlev(0, 0, "setpag") || missing_argument(cpag, "setpag")) return;
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
    note_page_choice();
    if (g_ivray.device_chosen == 0) {
      use_default_device();
      note_device_choice();
    }
    return;
  }
  warnc1(2, cpag != nullptr ? cpag : "");
} catch (...) {
  api_failure();
}
