#include "model/groups.h"

#include "model/errors.h"

namespace vyk {

const HardwareGroup* FindGroup(uint8_t byte) {
  return byte < kGroups.size() ? &kGroups[byte] : nullptr;
}

const HardwareGroup& GroupOf(uint8_t byte) {
  const HardwareGroup* group = FindGroup(byte);
  if (group == nullptr) throw RangeError();
  return *group;
}

const HardwareGroup& GroupOfCliName(std::string_view cliName) {
  for (const HardwareGroup& group : kGroups) {
    if (group.cliName == cliName) return group;
  }
  throw RangeError();
}

std::string GroupName(uint8_t group) {
  return std::string(GroupOf(group).name);
}

std::string GroupText(uint8_t group) {
  const HardwareGroup* named = FindGroup(group);
  return named != nullptr ? std::string(named->name) : "unknown (" + std::to_string(group) + ")";
}

std::vector<std::string> GroupCliNames() {
  std::vector<std::string> names;
  for (const HardwareGroup& group : kGroups)
    names.emplace_back(group.cliName);
  return names;
}

}  // namespace vyk
