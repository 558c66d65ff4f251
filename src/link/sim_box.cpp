#include "link/sim_box.h"

namespace vyk {

SimBox::SimBox(SimBoxConfig config) : config_(std::move(config)) { eeprom_.fill(0xFF); }

char SimGroupLetter(uint8_t group) {
  switch (group) {
    case 1:
      return 'G';
    case 2:
      return 'I';
    default:
      return 'V';
  }
}

}  // namespace vyk
