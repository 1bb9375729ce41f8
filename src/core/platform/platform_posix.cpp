#include <fcntl.h>
#include <openssl/evp.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <sys/random.h>
#endif

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "core/platform/platform.h"

namespace pellmar::platform {
namespace {

constexpr int kLockRounds = 100;

std::error_code lastError() { return {errno, std::generic_category()}; }

// Closes `fd`, keeping the first error: a write the system reports only at close counts too.
std::error_code closeKeeping(int fd, std::error_code error) {
  if (::close(fd) != 0 && !error) error = lastError();
  return error;
}

}  // namespace

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return {argv + 1, argv + argc};
}

void useUtf8Console() {
  // A terminal here takes the bytes as they are.
}

void adviseLargePages(std::span<std::byte> memory) {
#ifdef MADV_HUGEPAGE
  // The advice covers whole pages only: those that lie inside the table.
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(memory.data()));
  const std::size_t skip = (page - begin % page) % page;
  if (memory.size() <= skip) return;
  const std::size_t length = (memory.size() - skip) / page * page;
  // Advice only: a system that refuses it fills the table page by page as before.
  if (length > 0) ::madvise(memory.data() + skip, length, MADV_HUGEPAGE);
#else
  (void)memory;
#endif
}

std::uint64_t randomBits64() {
  std::uint64_t bits = 0;
  if (::getentropy(&bits, sizeof bits) != 0) throw std::runtime_error("no random source");
  return bits;
}

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
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kHex[digest[i] >> 4U];
    hex += kHex[digest[i] & 15U];
  }
  return hex;
}

std::error_code writeNewFile(const std::filesystem::path& path, std::string_view contents) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return lastError();
  const char* next = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return closeKeeping(fd, lastError());
    }
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  return closeKeeping(fd, {});
}

std::error_code checkNameFits(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  if (longest <= 0) longest = 255;
  const bool fits = path.filename().native().size() <= static_cast<std::size_t>(longest) &&
                    path.native().size() < static_cast<std::size_t>(PATH_MAX);
  return fits ? std::error_code() : std::make_error_code(std::errc::filename_too_long);
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return lastError();
  return {};
}

std::error_code createFileIfAbsent(const std::filesystem::path& path, bool& created) {
  created = false;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? std::error_code() : lastError();
  created = true;
  return closeKeeping(fd, {});
}

bool FileLock::tryLock(const std::filesystem::path& path, std::error_code& error) {
  release();
  error.clear();
  // Each round that finds the file replaced means another run came and went in between; a
  // path that keeps changing under us is left alone after a while.
  for (int round = 0; round < kLockRounds; ++round) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = lastError();
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int cause = errno;
      ::close(fd);
      if (cause == EWOULDBLOCK) return false;
      error = std::error_code(cause, std::generic_category());
      return false;
    }
    // The holder before us deletes the file before it lets go: a lock on a file that no longer
    // has this name protects nothing, so take the lock of whatever the path names now.
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd, &locked) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      handle_ = fd;
      path_ = path;
      return true;
    }
    ::close(fd);
  }
  error = std::make_error_code(std::errc::device_or_resource_busy);
  return false;
}

void FileLock::release() {
  if (!held()) return;
  ::unlink(path_.c_str());
  ::close(static_cast<int>(handle_));
  handle_ = kNoHandle;
  path_.clear();
}

// The two signals are blocked in every thread and taken by one that waits for them: a handler
// could do next to nothing safely, a waiting thread can call anything. SIGUSR2, blocked with
// them, only wakes the waiter when the watch ends.
struct StopSignals::Watch {
  sigset_t signals{};
  sigset_t before{};
  std::atomic<bool> ending = false;
  std::thread waiter;
};

StopSignals::StopSignals(std::function<void(int exitStatus)> onStop)
    : watch_(std::make_unique<Watch>()) {
  sigemptyset(&watch_->signals);
  sigaddset(&watch_->signals, SIGINT);
  sigaddset(&watch_->signals, SIGTERM);
  sigaddset(&watch_->signals, SIGUSR2);
  pthread_sigmask(SIG_BLOCK, &watch_->signals, &watch_->before);
  watch_->waiter = std::thread([watch = watch_.get(), onStop = std::move(onStop)] {
    bool stopped = false;
    for (;;) {
      int signal = 0;
      if (sigwait(&watch->signals, &signal) != 0 || watch->ending) return;
      if (signal == SIGUSR2) continue;
      const int status = 128 + signal;
      // A second request while the first is being served ends the program at once.
      if (stopped) _exit(status);
      stopped = true;
      onStop(status);
    }
  });
}

StopSignals::~StopSignals() {
  watch_->ending = true;
  pthread_kill(watch_->waiter.native_handle(), SIGUSR2);
  watch_->waiter.join();
  // The requests stay blocked until the process ends: it goes the moment its work is done, and
  // a request that came once the work had finished must not end a finished run as a killed one.
}

}  // namespace pellmar::platform
