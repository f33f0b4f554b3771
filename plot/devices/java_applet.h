// The applet source file "JAVA": a Java class whose paint method draws the picture with
// drawLine and setColor on an image of 853 x 603 pixels (portrait 603 x 853).
#pragma once

#include <memory>
#include <string>

namespace stylus {

// The class name of an applet file: its file part (after the last "/", "\" or ":") up to
// the first ".".
std::string applet_class_name(const char* file_name);

}  // namespace stylus
