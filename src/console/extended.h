// Software arithmetic in the IEEE 754 80-bit double-extended format.
//
// Numeric answers are converted in this format and only then rounded to a
// double, so the game gives the same answers whether or not the machine's
// `long double` happens to be the 80-bit format (it is on x86 with GCC or
// Clang; it is not on ARM64 or with MSVC).  Everything here is integer
// arithmetic and behaves the same on every target.
#ifndef IGRA_CONSOLE_EXTENDED_H_
#define IGRA_CONSOLE_EXTENDED_H_

#include <cstdint>

namespace igra {

/// A number in the 80-bit double-extended format: a sign, a 15-bit biased
/// exponent and a 64-bit significand whose integer bit is explicit.
///
/// The operations round to nearest, ties to even, make subnormal results
/// where a result falls below the normal range, and give an infinity when a
/// result lies beyond the largest finite value: that infinity is how an
/// overflow shows.  Operands are meant to be finite (or infinite only as
/// the result of an overflow); no operation ever makes a NaN.
class Extended {
 public:
  /// The largest biased exponent of a finite value; 0x7FFF is infinity.
  static constexpr std::uint16_t kMaxFiniteExponent = 0x7FFE;

  /// Positive zero.
  constexpr Extended() = default;

  /// The value with exactly these encoding fields.  A biased exponent above
  /// 0x7FFE is taken as infinity; a nonzero exponent with the integer bit
  /// clear (an encoding the format calls unnormal) is taken as normalized.
  static Extended FromBits(bool negative, std::uint16_t biased_exponent, std::uint64_t significand);

  /// The whole number `value`, exactly (every 64-bit integer fits).
  static Extended FromInteger(std::uint64_t value);

  /// Positive or negative infinity.
  static Extended Infinity(bool negative);

  /// True for a negative number, negative zero included.
  bool negative() const { return negative_; }
  /// The 15-bit biased exponent: 0 for zero and subnormals, 0x7FFF for
  /// infinity.
  std::uint16_t biased_exponent() const { return exponent_; }
  /// The 64-bit significand with its explicit integer bit.
  std::uint64_t significand() const { return significand_; }

  /// False only for infinity, the result of an overflow.
  bool IsFinite() const { return exponent_ <= kMaxFiniteExponent; }

  /// The same number with the other sign (exact; zero becomes negative zero).
  Extended operator-() const;

  /// The sum, correctly rounded.
  friend Extended operator+(const Extended& a, const Extended& b);
  /// The product, correctly rounded.
  friend Extended operator*(const Extended& a, const Extended& b);
  /// The quotient, correctly rounded.  The divisor must not be zero.
  friend Extended operator/(const Extended& a, const Extended& b);

  /// The value rounded to the nearest 64-bit double, ties to even, subnormal
  /// or zero below the double's normal range; an infinity of the same sign
  /// when the rounded value lies beyond the largest finite double.
  double ToDouble() const;

  /// Bitwise equality of the encodings (so +0 and -0 differ).
  friend bool operator==(const Extended& a, const Extended& b) = default;

 private:
  constexpr Extended(bool negative, std::uint16_t exponent, std::uint64_t significand)
      : negative_(negative), exponent_(exponent), significand_(significand) {}

  friend class ExtendedRounding;

  bool negative_ = false;
  std::uint16_t exponent_ = 0;
  std::uint64_t significand_ = 0;
};

}  // namespace igra

#endif  // IGRA_CONSOLE_EXTENDED_H_
