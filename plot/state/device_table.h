// The device keywords of metafl, the page formats of setpag and what each device class
// needs of the session start: the extension of its default file name and how it is opened.
#pragma once

namespace stylus {

// Extension of the default output file name ("stylus." + extension) of a file device;
// "" for codes without one (the file is then called "stylus.").
const char* default_extension(int device);

// How the session start treats the output file of a device code.
enum class FileStart {
  kNone,        // screen windows and the in-memory raster: no file
  kOpenText,    // named, versioned and opened with mode "w"
  kOpenBinary,  // named, versioned and opened with mode "wb"
  kNameOnly,    // named and versioned; the driver writes it itself (images, Windows metafile)
};
FileStart file_start_kind(int device);

}  // namespace stylus
