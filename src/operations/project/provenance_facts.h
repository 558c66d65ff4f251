#pragma once
// How the project's table was made, as `vyk project show`, the report and the Provenance page
// of Edit > Project list it.
#include <string>
#include <utility>
#include <vector>

#include "model/app_state.h"

namespace vyk {

struct MeterFacts {
  std::string file;  // as the match listed it (UTF-8)
  std::string partNumber;
  std::string description;
  std::string units;  // "kg/hr" or "lb/hr"
  std::string kind;   // "frequency" or "voltage"
  int points = 0;
};

struct ProvenanceFacts {
  enum class Kept { None, Kept, Damaged, Newer } kept = Kept::None;
  MeterFacts use;
  MeterFacts match;
  std::string made;  // the date of the match and the group whose constants it used
  std::vector<int> edited;
};

ProvenanceFacts FactsOfProvenance(const AppState& state);

// The facts as label and text, in the order they are shown: "Meter to use", "Meter to match",
// "Matched", "Entries edited by hand"; one line saying so when the project keeps no record.
std::vector<std::pair<std::string, std::string>> ProvenanceLines(const ProvenanceFacts& facts);

// One meter as a line: "FILE.MAF: part P, description, kg/hr, frequency, 12 points".
std::string MeterLine(const MeterFacts& meter);

}  // namespace vyk
