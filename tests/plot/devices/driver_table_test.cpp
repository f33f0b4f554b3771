// The driver table: which device classes have a driver, and the factory override that
// tests use to run sessions on any device.
#include <gtest/gtest.h>

#include "devices/device_table.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

TEST(DriverTableTest, EveryCodeWithADriverOthersNot) {
  for (int device : {75,  76,  79,  80,  103, 151, 161, 201, 211, 221, 301, 401, 402,
                     403, 404, 405, 501, 502, 601, 602, 603, 604, 701, 801, 802})
    EXPECT_NE(make_driver(device), nullptr) << device;
  for (int device : {-5, 0, 100, 104, 152, 302, 406, 600, 605, 702, 800, 803, 9999})
    EXPECT_EQ(make_driver(device), nullptr) << device;
}

TEST(DriverTableTest, FactoryOverrideServesEveryDeviceUntilCleared) {
  set_driver_factory(recording_factory);
  EXPECT_NE(dynamic_cast<RecordingDriver*>(make_driver(80).get()), nullptr);
  EXPECT_NE(dynamic_cast<RecordingDriver*>(make_driver(501).get()), nullptr);
  set_driver_factory(nullptr);
  EXPECT_EQ(dynamic_cast<RecordingDriver*>(make_driver(80).get()), nullptr);
  EXPECT_EQ(dynamic_cast<RecordingDriver*>(make_driver(501).get()), nullptr);
}

}  // namespace
