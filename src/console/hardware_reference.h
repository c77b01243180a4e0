// A reference for tests and fuzzers: the machine's own 80-bit `long double`,
// where it is that format (x87: x86 and x86-64 with GCC or Clang), read as
// encodings, and the conversion of typed numbers carried out step by step in
// it, to compare the software arithmetic against bit for bit.
#ifndef IGRA_CONSOLE_HARDWARE_REFERENCE_H_
#define IGRA_CONSOLE_HARDWARE_REFERENCE_H_

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "console/extended.h"
#include "console/parse_number.h"

namespace igra::reference {

/// Whether `long double` is the 80-bit format here; where it is not, there is
/// no hardware to compare with.
inline constexpr bool kHardwareExtended = std::numeric_limits<long double>::digits == 64;

/// The fields of a 10-byte double-extended encoding.
struct Bits {
  bool negative = false;
  std::uint16_t exponent = 0;
  std::uint64_t significand = 0;
  friend bool operator==(const Bits&, const Bits&) = default;
};

/// The encoding of a software value.
inline Bits BitsOf(const Extended& x) {
  return {x.negative(), x.biased_exponent(), x.significand()};
}

/// The encoding of a hardware value: bytes 0..7 hold the significand, bytes
/// 8..9 the sign (bit 15) and the biased exponent, little-endian.
inline Bits BitsOf(long double x) {
  Bits bits;
  if (!kHardwareExtended) return bits;
  unsigned char bytes[16] = {};
  std::memcpy(bytes, &x, sizeof x);
  for (int i = 7; i >= 0; --i) {
    bits.significand = (bits.significand << 8) | bytes[i];
  }
  const unsigned top = bytes[8] | (unsigned{bytes[9]} << 8);
  bits.negative = (top & 0x8000u) != 0;
  bits.exponent = static_cast<std::uint16_t>(top & 0x7FFFu);
  return bits;
}

using Outcome = ParsedNumber::Outcome;

struct Reference {
  Outcome outcome = Outcome::kNotNumber;
  long double value = 0;
};

inline bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

/// The conversion carried out literally in the hardware type: digits
/// accumulated as r = r * 10 + d, the net power formed from the exponent and
/// the fraction digit count, the sign applied, 10^n built by repeated
/// multiplication (10^4930 first when n exceeds 4930) and applied by one
/// multiplication or division each, an infinity after any step being the
/// overflow; trailing bytes are checked last.  The whole token is converted,
/// however long; an exponent or net power beyond 32-bit signed range is an
/// overflow.
inline Reference ReferenceParse(std::string_view token) {
  constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
  const Reference not_number{Outcome::kNotNumber, 0};
  const Reference overflow{Outcome::kOverflow, 0};
  std::size_t i = 0;
  const auto at = [&](char ch) { return i < token.size() && token[i] == ch; };
  const auto at_digit = [&] { return i < token.size() && IsDigit(token[i]); };

  long double r = 0;
  long double sign = 1;
  bool scale_up = true;
  std::int64_t exponent = 0;
  bool exponent_too_large = false;
  std::int64_t fraction_digits = 0;
  bool digit_seen = false;

  const auto accumulate = [&](char ch) {
    r = r * 10;
    if (std::isinf(r)) return false;
    r = r + static_cast<long double>(ch - '0');
    return !std::isinf(r);
  };

  while (at(' ') || at('\t')) ++i;
  if (at('+')) {
    ++i;
  } else if (at('-')) {
    ++i;
    sign = -1;
  }
  for (; at_digit(); ++i) {
    if (!accumulate(token[i])) return overflow;
    digit_seen = true;
  }
  if (at('.')) {
    ++i;
    for (; at_digit(); ++i) {
      if (!accumulate(token[i])) return overflow;
      ++fraction_digits;
      digit_seen = true;
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
      if (exponent_too_large) continue;
      exponent = exponent * 10 + (token[i] - '0');
      exponent_too_large = exponent > kInt32Max;
    }
  }
  if (exponent_too_large) return overflow;
  std::int64_t n;
  if (scale_up) {
    n = exponent - fraction_digits;
    if (n < 0) {
      scale_up = false;
      n = fraction_digits - exponent;
    }
  } else {
    n = exponent + fraction_digits;
  }
  if (n > kInt32Max) return overflow;

  r = r * sign;
  const auto apply = [&](std::int64_t count) {
    long double p = 1;
    for (std::int64_t k = 0; k < count; ++k) {
      p = p * 10;
      if (std::isinf(p)) return false;
    }
    r = scale_up ? r * p : r / p;
    return !std::isinf(r);
  };
  if (n > 4930) {
    if (!apply(4930)) return overflow;
    n -= 4930;
  }
  if (!apply(n)) return overflow;
  if (i != token.size()) return not_number;
  return {Outcome::kNumber, r};
}

inline const char* Name(Outcome outcome) {
  switch (outcome) {
    case Outcome::kNumber:
      return "number";
    case Outcome::kNotNumber:
      return "not a number";
    case Outcome::kOverflow:
      return "overflow";
  }
  return "?";
}

}  // namespace igra::reference

#endif  // IGRA_CONSOLE_HARDWARE_REFERENCE_H_
