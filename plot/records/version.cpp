// Version and patch level of the library, as printed in the end protocol.
#include "stylus.h"

extern "C" float getver(void) {
  return 7.3f;
}
extern "C" int getplv(void) {
  return 0;
}
