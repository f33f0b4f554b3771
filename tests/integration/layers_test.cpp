// The library is a stack of layers, each using only those below it: records, devices, pen,
// elements, api. Checked on the sources (every include) and on the objects (every symbol an
// object uses that another object of the library defines); and a device is one driver file
// and one row: a copy of the device table with one more row, a driver file of its own and the
// built library make a program that draws on the new device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kLayers = {"records", "devices", "pen", "elements", "api"};

int layer_rank(const std::string& folder) {
  for (std::size_t i = 0; i < kLayers.size(); ++i)
    if (kLayers[i] == folder) return static_cast<int>(i);
  return -1;
}

const fs::path kPlot = fs::path(STYLUS_SOURCE_DIR) / "plot";

TEST(Layers, TheFoldersOfThePlotLibraryAreItsLayers) {
  std::vector<std::string> folders;
  for (const fs::directory_entry& e : fs::directory_iterator(kPlot))
    if (e.is_directory()) folders.push_back(e.path().filename().string());
  std::sort(folders.begin(), folders.end());
  std::vector<std::string> expected = kLayers;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(folders, expected);
}

TEST(Layers, NoIncludeRunsUpwards) {
  const std::regex include(R"re(#include\s+"([a-z_]+)/[^"]+")re");
  int checked = 0;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(kPlot)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    // The public header stands above every layer.
    const bool public_header = e.path().parent_path() == kPlot;
    const int rank = public_header ? static_cast<int>(kLayers.size())
                                   : layer_rank(e.path().parent_path().filename().string());
    ASSERT_GE(rank, 0) << e.path();
    const std::string text = read_file(e.path().string());
    for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) {
      const int target = layer_rank((*it)[1]);
      ASSERT_GE(target, 0) << e.path() << ": " << it->str();
      EXPECT_LE(target, rank) << e.path() << " includes " << it->str();
      ++checked;
    }
  }
  EXPECT_GT(checked, 200);
}

// The library's objects by layer, from the build folder.
std::map<std::string, std::vector<fs::path>> objects_by_layer() {
  std::map<std::string, std::vector<fs::path>> objects;
  const fs::path dir = fs::path(STYLUS_BINARY_DIR) / "plot/CMakeFiles/stylus_objects.dir";
  for (const std::string& layer : kLayers) {
    if (!fs::exists(dir / layer)) continue;
    for (const fs::directory_entry& e : fs::directory_iterator(dir / layer))
      if (e.path().extension() == ".o") objects[layer].push_back(e.path());
  }
  return objects;
}

std::vector<std::string> symbols(const fs::path& object, const char* which) {
  const CommandResult r = run_command(std::string("nm --format=posix ") + which + " '" +
                                      object.string() + "' | cut -d' ' -f1");
  EXPECT_EQ(r.status, 0) << r.output;
  std::vector<std::string> names;
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) names.push_back(line);
  return names;
}

TEST(Layers, NoObjectUsesASymbolOfAHigherLayer) {
  const std::map<std::string, std::vector<fs::path>> objects = objects_by_layer();
  ASSERT_EQ(objects.size(), kLayers.size());
  std::map<std::string, std::string> defined_in;  // symbol -> layer
  for (const auto& [layer, files] : objects)
    for (const fs::path& o : files)
      for (const std::string& s : symbols(o, "--defined-only --extern-only")) defined_in[s] = layer;
  int used = 0;
  for (const auto& [layer, files] : objects)
    for (const fs::path& o : files)
      for (const std::string& s : symbols(o, "--undefined-only")) {
        const auto it = defined_in.find(s);
        if (it == defined_in.end()) continue;
        EXPECT_LE(layer_rank(it->second), layer_rank(layer))
            << o.filename() << " (" << layer << ") uses " << s << " of " << it->second;
        ++used;
      }
  EXPECT_GT(used, 300);
}

// A driver of a new device, in a file of its own: it writes one line per point.
constexpr const char* kEchoDriver = R"(
#include <cstdio>
#include <memory>

