// Internal pieces of the session start and end that other modules reuse.
#pragma once

namespace stylus {

// Forgets the error file of a session in progress (process reset); nothing is kept.
void reset_session_files();

// Rebuilds the colour cycle of successive curves from the colour-name map.
void build_color_cycle();

// Device units per point for a screen window whose drawing area is wpix x hpix pixels, for a
// page of width x height points as the screen driver's start left them: the whole page fits,
// and a landscape page is never drawn larger than user_scale x (wpix - 1) / 2969 per point
// (a portrait page: (hpix - 1) instead of (wpix - 1)).
float screen_page_scale(int wpix, int hpix, int width, int height);

}  // namespace stylus
