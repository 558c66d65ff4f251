#pragma once
// A record of how a table was made, with every field set, for the tests of the block that
// keeps it in the project file.
#include <string>

#include "model/provenance.h"

namespace vyk::test {

inline Provenance SampleProvenance() {
  Provenance p;
  for (int i = 0; i < kMeterImageSize; ++i) {
    p.use[i] = static_cast<uint8_t>(i * 7);
    p.match[i] = static_cast<uint8_t>(255 - i % 251);
  }
  p.settings = {1,     1,         2, 13.19648f, 1023, FileText("USE.MAF"), FileText("MATCH.MAF"),
                45000, 1700000000};
  for (int k = 0; k < kTableEntries; ++k)
    p.result[k] = static_cast<uint16_t>(30 * k);
  return p;
}

// An image whose table holds the sample's result.
inline EepromImage ImageOf(const Provenance& p) {
  EepromImage image;
  for (int k = 0; k < kTableEntries; ++k)
    image.SetEntry(k, p.result[k]);
  return image;
}

}  // namespace vyk::test
