// Standard input and output on POSIX systems, with raw read(2) and
// writev(2): no stdio buffering anywhere between the game and the system.
#include <poll.h>
#include <signal.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "console/platform.h"

// The first byte of the executable image, placed there by the linker.
extern "C" const char __executable_start[];  // NOLINT(bugprone-reserved-identifier)

namespace igra::console {

namespace {

// Blocks until `fd` is ready for `events`.  Returns 0, or the errno of a
// failed poll.
int WaitUntilReady(int fd, short events) {
  pollfd entry{fd, events, 0};
  for (;;) {
    if (::poll(&entry, 1, -1) >= 0) return 0;
    if (errno != EINTR) return errno;
  }
}

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

class PosixPlatform final : public Platform {
 public:
  PosixPlatform() {
    // A write to a pipe nobody reads must fail with EPIPE (run-time error
    // 101), not kill the process.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
  }

  ReadResult Read(std::span<char> buffer) override {
    for (;;) {
      const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
      if (n > 0) return {static_cast<std::size_t>(n), 0};
      if (n == 0) return {};
      const int error = errno;
      if (error == EINTR) continue;
      if (error == EPIPE) return {};
      if (WouldBlock(error)) {
        // Another program left standard input non-blocking: wait for it.
        if (const int failed = WaitUntilReady(STDIN_FILENO, POLLIN)) return {0, failed};
        continue;
      }
      return {0, error};
    }
  }

  bool Write(std::span<const std::string_view> parts) override {
    // The parts go out in batches of at most kBatch; an operation of the
    // game has far fewer, so it is one writev call unless the system
    // accepts only part of it.
    constexpr std::size_t kBatch = 64;
    iovec vectors[kBatch];
    while (!parts.empty()) {
      std::size_t count = 0;
      std::size_t used = 0;
      for (; used < parts.size() && count < kBatch; ++used) {
        if (parts[used].empty()) continue;
        vectors[count].iov_base = const_cast<char*>(parts[used].data());
        vectors[count].iov_len = parts[used].size();
        ++count;
      }
      if (!WriteAll(vectors, count)) return false;
      parts = parts.subspan(used);
    }
    return true;
  }

  [[noreturn]] void Exit(int status) override { std::exit(status); }

 private:
  // Writes every byte that `vectors` describes, completing short writes.
  static bool WriteAll(iovec* vectors, std::size_t count) {
    while (count > 0) {
      const ssize_t n = ::writev(STDOUT_FILENO, vectors, static_cast<int>(count));
      if (n < 0) {
        const int error = errno;
        if (error == EINTR) continue;
        if (WouldBlock(error) && WaitUntilReady(STDOUT_FILENO, POLLOUT) == 0) continue;
        return false;
      }
      if (n == 0) return false;  // no progress: the output takes nothing
      auto written = static_cast<std::size_t>(n);
      while (count > 0 && written >= vectors->iov_len) {
        written -= vectors->iov_len;
        ++vectors;
        --count;
      }
      if (count > 0) {
        vectors->iov_base = static_cast<char*>(vectors->iov_base) + written;
        vectors->iov_len -= written;
      }
    }
    return true;
  }
};

}  // namespace

Platform& SystemPlatform() {
  static PosixPlatform platform;
  return platform;
}

std::uint32_t ImageOffset(std::uintptr_t address) {
  return static_cast<std::uint32_t>(address - reinterpret_cast<std::uintptr_t>(__executable_start));
}

}  // namespace igra::console
