#pragma once
// Texts cross into the windows here: files and the core hold Windows-1252 bytes.
#include <QString>
#include <string>

#include "model/text/text_encoding.h"

namespace vyk::ui {

inline QString FromCore(const std::string& bytes) {
  return QString::fromStdString(Cp1252ToUtf8(bytes));
}

// Characters Windows-1252 lacks become "?", as a Windows edit box would store them.
inline std::string ToCore(const QString& text) {
  std::string out;
  for (QChar c : text) {
    auto one = Utf8ToCp1252(QString(c).toStdString());
    out += one ? *one : std::string("?");
  }
  return out;
}

inline QString FromCore(const FileText& text) {
  return FromCore(text.Bytes());
}

inline FileText ToFileText(const QString& text) {
  return FileText(ToCore(text));
}

}  // namespace vyk::ui
