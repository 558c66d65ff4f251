#include "model/text/text_encoding.h"

#include <array>
#include <cstdint>
#include <utility>

namespace vyk {

namespace {

// Code points of bytes 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined (such a
// byte is passed through as the C1 control of the same number, as Windows does).
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendHex(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  for (size_t i = 0; i < size;) {
    const unsigned char lead = b[i];
    // The length of the sequence and the range its second byte must be in (which rules out
    // overlong forms, surrogates and code points past U+10FFFF).
    size_t length = 1;
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > size || b[i + 1] < low || b[i + 1] > high) return false;
    for (size_t k = 2; k < length; ++k)
      if (b[i + k] < 0x80 || b[i + k] > 0xBF) return false;
    i += length;
  }
  return true;
}

std::string EscapedText(std::string_view bytes) {
  std::string out;
  for (char b : bytes) {
    auto byte = static_cast<unsigned char>(b);
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += b;
    } else {
      AppendHex(out, byte);
    }
  }
  return out;
}

std::string EscapedControls(std::string_view text) {
  std::string out;
  for (char b : text) {
    auto byte = static_cast<unsigned char>(b);
    if (byte < 0x20 || byte == 0x7F) {
      AppendHex(out, byte);
    } else {
      out += b;
    }
  }
  return out;
}

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  size_t from = 0;  // the start of the plain run not yet copied
  for (size_t i = 0; i < size; ++i) {
    const unsigned char byte = bytes[i];
    if (byte >= 0x20 && byte != 0x7F && byte != 0xC2) continue;
    size_t length = 0;
    if (byte == 0xC2) {
      if (i + 1 < size && bytes[i + 1] >= 0x80 && bytes[i + 1] <= 0x9F) length = 2;
    } else if (byte != '\n') {
      length = 1;
    }
    if (length == 0) continue;
    out.append(text.substr(from, i - from));
    for (size_t k = 0; k < length; ++k)
      AppendHex(out, bytes[i + k]);
    i += length - 1;
    from = i + 1;
  }
  out.append(text.substr(from));
  return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  for (char b : bytes)
    AppendUtf8(out, CodePoint(static_cast<unsigned char>(b)));
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) return std::nullopt;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int n = 1; n <= extra; ++n) {
      auto next = static_cast<unsigned char>(text[i + n]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    i += extra + 1;
    // An overlong form would let a character such as NUL or "/" in under another spelling.
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kShortest[extra]) return std::nullopt;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    bool found = false;
    for (size_t k = 0; k < kHigh.size(); ++k) {
      if (kHigh[k] == c || (kHigh[k] == 0 && c == 0x80 + k)) {
        out += static_cast<char>(0x80 + k);
        found = true;
        break;
      }
    }
    if (!found) return std::nullopt;
  }
  return out;
}

std::optional<FileText> FileTextFromUtf8(std::string_view text) {
  auto bytes = Utf8ToCp1252(text);
  if (!bytes) return std::nullopt;
  return FileText(std::move(*bytes));
}

}  // namespace vyk
