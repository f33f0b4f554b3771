// The driver's scan: 59 result lines in the list-directed layout, with the
// separations accumulated in single precision and the energies of the Monte Carlo.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "sim/program/driver.h"
#include "sim/reference/records.h"
#include "support/text_files.h"
#include "tests/sim/sim_fixture.h"

using namespace qh2::reference;

namespace {

// The separation and energy fields of one result line.
struct Fields {
  std::string sep, energy;
};
Fields fields_of(const std::string& line) {
  static const std::regex layout(
      R"(^ separacia = ( [ -][0-9][0-9.]*(E[+-][0-9]+)?)  energia = ( [ -][0-9][0-9.]*(E[+-][0-9]+)?)eV$)");
  std::smatch m;
  if (!std::regex_match(line, m, layout)) return {};
  return {m[1], m[3]};
}

}  // namespace

TEST(Driver, ScanPrintsFiftyNineLinesWithTheExpectedSeparationsAndEnergies) {
  reset_records();  // as at program start
  std::ostringstream out;
  const ScanPoints scan = qh2_scan(out);
  const std::vector<std::string> lines = split_lines(out.str());
  ASSERT_EQ(lines.size(), 59u);
  ASSERT_EQ(out.str().back(), '\n');
  EXPECT_EQ(scan.npts, 59);

  std::vector<Fields> f;
  for (const std::string& line : lines) {
    f.push_back(fields_of(line));
    ASSERT_FALSE(f.back().sep.empty()) << "bad layout: [" << line << "]";
  }
  EXPECT_EQ(f[0].sep, "  0.100000001");
  EXPECT_EQ(f[1].sep, "  0.150000006");
  EXPECT_EQ(f[3].sep, "  0.25");
  EXPECT_EQ(f[18].sep, "  1.00000012");
  EXPECT_EQ(f[57].sep, "  2.94999838");
  EXPECT_EQ(f[58].sep, "  2.99999833");

  // Energies: far above the plot at 0.1 A, the minimum near 0.75 A, about -26 eV at 3 A.
  for (int n = 0; n < 59; ++n) {
    EXPECT_EQ(std::stof(f[n].sep), scan.xsep[n]) << n;
    EXPECT_EQ(std::stof(f[n].energy), scan.yene[n]) << n;
    // Negative energies carry " -", positive ones two blanks.
    EXPECT_EQ(f[n].energy.substr(0, 2), scan.yene[n] < 0 ? " -" : "  ") << n;
  }
  EXPECT_GT(scan.yene[0], 64.0f);
  EXPECT_LT(scan.yene[0], 73.0f);
  EXPECT_GT(scan.yene[2], 0.0f);  // 0.2 A is still above zero
  EXPECT_LT(scan.yene[3], 0.0f);
  for (int n = 11; n <= 15; ++n) {  // 0.65 ... 0.85 A
    EXPECT_GT(scan.yene[n], -31.5f) << n;
    EXPECT_LT(scan.yene[n], -28.5f) << n;
  }
  for (int n = 54; n < 59; ++n) {  // 2.8 ... 3.0 A
    EXPECT_GT(scan.yene[n], -28.0f) << n;
    EXPECT_LT(scan.yene[n], -23.5f) << n;
  }
  // The generator ran on through all 59 separations: 59 times 6,607,946 numbers.
  EXPECT_NE(nparam.seed, 76453456.0);
  EXPECT_EQ(pparam.sep, scan.xsep[58]);
}
