#include "core/platform/sha256.h"

#include <algorithm>

#include "core/platform/platform.h"

namespace pellmar {

std::string sha256Of(std::string_view bytes) {
  std::size_t offset = 0;
  return platform::sha256Hex([&](std::span<char> buffer) {
    const std::size_t count = std::min(buffer.size(), bytes.size() - offset);
    std::copy_n(bytes.data() + offset, count, buffer.data());
    offset += count;
    return count;
  });
}

}  // namespace pellmar
