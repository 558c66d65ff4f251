#include "model/provenance.h"

#include <algorithm>
#include <cstring>

#include "model/bytes.h"

namespace vyk {

namespace {

constexpr std::string_view kMagic = "VYKP";
constexpr uint16_t kVersion = 1;
constexpr size_t kBlockHead = 14;  // magic, version, length, checksum
constexpr size_t kRecordHead = 8;  // tag, length

constexpr std::string_view kUseTag = "USE ";
constexpr std::string_view kMatchTag = "MTCH";
constexpr std::string_view kSettingsTag = "SETS";
constexpr std::string_view kResultTag = "RSLT";
constexpr std::string_view kEditTag = "EDIT";

// The settings record.
constexpr size_t kSettingsSize = 88;
constexpr int kSetGroup = 0;
constexpr int kSetUseGroup = 1;
constexpr int kSetMatchGroup = 2;
constexpr int kSetHertzPerCount = 4;
constexpr int kSetMaxOutputCount = 8;
constexpr int kSetMadeDay = 12;
constexpr int kSetMadeSeconds = 16;  // Int64 LE
constexpr int kSetUseFile = 24;      // short string, capacity 31
constexpr int kSetMatchFile = 56;    // short string, capacity 31
constexpr int kFileNameCapacity = 31;

const uint8_t* Data(std::string_view bytes) {
  return reinterpret_cast<const uint8_t*>(bytes.data());
}

std::string Encoded(uint32_t value) {
  std::string bytes(4, '\0');
  StoreU32(reinterpret_cast<uint8_t*>(bytes.data()), value);
  return bytes;
}

void AppendRecord(std::string& out, std::string_view tag, std::string_view data) {
  out.append(tag);
  out += Encoded(static_cast<uint32_t>(data.size()));
  out.append(data);
}

std::string SettingsBytes(const MatchSettings& s) {
  std::string bytes(kSettingsSize, '\0');
  auto* p = reinterpret_cast<uint8_t*>(bytes.data());
  p[kSetGroup] = s.group;
  p[kSetUseGroup] = s.useGroup;
  p[kSetMatchGroup] = s.matchGroup;
  StoreF32(p + kSetHertzPerCount, s.hertzPerCount);
  StoreU32(p + kSetMaxOutputCount, static_cast<uint32_t>(s.maxOutputCount));
  StoreU32(p + kSetMadeDay, static_cast<uint32_t>(s.madeDay));
  const auto seconds = static_cast<uint64_t>(s.madeSeconds);
  StoreU32(p + kSetMadeSeconds, static_cast<uint32_t>(seconds));
  StoreU32(p + kSetMadeSeconds + 4, static_cast<uint32_t>(seconds >> 32));
  StoreShortString(p + kSetUseFile, kFileNameCapacity, s.useFile.Bytes());
  StoreShortString(p + kSetMatchFile, kFileNameCapacity, s.matchFile.Bytes());
  return bytes;
}

MatchSettings SettingsOf(std::string_view bytes) {
  const uint8_t* p = Data(bytes);
  MatchSettings s;
  s.group = p[kSetGroup];
  s.useGroup = p[kSetUseGroup];
  s.matchGroup = p[kSetMatchGroup];
  s.hertzPerCount = LoadF32(p + kSetHertzPerCount);
  s.maxOutputCount = static_cast<int32_t>(LoadU32(p + kSetMaxOutputCount));
  s.madeDay = static_cast<int32_t>(LoadU32(p + kSetMadeDay));
  s.madeSeconds = static_cast<int64_t>(
      LoadU32(p + kSetMadeSeconds) | static_cast<uint64_t>(LoadU32(p + kSetMadeSeconds + 4)) << 32);
  s.useFile = FileText(LoadShortString(p + kSetUseFile, kFileNameCapacity));
  s.matchFile = FileText(LoadShortString(p + kSetMatchFile, kFileNameCapacity));
  return s;
}

ProvenanceRead Damaged(std::string why) {
  ProvenanceRead read;
  read.status = ProvenanceStatus::Damaged;
  read.why = std::move(why);
  return read;
}

}  // namespace

ProvenanceRead ReadProvenance(std::string_view after) {
  if (after.substr(0, kMagic.size()) != kMagic) return {};
  if (after.size() < kBlockHead) return Damaged("it is cut short");
  const uint8_t* head = Data(after);
  const uint16_t version = LoadU16(head + 4);
  if (version == 0) return Damaged("its version is unknown");
  const uint32_t length = LoadU32(head + 6);
  const std::string_view data = after.substr(kBlockHead);
  if (data.size() != length) return Damaged("its length is wrong");
  if (Crc32(Data(data), data.size()) != LoadU32(head + 10)) return Damaged("its checksum is wrong");
  // Whole, but laid out as a later version lays it out: not read, and not damaged either.
  if (version != kVersion) {
    ProvenanceRead read;
    read.status = ProvenanceStatus::Newer;
    return read;
  }

  Provenance p;
  bool seen[4] = {false, false, false, false};
  size_t at = 0;
  while (at < data.size()) {
    if (data.size() - at < kRecordHead) return Damaged("a record is cut short");
    const std::string_view tag = data.substr(at, 4);
    const uint32_t size = LoadU32(Data(data) + at + 4);
    if (data.size() - at - kRecordHead < size) return Damaged("a record is cut short");
    const std::string_view body = data.substr(at + kRecordHead, size);
    at += kRecordHead + size;
    auto known = [&](int index, size_t wanted) {
      if (seen[index] || size != wanted) return false;
      seen[index] = true;
      return true;
    };
    if (tag == kUseTag || tag == kMatchTag) {
      if (!known(tag == kUseTag ? 0 : 1, kMeterImageSize)) return Damaged("a meter is wrong");
      std::memcpy(tag == kUseTag ? p.use.data() : p.match.data(), body.data(), kMeterImageSize);
    } else if (tag == kSettingsTag) {
      if (!known(2, kSettingsSize)) return Damaged("the settings are wrong");
      p.settings = SettingsOf(body);
    } else if (tag == kResultTag) {
      if (!known(3, 2 * kTableEntries)) return Damaged("the result is wrong");
      for (int k = 0; k < kTableEntries; ++k)
        p.result[k] = LoadU16(Data(body) + 2 * k);
    } else if (tag != kEditTag) {
      // "EDIT" is worked out again from the table at each save.
      p.unknown.push_back({std::string(tag), std::string(body)});
    }
  }
  if (!(seen[0] && seen[1] && seen[2] && seen[3])) return Damaged("a record is missing");
  ProvenanceRead read;
  read.status = ProvenanceStatus::Ok;
  read.provenance = std::move(p);
  return read;
}

std::string WriteProvenance(const Provenance& p, const EepromImage& image) {
  std::string data;
  AppendRecord(data, kUseTag, {reinterpret_cast<const char*>(p.use.data()), p.use.size()});
  AppendRecord(data, kMatchTag, {reinterpret_cast<const char*>(p.match.data()), p.match.size()});
  AppendRecord(data, kSettingsTag, SettingsBytes(p.settings));
  std::string result(2 * kTableEntries, '\0');
  for (int k = 0; k < kTableEntries; ++k)
    StoreU16(reinterpret_cast<uint8_t*>(result.data()) + 2 * k, p.result[k]);
  AppendRecord(data, kResultTag, result);
  std::string edited(kTableEntries, '\0');
  for (int k : EditedEntries(p, image))
    edited[k] = 1;
  AppendRecord(data, kEditTag, edited);
  for (const TaggedRecord& r : p.unknown)
    AppendRecord(data, r.tag, r.data);

  std::string block(kMagic);
  std::string version(2, '\0');
  StoreU16(reinterpret_cast<uint8_t*>(version.data()), kVersion);
  block += version;
  block += Encoded(static_cast<uint32_t>(data.size()));
  block += Encoded(Crc32(Data(data), data.size()));
  return block + data;
}

std::vector<int> EditedEntries(const Provenance& p, const EepromImage& image) {
  std::vector<int> edited;
  const auto now = TableEntriesOf(image);
  // Entry 32 is no part of the match: Copy E2P and Rematch leave it as it is.
  for (int k = 0; k < kCurvePoints; ++k) {
    if (now[k] != p.result[k]) edited.push_back(k);
  }
  return edited;
}

std::string EntryRangesText(const std::vector<int>& entries) {
  if (entries.empty()) return "none";
  std::string text;
  for (size_t i = 0; i < entries.size();) {
    size_t j = i;
    while (j + 1 < entries.size() && entries[j + 1] == entries[j] + 1)
      ++j;
    if (!text.empty()) text += ", ";
    text += std::to_string(entries[i]);
    if (j > i) text += "-" + std::to_string(entries[j]);
    i = j + 1;
  }
  return text;
}

std::array<uint16_t, kTableEntries> TableEntriesOf(const EepromImage& image) {
  std::array<uint16_t, kTableEntries> entries{};
  for (int k = 0; k < kTableEntries; ++k)
    entries[k] = static_cast<uint16_t>(image.Entry(k));
  return entries;
}

}  // namespace vyk
