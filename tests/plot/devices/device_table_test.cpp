// Device choice by keyword (metafl), page formats (setpag) and the default file names.
#include <gtest/gtest.h>

#include <string>

#include "support/state_fixture.h"
#include "devices/device_table.h"
#include "stylus.h"

using namespace stylus;

using DeviceChoice = StateTest;

TEST_F(DeviceChoice, KeywordsAreCaseInsensitiveAndCutToFourCharacters) {
  for (const char* key : {"cons", "Cons", "CONS", "CONSOLE"}) {
    g_ivray.device = 0;
    metafl(key);
    EXPECT_EQ(g_ivray.device, 80) << key;
  }
  EXPECT_STREQ(g_control.device_name, "CONS");
  EXPECT_EQ(g_ivray.device_chosen, 1);
}

TEST_F(DeviceChoice, EveryKeywordOfTheTable) {
  const struct {
    const char* key;
    int code;
  } rows[] = {{"GKSL", 201}, {"CGM", 211},  {"KYOC", 301}, {"HPGL", 401}, {"HPA4", 402},
              {"HPA3", 403}, {"HPA2", 404}, {"HPA1", 405}, {"CONS", 80},  {"TEKT", 151},
              {"VT34", 103}, {"LN03", 161}, {"POST", 501}, {"PSCL", 502}, {"XWIN", 75},
              {"XWI1", 75},  {"XWI2", 76},  {"XWI3", 77},  {"XWI4", 78},  {"XWI5", 79},
              {"XWND", 80},  {"TIFF", 601}, {"IMAG", 602}, {"VIRT", 603}, {"PNG", 604},
              {"JAVA", 701}, {"WMF", 221},  {"SVG", 801},  {"PDF", 802}};
  for (const auto& row : rows) {
    metafl(row.key);
    EXPECT_EQ(g_ivray.device, row.code) << row.key;
    EXPECT_STREQ(g_control.device_name, row.key);
  }
  // The 27 keywords in their order, the vector files after them.
  ASSERT_EQ(device_keyword_count(), 29);
  for (int k = 1; k <= 29; ++k) EXPECT_EQ(device_at(k).code, rows[k - 1].code) << k;
  EXPECT_EQ(std::string(device_keyword_list()).substr(5 * 26), "WMF +SVG +PDF ");
}

TEST_F(DeviceChoice, ThreeLetterKeywordsKeepThreeLettersAsDeviceName) {
  metafl("png");
  EXPECT_EQ(g_ivray.device, 604);
  EXPECT_STREQ(g_control.device_name, "PNG");
  metafl("PNG ");
  EXPECT_STREQ(g_control.device_name, "PNG ");
  EXPECT_EQ(g_ivray.device, 604);
}

TEST_F(DeviceChoice, Met1ToMet9SelectTheScreen) {
  metafl("post");
  metafl("met5");
  EXPECT_EQ(g_ivray.device, 80);
  EXPECT_STREQ(g_control.device_name, "MET5");
  metafl("MET1");
  EXPECT_EQ(g_ivray.device, 80);
  metafl("MET9");
  EXPECT_STREQ(g_control.device_name, "MET9");
}

TEST_F(DeviceChoice, UnknownKeywordsWarnAndKeepTheDevice) {
  metafl("POST");
  capture();
  metafl("MET0");
  metafl("META");
  metafl("xwi6");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in metafl!   (MET0)\n"
            " <<<< Warning   2: Incorrect parameter in metafl!   (META)\n"
            " <<<< Warning   2: Incorrect parameter in metafl!   (xwi6)\n");
  EXPECT_EQ(g_ivray.device, 501);
  EXPECT_STREQ(g_control.device_name, "POST");
}

TEST_F(DeviceChoice, MetaflPutsMessagesBackOnStandardOutput) {
  ensure_process_defaults();
  g_ivray.msg_unit = 0;
  metafl("POST");
  EXPECT_EQ(g_ivray.msg_unit, 6);
  EXPECT_EQ(g_control.msg_stream, stdout);
}

