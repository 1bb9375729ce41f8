#include <windows.h>
// CommandLineToArgvW needs the definitions of windows.h first.
#include <shellapi.h>
// The hash functions of Windows' own cryptography API (bcrypt.dll).
#include <bcrypt.h>

#include <array>
#include <memory>
#include <stdexcept>

#include "core/platform/platform.h"

namespace pellmar::platform {
namespace {

std::string utf8FromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
      CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  if (!wide)
    return argc < 1 ? std::vector<std::string>{} : std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(utf8FromWide(wide.get()[i]));
  return arguments;
}

void useUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

unsigned long processId() { return GetCurrentProcessId(); }

std::string sha256Hex(const std::function<std::size_t(std::span<char>)>& read) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(
          BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    throw std::runtime_error("SHA-256 is not available");
  }
  const std::unique_ptr<void, void (*)(void*)> closeAlgorithm(
      algorithm, [](void* handle) { BCryptCloseAlgorithmProvider(handle, 0); });
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
    throw std::runtime_error("SHA-256 is not available");
  }
  const std::unique_ptr<void, void (*)(void*)> destroyHash(
      hash, [](void* handle) { BCryptDestroyHash(handle); });
  std::array<char, 65536> buffer{};
  for (std::size_t count = read(buffer); count != 0; count = read(buffer)) {
    BCryptHashData(hash, reinterpret_cast<PUCHAR>(buffer.data()), static_cast<ULONG>(count), 0);
  }
  std::array<unsigned char, 32> digest{};
  BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char byte : digest) {
    hex += kHex[byte >> 4U];
    hex += kHex[byte & 15U];
  }
  return hex;
}

}  // namespace pellmar::platform
