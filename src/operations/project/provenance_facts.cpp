#include "operations/project/provenance_facts.h"

#include "meters/meter_record.h"
#include "model/groups.h"
#include "model/text/text_encoding.h"

namespace vyk {

namespace {

MeterFacts FactsOfMeter(const MeterImage& image, const FileText& file) {
  const MeterRecord meter(image);
  MeterFacts f;
  f.file = Cp1252ToUtf8(file.Bytes());
  f.partNumber = Cp1252ToUtf8(meter.PartNumber());
  for (const std::string& line : {meter.Description1(), meter.Description2()}) {
    if (line.empty()) continue;
    if (!f.description.empty()) f.description += "; ";
    f.description += Cp1252ToUtf8(line);
  }
  f.units = meter.IsMetric() ? "kg/hr" : "lb/hr";
  f.kind = meter.IsFrequency() ? "frequency" : "voltage";
  f.points = meter.UsablePoints();
  return f;
}

}  // namespace

ProvenanceFacts FactsOfProvenance(const AppState& state) {
  ProvenanceFacts facts;
  if (!state.provenance) {
    if (state.damagedProvenance)
      facts.kept = state.damagedProvenance->newer ? ProvenanceFacts::Kept::Newer
                                                  : ProvenanceFacts::Kept::Damaged;
    return facts;
  }
  const Provenance& p = *state.provenance;
  facts.kept = ProvenanceFacts::Kept::Kept;
  facts.use = FactsOfMeter(p.use, p.settings.useFile);
  facts.match = FactsOfMeter(p.match, p.settings.matchFile);
  facts.made = DayNumberText(p.settings.madeDay) + ", with the " + GroupText(p.settings.group) +
               " constants";
  facts.edited = EditedEntries(p, state.image);
  return facts;
}

std::string MeterLine(const MeterFacts& m) {
  std::string line = m.file + ": part " + (m.partNumber.empty() ? "(none)" : m.partNumber);
  if (!m.description.empty()) line += ", " + m.description;
  return line + ", " + m.units + ", " + m.kind + ", " + std::to_string(m.points) + " points";
}

std::vector<std::pair<std::string, std::string>> ProvenanceLines(const ProvenanceFacts& facts) {
  switch (facts.kept) {
    case ProvenanceFacts::Kept::None:
      return {{"How the table was made", "not recorded"}};
    case ProvenanceFacts::Kept::Damaged:
      return {{"How the table was made", "the record is damaged and is ignored"}};
    case ProvenanceFacts::Kept::Newer:
      return {{"How the table was made",
               "recorded by a newer version of Vyk Edit; kept in the file as it is"}};
    case ProvenanceFacts::Kept::Kept:
      break;
  }
  return {{"Meter to use", MeterLine(facts.use)},
          {"Meter to match", MeterLine(facts.match)},
          {"Matched", facts.made},
          {"Entries edited by hand", EntryRangesText(facts.edited)}};
}

}  // namespace vyk