TEST_F(DeviceChoice, PageFormatsAndPortraitForms) {
  const struct {
    const char* name;
    int nx, ny;
  } pages[] = {{"DA4L", 2969, 2099}, {"DA3L", 4199, 2969}, {"DA2L", 5939, 4199},
               {"DA1L", 8399, 5939}, {"HP4L", 2716, 1899}, {"HP3L", 3989, 2716},
               {"HP2L", 5339, 3359}, {"HP1L", 7569, 5339}, {"KY4L", 2869, 1999},
               {"PS4L", 2799, 1949}};
  for (const auto& page : pages) {
    setpag(page.name);
    EXPECT_EQ(g_ivray.page_nx, page.nx) << page.name;
    EXPECT_EQ(g_ivray.page_ny, page.ny) << page.name;
    EXPECT_STREQ(g_control.page_format, page.name);
  }
  setpag("da4p");
  EXPECT_EQ(g_ivray.page_nx, 2099);
  EXPECT_EQ(g_ivray.page_ny, 2969);
  EXPECT_STREQ(g_control.page_format, "DA4P");
}

TEST_F(DeviceChoice, UnknownPageWarnsAndKeepsThePage) {
  setpag("HP3L");
  capture();
  setpag("DA5L");
  setpag("DA4");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in setpag!   (DA5L)\n"
            " <<<< Warning   2: Incorrect parameter in setpag!   (DA4)\n");
  EXPECT_EQ(g_ivray.page_nx, 3989);
  EXPECT_STREQ(g_control.page_format, "HP3L");
}

TEST_F(DeviceChoice, SetpagChoosesTheMetafileOnlyWithoutMetafl) {
  setpag("DA3L");
  EXPECT_EQ(g_ivray.device, 201);
  EXPECT_STREQ(g_control.device_name, "GKSL");
  metafl("POST");
  setpag("DA4L");
  EXPECT_EQ(g_ivray.device, 501);
  EXPECT_STREQ(g_control.device_name, "POST");
}

TEST_F(DeviceChoice, OnceDefaultsComeWithTheFirstCall) {
  metafl("XWI3");
  EXPECT_EQ(g_ivray.page_nx, 2969);
  EXPECT_EQ(g_ivray.page_ny, 2099);
  EXPECT_STREQ(g_control.page_format, "DA4L");
  EXPECT_FLOAT_EQ(g_xvray.user_scale, 1.0f);
  EXPECT_EQ(g_ivray.msg_unit, 6);
  EXPECT_EQ(g_ivray.screen_opts[kScreenBitmap], 2);
}

TEST_F(DeviceChoice, DefaultExtensionsAndFileOutput) {
  const struct {
    int device;
    const char* ext;
  } rows[] = {{151, "tek"}, {161, "ln3"}, {103, ""},    {201, "met"},  {211, "cgm"}, {221, "wmf"},
              {301, "kyo"}, {401, "hpg"}, {405, "hpg"}, {501, "psc"},  {502, "psc"}, {601, "tif"},
              {602, "img"}, {603, ""},    {604, "png"}, {701, "java"}, {801, "svg"}, {802, "pdf"}};
  for (const auto& row : rows)
    EXPECT_STREQ(find_device(row.device)->extension, row.ext) << row.device;
  EXPECT_EQ(find_device(80)->output, FileOutput::kWindow);
  EXPECT_EQ(find_device(603)->output, FileOutput::kNone);
  EXPECT_EQ(find_device(211)->output, FileOutput::kStream);
  EXPECT_EQ(find_device(221)->output, FileOutput::kStream);  // recorded into the file
  EXPECT_EQ(find_device(604)->output, FileOutput::kAtEnd);
  EXPECT_EQ(find_device(501)->output, FileOutput::kStream);
  EXPECT_EQ(find_device(701)->output, FileOutput::kStream);
  EXPECT_EQ(find_device(801)->output, FileOutput::kStream);
  EXPECT_EQ(find_device(802)->output, FileOutput::kStream);
}
