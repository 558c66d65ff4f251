#include "model/project_header.h"

#include <chrono>
#include <ctime>

#include "model/bytes.h"
#include "model/errors.h"
#include "model/text/number.h"

namespace vyk {

namespace {

void CheckSpan(int offset, int size) {
  if (offset < 0 || size < 0 || offset + size > kHeaderSize) throw RangeError();
}

// Day 0 is 30 December 1899; 1 January 1970 is day 25569.
constexpr int32_t kUnixEpochDay = 25569;

// The sign, then the digits zero-filled to at least `width` characters in all.
std::string ZeroFilled(long value, int width) {
  std::string digits = FormatFixed(value < 0 ? -value : value, 0, 0);
  int sign = value < 0 ? 1 : 0;
  if (static_cast<int>(digits.size()) + sign < width)
    digits.insert(0, width - sign - digits.size(), '0');
  return (sign != 0 ? "-" : "") + digits;
}

}  // namespace

int32_t ProjectHeader::Int32At(int offset) const {
  CheckSpan(offset, 4);
  return static_cast<int32_t>(LoadU32(&bytes_[offset]));
}

void ProjectHeader::SetInt32At(int offset, int32_t value) {
  CheckSpan(offset, 4);
  StoreU32(&bytes_[offset], static_cast<uint32_t>(value));
}

int16_t ProjectHeader::Int16At(int offset) const {
  CheckSpan(offset, 2);
  return static_cast<int16_t>(LoadU16(&bytes_[offset]));
}

void ProjectHeader::SetInt16At(int offset, int16_t value) {
  CheckSpan(offset, 2);
  StoreU16(&bytes_[offset], static_cast<uint16_t>(value));
}

uint8_t ProjectHeader::ByteAt(int offset) const {
  CheckSpan(offset, 1);
  return bytes_[offset];
}

void ProjectHeader::SetByteAt(int offset, uint8_t value) {
  CheckSpan(offset, 1);
  bytes_[offset] = value;
}

std::string ProjectHeader::ShortStringAt(int offset, int capacity) const {
  CheckSpan(offset, capacity + 1);
  return LoadShortString(&bytes_[offset], capacity);
}

void ProjectHeader::SetShortStringAt(int offset, int capacity, const std::string& text) {
  CheckSpan(offset, capacity + 1);
  StoreShortString(&bytes_[offset], capacity, text);
}

void ProjectHeader::SetFixedFields() {
  SetInt16At(kFileRecords, 48);
  SetInt16At(kHeaderRecords, 32);
  SetInt16At(kMagic11, 11);
  SetInt16At(kRequiredVersion, 10);
}

int32_t DayNumber(int year, unsigned month, unsigned day) {
  using namespace std::chrono;
  sys_days date{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}};
  return static_cast<int32_t>(date.time_since_epoch().count()) + kUnixEpochDay;
}

std::string DayNumberText(int32_t dayNumber) {
  using namespace std::chrono;
  year_month_day date{sys_days{days{static_cast<long>(dayNumber) - kUnixEpochDay}}};
  return ZeroFilled(static_cast<int>(date.year()), 4) + "-" +
         ZeroFilled(static_cast<unsigned>(date.month()), 2) + "-" +
         ZeroFilled(static_cast<unsigned>(date.day()), 2);
}

int32_t TodayDayNumber() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return DayNumber(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                   static_cast<unsigned>(local.tm_mday));
}

}  // namespace vyk
