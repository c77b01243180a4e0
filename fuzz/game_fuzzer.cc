// Fuzzes the whole game: the input bytes are standard input, played through
// an in-memory console, without a process per run.  Each input is played
// five ways:
//
//   whole       one read delivers everything, then end of input;
//   bytewise    every read delivers one byte: the output and the status
//               must be exactly those of the whole run;
//   ended       reads of a few bytes, with ends of input between them (a
//               terminal's Ctrl-D): the game goes on reading after each;
//   write-fail  standard output refuses every write from some story write
//               on: status 101, and the output holds exactly the bytes of
//               the writes before it;
//   read-fail   a read fails (EIO) after some bytes: the run stops with
//               that number, or with 106 or 205 in a question, after a
//               story that is a prefix of the whole run's.
//
// Every run must end, with a status the game can give, and its output must
// end where the game ends: after one of the game's last texts when the status
// is 0, after a well-formed run-time error report otherwise.  Where the
// bytes are cut and where a read fails comes from a hash of the input.
//
// A broken invariant prints what broke and aborts, so libFuzzer keeps the
// input.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/platform.h"
#include "console/program.h"
#include "script/game.h"
#include "script/game_state.h"

namespace {

using igra::console::ReadResult;

constexpr int kReadError = 5;  // EIO, as the platform would number it

[[noreturn]] void Fail(const char* what, std::string_view output) {
  const std::size_t shown = std::min<std::size_t>(output.size(), 300);
  std::fprintf(stderr, "game fuzzer: %s\noutput ends with: \"", what);
  for (const char c : output.substr(output.size() - shown)) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 32 && b < 127 && b != '"' && b != '\\') {
      std::fputc(b, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", b);
    }
  }
  std::fprintf(stderr, "\"\n");
  std::abort();
}

// What one read delivers: some bytes, or (with none) end of input, or a
// failure with a run-time error number.
struct Delivery {
  std::string_view bytes;
  int error = 0;
};

// Standard input and output in memory; Exit throws.
class FuzzPlatform final : public igra::console::Platform {
 public:
  struct Exited {
    int status;
  };

  FuzzPlatform(std::vector<Delivery> deliveries, std::size_t refused_write)
      : deliveries_(std::move(deliveries)), refused_write_(refused_write) {}

  ReadResult Read(std::span<char> buffer) override {
    if (next_ == deliveries_.size()) {
      // The game has no loop: past the end of its input each input
      // operation asks once more at most.
      if (++reads_past_end_ > 1000)
        Fail("the game keeps reading past the end of its input", output);
      return {};
    }
    Delivery& delivery = deliveries_[next_];
    if (delivery.bytes.empty()) {
      ++next_;
      if (delivery.error != 0) failed_read_delivered = true;
      return {0, delivery.error};
    }
    const std::size_t count = std::min(buffer.size(), delivery.bytes.size());
    std::memcpy(buffer.data(), delivery.bytes.data(), count);
    delivery.bytes.remove_prefix(count);
    if (delivery.bytes.empty()) ++next_;
    return {count, 0};
  }

  bool Write(std::span<const std::string_view> parts) override {
    std::size_t total = 0;
    for (const std::string_view part : parts) total += part.size();
    if (total == 0) return true;
    write_sizes.push_back(total);
    if (write_sizes.size() >= refused_write_) return false;
    for (const std::string_view part : parts) output.append(part);
    return true;
  }

  [[noreturn]] void Exit(int status) override { throw Exited{status}; }

  std::string output;
  std::vector<std::size_t> write_sizes;  // every write with bytes, refused ones too
  bool failed_read_delivered = false;

 private:
  std::vector<Delivery> deliveries_;
  std::size_t next_ = 0;
  std::size_t refused_write_;  // 1-based; writes from this one on are refused
  int reads_past_end_ = 0;
};

struct Run {
  int status = -1;
  std::string output;
  std::vector<std::size_t> write_sizes;
  bool failed_read_delivered = false;
};

constexpr std::size_t kNoRefusal = SIZE_MAX;

