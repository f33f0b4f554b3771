// Session start (disini) and end (disfin): the session level, the device start with its
// output file, the error file that collects the session's messages, and the end protocol.
#include "api/session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "devices/device_table.h"
#include "devices/driver.h"
#include "devices/file_names.h"
#include "pen/pen.h"
#include "records/messages.h"
#include "records/protocol.h"
#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

void set_axis_defaults() {
  const int nx = g_ivray.page_nx;
  const int ny = g_ivray.page_ny;
  g_ivray.def_axis_len_x = static_cast<int>(2.0f * static_cast<float>(nx + 1) / 3.0f + 0.5f);
  g_ivray.def_axis_len_y = static_cast<int>(2.0f * static_cast<float>(ny + 1) / 3.0f + 0.5f);
  g_ivray.def_axis_pos_x = (nx - g_ivray.def_axis_len_x) / 2;
  g_ivray.def_axis_pos_y = ny - 300;
}

// The file name a device writes when nothing has it: "stylus." and the extension.
std::string default_file_name(const DeviceRecord& device) {
  return std::string("stylus.") + device.extension;
}

// Gives name (a buffer of size bytes, holding the name asked for) the name of a file to
// write. False after the warning when no name can be had: 37 when no version fits, 36 when
// every version is taken.
bool choose_file_name(char* name, std::size_t size) {
  const std::string asked = name;
  switch (gfilnn(name, size)) {
    case 0:
      return true;
    case 2:
      warnc1(36, asked.c_str());
      return false;
    default:
      warnc1(37, asked.c_str());
      return false;
  }
}

// Opens metafile_name (already versioned) for writing; null after warning 36. The file is
// put in place at the end under that name, or under the next free version of the device's
// name should something have taken it meanwhile.
std::unique_ptr<ByteSink> open_output_file(const DeviceRecord& device) {
  std::unique_ptr<ByteSink> sink = FileSink::create(
      g_control.metafile_name, default_file_name(device).c_str(), sizeof g_control.metafile_name);
  if (!sink) warnc1(36, g_control.metafile_name);
  return sink;
}

// Names and versions the output file of a file device and opens it when the driver writes
// while drawing. Returns false after a warning when the file cannot be had; the session
// then runs without output.
bool start_file(const DeviceRecord& device, std::unique_ptr<ByteSink>& output) {
  if (device.output == FileOutput::kWindow) return true;
  std::snprintf(g_control.metafile_name, sizeof g_control.metafile_name, "%s",
                default_file_name(device).c_str());
  if (device.output == FileOutput::kNone) return true;
  if (!choose_file_name(g_control.metafile_name, sizeof g_control.metafile_name)) return false;
  if (device.output == FileOutput::kAtEnd) return true;
  output = open_output_file(device);
  return output != nullptr;
}

// The file of a device that writes it at the end: named again, since a file written since
// the session start may have taken the name. Null after a warning.
std::unique_ptr<ByteSink> open_end_file(const DeviceRecord& device) {
  if (!choose_file_name(g_control.metafile_name, sizeof g_control.metafile_name)) return nullptr;
  return open_output_file(device);
}

// Puts a finished file in place; metafile_name becomes the name it was given. False after
// warning 36 when it cannot be written whole.
bool close_output_file(ByteSink& file) {
  if (!file.close()) {
    warnc1(36, g_control.metafile_name);
    return false;
  }
  qqcopy(g_control.metafile_name, file.name().c_str(),
         static_cast<int>(sizeof g_control.metafile_name) - 1);
  return true;
}

// The error file of the session in progress, written under a temporary name until it is
// closed.
std::unique_ptr<FileSink>& error_file() {
  static std::unique_ptr<FileSink> file;
  return file;
}

constexpr const char* kErrorFileName = "stylus.err";

// The session's messages go to an error file when asked for, or when the protocol is shown
// in a window (so that warnings are not lost in a console nobody looks at).
void open_error_file() {
  g_control.err_stream = stdout;
  g_ivray.err_file_open = 0;
  const bool wanted = g_ivray.err_to_file == 1 || g_ivray.protocol_window == 1;
  if (!wanted) return;
  qqcopy(g_control.error_file_name, kErrorFileName,
         static_cast<int>(sizeof g_control.error_file_name) - 1);
  if (!choose_file_name(g_control.error_file_name, sizeof g_control.error_file_name)) return;
  std::unique_ptr<FileSink> f =
      FileSink::create(g_control.error_file_name, kErrorFileName, sizeof g_control.error_file_name);
  if (!f) {
    warnc1(36, g_control.error_file_name);
    return;
  }
  g_control.err_stream = f->stream();
  g_ivray.err_file_open = 1;
  error_file() = std::move(f);
}

// Closes the error file: one that received nothing is not kept, one that cannot be written
// completely is not kept either (warning 36 on standard output). Returns 10 when it is kept.
int close_error_file() {
  int kept = 0;
  if (std::unique_ptr<FileSink> f = std::move(error_file())) {
    g_control.err_stream = stdout;
    g_control.msg_stream = stdout;
    if (f->position() > 0) {
      if (f->close()) {
        kept = 10;
        qqcopy(g_control.error_file_name, f->name().c_str(),
               static_cast<int>(sizeof g_control.error_file_name) - 1);
      } else {
        g_ivray.msg_unit = g_ivray.msg_unit == 0 ? 0 : 6;
        warnc1(36, g_control.error_file_name);
      }
    }
  }
  g_ivray.err_file_open = 0;
  g_control.err_stream = stdout;
  if (g_ivray.msg_unit == 17) g_ivray.msg_unit = 6;
  g_control.msg_stream = stdout;
  return kept;
}

