// A project file as File > Open and `vyk project show` read it. A file that reads writes back
// byte for byte: the header records it holds, the rest of the header as it was, then its
// image. Opening it shows it without changing the image or marking the project unsaved, and
// every cell of both grids has a text.
#include "model/records/project_file.h"
#include "operations/table/image_grids.h"
#include "support/fuzz_session.h"

using namespace vyk;
using namespace vyk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzedFile file("project.VYK", data, size);
  const std::string& path = file.path;

  // The header in memory before the read: records the file does not hold keep these bytes.
  ProjectHeader before;
  before.Bytes().fill(0xA5);
  const ProjectReadResult read = ReadProjectFile(path, before);
  if (read.status != ProjectReadStatus::Ok) {
    Require(!ProjectReadMessage(read.status, path).empty(), "a failed read has a message");
    return 0;
  }
  const size_t held = static_cast<size_t>(read.header.HeaderRecords()) * kRecordSize;
  Require(held >= kRecordSize && held <= kHeaderSize, "the header length read is 1..32 records");
  Require(size >= held + kImageSize, "a file that reads holds its header and image");
  const std::string expected =
      file.ReadOver(before.Bytes(), held) + file.bytes.substr(held, kImageSize);
  const std::string copy = file.Beside("copy.VYK");
  WriteProjectFile(copy, read.header, read.image);
  Require(ReadBytes(copy) == expected, "a project that reads writes back byte for byte");

  QuietSession quiet;
  const QuietDialogs& dialogs = quiet.dialogs;
  const AppState& state = quiet.state;
  OpenProjectFile(quiet.session, path);
  Require(dialogs.errors == 0, "a project that reads opens without an error");
  // What follows the 768 bytes may be a damaged record of how the table was made: said once.
  Require(dialogs.warnings <= 1, "a project that reads opens with one warning at most");
  Require(state.image == read.image, "opening a project leaves its image as read");
  Require(!state.projectModified, "an opened project has no unsaved changes");
  for (int row = 0; row < kTableGridRows; ++row)
    for (int column = 0; column < kTableGridColumns; ++column)
      Require(!TableGridCellText(state, column, row).empty(), "every table cell has a text");
  for (int row = 0; row < kEepromGridRows; ++row)
    for (int column = 0; column < kEepromGridColumns; ++column)
      Require(row + column == 0 || !EepromGridCellText(state, column, row).empty(),
              "every byte cell has a text");
  return 0;
}
