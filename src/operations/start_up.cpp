#include "operations/start_up.h"

#include <filesystem>

#include "model/errors.h"
#include "operations/main_controls.h"

namespace vyk {

void FormCreate(Session& s, const std::string& appFolder) {
  AppState& st = s.state;
  st.appFolder = appFolder;
  st.meterFolder = appFolder;
  for (uint8_t group : {kFord, kGM, kImport}) {
    std::error_code ec;
    std::filesystem::create_directories(appFolder + GroupName(group), ec);
    if (ec)
      throw InOutError("Cannot create folder " + appFolder + GroupName(group) + ": " +
                       ec.message());
  }
  st.conversion = ConversionSettings();
  Controls& c = st.controls;
  c.showHex = false;
  c.inputRGrpEnabled = c.outputRGrpEnabled = false;
  c.inputRGrp = c.outputRGrp = kVoltage;
  c.learnLabel.clear();
  c.dataInLabel.clear();
  c.dataOutLabel.clear();
  st.projectState = ProjectState::NoProject;
  st.image = EepromImage();
  st.matchTable.reset();
  st.projectModified = false;
  s.view.ControlsChanged();
  RefreshWindow(s);
}

}  // namespace vyk
