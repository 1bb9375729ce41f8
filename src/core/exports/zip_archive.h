#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellmar {

// A zip archive built in memory, each entry deflated by zlib at one fixed level and stamped
// with one fixed time, so that the same entries in the same order give the same bytes on every
// system. Entries and the whole archive stay below 4 GiB (no Zip64).
class ZipArchive {
 public:
  // Adds the entry `name` (a path with forward slashes) holding `contents`.
  void add(std::string_view name, std::string_view contents);

  // The archive's bytes: the entries in the order added, then their directory.
  [[nodiscard]] std::string finish() const;

 private:
  std::string entries_;
  std::string directory_;
  std::uint16_t count_ = 0;
};

}  // namespace pellmar
