// Version and patch level of the library, as printed in the end protocol.
#include "stylus.h"
#include "records/api_call.h"

using stylus::api_failure;
using stylus::ApiCall;

extern "C" float getver(void) try {
  const ApiCall call;
  return 7.3f;
} catch (...) {
  api_failure();
  return 0.0f;
}
extern "C" int getplv(void) try {
  const ApiCall call;
  return 0;
} catch (...) {
  api_failure();
  return 0;
}
