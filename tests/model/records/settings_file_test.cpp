// vyk.ini as older versions of the program (through QSettings) and the Windows tools left it:
// escaped and quoted values, other sections, comments and line endings kept when saving.
#include "model/records/settings_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vyk {
namespace {

TEST(SettingsFile, ReadsValuesAsQSettingsWroteThem) {
  struct Case {
    const char* line;
    const char* value;
  } cases[] = {
      {R"(PortName=\\\\.\\COM3)", R"(\\.\COM3)"},
      {R"(PortName="/dev/tty, USB0")", "/dev/tty, USB0"},
      {R"(portname = " padded " ; a comment)", " padded "},
      {R"(PortName=a\"b\tc)", "a\"b\tc"},
      {"PortName=/dev/ttyUSB0\r", "/dev/ttyUSB0"},
  };
  for (const Case& c : cases) {
    const IniText ini(std::string("[Other]\nPortName=no\n[system]\n") + c.line + "\n");
    EXPECT_EQ(ini.Value("System", "PortName"), c.value) << c.line;
  }
}

TEST(SettingsFile, AwkwardValuesComeBackAsTheyWent) {
  // A control character written as "\x01" must not take a hexadecimal digit after it along.
  const std::string values[] = {R"(\\.\COM3)", " lead",      "a;b",
                                "x=y",         "\"q\"",      "tab\there",
                                "\001Ab",      "\1777\033E", std::string("\0000d", 3)};
  for (const std::string& value : values) {
    IniText ini;
    ini.Set("System", "PortName", value);
    EXPECT_EQ(IniText(ini.Text()).Value("System", "PortName"), value) << ini.Text();
  }
}

// A byte order mark is kept: dropped, a second one after it (or a first line that starts like
// one) would become the start of the file and read differently next time.
TEST(SettingsFile, TextComesBackAsItWas) {
  for (const char* text : {"[System]\nPortName=a\n", "\xEF\xBB\xBF[Other]\r\nk=v\r\n",
                           "\xEF\xBB\xBF\xEF\xBB\xBF[System]\nPortName=a\n"}) {
    EXPECT_EQ(IniText(text).Text(), text);
  }
}

TEST(SettingsFile, SaveChangesOnlyItsOwnKeysAndMakesTheFolder) {
  test::TempFolder tmp;
  const std::string folder = tmp.File("new/folder");
  SettingsFile file(folder);
  EXPECT_FALSE(file.Load().namesPort);
  file.Save({3, 9600, "/dev/ttyUSB0", true});
  const std::string saved = test::ReadBytes(file.Path());
  std::ofstream(file.Path(), std::ios::binary) << "; kept\r\n[Other]\r\nk=v\r\n" << saved;
  file.Save({4, 19200, "", true});
  EXPECT_EQ(test::ReadBytes(file.Path()),
            "; kept\r\n[Other]\r\nk=v\r\n[System]\r\nComPort=4\r\nBaudRate=19200\r\n\r\n[User]\r\n"
            "EEResume=0000\r\nEEStart=0000\r\nEEStop=0000\r\n");
  StoredSettings off = file.Load();
  EXPECT_TRUE(off.backupBeforeUpdate && off.previewBeforeUpdate);
  off.previewBeforeUpdate = false;
  file.Save(off);
  EXPECT_FALSE(file.Load().previewBeforeUpdate);
  EXPECT_TRUE(file.Load().backupBeforeUpdate);
  StoredSettings s = file.Load();
  EXPECT_EQ(s.comPort, 4);
  EXPECT_EQ(s.baudRate, 19200);
  EXPECT_TRUE(s.namesPort);
  // The window's place and its recent projects come back as they were; a shorter list
  // leaves no old name behind.
  s.windowGeometry = "AdnQywADAAA=";
  s.recentProjects = {"/cars/Camaro 1989.VYK", "C:\\cars\\a=b;c.VYK", "/x.VYK"};
  file.Save(s);
  EXPECT_EQ(file.Load().windowGeometry, s.windowGeometry);
  EXPECT_EQ(file.Load().recentProjects, s.recentProjects);
  s.recentProjects.pop_back();
  file.Save(s);
  EXPECT_EQ(file.Load().recentProjects, s.recentProjects);

  // Before a port is chosen the file names none, so the next start still looks for one.
  SettingsFile fresh(tmp.File("fresh"));
  fresh.Save({2, 9600, "", false});
  EXPECT_FALSE(fresh.Load().namesPort);
}

}  // namespace
}  // namespace vyk
