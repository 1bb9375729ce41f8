#include <openssl/evp.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <stdexcept>

#include "core/platform/platform.h"

namespace pellmar::platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return {argv + 1, argv + argc};
}

void useUtf8Console() {
  // A terminal here takes the bytes as they are.
}

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

std::string sha256Hex(const std::function<std::size_t(std::span<char>)>& read) {
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                        &EVP_MD_CTX_free);
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 is not available");
  }
  std::array<char, 65536> buffer{};
  for (std::size_t count = read(buffer); count != 0; count = read(buffer)) {
    EVP_DigestUpdate(context.get(), buffer.data(), count);
  }
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int length = 0;
  EVP_DigestFinal_ex(context.get(), digest.data(), &length);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4U];
    hex += kHex[digest[i] & 15U];
  }
  return hex;
}

}  // namespace pellmar::platform