Run Play(std::vector<Delivery> deliveries, std::size_t refused_write = kNoRefusal) {
  // The game state lives for a whole run of the program; here one process
  // plays many runs.
  igra::IME.Clear();
  igra::D = igra::X = igra::Y = 0;
  FuzzPlatform platform(std::move(deliveries), refused_write);
  igra::console::UsePlatform(platform);
  Run run;
  try {
    igra::PlayGame();
  } catch (const FuzzPlatform::Exited& exited) {
    run.status = exited.status;
  }
  run.output = std::move(platform.output);
  run.write_sizes = std::move(platform.write_sizes);
  run.failed_read_delivered = platform.failed_read_delivered;
  return run;
}

// The game's last texts: every way it ends with status 0 writes one of
// these last.
constexpr std::array<std::string_view, 9> kEndings = {
    " zagubi igrata :( .\r\n",
    "Chestito ti specheli igrata\r\n",
    "Ti sgreshi i beshe ubit\r\n",
    "vie zagubihte igrata,ne trqbvashe da go prodavate",
    "v opita si da nanesete udar v stomaha vie bqhte ubiti!\r\n",
    " te te nastigat i ubivat\r\n",
    "Ostavash na ostrova do kraq na jivota si\r\n",
    "vie zagubihte igrata :( .\r\n",
    "vie zagubihte,bahti bota\r\n",
};

// The ends of the question prompts: an answer that stops the run (106, 205)
// stops it right after one of these.
constexpr std::array<std::string_view, 14> kQuestionEnds = {
    "2-(-2)+2=",
    "(14*14)-(15*15)=",
    "kolko topki shte iztrelq drakona za 9 min = ",
    " to x=",
    " 2(da se otdalechi)? = ",
    "1(da q izhvurli), 2(da q glatne),3...? = ",
    "izberete si 1 ili 2:",
    "2-da go prodadete=",
    "2-shte se predadete\r\n",
    "za da napravite ognena bariera:\r\n",
    "2-shte go zapazite\r\n",
    "iskash li dago nahranish : 1 da , 2 ne",
    "iskash li da go prochetesh: 1 da , 2 ne",
    "60x-(3x*10)=1034-734",
};

constexpr std::string_view kNamePrompt = "Vuvedi imeto na geroq si: ";

template <std::size_t N>
bool EndsWithOneOf(std::string_view text, const std::array<std::string_view, N>& ends) {
  return std::any_of(ends.begin(), ends.end(),
                     [&](std::string_view end) { return text.ends_with(end); });
}

// Splits `text` at its first CR LF: `line` is what comes before it, `text`
// what follows.
bool NextLine(std::string_view& text, std::string_view& line) {
  const std::size_t end = text.find("\r\n");
  if (end == std::string_view::npos) return false;
  line = text.substr(0, end);
  text.remove_prefix(end + 2);
  return true;
}

bool IsHex8(std::string_view s) {
  return s.size() == 8 && std::all_of(s.begin(), s.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
         });
}

