#include "console/extended.h"

#include <bit>
#include <cstdint>

namespace igra {

namespace {

// A 128-bit unsigned integer: the exact products, quotients and aligned sums
// that are then rounded to 64 (or 53) significant bits.
struct U128 {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
};

bool IsZero(U128 v) { return (v.hi | v.lo) == 0; }

int BitLength(U128 v) {
  return static_cast<int>(v.hi != 0 ? 64 + std::bit_width(v.hi) : std::bit_width(v.lo));
}

// The low `n` bits set, for 0 <= n <= 64.
std::uint64_t LowMask(int n) { return n == 0 ? 0 : ~std::uint64_t{0} >> (64 - n); }

U128 ShiftLeft(U128 v, int n) {  // 0 <= n < 128; bits shifted out are lost
  if (n == 0) return v;
  if (n >= 64) return {v.lo << (n - 64), 0};
  return {(v.hi << n) | (v.lo >> (64 - n)), v.lo << n};
}

U128 ShiftRight(U128 v, int n) {  // n >= 0
  if (n == 0) return v;
  if (n >= 128) return {};
  if (n >= 64) return {0, v.hi >> (n - 64)};
  return {v.hi >> n, (v.lo >> n) | (v.hi << (64 - n))};
}

// Whether any of the bits below position `n` (n >= 0) is set.
bool AnyBitBelow(U128 v, int n) {
  if (n >= 128) return !IsZero(v);
  if (n >= 64) return v.lo != 0 || (v.hi & LowMask(n - 64)) != 0;
  return (v.lo & LowMask(n)) != 0;
}

bool BitAt(U128 v, int i) {  // i >= 0
  if (i >= 128) return false;
  if (i >= 64) return ((v.hi >> (i - 64)) & 1) != 0;
  return ((v.lo >> i) & 1) != 0;
}

U128 Add(U128 a, U128 b) {  // the callers keep sums below 2^128
  U128 sum{a.hi + b.hi, a.lo + b.lo};
  if (sum.lo < a.lo) ++sum.hi;
  return sum;
}

U128 Subtract(U128 a, U128 b) {  // requires a >= b
  U128 difference{a.hi - b.hi, a.lo - b.lo};
  if (a.lo < b.lo) --difference.hi;
  return difference;
}

// The exact 128-bit product, from 32-bit halves (no compiler extension).
U128 Multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t mask = 0xFFFFFFFF;
  const std::uint64_t low = (a & mask) * (b & mask);
  const std::uint64_t cross1 = (a & mask) * (b >> 32);
  const std::uint64_t cross2 = (a >> 32) * (b & mask);
  const std::uint64_t high = (a >> 32) * (b >> 32);
  const std::uint64_t middle = (low >> 32) + (cross1 & mask) + (cross2 & mask);
  return {high + (cross1 >> 32) + (cross2 >> 32) + (middle >> 32), (low & mask) | (middle << 32)};
}

// A binary floating-point format, described by what rounding needs.
struct Format {
  int precision;         // significand bits, integer bit included
  int min_lsb_exponent;  // weight 2^k of the last bit of the smallest numbers
  int bias_offset;       // biased exponent = weight of last bit + this
  int max_biased;        // largest biased exponent of a finite number
};

constexpr Format kExtendedFormat{64, -16445, 16446, 0x7FFE};
constexpr Format kDoubleFormat{53, -1074, 1075, 0x7FE};

// The encoding fields of a rounded result.
struct Rounded {
  bool overflow = false;
  int biased_exponent = 0;
  std::uint64_t significand = 0;
};

// Rounds the exact value (m + s) * 2^e to `format`, to nearest, ties to
// even, where s is a positive amount below one unit of m's last bit when
// `sticky` is set and 0 otherwise.  m must not be zero, and when `sticky` is
// set m must hold at least two bits more than the format's precision, so
// that s lies wholly below the rounding position.
Rounded Round(const Format& format, U128 m, bool sticky, int e) {
  // The weight of the result's last bit: `precision` bits below the top bit
  // of m, but never below the last bit of the smallest subnormal.
  int lsb = e + BitLength(m) - format.precision;
  if (lsb < format.min_lsb_exponent) lsb = format.min_lsb_exponent;

  const int shift = lsb - e;
  std::uint64_t kept = 0;
  bool round_up = false;
  if (shift <= 0) {
    kept = ShiftLeft(m, -shift).lo;  // exact: m has no more bits than fit
  } else {
    kept = ShiftRight(m, shift).lo;
    const bool half = BitAt(m, shift - 1);
    const bool beyond_half = sticky || AnyBitBelow(m, shift - 1);
    round_up = half && (beyond_half || (kept & 1) != 0);
  }
  if (round_up) {
    ++kept;
    const bool carried = format.precision == 64 ? kept == 0 : (kept >> format.precision) != 0;
    if (carried) {
      kept = std::uint64_t{1} << (format.precision - 1);
      ++lsb;
    }
  }

  Rounded result;
  result.significand = kept;
  const bool normal = ((kept >> (format.precision - 1)) & 1) != 0;
  result.biased_exponent = normal ? lsb + format.bias_offset : 0;
  result.overflow = result.biased_exponent > format.max_biased;
  return result;
}

// A finite extended value as an integer m times 2^e.
struct Unpacked {
  std::uint64_t m;
  int e;
};

Unpacked Unpack(const Extended& x) {
  const int e = x.biased_exponent() == 0 ? kExtendedFormat.min_lsb_exponent
                                         : x.biased_exponent() - kExtendedFormat.bias_offset;
  return {x.significand(), e};
}

// Whether |a| >= |b|, for finite values.  Normalized encodings order like
// their magnitudes.
bool AtLeastAsLarge(const Extended& a, const Extended& b) {
  if (a.biased_exponent() != b.biased_exponent()) return a.biased_exponent() > b.biased_exponent();
  return a.significand() >= b.significand();
}

}  // namespace

