// The device-point formula of every device class on the default page DA4L, rotated
// variants included, and the class that each device code belongs to.
#include <gtest/gtest.h>

#include <memory>

#include "devices/driver.h"
#include "devices/postscript.h"
#include "devices/device_point.h"
#include "devices/device_table.h"
#include "pen/pen.h"
#include "records/state.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"

using namespace stylus;

namespace {

constexpr PageGeometry kDa4l{0.5f, 2969, 2099, 0, 0.0f};
constexpr PageGeometry kDa4lRotated{0.5f, 2969, 2099, 1, 0.0f};
constexpr PageGeometry kDa4p{0.5f, 2099, 2969, 0, 0.0f};

void expect_point(const DevicePoint& p, int ix, int iy) {
  EXPECT_EQ(p.ix, ix);
  EXPECT_EQ(p.iy, iy);
}

TEST(DevicePointTest, RoundingAddsHalfAndTruncates) {
  EXPECT_EQ(round_point(2.5f), 3);
  EXPECT_EQ(round_point(2.4999f), 2);
  EXPECT_EQ(round_point(0.0f), 0);
  EXPECT_EQ(round_point(-0.7f), 0);  // truncated towards zero
  EXPECT_EQ(round_point(-1.7f), -1);
  // The largest float below 0.5: a float addition would round the sum up to 1.
  EXPECT_EQ(round_point(0.49999997f), 0);
}

TEST(DevicePointTest, ScreenScalesPagePointsToPixels) {
  expect_point(screen_point(2969.0f, 2099.0f, kDa4l), 1485, 1050);
  expect_point(screen_point(1.0f, 1.0f, kDa4l), 1, 1);
  expect_point(screen_point(0.0f, 0.0f, kDa4l), 0, 0);
  const DevicePoint p = screen_point(3.0f, 5.0f, kDa4l);
  EXPECT_EQ(p.x, 1.5f);
  EXPECT_EQ(p.y, 2.5f);
}

TEST(DevicePointTest, RotatedScreenTurnsThePage) {
  expect_point(screen_point(1.0f, 1.0f, kDa4lRotated), 1, 1484);
  expect_point(screen_point(2969.0f, 2099.0f, kDa4lRotated), 1050, 0);
}

TEST(DevicePointTest, MetafilesPutYUpAndAddTheMetaOffset) {
  DevicePoint p = metafile_point(100.0f, 99.0f, kDa4l);
  EXPECT_EQ(p.x, 50.0f);
  EXPECT_EQ(p.y, 1000.0f);
  PageGeometry g = kDa4l;
  g.meta_offset_x = 10.0f;
  EXPECT_EQ(metafile_point(100.0f, 99.0f, g).x, 55.0f);
  g.rotation = 1;
  p = metafile_point(100.0f, 99.0f, g);
  EXPECT_EQ(p.x, 54.5f);
  EXPECT_EQ(p.y, 50.0f);
}

TEST(DevicePointTest, KyoceraKeepsYDown) {
  expect_point(kyocera_point(3.0f, 5.0f, kDa4l), 2, 3);
  expect_point(kyocera_point(3.0f, 5.0f, kDa4lRotated), 2, 3);  // no rotated form
}

TEST(DevicePointTest, HpglPutsYUp) {
  expect_point(hpgl_point(3.0f, 99.0f, kDa4l), 2, 1000);
  expect_point(hpgl_point(3.0f, 99.0f, kDa4lRotated), 50, 2);
}

TEST(DevicePointTest, HpglSheetTurnsAPortraitPage) {
  expect_point(hpgl_sheet_point(3.0f, 99.0f, kDa4l), 2, 1000);  // landscape: as HPGL
  expect_point(hpgl_sheet_point(3.0f, 99.0f, kDa4p), 1435, 1048);
}

TEST(DevicePointTest, PostScriptTurnsALandscapePageOntoTheSheet) {
  const PageGeometry ps{kPsPageScale, 2969, 2099, 0, 0.0f};
  DevicePoint p = postscript_point(100.0f, 200.0f, ps);
  EXPECT_NEAR(p.x, 371.43f, 0.005f);
  EXPECT_NEAR(p.y, 185.71f, 0.005f);
  expect_point(p, 371, 186);
  p = postscript_point(300.0f, 400.0f, ps);
  EXPECT_NEAR(p.x, 742.86f, 0.005f);
  EXPECT_NEAR(p.y, 557.14f, 0.005f);
  expect_point(p, 743, 557);
  // Portrait page, and a landscape page with the rotation option 2: y up, not turned.
  expect_point(postscript_point(100.0f, 200.0f, {kPsPageScale, 2099, 2969, 0, 0.0f}), 186, 5142);
  expect_point(postscript_point(100.0f, 200.0f, {kPsPageScale, 2969, 2099, 2, 0.0f}), 186, 3527);
}

TEST(DeviceClassTest, EveryCodeOfTheTableHasTheClassOfItsRange) {
  struct Row {
    int code;
    DeviceClass cls;
  } rows[] = {
      {75, DeviceClass::kScreen},      {79, DeviceClass::kScreen},
      {80, DeviceClass::kScreen},      {103, DeviceClass::kTerminal},
      {151, DeviceClass::kTerminal},   {161, DeviceClass::kTerminal},
      {201, DeviceClass::kGksl},       {211, DeviceClass::kCgm},
      {221, DeviceClass::kWmf},        {301, DeviceClass::kKyocera},
      {401, DeviceClass::kHpgl},       {402, DeviceClass::kHpglSheet},
      {405, DeviceClass::kHpglSheet},  {501, DeviceClass::kPostScript},
      {502, DeviceClass::kPostScript}, {601, DeviceClass::kRaster},
      {603, DeviceClass::kRaster},     {604, DeviceClass::kRaster},
      {701, DeviceClass::kJava},       {801, DeviceClass::kSvg},
      {802, DeviceClass::kPdf},
  };
  for (const Row& r : rows) {
    const DeviceRecord* d = find_device(r.code);
    ASSERT_NE(d, nullptr) << r.code;
    EXPECT_EQ(d->cls, r.cls) << "code " << r.code;
  }
  for (int code : {-1, 0, 100, 202, 300, 600, 702}) EXPECT_EQ(find_device(code), nullptr);
}

// xjdraw applies the formula of the class of the session's device code.
class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    g_ivray.page_nx = 2969;
    g_ivray.page_ny = 2099;
    g_xvray.page_scale = 0.5f;
    RecordingDriver::log().clear();
    set_current_driver(std::make_unique<RecordingDriver>());
  }
  void TearDown() override { fresh_process(); }

  DevicePoint dispatch(int device, float x, float y) {
    g_ivray.device = device;
    RecordingDriver::log().clear();
    xjdraw(x, y, kPenDraw);
    const auto pts = RecordingDriver::points();
    EXPECT_EQ(pts.size(), 1u) << "device " << device;
    return pts.empty() ? DevicePoint{} : pts[0].point;
  }
};