bool IsLineNumber(std::string_view s) {
  return !s.empty() && s[0] != '0' &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether `report` is exactly the report of run-time error `number` found
// in a step of the script: the heading, the step's location with its
// routine, source line and file, the start-up location, the empty line.
bool IsStepReport(std::string_view report, int number) {
  std::string_view heading, step, startup, empty;
  if (!(NextLine(report, heading) && NextLine(report, step) && NextLine(report, startup) &&
        NextLine(report, empty) && report.empty() && empty.empty()))
    return false;
  const std::string head = "Runtime error " + std::to_string(number) + " at $";
  if (!heading.starts_with(head)) return false;
  const std::string_view at = heading.substr(head.size());
  if (!IsHex8(at) || !step.starts_with("  $") || step.substr(3, 8) != at ||
      !startup.starts_with("  $") || !IsHex8(startup.substr(3)))
    return false;
  const std::string_view place = step.substr(11);  // "  Routine,  line N of file"
  static constexpr std::array<std::array<std::string_view, 2>, 4> kSteps = {{
      {"  PlayOpening,  line ", " of src/script/opening.cc"},
      {"  PlayLevel1,  line ", " of src/script/level1.cc"},
      {"  PlayLevel2,  line ", " of src/script/level2.cc"},
      {"  PlayLevel3,  line ", " of src/script/level3.cc"},
  }};
  return std::any_of(kSteps.begin(), kSteps.end(), [&](const auto& routine) {
    const auto& [before, after] = routine;
    return place.size() > before.size() + after.size() && place.starts_with(before) &&
           place.ends_with(after) &&
           IsLineNumber(place.substr(before.size(), place.size() - before.size() - after.size()));
  });
}

// The story part of a stopped run's output: everything before its report.
std::string_view Story(const Run& run) {
  if (run.status == 0) return run.output;
  const std::size_t head = run.output.rfind("Runtime error ");
  return std::string_view(run.output).substr(0, head == std::string::npos ? 0 : head);
}

// The invariants every run with a working output meets.
void CheckEnd(const Run& run) {
  const std::string_view out = run.output;
  if (!out.starts_with(kNamePrompt)) Fail("the output does not start with the name prompt", out);
  switch (run.status) {
    case 0:
      if (!EndsWithOneOf(out, kEndings))
        Fail("status 0, but the output does not end with one of the game's endings", out);
      return;
    case igra::console::kNotANumber:
    case igra::console::kOverflow: {
      const std::string_view story = Story(run);
      if (!IsStepReport(out.substr(story.size()), run.status))
        Fail("a stopped run does not end with its run-time error report", out);
      if (!EndsWithOneOf(story, kQuestionEnds))
        Fail("an answer stopped the run, but not after a question", out);
      return;
    }
    case igra::console::kOutOfMemory:
      // Only a name line larger than memory gives it.
      if (Story(run) != kNamePrompt) Fail("203 after more than the name prompt", out);
      return;
    default:
      Fail("an exit status the game cannot give", out);
  }
}

std::uint64_t Hash(std::string_view data) {
  std::uint64_t h = 14695981039346656037ULL;  // FNV-1a
  for (const char c : data) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::uint64_t random = Hash(input);
  auto next = [&random](std::uint64_t below) {
    random = random * 6364136223846793005ULL + 1442695040888963407ULL;
    return (random >> 33) % below;
  };

  // whole
  const Run whole = Play({{input}});
  CheckEnd(whole);

  // bytewise
  std::vector<Delivery> bytes;
  for (std::size_t i = 0; i < size; ++i) bytes.push_back({input.substr(i, 1)});
  const Run bytewise = Play(bytes);
  if (bytewise.status != whole.status || bytewise.output != whole.output)
    Fail("one byte a read gives another run than one read of everything", bytewise.output);

  // ended
  std::vector<Delivery> ended;
  for (std::size_t at = 0; at < size;) {
    const std::size_t count = std::min<std::size_t>(1 + next(8), size - at);
    ended.push_back({input.substr(at, count)});
    at += count;
    if (next(3) == 0) ended.push_back({});
  }
  CheckEnd(Play(ended));

  // write-fail: refuse one of the story's writes, and every write after it.
  const std::size_t story_writes = whole.write_sizes.size() - (whole.status == 0 ? 0 : 1);
  const std::size_t refused = 1 + next(story_writes);
  const Run refusing = Play({{input}}, refused);
  std::size_t kept = 0;
  for (std::size_t i = 0; i + 1 < refused; ++i) kept += whole.write_sizes[i];
  if (refusing.status != igra::console::kWriteFailed)
    Fail("a refused write does not stop the run with 101", refusing.output);
  if (refusing.output != std::string_view(whole.output).substr(0, kept))
    Fail("a refused write lost or added output before it", refusing.output);

  // read-fail
  const std::size_t cut = next(size + 1);
  std::vector<Delivery> broken;
  if (cut > 0) broken.push_back({input.substr(0, cut)});
  broken.push_back({{}, kReadError});
  if (cut < size) broken.push_back({input.substr(cut)});
  const Run failing = Play(broken);
  if (!failing.failed_read_delivered) {
    if (failing.status != whole.status || failing.output != whole.output)
      Fail("a failed read that the game never met changed its run", failing.output);
  } else {
    if (failing.status == kReadError) {
      if (!IsStepReport(std::string_view(failing.output).substr(Story(failing).size()), kReadError))
        Fail("a failed read does not end with its run-time error report", failing.output);
    } else if (failing.status == igra::console::kNotANumber ||
               failing.status == igra::console::kOverflow) {
      CheckEnd(failing);
    } else {
      Fail("a failed read ends with a status other than its number, 106 or 205", failing.output);
    }
    if (!Story(whole).starts_with(Story(failing)))
      Fail("before a failed read the game wrote other bytes than without it", failing.output);
  }
  return 0;
}