// Builds encodings from rounded results; a friend of Extended.
class ExtendedRounding {
 public:
  static Extended Make(bool negative, U128 m, bool sticky, int e) {
    if (IsZero(m) && !sticky) return Extended(negative, 0, 0);
    const Rounded r = Round(kExtendedFormat, m, sticky, e);
    if (r.overflow) return Extended::Infinity(negative);
    return Extended(negative, static_cast<std::uint16_t>(r.biased_exponent), r.significand);
  }
  static Extended Make(bool negative, std::uint16_t exponent, std::uint64_t significand) {
    return Extended(negative, exponent, significand);
  }
};

Extended Extended::FromBits(bool negative, std::uint16_t biased_exponent,
                            std::uint64_t significand) {
  if (biased_exponent > kMaxFiniteExponent) return Infinity(negative);
  const Extended raw = ExtendedRounding::Make(negative, biased_exponent, significand);
  const Unpacked u = Unpack(raw);
  return ExtendedRounding::Make(negative, U128{0, u.m}, false, u.e);
}

Extended Extended::FromInteger(std::uint64_t value) {
  return ExtendedRounding::Make(false, U128{0, value}, false, 0);
}

Extended Extended::Infinity(bool negative) {
  return Extended(negative, 0x7FFF, std::uint64_t{1} << 63);
}

Extended Extended::operator-() const { return Extended(!negative_, exponent_, significand_); }

Extended operator*(const Extended& a, const Extended& b) {
  const bool negative = a.negative() != b.negative();
  if (!a.IsFinite() || !b.IsFinite()) return Extended::Infinity(negative);
  const Unpacked x = Unpack(a);
  const Unpacked y = Unpack(b);
  return ExtendedRounding::Make(negative, Multiply(x.m, y.m), false, x.e + y.e);
}

