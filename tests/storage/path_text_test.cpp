// File names with letters beyond ASCII: saved, listed and read back under the same name on
// every system (Windows' own narrow conversions would change them).
#include "storage/path_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "storage/atomic_file.h"
#include "storage/regular_file.h"
#include "support/temp_folder.h"

namespace vyk {
namespace {

TEST(PathText, NamesBeyondAsciiSurviveASaveAListingAndARead) {
  test::TempFolder folder;
  const std::set<std::string> names = {"plain.VYK", "m\u00e9.maf", "Pr\u00fcfstand \u00e9.VYK",
                                       "\u65e5\u672c.VYK"};
  for (const std::string& name : names) {
    const std::string path = PathText(folder.Path() / PathOf(name));
    WriteFileReplacing(path, name);
    RegularFile file(path, RegularFile::Access::Read);
    EXPECT_EQ(file.Read(100), name);
  }
  std::set<std::string> listed;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    listed.insert(PathText(entry.path().filename()));
  EXPECT_EQ(listed, names);
}

}  // namespace
}  // namespace vyk
