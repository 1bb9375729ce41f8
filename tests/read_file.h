#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace pellmar::test_support {

// The whole file as bytes.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace pellmar::test_support
