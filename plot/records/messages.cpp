// Session levels, argument checks and the numbered warning lines: every public routine
// starts here, and every complaint of the library is counted and printed here.
#include "records/messages.h"

#include <cstdio>
#include <cstring>

#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

// Entry 0 is the text used for a number outside the table.
constexpr const char* kMessages[] = {
    " ",
    "Negative parameter",
    "Incorrect parameter",
    "Incorrect level",
    "X coordinate out of page",
    "Y coordinate out of page",
    "Same tick number as in a call before",
    "First radius greater than second radius",
    "Start angle greater/equal end angle",
    "Step equal zero",
    "Begin and end of scaling are equal",
    "Axis length < 2",
    "Startlabel out of scaling",
    "Linear scaling must be used",
    "Linear interpolation must be used",
    "No call to legini before",
    "Too long string for legend line",
    "Not enough store for the legend buffer",
    "Incorrect character after the eushft operator",
    "The basealphabet cannot be used",
    "No metafile",
    "The routine must be called after disfin",
    "The metafile is deleted before",
    "Non positive minimum for log scaling (set to 0.1)",
    "Non positive maximum for log scaling (set to 1.0)",
    "Minimum equal maximum (added -1 and +1)",
    "Too many intersections",
    "Non positive values for log scaling",
    "Number of bars unequal number of main ticks",
    "Sum of data is zero",
    "Incorrect number of points",
    "Incorrect number of points for spline interpolation",
    "No increasing x coordinates for spline interpolation",
    "Incorrect viewpoint",
    "No call to grfini before",
    "Confusion of graf3d and graf3",
    "File error",
    "Incorrect filename",
    "Singular matrix",
    "Too many pages for CGM file (max. length 327 cm)",
    "File format and output device are incompatible",
    "Incorrect device for HPGL file",
    "More legend lines than calls to curve",
    "Instruction code: incorrect parameter",
    "Instruction code: incorrect tabulator index",
    "Instruction code: no integer value",
    "Instruction code: unknown command",
    "Blanking buffer overflow",
    "No call to psfont",
    "Fileformat is not PostScript",
    "Incorrect sign for step",
    "Non positive parameter",
    "Hiddenline overflow",
    "Not enough memory",
    "No call to imgfin",
    "No call to imgini",
    "Incorrect file format",
    "Control characters must be different",
    "Array is out of screen",
};
constexpr int kMessageCount = sizeof kMessages / sizeof kMessages[0] - 1;
static_assert(kMessageCount == 58);

// The caller's own text of a warning numbered above 100 (qqserr).
char g_user_text[133];

std::FILE* message_stream() {
  return g_control.msg_stream != nullptr ? g_control.msg_stream : stdout;
}

}  // namespace

int jqqlev(int lo, int hi, const char* name) {
  ensure_process_defaults();
  g_control.routine_name = name;
  if (g_ivray.level >= lo && g_ivray.level <= hi) return 0;
  const bool outside = g_ivray.level == 0;
  if (outside) {
    // A call outside a session is always reported, even with messages switched off.
    g_ivray.msg_unit = 6;
    g_control.msg_stream = stdout;
  }
  warni1(3, g_ivray.level);
  if (outside) g_ivray.msg_unit = message_unit(stdout);
  return 1;
}

int chkini(const char* name) {
  return jqqlev(1, 3, name);
}

int jqqval(int value, int lo, int hi) {
  if (value < lo || (lo <= hi && value > hi)) {
    warni1(2, value);
    return 1;
  }
  return 0;
}

int jqqind(const char* list, int n, const char* key) {
  char want[5] = "    ";
  if (key != nullptr) {
    for (int i = 0; i < 4 && key[i] != '\0'; ++i) want[i] = key[i];
  }
  upstr(want);
  for (int k = 0; k < n; ++k) {
    char entry[5];
    std::memcpy(entry, list + 5 * k, 4);
    entry[4] = '\0';
    upstr(entry);
    if (std::memcmp(entry, want, 4) == 0) return k + 1;
  }
  warnc1(2, key != nullptr ? key : "");
  return 0;
}

void errmes(int n) {
  g_ivray.n_warnings += 1;
  if (g_ivray.msg_unit == 0 || n > 100) return;
  if (n < 1 || n > kMessageCount) {
    std::printf("<<<< Incorrect parameter in errmes! (%4d)\n", n);
    g_control.message_text = kMessages[0];
  } else {
    g_control.message_text = kMessages[n];
  }
}

bool missing_argument(const void* p, const char* routine) {
  if (p != nullptr) return false;
  ensure_process_defaults();
  g_control.routine_name = routine;
  warnin(2);
  return true;
}

void warnin(int n) {
  errmes(n);
  if (g_ivray.msg_unit == 0) return;
  std::fprintf(message_stream(), " <<<< Warning %3d: %s in %s!\n", n, g_control.message_text,
               g_control.routine_name);
}

void warni1(int n, int value) {
  errmes(n);
  if (g_ivray.msg_unit == 0) return;
  std::fprintf(message_stream(), " <<<< Warning %3d: %s in %s!   (%4d)\n", n,
               g_control.message_text, g_control.routine_name, value);
}

void warnc1(int n, const char* text) {
  errmes(n);
  if (g_ivray.msg_unit == 0) return;
  // The caller's text is shown cut and escaped: a line of the library stays one line.
  std::fprintf(message_stream(), " <<<< Warning %3d: %s in %s!   (%s)\n", n, g_control.message_text,
               g_control.routine_name, echo_text(text).c_str());
}

void qqserr(const char* text) {
  qqcopy(g_user_text, text, static_cast<int>(sizeof g_user_text) - 1);
  g_control.message_text = g_user_text;
}

int message_unit(const std::FILE* stream) {
  if (g_ivray.messages_off) return 0;
  return stream == nullptr || stream == stdout ? 6 : 17;
}

void reset_messages() {
  g_user_text[0] = '\0';
}

}  // namespace stylus

using namespace stylus;

extern "C" void msgmod(const char* cmode) try {
  const ApiCall call;
  if (jqqlev(0, 3, "msgmod") || missing_argument(cmode, "msgmod")) return;
  const int k = jqqind("OFF +ON  ", 2, cmode);
  if (k == 0) return;
  g_ivray.messages_off = k == 1;
  g_ivray.msg_unit = message_unit(g_control.msg_stream);
} catch (...) {
  api_failure();
}

extern "C" int nwarns(void) try {
  const ApiCall call;
  return g_ivray.n_warnings;
} catch (...) {
  api_failure();
  return 0;
}
