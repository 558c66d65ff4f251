#pragma once
// Little-endian numbers and length-prefixed short strings inside fixed-layout file records.
// Callers check that the field lies inside their record.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyk {

inline uint16_t LoadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline float LoadF32(const uint8_t* p) {
  return std::bit_cast<float>(LoadU32(p));
}
inline void StoreF32(uint8_t* p, float v) {
  StoreU32(p, std::bit_cast<uint32_t>(v));
}

// CRC-32 as zip and PNG compute it.
inline uint32_t Crc32(const uint8_t* bytes, size_t count) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A length byte, then the characters, in a field of capacity + 1 bytes. A length byte above
// the capacity reads only the capacity, never into the next field.
inline std::string LoadShortString(const uint8_t* field, int capacity) {
  int length = field[0] > capacity ? capacity : field[0];
  return std::string(reinterpret_cast<const char*>(field + 1), static_cast<size_t>(length));
}

// Writes the length and the characters, cut to the capacity; the rest of the field keeps
// what it held.
inline void StoreShortString(uint8_t* field, int capacity, std::string_view text) {
  size_t length = text.size() > static_cast<size_t>(capacity) ? capacity : text.size();
  field[0] = static_cast<uint8_t>(length);
  for (size_t i = 0; i < length; ++i)
    field[1 + i] = static_cast<uint8_t>(text[i]);
}

}  // namespace vyk
