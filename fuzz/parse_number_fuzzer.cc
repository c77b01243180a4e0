// Fuzzes ParseNumber with arbitrary tokens.  Everywhere: it returns, and a
// number it gives is finite.  Where `long double` is the 80-bit format (x87:
// x86 and x86-64 with GCC or Clang), every token is also converted by the
// same steps in hardware arithmetic, and the outcome, the bits of the value
// and the double it is stored as must all agree.
//
// A disagreement prints the token and both results and aborts, so libFuzzer
// keeps the input.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "console/hardware_reference.h"
#include "console/parse_number.h"

namespace {

using igra::ParsedNumber;
using igra::reference::Bits;
using igra::reference::BitsOf;
using igra::reference::kHardwareExtended;
using igra::reference::Name;
using igra::reference::Outcome;
using igra::reference::Reference;
using igra::reference::ReferenceParse;

// The double a finite hardware value is stored as: rounded to nearest, ties
// to even; beyond the largest double by half its last place or more it is
// an infinity.
double StoredDouble(long double x) {
  const long double largest = std::numeric_limits<double>::max();
  const long double overflow = std::ldexp(1.0L, 1024) - std::ldexp(1.0L, 970);
  const long double magnitude = std::fabs(x);
  if (magnitude <= largest) return static_cast<double>(x);
  const double stored = magnitude < overflow ? std::numeric_limits<double>::max() : HUGE_VAL;
  return std::signbit(x) ? -stored : stored;
}

void ShowBits(const char* label, const Bits& bits, double stored) {
  std::fprintf(stderr, "  %s %c%04X:%016llX, stored as %a\n", label, bits.negative ? '-' : '+',
               static_cast<unsigned>(bits.exponent),
               static_cast<unsigned long long>(bits.significand), stored);
}

[[noreturn]] void Fail(std::string_view token, const char* what) {
  std::fprintf(stderr, "ParseNumber fuzzer: %s for the token \"", what);
  for (const char c : token) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 32 && b < 127 && b != '"' && b != '\\') {
      std::fputc(b, stderr);
    } else {
      std::fprintf(stderr, "\\x%02X", b);
    }
  }
  std::fprintf(stderr, "\" (%zu bytes)\n", token.size());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view token(reinterpret_cast<const char*>(data), size);
  const ParsedNumber got = igra::ParseNumber(token);
  if (got.outcome == Outcome::kNumber && !got.value.IsFinite())
    Fail(token, "a number that is not finite");
  if constexpr (kHardwareExtended) {
    const Reference want = ReferenceParse(token);
    if (want.outcome != got.outcome) {
      std::fprintf(stderr, "  hardware: %s, ParseNumber: %s\n", Name(want.outcome),
                   Name(got.outcome));
      Fail(token, "another outcome than in hardware");
    }
    if (want.outcome == Outcome::kNumber) {
      const double want_stored = StoredDouble(want.value);
      const double got_stored = got.value.ToDouble();
      if (BitsOf(want.value) != BitsOf(got.value) ||
          std::bit_cast<std::uint64_t>(want_stored) != std::bit_cast<std::uint64_t>(got_stored)) {
        ShowBits("hardware:   ", BitsOf(want.value), want_stored);
        ShowBits("ParseNumber:", BitsOf(got.value), got_stored);
        Fail(token, "another value than in hardware");
      }
    }
  }
  return 0;
}
