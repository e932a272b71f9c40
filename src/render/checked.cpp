#include "render/checked.h"

namespace timer555 {

void RaiseIntegerOverflow() {
  throw TimerError(kIntegerOverflow);
}

void RaiseRangeCheck() {
  throw TimerError(kRangeCheckError);
}

void RaiseInvalidInteger(const std::string& text) {
  throw TimerError("'" + text + "' is not a valid integer value");
}

std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_add_overflow(a, b, &r)) RaiseIntegerOverflow();
  return r;
}

std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_sub_overflow(a, b, &r)) RaiseIntegerOverflow();
  return r;
}

std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_mul_overflow(a, b, &r)) RaiseIntegerOverflow();
  return r;
}

char CharAt(const std::string& text, std::int64_t pos) {
  if (pos < 1 || pos > static_cast<std::int64_t>(text.size())) RaiseRangeCheck();
  return text[static_cast<size_t>(pos - 1)];
}

}  // namespace timer555
