#include "console/parse_number.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace igra {

namespace {

using Outcome = ParsedNumber::Outcome;

// Above this net power of ten the power itself overflows the extended range.
constexpr std::int64_t kLargestPower = 9862;
// Powers above this one are applied in two steps, 10^4930 first.
constexpr std::int64_t kFirstStepPower = 4930;
// Exponents and net powers are taken as 32-bit values; one that leaves that
// range counts as a power far beyond kLargestPower.
constexpr std::int64_t kLargest32 = INT32_MAX;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the token from left to right.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}
  bool AtEnd() const { return position_ == text_.size(); }
  bool Next(char c) const { return !AtEnd() && text_[position_] == c; }
  bool NextIsDigit() const { return !AtEnd() && IsDigit(text_[position_]); }
  int TakeDigit() { return text_[position_++] - '0'; }
  // Consumes the next byte if it is `c`.
  bool Take(char c) {
    if (!Next(c)) return false;
    ++position_;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// 10^n for 0 <= n, built by n multiplications by ten, each rounded; an
// infinity when that overflows.
Extended PowerOfTen(std::int64_t n) {
  const Extended ten = Extended::FromInteger(10);
  Extended p = Extended::FromInteger(1);
  for (std::int64_t i = 0; i < n && p.IsFinite(); ++i) p = p * ten;
  return p;
}

ParsedNumber Overflow() { return {Outcome::kOverflow, {}}; }
ParsedNumber NotNumber() { return {Outcome::kNotNumber, {}}; }

}  // namespace

ParsedNumber ParseNumber(std::string_view token) {
  Scanner in(token);
  while (in.Take(' ') || in.Take('\t')) {
  }

  bool negative = false;
  if (!in.Take('+')) negative = in.Take('-');

  // The mantissa's digits, integer and fraction part alike, make one whole
  // number r; the fraction digits are counted to scale it back.
  const Extended ten = Extended::FromInteger(10);
  Extended r;
  bool digit_seen = false;
  std::int64_t fraction_digits = 0;
  auto accumulate = [&] {
    r = r * ten + Extended::FromInteger(static_cast<unsigned>(in.TakeDigit()));
    digit_seen = true;
    return r.IsFinite();
  };
  while (in.NextIsDigit()) {
    if (!accumulate()) return Overflow();
  }
  if (in.Take('.')) {
    while (in.NextIsDigit()) {
      if (!accumulate()) return Overflow();
      // Counting stops far beyond any usable power; the value still counts
      // as too large, as it is.
      if (fraction_digits <= kLargest32) ++fraction_digits;
    }
  }
  if (!digit_seen) return NotNumber();

  bool divide = false;
  std::int64_t exponent = 0;
  if (in.Take('E') || in.Take('e')) {
    if (!in.Take('+')) divide = in.Take('-');
    if (!in.NextIsDigit()) return NotNumber();
    while (in.NextIsDigit()) {
      exponent = exponent * 10 + in.TakeDigit();
      if (exponent > kLargest32) exponent = kLargest32 + 1;  // stays too large
    }
  }

  std::int64_t power = 0;
  if (divide) {
    power = exponent + fraction_digits;
  } else {
    power = exponent - fraction_digits;
    if (power < 0) {
      divide = true;
      power = -power;
    }
  }
  if (exponent > kLargest32 || power > kLargestPower) return Overflow();

  if (negative) r = -r;
  if (power > kFirstStepPower) {
    const Extended p = PowerOfTen(kFirstStepPower);
    r = divide ? r / p : r * p;
    if (!r.IsFinite()) return Overflow();
    power -= kFirstStepPower;
  }
  const Extended p = PowerOfTen(power);
  if (!p.IsFinite()) return Overflow();
  r = divide ? r / p : r * p;
  if (!r.IsFinite()) return Overflow();

  // Bytes after the number make it no number, but only once the arithmetic
  // above has been done: a token whose arithmetic overflows is an overflow.
  if (!in.AtEnd()) return NotNumber();
  return {Outcome::kNumber, r};
}

}  // namespace igra
