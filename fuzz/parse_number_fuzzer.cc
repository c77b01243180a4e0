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

#include "console/extended.h"
#include "console/parse_number.h"

namespace {

using igra::Extended;
using igra::ParsedNumber;
using Outcome = ParsedNumber::Outcome;

constexpr bool kHardwareExtended = std::numeric_limits<long double>::digits == 64;

// The fields of a double-extended encoding.
struct Bits {
  bool negative = false;
  std::uint16_t exponent = 0;
  std::uint64_t significand = 0;
  friend bool operator==(const Bits&, const Bits&) = default;
};

Bits BitsOf(const Extended& x) { return {x.negative(), x.biased_exponent(), x.significand()}; }

// The encoding of an x87 value: the significand in bytes 0..7, sign and
// exponent in bytes 8..9, little-endian.
Bits BitsOf(long double x) {
  unsigned char bytes[sizeof x] = {};
  std::memcpy(bytes, &x, sizeof x);
  Bits bits;
  for (int i = 7; i >= 0; --i) bits.significand = (bits.significand << 8) | bytes[i];
  const unsigned top = bytes[8] | (unsigned{bytes[9]} << 8);
  bits.negative = (top & 0x8000u) != 0;
  bits.exponent = static_cast<std::uint16_t>(top & 0x7FFFu);
  return bits;
}

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

struct Reference {
  Outcome outcome;
  long double value;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The conversion's steps in hardware arithmetic: digits accumulated as
// r = r * 10 + d, the net power of ten built by repeated multiplication (in
// two parts above 4930) and applied by one multiplication or division, an
// infinity anywhere an overflow, the check for trailing bytes last; an
// exponent or net power beyond 32-bit signed range is an overflow.
Reference ReferenceParse(std::string_view token) {
  constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
  const Reference not_number{Outcome::kNotNumber, 0};
  const Reference overflow{Outcome::kOverflow, 0};
  std::size_t i = 0;
  const auto at = [&](char c) { return i < token.size() && token[i] == c; };
  const auto at_digit = [&] { return i < token.size() && IsDigit(token[i]); };

  long double r = 0;
  bool scale_up = true;
  std::int64_t exponent = 0;
  std::int64_t fraction_digits = 0;
  bool digit_seen = false;
  const auto accumulate = [&] {
    r = r * 10;
    r = r + static_cast<long double>(token[i++] - '0');
    digit_seen = true;
    return std::isfinite(r);
  };

  while (at(' ') || at('\t')) ++i;
  bool negative = false;
  if (at('+')) {
    ++i;
  } else if (at('-')) {
    ++i;
    negative = true;
  }
  while (at_digit()) {
    if (!accumulate()) return overflow;
  }
  if (at('.')) {
    ++i;
    while (at_digit()) {
      if (!accumulate()) return overflow;
      ++fraction_digits;
    }
  }
  if (!digit_seen) return not_number;
  if (at('E') || at('e')) {
    ++i;
    if (at('+')) {
      ++i;
    } else if (at('-')) {
      ++i;
      scale_up = false;
    }
    if (!at_digit()) return not_number;
    for (; at_digit(); ++i) {
      if (exponent <= kInt32Max) exponent = exponent * 10 + (token[i] - '0');
    }
  }
  if (exponent > kInt32Max) return overflow;
  std::int64_t n = scale_up ? exponent - fraction_digits : exponent + fraction_digits;
  if (n < 0) {
    scale_up = false;
    n = -n;
  }
  if (n > kInt32Max) return overflow;

  if (negative) r = -r;
  const auto apply = [&](std::int64_t count) {
    long double p = 1;
    for (std::int64_t k = 0; k < count && std::isfinite(p); ++k) p = p * 10;
    if (!std::isfinite(p)) return false;
    r = scale_up ? r * p : r / p;
    return std::isfinite(r);
  };
  if (n > 4930) {
    if (!apply(4930)) return overflow;
    n -= 4930;
  }
  if (!apply(n)) return overflow;
  if (i != token.size()) return not_number;
  return {Outcome::kNumber, r};
}

const char* Name(Outcome outcome) {
  switch (outcome) {
    case Outcome::kNumber:
      return "a number";
    case Outcome::kNotNumber:
      return "not a number";
    case Outcome::kOverflow:
      return "an overflow";
  }
  return "?";
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