Extended operator/(const Extended& a, const Extended& b) {
  const bool negative = a.negative() != b.negative();
  if (!a.IsFinite() || b.significand() == 0) return Extended::Infinity(negative);
  if (!b.IsFinite() || a.significand() == 0) return ExtendedRounding::Make(negative, 0, 0);

  // Normalize both significands so that their top bits are set; then the
  // quotient's integer part is 0 or 1 and 66 further bits of it, with the
  // remainder as a sticky bit, are enough to round correctly.
  Unpacked x = Unpack(a);
  Unpacked y = Unpack(b);
  const int x_zeros = std::countl_zero(x.m);
  const int y_zeros = std::countl_zero(y.m);
  x.m <<= x_zeros;
  x.e -= x_zeros;
  y.m <<= y_zeros;
  y.e -= y_zeros;

  constexpr int kFractionBits = 66;
  std::uint64_t remainder = x.m;
  U128 quotient{};
  if (remainder >= y.m) {
    remainder -= y.m;
    quotient.lo = 1;
  }
  for (int i = 0; i < kFractionBits; ++i) {
    const bool carry = (remainder >> 63) != 0;  // 2 * remainder >= 2^64
    remainder <<= 1;
    const bool bit = carry || remainder >= y.m;
    if (bit) remainder -= y.m;  // wraps back into range when carry is set
    quotient = ShiftLeft(quotient, 1);
    quotient.lo |= bit ? 1 : 0;
  }
  return ExtendedRounding::Make(negative, quotient, remainder != 0, x.e - y.e - kFractionBits);
}

Extended operator+(const Extended& a, const Extended& b) {
  if (!a.IsFinite()) return a;
  if (!b.IsFinite()) return b;
  if (b.significand() == 0) {
    if (a.significand() == 0)  // -0 + -0 is -0; any other sum of zeros is +0
      return ExtendedRounding::Make(a.negative() && b.negative(), 0, 0);
    return a;
  }
  if (a.significand() == 0) return b;

  const Extended& large = AtLeastAsLarge(a, b) ? a : b;
  const Extended& small = AtLeastAsLarge(a, b) ? b : a;
  const Unpacked x = Unpack(large);
  const Unpacked y = Unpack(small);

  // Align the smaller operand to the larger one with 62 bits of room below
  // the larger significand.  Bits of the smaller one that fall off the end
  // are folded into the last bit (a "sticky" bit), which keeps the rounding
  // of both sum and difference exact: when anything falls off, the operands
  // are so far apart that the last bit lies far below the rounding position.
  constexpr int kGuardBits = 62;
  const U128 big = ShiftLeft(U128{0, x.m}, kGuardBits);
  const U128 shifted = ShiftLeft(U128{0, y.m}, kGuardBits);
  const int distance = x.e - y.e;
  U128 aligned = ShiftRight(shifted, distance);
  if (AnyBitBelow(shifted, distance < 128 ? distance : 128)) aligned.lo |= 1;

  const bool same_sign = large.negative() == small.negative();
  const U128 sum = same_sign ? Add(big, aligned) : Subtract(big, aligned);
  if (IsZero(sum)) return ExtendedRounding::Make(false, 0, 0);  // x - x is +0
  return ExtendedRounding::Make(large.negative(), sum, false, x.e - kGuardBits);
}

double Extended::ToDouble() const {
  const std::uint64_t sign = negative_ ? std::uint64_t{1} << 63 : 0;
  constexpr std::uint64_t kInfinity = std::uint64_t{0x7FF} << 52;
  if (!IsFinite()) return std::bit_cast<double>(sign | kInfinity);
  if (significand_ == 0) return std::bit_cast<double>(sign);
  const Unpacked u = Unpack(*this);
  const Rounded r = Round(kDoubleFormat, U128{0, u.m}, false, u.e);
  if (r.overflow) return std::bit_cast<double>(sign | kInfinity);
  const std::uint64_t fraction = r.significand & LowMask(52);
  return std::bit_cast<double>(sign | (static_cast<std::uint64_t>(r.biased_exponent) << 52) |
                               fraction);
}

}  // namespace igra
