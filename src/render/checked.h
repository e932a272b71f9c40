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

}  // namespace timer555
