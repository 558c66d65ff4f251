#include "meters/meter_record.h"

#include <cstring>

#include "model/bytes.h"
#include "model/errors.h"
#include "model/text/number.h"
#include "model/text/text_encoding.h"
#include "storage/atomic_file.h"
#include "storage/regular_file.h"

namespace vyk {

int MeterRecord::PointOffset(int i, int field) const {
  if (i < 1 || i > kMaxMeterPoints) throw RangeError();
  return kPoints + kPointSize * (i - 1) + field;
}

std::string MeterRecord::PartNumber() const {
  return LoadShortString(&bytes_[kPartNumber], kPartNumberCapacity);
}

void MeterRecord::SetPartNumber(const std::string& text) {
  StoreShortString(&bytes_[kPartNumber], kPartNumberCapacity, text);
}

int16_t MeterRecord::PointCount() const {
  return static_cast<int16_t>(LoadU16(&bytes_[kPointCount]));
}

void MeterRecord::SetPointCount(int16_t count) {
  StoreU16(&bytes_[kPointCount], static_cast<uint16_t>(count));
}

int MeterRecord::UsablePoints() const {
  int count = PointCount();
  return count < 0 ? 0 : count > kMaxMeterPoints ? kMaxMeterPoints : count;
}

std::string MeterRecord::Description1() const {
  return LoadShortString(&bytes_[kDescription1], kDescriptionCapacity);
}

void MeterRecord::SetDescription1(const std::string& text) {
  StoreShortString(&bytes_[kDescription1], kDescriptionCapacity, text);
}

std::string MeterRecord::Description2() const {
  return LoadShortString(&bytes_[kDescription2], kDescriptionCapacity);
}

void MeterRecord::SetDescription2(const std::string& text) {
  StoreShortString(&bytes_[kDescription2], kDescriptionCapacity, text);
}

std::string MeterRecord::SignalText(int i) const {
  return LoadShortString(&bytes_[PointOffset(i, kSignalText)], kPointTextCapacity);
}

void MeterRecord::SetSignalText(int i, const std::string& text) {
  StoreShortString(&bytes_[PointOffset(i, kSignalText)], kPointTextCapacity, text);
}

float MeterRecord::SignalValue(int i) const {
  return LoadF32(&bytes_[PointOffset(i, kSignalValue)]);
}

void MeterRecord::SetSignalValue(int i, float value) {
  StoreF32(&bytes_[PointOffset(i, kSignalValue)], value);
}

std::string MeterRecord::FlowText(int i) const {
  return LoadShortString(&bytes_[PointOffset(i, kFlowText)], kPointTextCapacity);
}

void MeterRecord::SetFlowText(int i, const std::string& text) {
  StoreShortString(&bytes_[PointOffset(i, kFlowText)], kPointTextCapacity, text);
}

float MeterRecord::FlowValue(int i) const {
  return LoadF32(&bytes_[PointOffset(i, kFlowValue)]);
}

void MeterRecord::SetFlowValue(int i, float value) {
  StoreF32(&bytes_[PointOffset(i, kFlowValue)], value);
}

void ReadMeterFile(const std::string& path, MeterRecord& record) {
  RegularFile file(path, RegularFile::Access::Read);
  const std::string bytes = file.Read(kMeterRecordSize);
  std::memcpy(record.Bytes().data(), bytes.data(), bytes.size());
}

void WriteMeterFile(const std::string& path, const MeterRecord& record) {
  WriteFileReplacing(
      path, std::string(reinterpret_cast<const char*>(record.Bytes().data()), kMeterRecordSize));
}

std::string PointTextProblem(const MeterRecord& record, const std::string& file) {
  for (int i = 1; i <= record.UsablePoints(); ++i) {
    for (bool flow : {false, true}) {
      const std::string text = flow ? record.FlowText(i) : record.SignalText(i);
      const std::string where =
          file + ", point " + std::to_string(i) + (flow ? ", flow: '" : ", signal: '");
      try {
        TextToFloat(text);
      } catch (const ConvertError&) {
        return where + EscapedText(text) + "' is not a valid floating point value";
      } catch (const OverflowError& e) {
        return where + EscapedText(text) + "': " + e.what();
      }
    }
  }
  return "";
}

std::string VoltsSignalText(float volts) {
  return FormatFixed(volts, 1, 2);
}
std::string HertzSignalText(float hertz) {
  return FormatFixed(hertz, 5, 0);
}
std::string FlowValueText(long double flow) {
  return FormatFixed(flow, 4, 2);
}

std::string LbToKgText(long double lbPerHour) {
  return FlowValueText(lbPerHour * kKgPerLb);
}
std::string KgToLbText(long double kgPerHour) {
  return FlowValueText(kgPerHour / kKgPerLb);
}

}  // namespace vyk
