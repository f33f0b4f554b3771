// The CRC-32 that every PNG chunk carries (polynomial 0xEDB88320 in reflected form, start
// value all ones, final complement).
#pragma once

#include <cstdint>
#include <string_view>

namespace stylus {

// The CRC-32 of the bytes.
std::uint32_t crc32(std::string_view bytes);

}  // namespace stylus
