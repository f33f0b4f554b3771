// Reading back what a test or a program wrote: a whole file as bytes, and a file or a text
// as its lines (without the line ends).
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string read_file(const std::filesystem::path& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool file_exists(const std::filesystem::path& name) {
  return std::ifstream(name).good();
}

inline std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

inline std::vector<std::string> read_lines(const std::filesystem::path& name) {
  return split_lines(read_file(name));
}
