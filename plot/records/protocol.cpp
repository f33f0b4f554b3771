// End-of-session protocol and the date and time helpers it prints. The box layout is fixed:
// every line is 67 characters wide so that the protocol lines up in any log.
#include "records/protocol.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

using stylus::api_failure;
using stylus::ApiCall;

namespace stylus {

namespace {

LocalTimeSource g_time_source = nullptr;
MessageWindow g_message_window = nullptr;

std::tm local_now() {
  if (g_time_source != nullptr) return g_time_source();
  std::time_t now = std::time(nullptr);
  std::tm out{};
  localtime_r(&now, &out);
  return out;
}

// The patch-level text after the version: a blank for patch 0, else "A", "B", ...
std::string patch_text() {
  int plv = getplv();
  return plv == 0 ? std::string(" ") : std::string(1, static_cast<char>(64 + plv));
}

// A counter as printed in the protocol: its decimal digits without padding.
std::string counter_text(const char* format, int value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, format, value);
  dsblnk(buf, static_cast<int>(sizeof buf));
  return buf;
}

std::string first_chars(const char* text, std::size_t n) {
  return std::string(text).substr(0, n);
}

void print_box(std::FILE* out, int written) {
  const char* rule = " <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";
  std::fprintf(out, "\n%s", rule);
  std::fprintf(out, "\n <<                END OF STYLUS / VERSION %4.1f %s                <<",
               getver(), patch_text().c_str());
  std::string date = dddate();
  std::string time = ddtime();
  std::fprintf(out, "\n <<  Date    : %10s  Time    : %8s  Pageformat: %4s  <<", date.c_str(),
               time.c_str(), g_control.page_format);
  std::fprintf(out, "\n <<  Vectors : %-10s  Warnings: %-8s  Fileformat: %4s  <<",
               counter_text("%10d", g_ivray.n_vectors).c_str(),
               counter_text("%8d", g_ivray.n_warnings).c_str(), g_control.device_name);
  if (written != 10) {
    std::string line = "Metafile: ";
    if (written != 0) line += first_chars(g_control.metafile_name, 48);
    std::fprintf(out, "\n <<  %-58s  <<", line.c_str());
  }
  if (written > 9) {
    std::string line = "Err-file: " + first_chars(g_control.error_file_name, 48);
    std::fprintf(out, "\n <<  %-58s  <<", line.c_str());
  }
  std::fprintf(out, "\n%s\n", rule);
  std::fprintf(out, "\n");
}

std::string window_text(int written) {
  char head[64];
  std::snprintf(head, sizeof head, "           END OF STYLUS / VERSION %4.1f %s\n ", getver(),
                patch_text().c_str());
  std::string text = head;
  text += "\n Date          : ";
  text += dddate();
  text += "\n Time          : ";
  text += ddtime();
  text += "\n Pageformat: ";
  text += g_control.page_format;
  text += "\n Vectors      : " + counter_text("%10d", g_ivray.n_vectors);
  text += "\n Warnings  : " + counter_text("%8d", g_ivray.n_warnings);
  text += "\n Fileformat  : ";
  text += g_control.device_name;
  if (written == 1 || written == 11) {
    text += "\n Metafile     : " + first_chars(g_control.metafile_name, 48);
  }
  if (written > 9) text += "\n Error file    : " + first_chars(g_control.error_file_name, 48);
  return text;
}

}  // namespace

void set_local_time_source(LocalTimeSource source) {
  g_time_source = source;
}
void set_message_window(MessageWindow window) {
  g_message_window = window;
}

void print_end_protocol(int written) {
  if (g_ivray.msg_unit == 0) return;
  if (g_ivray.protocol_window == 1) {
    std::string text = window_text(written);
    if (g_message_window != nullptr) {
      g_message_window(text.c_str(), "disfin");
    } else {
      std::printf("%s\n", text.c_str());
    }
    return;
  }
  print_box(g_control.msg_stream != nullptr ? g_control.msg_stream : stdout, written);
}

}  // namespace stylus

extern "C" const char* dddate(void) try {
  const ApiCall call;
  static char buf[32];
  std::tm t = stylus::local_now();
  std::snprintf(buf, sizeof buf, "%02d.%02d.%4d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  return buf;
} catch (...) {
  api_failure();
  return "";
}

extern "C" const char* ddtime(void) try {
  const ApiCall call;
  static char buf[32];
  std::tm t = stylus::local_now();
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return buf;
} catch (...) {
  api_failure();
  return "";
}
