// Numbers of the binary formats in their fixed byte order, whatever the host's: CGM and
// PNG put the most significant byte first, TIFF and the Windows metafile the least
// significant byte first. Every binary writer appends through these.
#pragma once

#include <cstdint>
#include <string>

namespace stylus {

inline void put_u16_be(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
  out.push_back(static_cast<char>(v & 0xFF));
}

inline void put_u32_be(std::string& out, std::uint32_t v) {
  put_u16_be(out, v >> 16);
  put_u16_be(out, v);
}

inline void put_u16_le(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void put_u32_le(std::string& out, std::uint32_t v) {
  put_u16_le(out, v);
  put_u16_le(out, v >> 16);
}

// The same into a character buffer (records put together before they are appended).
inline void put_u16_le(char* at, std::uint32_t v) {
  at[0] = static_cast<char>(v & 0xFF);
  at[1] = static_cast<char>((v >> 8) & 0xFF);
}

inline void put_u32_le(char* at, std::uint32_t v) {
  put_u16_le(at, v);
  put_u16_le(at + 2, v >> 16);
}

// The same numbers read back (tests and readers of the written files).
inline std::uint32_t get_u16_be(const std::string& in, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(in.at(at))) << 8 |
         static_cast<unsigned char>(in.at(at + 1));
}
inline std::uint32_t get_u32_be(const std::string& in, std::size_t at) {
  return get_u16_be(in, at) << 16 | get_u16_be(in, at + 2);
}
inline std::uint32_t get_u16_le(const std::string& in, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(in.at(at + 1))) << 8 |
         static_cast<unsigned char>(in.at(at));
}
inline std::uint32_t get_u32_le(const std::string& in, std::size_t at) {
  return get_u16_le(in, at + 2) << 16 | get_u16_le(in, at);
}

}  // namespace stylus
