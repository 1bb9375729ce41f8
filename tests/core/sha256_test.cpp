#include "core/platform/sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "core/platform/platform.h"

namespace pellmar {
namespace {

// The digest of `bytes` handed over `chunk` bytes at a time.
std::string sha256InPieces(const std::string& bytes, std::size_t chunk) {
  std::size_t position = 0;
  return platform::sha256Hex([&](std::span<char> buffer) {
    const std::size_t count = std::min({chunk, buffer.size(), bytes.size() - position});
    bytes.copy(buffer.data(), count, position);
    position += count;
    return count;
  });
}

// The published test vectors of SHA-256, also handed over in pieces that split its blocks.
TEST(Sha256, KnownDigests) {
  EXPECT_EQ(sha256Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(sha256Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string million(1000000, 'a');
  for (const std::size_t chunk : {std::size_t{1000}, std::size_t{65536}}) {
    EXPECT_EQ(sha256InPieces(million, chunk),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  }
}

}  // namespace
}  // namespace pellmar
