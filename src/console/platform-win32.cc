// Standard input and output on Windows, read and written with ReadFile and
// WriteFile on the standard handles: bytes go through unchanged (no text-mode
// translation), and the console's modes and code pages are left alone.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "console/platform.h"

namespace igra::console {

namespace {

// The run-time error number of a failed read: the system's code, with the
// codes of the first platform the game ran on mapped as it mapped them.
int ReadErrorNumber(DWORD code) {
  if (code >= 19 && code <= 31) return static_cast<int>(code) + 131;
  if (code == 32 || code == 145 || code == 183) return 5;
  if (code == 112) return 101;
  return code == 0 ? 1 : static_cast<int>(code);
}

class Win32Platform final : public Platform {
 public:
  Win32Platform()
      : input_(GetStdHandle(STD_INPUT_HANDLE)), output_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    // No dialog box may ever appear: failures end the run with a report.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  }

  ReadResult Read(std::span<char> buffer) override {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    DWORD got = 0;
    if (ReadFile(input_, buffer.data(), wanted, &got, nullptr))
      return {static_cast<std::size_t>(got), 0};  // 0 bytes: end of input
    const DWORD code = GetLastError();
    if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return {};
    return {0, ReadErrorNumber(code)};
  }

  bool Write(std::span<const std::string_view> parts) override {
    // Windows has no gathered write for pipes and consoles, so the parts
    // are gathered here: an operation's bytes go out in one request unless
    // they exceed the buffer, as a very long name does.
    std::size_t used = 0;
    for (const std::string_view part : parts) {
      if (part.size() > sizeof gather_ - used) {
        if (!WriteAll({gather_, used})) return false;
        used = 0;
      }
      if (part.size() > sizeof gather_) {
        if (!WriteAll(part)) return false;
        continue;
      }
      std::memcpy(gather_ + used, part.data(), part.size());
      used += part.size();
    }
    return WriteAll({gather_, used});
  }

  [[noreturn]] void Exit(int status) override { std::exit(status); }

 private:
  // Writes every byte of `bytes`, completing short writes.
  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
      DWORD written = 0;
      if (!WriteFile(output_, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }

  HANDLE input_;
  HANDLE output_;
  char gather_[64 * 1024] = {};
};

}  // namespace

Platform& SystemPlatform() {
  static Win32Platform platform;
  return platform;
}

std::uint32_t ImageOffset(std::uintptr_t address) {
  const auto base = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
  return static_cast<std::uint32_t>(address - base);
}

}  // namespace igra::console
