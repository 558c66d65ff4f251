#include "link/qt/box_connection.h"

#include "link/qt/serial_port.h"
#include "link/sim_port.h"

namespace vyk {

BoxConnection::BoxConnection(Pump& pump, AppState& state)
    : pump_(pump),
      state_(state),
      port_(std::make_unique<SimPort>(pump)),
      link_(std::make_unique<BoxLink>(*port_, pump, state)),
      simEeprom_(Simulator()->Eeprom()) {}

BoxConnection::~BoxConnection() {
  link_.reset();  // the link's callbacks go before the port they listen to
  port_.reset();
}

void BoxConnection::Open(const std::string& portName, const SimBoxConfig& simulator) {
  auto terminalEcho = std::move(link_->terminalEcho);
  auto onStatus = std::move(link_->onStatus);
  auto onLineLost = std::move(link_->onLineLost);
  if (const SimBox* box = Simulator()) simEeprom_ = box->Eeprom();
  link_.reset();
  if (IsSimulatorPort(portName)) {
    SimBoxConfig config = simulator;
    config.drive = config.drive || portName == kDrivingSimulatorPortName;
    auto port = std::make_unique<SimPort>(pump_, config);
    // A Box that drives keeps its own table until something was written into it.
    std::array<uint8_t, 256> blank;
    blank.fill(0xFF);
    if (!config.drive || simEeprom_ != blank) port->Box().Eeprom() = simEeprom_;
    port_ = std::move(port);
  } else {
    port_ = MakeSerialPort();
  }
  link_ = std::make_unique<BoxLink>(*port_, pump_, state_);
  link_->terminalEcho = std::move(terminalEcho);
  link_->onStatus = std::move(onStatus);
  link_->onLineLost = std::move(onLineLost);
  link_->Open(portName);
  link_->Settle();
}

SimBox* BoxConnection::Simulator() {
  auto* sim = dynamic_cast<SimPort*>(port_.get());
  return sim != nullptr ? &sim->Box() : nullptr;
}

void BoxConnection::AnswerAsGroup(uint8_t group) {
  if (SimBox* box = Simulator()) box->Config().groupLetter = SimGroupLetter(group);
}

}  // namespace vyk