#include "devices/device_table.h"
#include "devices/file_driver.h"

namespace stylus {
namespace {
class EchoDriver final : public FileDriver {
 public:
  EchoDriver() : FileDriver(RecordKind::kText) {}
  void point(const DevicePoint& p, int pen) override {
    char line[64];
    const int n = std::snprintf(line, sizeof line, "%c%d,%d;", pen == kPenDraw ? 'D' : 'M',
                                p.ix, p.iy);
    records_.append(line, n);
  }

 protected:
  float header(const DriverSetup& setup) override {
    format("ECHO %s %dx%d\n", setup.file_name.data(), setup.page.nx, setup.page.ny);
    return 1.0f;
  }
};
}  // namespace
std::unique_ptr<Driver> make_echo_driver(const DeviceRecord&, DriverMemory&) {
  return std::make_unique<EchoDriver>();
}
}  // namespace stylus
)";

constexpr const char* kProgram = R"(
#include <stylus.h>
int main() {
  metafl("ECHO");
  disini();
  graf(0.0f, 10.0f, 0.0f, 5.0f, 0.0f, 10.0f, 0.0f, 5.0f);
  float x[2] = {0.0f, 10.0f}, y[2] = {0.0f, 10.0f};
  curve(x, y, 2);
  disfin();
  return 0;
}
)";

std::string sanitizer_flags() {
#if defined(__SANITIZE_ADDRESS__)
  return " -fsanitize=address,undefined";
#else
  return "";
#endif
}

TEST(Layers, ADeviceIsOneDriverFileAndOneRow) {
  ScratchDir scratch;
  std::string table = read_file((kPlot / "devices/device_table.cpp").string());
  const std::string last_factory =
      "std::unique_ptr<Driver> make_pdf_driver(const DeviceRecord&, DriverMemory&);\n";
  const std::string last_row =
      "    vector_file(\"PDF \", 802, C::kPdf, \"pdf\", make_pdf_driver),\n";
  ASSERT_NE(table.find(last_factory), std::string::npos);
  ASSERT_NE(table.find(last_row), std::string::npos);
  table.replace(
      table.find(last_factory), last_factory.size(),
      last_factory +
          "std::unique_ptr<Driver> make_echo_driver(const DeviceRecord&, DriverMemory&);\n");
  table.replace(table.find(last_row), last_row.size(),
                last_row +
                    "    DeviceRecord{.keyword = \"ECHO\", .code = 803, .cls = C::kSvg, "
                    ".extension = \"echo\", .factory = make_echo_driver},\n");
  std::ofstream("device_table.cpp") << table;
  std::ofstream("echo_driver.cpp") << kEchoDriver;
  std::ofstream("main.cpp") << kProgram;

  const std::string src = STYLUS_SOURCE_DIR, bin = STYLUS_BINARY_DIR;
  const std::string flags =
      "-std=c++20 -O1 -I'" + src + "' -I'" + src + "/plot'" + sanitizer_flags();
  std::string libs = " '" + bin + "/plot/libstylus.a' -lz -ldeflate -lm -lpthread";
#if STYLUS_TEST_X11
  libs += " -lX11";
#endif
  const CommandResult build = run_command(
      "g++ " + flags + " main.cpp device_table.cpp echo_driver.cpp" + libs + " -o echo_program");
  ASSERT_EQ(build.status, 0) << build.output;
  const CommandResult run = run_command("./echo_program");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("Fileformat: ECHO"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Metafile: stylus.echo "), std::string::npos) << run.output;
  const std::string file = read_file("stylus.echo");
  EXPECT_EQ(file.rfind("ECHO stylus.echo 2969x2099\n", 0), 0u) << file;
  // The curve across the axis system, clipped a point inside its frame (records of at most
  // 80 characters).
  std::string items;
  for (char c : file)
    if (c != '\n') items.push_back(c);
  EXPECT_NE(items.find("M495,1798;D2472,401;"), std::string::npos) << file;
}

}  // namespace
