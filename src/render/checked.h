#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace timer555 {

// The errors the drawing and calculation code raises. Nothing below the
// window's event guard catches them; their texts are shown to the user as is.
class TimerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kIntegerOverflow = "Integer overflow";
inline constexpr const char* kRangeCheckError = "Range check error";

[[noreturn]] void RaiseIntegerOverflow();
[[noreturn]] void RaiseRangeCheck();
[[noreturn]] void RaiseInvalidInteger(const std::string& text);

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSub(std::int32_t a, std::int32_t b);
std::int32_t CheckedMul(std::int32_t a, std::int32_t b);

// The character at 1-based position `pos`; past either end raises the range error.
char CharAt(const std::string& text, std::int64_t pos);

// Up to `count` characters from 1-based position `pos`; empty past the end, never failing.
std::string Copy(const std::string& text, std::int64_t pos, std::int64_t count);

// The digit field of `count` characters from 1-based position `pos`, read as
// a decimal integer. Every character of the field is read as by CharAt: one
// beyond the text's end raises the range error before any conversion.
std::int32_t IntField(const std::string& text, std::int64_t pos, std::int64_t count);

// A decimal integer with an optional sign and nothing else; any other text
// (empty included) raises the conversion error naming it, as does a value
// outside 32 bits.
std::int32_t StrToInt(const std::string& text);

// A 32-bit coordinate whose every addition, subtraction and multiplication is
// checked, so the drawing formulas read as written and still raise the
// overflow error. Division truncates toward zero.
class Int {
 public:
  constexpr Int() noexcept = default;
  constexpr explicit Int(std::int32_t v) noexcept : v_(v) {}
  constexpr operator std::int32_t() const noexcept { return v_; }  // NOLINT: reads as a number

  friend Int operator+(Int a, Int b) { return Int(CheckedAdd(a.v_, b.v_)); }
  friend Int operator+(Int a, std::int32_t b) { return Int(CheckedAdd(a.v_, b)); }
  friend Int operator+(std::int32_t a, Int b) { return Int(CheckedAdd(a, b.v_)); }
  friend Int operator-(Int a, Int b) { return Int(CheckedSub(a.v_, b.v_)); }
  friend Int operator-(Int a, std::int32_t b) { return Int(CheckedSub(a.v_, b)); }
  friend Int operator-(std::int32_t a, Int b) { return Int(CheckedSub(a, b.v_)); }
  friend Int operator*(Int a, Int b) { return Int(CheckedMul(a.v_, b.v_)); }
  friend Int operator*(Int a, std::int32_t b) { return Int(CheckedMul(a.v_, b)); }
  friend Int operator*(std::int32_t a, Int b) { return Int(CheckedMul(a, b.v_)); }
  friend Int operator/(Int a, std::int32_t b) { return Int(CheckedDiv(a.v_, b)); }
  Int operator-() const { return Int(CheckedSub(0, v_)); }

 private:
  static std::int32_t CheckedDiv(std::int32_t a, std::int32_t b);
  std::int32_t v_ = 0;
};

}  // namespace timer555
