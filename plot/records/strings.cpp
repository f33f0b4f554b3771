// Text helpers shared by the whole library (see strings.h).
#include "records/strings.h"

#include <cstring>

namespace stylus {

int qqwrcp(char* dst, const char* src, int max, long len) {
  long n = len < max ? len : max;
  if (n < 0 || src == nullptr) n = 0;
  if (n > 0) std::memcpy(dst, src, static_cast<std::size_t>(n));
  dst[n] = '\0';
  return static_cast<int>(n);
}

int qqcopy(char* dst, const char* src, int n) {
  int i = 0;
  if (src != nullptr) {
    for (; i < n && src[i] != '\0'; ++i) dst[i] = src[i];
  }
  dst[i] = '\0';
  return i;
}

void upstr(char* s) {
  for (; *s != '\0'; ++s) {
    if (*s >= 'a' && *s <= 'z') *s = static_cast<char>(*s - 'a' + 'A');
  }
}

int trmlen(const char* s) {
  int n = static_cast<int>(std::strlen(s));
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

int dsblnk(char* s, int n) {
  int k = 0;
  for (int i = 0; i < n && s[i] != '\0'; ++i) {
    if (s[i] != ' ') s[k++] = s[i];
  }
  s[k] = '\0';
  return k;
}

std::string echo_text(const char* text, std::size_t most) {
  std::string out;
  if (text == nullptr) return out;
  for (std::size_t i = 0; i < most && text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace stylus
