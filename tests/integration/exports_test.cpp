// The shared library shows its users the routines of the public header and nothing else:
// every defined dynamic symbol is a name declared in stylus.h, every declared name is there,
// and every routine has its by-reference entry (the name with an underscore) for Fortran.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/command.h"
#include "support/text_files.h"

namespace {

std::set<std::string> header_names() {
  const std::string header = read_file(std::string(STYLUS_SOURCE_DIR) + "/plot/stylus.h");
  const std::regex decl(R"(\nSTYLUS_API [^;]*?\b([A-Za-z_][A-Za-z0-9_]*)\()");
  std::set<std::string> names;
  for (std::sregex_iterator it(header.begin(), header.end(), decl), end; it != end; ++it)
    names.insert((*it)[1]);
  return names;
}

TEST(SharedLibraryExports, OnlyTheRoutinesOfThePublicHeader) {
  const std::set<std::string> declared = header_names();
  ASSERT_GT(declared.size(), 50u);
  EXPECT_TRUE(declared.count("disini") && declared.count("curve_") && declared.count("graf"));

  const CommandResult nm = run_command("nm -D --defined-only '" + std::string(STYLUS_BINARY_DIR) +
                                       "/plot/libstylus.so'");
  ASSERT_EQ(nm.status, 0) << nm.output;
  std::set<std::string> exported;
  std::istringstream lines(nm.output);
  std::string address, type, name;
  while (lines >> address >> type >> name) exported.insert(name);
  for (const std::string& n : exported) EXPECT_TRUE(declared.count(n)) << "exported: " << n;
  for (const std::string& n : declared) EXPECT_TRUE(exported.count(n)) << "missing: " << n;
  for (const std::string& n : exported) {
    if (n.back() != '_') {
      EXPECT_TRUE(exported.count(n + "_")) << "no by-reference entry: " << n;
    }
  }
}

}  // namespace
