#include "render/checked.h"

namespace timer555 {

void RaiseIntegerOverflow() {
  throw TimerError(kIntegerOverflow);
}

void RaiseRangeCheck() {
  throw TimerError(kRangeCheckError);
}

void RaiseInvalidInteger(const std::string& text) {
  // Control characters (a NUL above all) would cut the message short or
  // garble the error box; they are shown as "?".
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  throw TimerError("'" + shown + "' is not a valid integer value");
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

std::string Copy(const std::string& text, std::int64_t pos, std::int64_t count) {
  if (pos < 1) pos = 1;
  const auto size = static_cast<std::int64_t>(text.size());
  if (pos > size || count <= 0) return {};
  return text.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count));
}

std::int32_t StrToInt(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) RaiseInvalidInteger(text);
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') RaiseInvalidInteger(text);
    value = value * 10 + (c - '0');
    if (value > std::int64_t{1} << 31) RaiseInvalidInteger(text);
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) RaiseInvalidInteger(text);
  return static_cast<std::int32_t>(value);
}

std::int32_t Int::CheckedDiv(std::int32_t a, std::int32_t b) {
  if (b == 0 || (a == INT32_MIN && b == -1)) RaiseIntegerOverflow();
  return a / b;
}

std::int32_t IntField(const std::string& text, std::int64_t pos, std::int64_t count) {
  if (count > 0) {
    CharAt(text, pos);
    CharAt(text, pos + count - 1);
  }
  return StrToInt(Copy(text, pos, count));
}

}  // namespace timer555
