// The process-wide plot state: one instance of each record, zero-filled at load.
// Every library routine reads and writes these records directly. Settings that belong
// to one module only (the pen buffer, line styles, the scaling record, the font state,
// ...) live in that module's own record, next to its code.
#pragma once

#include <cstdio>

namespace stylus {

// Output streams, keywords and file names.
struct ControlRecord {
  std::FILE* msg_stream = nullptr;  // warnings and the end protocol
  std::FILE* err_stream = nullptr;  // the error file when open, else standard output
  char page_format[5] = {};         // "DA4L", ...
  char device_name[5] = {};         // keyword printed in the end protocol
  char metafile_name[257] = {};     // output file of a file device
  char file_choice[257] = {};       // the caller's name for it (setfil); empty: the default
  char error_file_name[67] = {};    // "stylus.err" unless given
  char ctrl_chars[4] = {};          // exponent and index shift characters: [ ] $ /
  const char* routine_name = "";    // routine of the last level check, named in warnings
  const char* message_text = " ";   // text of the warning being printed
};

// Positions in PlotSettings::screen_opts, in the order the screen driver's start takes them.
enum ScreenOption {
  kScreenSizeOption = 0,  // window size option
  kScreenPosX,            // window position and size (0: the driver's choice)
  kScreenPosY,
  kScreenWidth,
  kScreenHeight,
  kScreenDepth,       // colour depth
  kScreenColorMap,    // colour mapping option
  kScreenBitmap,      // backing-store option; 2 (the default) draws into a backing bitmap
  kScreenBackground,  // background option; 2 white, otherwise black
  kScreenOptionCount
};

// The settings of sessions, device, page, messages, pen, axis system and text, and the
// counters of the end protocol: whole numbers (g_ivray).
struct PlotSettings {
  // session, device and page
  int level;                            // 0 no session, 1 open, 2 axis system, 3 3-D axis system
  int device;                           // device code; its range selects the driver
  int device_chosen;                    // metafl was called in this process
  int page_nx, page_ny;                 // largest page coordinates
  int finished;                         // the last session was ended
  int window_number;                    // 1..5 on the screen
  int window_end_mode;                  // units digit of the screen end mode
  int window_title_mode;                // tens digit of the screen end mode
  int page_rotation;                    // 1: page turned by 90 degrees on the device
  int page_offset_x, page_offset_y;     // shift added to every point (points)
  int screen_opts[kScreenOptionCount];  // options handed to the screen driver at its start
  // streams and messages
  int msg_unit;         // 6 standard output, 17 the error file, 0 messages off
  int messages_off;     // msgmod("OFF"): msg_unit stays 0 through later sessions
  int err_to_file;      // messages go to the error file
  int protocol_window;  // the end protocol is shown in a message window
  int err_file_open;    // the error file was opened by this session
  // counters for the end protocol
  int n_warnings;
  int n_vectors;
  // current pen
  int cur_color;
  int color_table;
  int line_width;
  int line_width_mode;
  // axis system: page-derived defaults (disini) and current values (resall)
  int def_axis_len_x, def_axis_len_y, def_axis_pos_x, def_axis_pos_y;
  int axis_len_x, axis_len_y, axis_len_z, axis_pos_x, axis_pos_y;
  int label_digits_x, label_digits_y, label_digits_z;
  // text
  int char_height;
  int name_height;
  int text_angle;
};

// The scales and factors (g_xvray), single precision.
struct PlotFactors {
  float user_scale;          // factor on the screen's page-to-pixel limit
  float page_scale;          // device units per point
  float line_width_factor;   // miter limit
  float text_cos, text_sin;  // of text_angle
  float label_factor;        // 0.6, read by the label routines
  float message_factor;      // 0.8, read by the message routines
  float meta_offset_x;       // added to x for GKSL and CGM
};

// Axis titles.
struct TitleRecord {
  char axis_title_x[61];
  char axis_title_y[61];
  char axis_title_z[61];
};

// Colour names, the colour table and the attribute cycles of successive curves.
struct CycleRecord {
  int name_map[9];  // WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC
  int table[256];   // red << 16 | green << 8 | blue
  int line_cycle[30];
  int color_cycle[30];
  int symbol_cycle[30];
};

extern ControlRecord g_control;
extern PlotSettings g_ivray;
extern PlotFactors g_xvray;
extern TitleRecord g_titles;
extern CycleRecord g_cycles;

// Applies the once-per-process defaults on its first call; later calls do nothing. The level
// check calls it, so whichever library routine comes first sets them up.
void ensure_process_defaults();
// Zero-fills the plot records and forgets the once-per-process defaults (the process reset).
void reset_plot_records();

}  // namespace stylus
