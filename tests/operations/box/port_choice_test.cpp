// The Box's port: which one a start opens, and Box > Options.
#include "operations/box/port_choice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "operations/project/main_controls.h"
#include "support/fakes.h"

namespace vyk::test {
namespace {

using ::testing::ElementsAre;

const SerialDevice kBuiltIn{PortNameFor(1), "", "", false};
const SerialDevice kFtdi{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", true};
const SerialDevice kCh340{"/dev/ttyUSB1", "USB Serial", "QinHeng", true};
const std::string kChoose = ". Choose the Box's port in Box > Options.";

// A session whose ports are `present`; opening records the device, and a device that is not
// present fails as the serial port would.
struct PortHarness : Harness {
  std::vector<SerialDevice> present;
  std::vector<std::string> opened;
  std::vector<uint8_t> identified;

  explicit PortHarness(std::vector<SerialDevice> devices) : present(std::move(devices)) {
    session.listPorts = [this] { return present; };
    session.openPort = [this](const std::string& device) {
      bool found = device == "Simulator";
      for (const SerialDevice& d : present)
        found = found || d.name == device;
      if (!found) throw PortError("Specified device not found (" + device + ").");
      opened.push_back(device);
    };
    session.connectBox = [this](Session&, uint8_t group) {
      identified.push_back(group);
      return false;
    };
  }
};

TEST(PortChoice, AStartWithoutAPortSettingTakesTheOnlyAdapterOrSaysWhatIsMissing) {
  struct Case {
    const char* what;
    std::vector<SerialDevice> present;
    std::string option;      // --port
    std::string configured;  // "PortName" of the settings; empty: the file names no port
    std::string opened;      // empty: none
    std::string notice;
    std::string error;
  } cases[] = {
      {"one adapter", {kBuiltIn, kFtdi}, "", "", "/dev/ttyUSB0", "", ""},
      {"COM 2 is there",
       {kBuiltIn, {PortNameFor(2), "", "", false}},
       "",
       "",
       PortNameFor(2),
       "",
       ""},
      {"no adapter",
       {kBuiltIn},
       "",
       "",
       "",
       "No Box port: COM 2 (" + PortNameFor(2) + ") is not present" + kChoose,
       ""},
      {"two adapters",
       {kFtdi, kCh340},
       "",
       "",
       "",
       "No Box port: COM 2 (" + PortNameFor(2) + ") is not present and 2 USB serial adapters are" +
           kChoose,
       ""},
      {"the configured port is gone",
       {kFtdi},
       "",
       "/dev/ttyUSB7",
       "",
       "No Box port: /dev/ttyUSB7 is not present" + kChoose,
       "Specified device not found (/dev/ttyUSB7)."},
      {"the command line's port", {kFtdi}, "Simulator", "", "Simulator", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PortHarness h(c.present);
    h.state.portName = c.configured;
    h.state.portChosen = !c.configured.empty();
    OpenStartPort(h.session, c.option);
    EXPECT_EQ(h.state.portInUse, c.opened);
    EXPECT_EQ(h.opened,
              c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened});
    EXPECT_EQ(h.state.portNotice, c.notice);
    EXPECT_EQ(h.dialogs.Texts(FakeDialogs::Kind::Error),
              c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    RefreshWindow(h.session);
    EXPECT_EQ(h.view.lastLook.notice, c.notice);
  }
  // The adapter taken is kept, so the next start opens it again.
  PortHarness h({kFtdi});
  OpenStartPort(h.session, "");
  EXPECT_TRUE(h.state.portChosen);
  EXPECT_EQ(h.state.portName, "/dev/ttyUSB0");
}

TEST(PortChoice, OptionsListEachDeviceOnceAndMoveTheLinkAtOnce) {
  PortHarness h({kBuiltIn, kFtdi, kFtdi});
  h.New(kGM);
  h.state.portChosen = true;
  h.state.portName = "/dev/ttyUSB0";
  OpenBoxPort(h.session, "/dev/ttyUSB0");
  h.identified.clear();

  // COM 1, the port in use, to the port of COM 1: the link moves and the Box is identified.
  h.dialogs.portChoices.push_back(0);
  BoxOptionsClick(h.session);
  ASSERT_EQ(h.dialogs.portSetupsShown.size(), 1u);
  EXPECT_THAT(h.dialogs.portSetupsShown[0].items,
              ElementsAre("COM 1 (" + PortNameFor(1) + ")",
                          "COM 2 (" + PortNameFor(2) + ") \u2014 not present",
                          "COM 3 (" + PortNameFor(3) + ") \u2014 not present",
                          "COM 4 (" + PortNameFor(4) + ") \u2014 not present",
                          "/dev/ttyUSB0 \u2014 FT232R USB UART (FTDI)", "Simulator",
                          "Simulator:drive \u2014 on a simulated drive"));
  EXPECT_EQ(h.dialogs.portSetupsShown[0].selected, 4);
  EXPECT_THAT(h.opened, ElementsAre("/dev/ttyUSB0", PortNameFor(1)));
  EXPECT_EQ(h.state.portInUse, PortNameFor(1));
  EXPECT_EQ(h.state.portNumber, 1);
  EXPECT_EQ(h.state.portName, "");
  EXPECT_THAT(h.identified, ElementsAre(kGM));
  EXPECT_TRUE(h.dialogs.Texts(FakeDialogs::Kind::Information).empty());

  // During an exchange the choice waits for the next start; Cancel changes nothing.
  h.state.exchangeRunning = true;
  h.dialogs.portChoices.push_back(5);
  BoxOptionsClick(h.session);
  EXPECT_EQ(h.dialogs.portSetupsShown[1].selected, 0);
  EXPECT_EQ(h.state.portName, "Simulator");
  EXPECT_EQ(h.state.portInUse, PortNameFor(1));
  EXPECT_THAT(h.dialogs.Texts(FakeDialogs::Kind::Information),
              ElementsAre("Changes will be effective at next program execution"));
  h.dialogs.portChoices.push_back(std::nullopt);
  BoxOptionsClick(h.session);
  EXPECT_EQ(h.state.portName, "Simulator");
  EXPECT_EQ(h.opened.size(), 2u);
}

}  // namespace
}  // namespace vyk::test
