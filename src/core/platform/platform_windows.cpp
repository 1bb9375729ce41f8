#include <windows.h>
// CommandLineToArgvW needs the definitions of windows.h first.
#include <shellapi.h>
// The hash functions of Windows' own cryptography API (bcrypt.dll).
#include <bcrypt.h>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "core/platform/platform.h"

namespace pellmar::platform {
namespace {

constexpr int kLockRounds = 100;
// The longest name of a file or folder that NTFS, FAT and ReFS take, in UTF-16 units.
constexpr std::size_t kLongestName = 255;

std::string utf8FromWide(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

// The system's last error, under its portable name where it has one, so that the causes read
// the same as on other systems.
std::error_code lastError() {
  const DWORD code = GetLastError();
  switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return std::make_error_code(std::errc::permission_denied);
    case ERROR_FILENAME_EXCED_RANGE:
      return std::make_error_code(std::errc::filename_too_long);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return std::make_error_code(std::errc::invalid_argument);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::make_error_code(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
      return std::make_error_code(std::errc::read_only_file_system);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return std::make_error_code(std::errc::no_such_file_or_directory);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::make_error_code(std::errc::file_exists);
    default:
      return {static_cast<int>(code), std::system_category()};
  }
}

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// The volume and the number of the file behind `handle`, which name it on that volume.
bool identityOf(HANDLE handle, BY_HANDLE_FILE_INFORMATION& info) {
  return GetFileInformationByHandle(handle, &info) != 0;
}

bool sameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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

void adviseLargePages(std::span<std::byte> /*memory*/) {
  // Large pages here need a privilege that users seldom hold; tables fill page by page.
}

std::uint64_t randomBits64() {
  std::uint64_t bits = 0;
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    throw std::runtime_error("no random source");
  }
  return bits;
}

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
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string hex;
  for (const unsigned char byte : digest) {
    hex += kHex[byte >> 4U];
    hex += kHex[byte & 15U];
  }
  return hex;
}

namespace {

// Windows says a path is not found where a name in it is longer than a file system takes.
std::error_code openError(const std::filesystem::path& path) {
  const std::error_code error = lastError();
  if (error != std::errc::no_such_file_or_directory) return error;
  for (const std::filesystem::path& part : path) {
    if (part.native().size() > kLongestName) {
      return std::make_error_code(std::errc::filename_too_long);
    }
  }
  return error;
}

}  // namespace

std::error_code writeNewFile(const std::filesystem::path& path, std::string_view contents) {
  // CREATE_NEW fails on anything at the path, a link or a junction included.
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return openError(path);
  std::error_code error;
  const char* next = contents.data();
  std::size_t left = contents.size();
  while (left > 0 && !error) {
    const DWORD chunk = left > (1U << 30) ? (1U << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (WriteFile(file, next, chunk, &written, nullptr) == 0) {
      error = lastError();
    } else {
      next += written;
      left -= written;
    }
  }
  if (CloseHandle(file) == 0 && !error) error = lastError();
  return error;
}

std::error_code checkNameFits(const std::filesystem::path& path) {
  // Names of up to 255 UTF-16 units, in paths shorter than MAX_PATH: the program declares no
  // long-path awareness.
  const std::filesystem::path full = std::filesystem::absolute(path);
  const bool fits = path.filename().native().size() <= 255 && full.native().size() < MAX_PATH;
  return fits ? std::error_code() : std::make_error_code(std::errc::filename_too_long);
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
    const std::error_code error = openError(to);
    // A folder in the way is refused as access denied.
    std::error_code ignored;
    if (error == std::errc::permission_denied && std::filesystem::is_directory(to, ignored)) {
      return std::make_error_code(std::errc::is_a_directory);
    }
    return error;
  }
  return {};
}

std::error_code createFileIfAbsent(const std::filesystem::path& path, bool& created) {
  created = false;
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const std::error_code error = openError(path);
    return error == std::errc::file_exists ? std::error_code() : error;
  }
  created = true;
  if (CloseHandle(file) == 0) return lastError();
  return {};
}

bool FileLock::tryLock(const std::filesystem::path& path, std::error_code& error) {
  release();
  error.clear();
  // Each round that finds the file replaced means another run came and went in between; a
  // path that keeps changing under us is left alone after a while.
  for (int round = 0; round < kLockRounds; ++round) {
    // DELETE access lets the holder delete the file before it lets go of the lock. A link at
    // the path is opened as itself, not followed, and refused below.
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      // A file its holder is deleting cannot be opened until the holder has let go of it.
      if (GetLastError() == ERROR_ACCESS_DENIED && round + 1 < kLockRounds) {
        Sleep(10);
        continue;
      }
      error = lastError();
      return false;
    }
    if (BY_HANDLE_FILE_INFORMATION opened{};
        identityOf(file, opened) && (opened.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      CloseHandle(file);
      error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return false;
    }
    OVERLAPPED whole{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole) ==
        0) {
      const DWORD cause = GetLastError();
      CloseHandle(file);
      if (cause == ERROR_LOCK_VIOLATION || cause == ERROR_IO_PENDING) return false;
      SetLastError(cause);
      error = lastError();
      return false;
    }
    // The holder before us deletes the file before it lets go: a lock on a file that no longer
    // has this name protects nothing, so take the lock of whatever the path names now.
    BY_HANDLE_FILE_INFORMATION locked{};
    BY_HANDLE_FILE_INFORMATION named{};
    const HANDLE again = CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    const bool same = again != INVALID_HANDLE_VALUE && identityOf(file, locked) &&
                      identityOf(again, named) && sameFile(locked, named);
    if (again != INVALID_HANDLE_VALUE) CloseHandle(again);
    if (same) {
      handle_ = reinterpret_cast<std::intptr_t>(file);
      path_ = path;
      return true;
    }
    CloseHandle(file);
  }
  error = std::make_error_code(std::errc::device_or_resource_busy);
  return false;
}

void FileLock::release() {
  if (!held()) return;
  const HANDLE file = handleOf(handle_);
  FILE_DISPOSITION_INFO deleteIt{};
  deleteIt.DeleteFile = TRUE;
  SetFileInformationByHandle(file, FileDispositionInfo, &deleteIt, sizeof deleteIt);
  OVERLAPPED whole{};
  UnlockFileEx(file, 0, 1, 0, &whole);
  CloseHandle(file);
  handle_ = kNoHandle;
  path_.clear();
}

// The console calls its control handler on a thread of its own, with nothing but the event:
// the one watch of the process is found through this pointer.
struct StopSignals::Watch {
  std::function<void(int exitStatus)> onStop;
  std::atomic<bool> stopped = false;
};

namespace {

std::atomic<StopSignals::Watch*> currentWatch = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event) {
  StopSignals::Watch* watch = currentWatch.load();
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      // Once the watch has gone the work is done: a late request must not end a finished run
      // as a killed one.
      if (watch == nullptr) return TRUE;
      // A second request while the first is being served ends the program at once.
      if (watch->stopped.exchange(true)) ExitProcess(130);
      watch->onStop(130);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

StopSignals::StopSignals(std::function<void(int exitStatus)> onStop)
    : watch_(std::make_unique<Watch>()) {
  watch_->onStop = std::move(onStop);
  currentWatch = watch_.get();
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignals::~StopSignals() { currentWatch = nullptr; }

}  // namespace pellmar::platform
