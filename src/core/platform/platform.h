#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

// What differs between the systems Pellmar runs on, each behind one function; the code of each
// system is in platform_posix.cpp or platform_windows.cpp. Failures come back as error codes of
// the generic category where the system's error has a portable name (permission denied, name
// too long, disk full, ...), so callers can tell the causes apart on every system.
namespace pellmar::platform {

// The program's arguments after its name, as UTF-8. On Windows `argv` holds them in the
// system's code page, which cannot spell most names, so they are taken from the wide command
// line instead.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Makes a console show the UTF-8 text the program prints (file names with accents) as such.
void useUtf8Console();

// Tells the system that `memory`, a table of many megabytes that is written once and then read,
// may be backed by large pages: where the first touch of every small page costs a trip into the
// system, filling such a table costs more than the work that fills it. Nothing happens where the
// system takes no such advice.
void adviseLargePages(std::span<std::byte> memory);

// 64 bits from the system's source of random numbers, for names nobody can guess beforehand.
std::uint64_t randomBits64();

// The SHA-256 digest, in lower-case hexadecimal, of the bytes that `read` hands over: each call
// fills the buffer it is given and returns how many bytes it put there, 0 at the end. The
// system's own cryptography library computes it.
std::string sha256Hex(const std::function<std::size_t(std::span<char>)>& read);
// Creates the file at `path` and writes `contents` into it. Nothing that stands at `path` is
// used or followed, a link included: then the error is file_exists.
std::error_code writeNewFile(const std::filesystem::path& path, std::string_view contents);

// filename_too_long when the system takes no file of this name in its folder (a name, or on
// Windows a whole path, longer than it allows); nothing is created.
std::error_code checkNameFits(const std::filesystem::path& path);

// Renames `from` to `to` in one step, replacing a file at `to`.
std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// Creates an empty file at `path` unless something of that name exists; `created` says which.
std::error_code createFileIfAbsent(const std::filesystem::path& path, bool& created);

// An exclusive lock that the system holds on a file for this process: no other process (and
// no other lock object of this one) can take it until it is released, and a process that ends
// without releasing it, however it ends, releases it.
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  FileLock(FileLock&& other) noexcept
      : handle_(std::exchange(other.handle_, kNoHandle)), path_(std::move(other.path_)) {}
  FileLock& operator=(FileLock&& other) noexcept {
    if (this != &other) {
      release();
      handle_ = std::exchange(other.handle_, kNoHandle);
      path_ = std::move(other.path_);
    }
    return *this;
  }

  // Locks the file at `path`, creating it when it is missing; a link at `path` is never followed
  // (error too_many_symbolic_link_levels). False with `error` clear when someone else holds the
  // lock; false with `error` set when the file cannot be opened. Once
  // locked, the path must still name the file locked: when it was deleted or replaced in
  // between, the lock of a file nobody can find again is worthless, and it starts over.
  bool tryLock(const std::filesystem::path& path, std::error_code& error);
  // Deletes the file while still holding the lock, so that whoever waits for it finds no file
  // at that path and starts over, then releases it. Nothing happens when nothing is held.
  void release();

  [[nodiscard]] bool held() const { return handle_ != kNoHandle; }
  [[nodiscard]] const std::filesystem::path& path() const { return path_; }

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  std::intptr_t handle_ = kNoHandle;
  std::filesystem::path path_;
};

// Catches the user's requests to stop the program while it lives: SIGINT and SIGTERM, or on
// Windows Ctrl+C, Ctrl+Break and the closing of the console. Instead of ending the process at
// once, each calls `onStop` with the exit status the program should end with (130 for an
// interrupt, 143 for a termination; 130 for every Windows event), on a thread of its own, so
// that the work can stop and clean up. Make it before any other thread starts. Once it goes,
// later requests are ignored until the process ends: the work is done, and a request that
// comes then must not make a finished run look killed.
class StopSignals {
 public:
  explicit StopSignals(std::function<void(int exitStatus)> onStop);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // What each system keeps while it watches.
  struct Watch;

 private:
  std::unique_ptr<Watch> watch_;
};

}  // namespace pellmar::platform
