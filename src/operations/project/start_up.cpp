#include "operations/project/start_up.h"

#include <filesystem>

#include "model/errors.h"
#include "model/groups.h"
#include "operations/project/main_controls.h"
#include "storage/path_text.h"

namespace vyk {

void FormCreate(Session& s, const std::string& appFolder) {
  AppState& st = s.state;
  st.appFolder = appFolder;
  st.meterFolder = appFolder;
  for (const HardwareGroup& group : kGroups) {
    const std::string folder = appFolder + std::string(group.meterFolder);
    std::error_code ec;
    std::filesystem::create_directories(PathOf(folder), ec);
    if (ec) throw InOutError("Cannot create folder " + folder + ": " + ec.message());
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