TEST_F(DispatchTest, EachClassGetsItsOwnFormula) {
  for (int device : {75, 80, 151, 221, 601, 602, 603, 604, 701})
    expect_point(dispatch(device, 2969.0f, 2099.0f), 1485, 1050);
  for (int device : {201, 211}) expect_point(dispatch(device, 100.0f, 99.0f), 50, 1000);
  expect_point(dispatch(301, 3.0f, 5.0f), 2, 3);
  for (int device : {401, 402, 405}) expect_point(dispatch(device, 3.0f, 99.0f), 2, 1000);
  for (int device : {501, 502}) expect_point(dispatch(device, 100.0f, 200.0f), 100, 50);
  for (int device : {801, 802}) expect_point(dispatch(device, 2969.0f, 1.0f), 1485, 1);
}

TEST_F(DispatchTest, RotationAndMetaOffsetComeFromThePlotState) {
  g_ivray.page_rotation = 1;
  g_xvray.meta_offset_x = 10.0f;
  expect_point(dispatch(80, 1.0f, 1.0f), 1, 1484);
  expect_point(dispatch(801, 1.0f, 1.0f), 1, 1);  // the vector files never turn the page
  const DevicePoint p = dispatch(201, 100.0f, 99.0f);
  EXPECT_EQ(p.x, 54.5f);
  EXPECT_EQ(p.y, 50.0f);
}

}  // namespace
