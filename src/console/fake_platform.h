// An in-memory platform for tests: scripted reads, captured output, and an
// exit that throws instead of ending the process.
#ifndef IGRA_CONSOLE_FAKE_PLATFORM_H_
#define IGRA_CONSOLE_FAKE_PLATFORM_H_

#include <algorithm>
#include <cstring>
#include <deque>
#include <span>
#include <string>
#include <string_view>

#include "console/platform.h"

namespace igra::console {

class FakePlatform final : public Platform {
 public:
  /// What Exit throws.
  struct Exited {
    int status;
  };

  /// What one read delivers: some bytes, or (with none) end of input, or a
  /// failure with a run-time error number.  A delivery larger than the
  /// reader's buffer is split over several reads.
  struct Delivery {
    std::string bytes;
    int error = 0;
  };

  /// Reads that deliver `bytes` whole and then end of input.
  explicit FakePlatform(std::string bytes = {}) {
    if (!bytes.empty()) deliveries.push_back({std::move(bytes)});
  }

  std::deque<Delivery> deliveries;  // once used up: end of input
  std::string output;               // every byte written
  bool refuse_writes = false;
  int reads = 0;   // calls of Read
  int writes = 0;  // calls of Write that carried bytes

  ReadResult Read(std::span<char> buffer) override {
    ++reads;
    if (deliveries.empty()) return {};
    Delivery& next = deliveries.front();
    if (next.bytes.empty()) {
      const int error = next.error;
      deliveries.pop_front();
      return {0, error};
    }
    const std::size_t count = std::min(buffer.size(), next.bytes.size());
    std::memcpy(buffer.data(), next.bytes.data(), count);
    next.bytes.erase(0, count);
    if (next.bytes.empty()) deliveries.pop_front();
    return {count, 0};
  }

  bool Write(std::span<const std::string_view> parts) override {
    std::size_t total = 0;
    for (std::string_view part : parts) total += part.size();
    if (total == 0) return true;
    ++writes;
    if (refuse_writes) return false;
    for (std::string_view part : parts) output.append(part);
    return true;
  }

  [[noreturn]] void Exit(int status) override { throw Exited{status}; }
};

}  // namespace igra::console

#endif  // IGRA_CONSOLE_FAKE_PLATFORM_H_