// What the calling thread chose at level 0 since its last session start.
struct ThreadChoices {
  bool device = false;
  int code = 0, chosen = 0;
  char device_name[5] = {};
  bool page = false;
  int nx = 0, ny = 0;
  char format[5] = {};
  bool protocol_window = false;
};
thread_local ThreadChoices t_choices;

// The choices of the thread that starts a session, made again over those of other threads.
void apply_thread_choices() {
  ThreadChoices& c = t_choices;
  if (c.page) {
    g_ivray.page_nx = c.nx;
    g_ivray.page_ny = c.ny;
    std::memcpy(g_control.page_format, c.format, sizeof c.format);
  }
  if (c.device) {
    g_ivray.device = c.code;
    g_ivray.device_chosen = c.chosen;
    std::memcpy(g_control.device_name, c.device_name, sizeof c.device_name);
  }
  if (c.protocol_window) g_ivray.protocol_window = 1;
  c = ThreadChoices{};
}

}  // namespace

void reset_session_files() {
  error_file().reset();
  t_choices = ThreadChoices{};
}

void note_device_choice() {
  t_choices.device = true;
  t_choices.code = g_ivray.device;
  t_choices.chosen = g_ivray.device_chosen;
  std::memcpy(t_choices.device_name, g_control.device_name, sizeof t_choices.device_name);
}

void note_page_choice() {
  t_choices.page = true;
  t_choices.nx = g_ivray.page_nx;
  t_choices.ny = g_ivray.page_ny;
  std::memcpy(t_choices.format, g_control.page_format, sizeof t_choices.format);
}

DriverSetup session_setup(const DeviceRecord* row, ByteSink* out) {
  DriverSetup setup;
  setup.row = row;
  setup.page = {g_ivray.page_nx, g_ivray.page_ny, g_ivray.page_rotation, g_xvray.user_scale};
  std::copy(std::begin(g_ivray.screen_opts), std::end(g_ivray.screen_opts), setup.options.begin());
  setup.file_name = g_control.metafile_name;
  setup.date = dddate();
  setup.time = ddtime();
  setup.version = getver();
  setup.out = out;
  return setup;
}

void start_driver(Driver& driver, const DeviceRecord* row, ByteSink* out) {
  const DriverStart started = driver.start(session_setup(row, out));
  g_xvray.page_scale = started.page_scale;
  std::copy(started.options.begin(), started.options.end(), std::begin(g_ivray.screen_opts));
  // From now on a windowed end protocol is a message window of the device.
  if (started.message_window != nullptr) set_message_window(started.message_window);
}

// After an exception at a routine's boundary the session goes on without output: its
// driver and the file it was writing go (nothing half-written stays), and the pen's pending
// line with them.
void drop_session_output() {
  g_pen.stroke_count = 0;
  set_current_driver(nullptr);
}
[[maybe_unused]] const bool kFailureCleanupSet = (set_failure_cleanup(drop_session_output), true);

}  // namespace stylus

using namespace stylus;

extern "C" void disini(void) try {
  const ApiCall call;
  if (jqqlev(0, 0, "disini")) return;
  apply_thread_choices();
  if (g_ivray.device == 0) use_default_device();
  std::unique_ptr<Driver> driver = make_driver(g_ivray.device);
  if (driver == nullptr) {
    // No session without a driver: drawing would silently go nowhere.
    qqserr("Output device not available");
    warnc1(101, g_control.device_name);
    return;
  }

  g_ivray.level = 1;
  g_ivray.n_vectors = 0;
  g_ivray.n_warnings = 0;
  g_ivray.finished = 0;
  g_pen.stroke_count = 0;
  g_pen.pen_move_pending = 0;
  set_axis_defaults();

  const DeviceRecord& device = current_device();
  std::unique_ptr<ByteSink> output;
  if (start_file(device, output)) {
    if (device.output == FileOutput::kWindow) g_ivray.window_number = device.variant;
    try {
      start_driver(*driver, &device, output.get());
      set_current_driver(std::move(driver), std::move(output));
    } catch (...) {
      // No memory for what the device draws into (a raster, a window's picture): the
      // session runs without output, and the file begun for it goes.
      warnin(53);
    }
  }

  open_error_file();
  resall();
} catch (...) {
  api_failure();
}

extern "C" void disfin(void) try {
  const ApiCall call;
  if (jqqlev(1, 3, "disfin")) return;
  const DeviceRecord& device = current_device();
  int written = 0;
  try {
    qqstrk();
    if (Driver* driver = current_driver(); driver != nullptr) {
      // The metafiles end with the pen at the page origin, a vector like any other.
      if (device.end_at_origin) xjdraw(0.0f, 0.0f, kPenMove);
      std::unique_ptr<ByteSink> end_file;
      if (device.output == FileOutput::kAtEnd) end_file = open_end_file(device);
      written = driver->finish(
          {end_file.get(), g_ivray.window_end_mode + 10 * g_ivray.window_title_mode});
      // A file is put in place only when every byte of it was written.
      if (end_file != nullptr && written == 1 && !close_output_file(*end_file)) written = 0;
    }
  } catch (...) {
    // Memory ran out while the device finished: the session still ends, without its file.
    warnin(53);
    written = 0;
    set_current_driver(nullptr);
  }
  if (ByteSink* output = session_output(); output != nullptr && !close_output_file(*output)) {
    written = 0;
  }
  set_current_driver(nullptr);
  g_ivray.level = 0;
  g_ivray.finished = 1;
  print_end_protocol(written + close_error_file());
} catch (...) {
  api_failure();
}

extern "C" void winini(void) try {
  const ApiCall call;
  if (jqqlev(0, 0, "winini")) return;
  g_ivray.protocol_window = 1;
  t_choices.protocol_window = true;
} catch (...) {
  api_failure();
}
