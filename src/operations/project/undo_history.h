#pragma once
// Undo and redo of the changes to the project. Each named change keeps the project (image,
// header and the record of how the table was made) as it was before it; Undo puts that back and
// keeps the present for Redo. The state the project was last saved, opened, created or retrieved in
// is remembered, so stepping back to it clears the modified flag again.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/eeprom_image.h"
#include "model/project_header.h"

namespace vyk {

struct Session;

class UndoHistory {
 public:
  struct Project {
    Project() = default;
    Project(const EepromImage& i, const ProjectHeader& h,
            const std::optional<Provenance>& p = std::nullopt,
            const std::optional<AppState::DamagedProvenance>& d = std::nullopt)
        : image(i), header(h), provenance(p), damagedProvenance(d) {}

    EepromImage image;
    ProjectHeader header;
    std::optional<Provenance> provenance;
    std::optional<AppState::DamagedProvenance> damagedProvenance;
    bool operator==(const Project&) const = default;
  };

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The name of the change Undo or Redo would take back or make again; empty when none.
  std::string UndoName() const { return undo_.empty() ? "" : undo_.back().name; }
  std::string RedoName() const { return redo_.empty() ? "" : redo_.back().name; }
  size_t UndoCount() const { return undo_.size(); }

 private:
  friend class ProjectChange;
  friend bool Undo(Session& s);
  friend bool Redo(Session& s);
  friend void StartHistory(Session& s);
  friend void MarkProjectClean(Session& s);
  friend void EndMergedChange(Session& s);

  struct Step {
    std::string name;
    Project project;     // the project on the other side of the step
    uint64_t state = 0;  // the name of that state of the project
    bool mergeable = false;
  };

  // Enough for a long session of edits; the oldest go first.
  static constexpr size_t kMaxSteps = 500;

  // Undo (from undo_ to redo_) or Redo (the other way round).
  static bool Travel(Session& s, std::vector<Step>& from, std::vector<Step>& to);

  std::vector<Step> undo_;
  std::vector<Step> redo_;
  uint64_t state_ = 0;       // names the project as it stands now
  uint64_t nextState_ = 1;   // the name the next state gets
  uint64_t cleanState_ = 0;  // the state with nothing to save, when hasClean_
  bool hasClean_ = true;     // false: a project opened with changes to save has none
  int depth_ = 0;            // changes in progress: the outermost one is the step
  bool mergeOpen_ = false;   // the last step may take in the next change of its kind
};

// Records one named change to the project: made before the change, it keeps the project as it
// was, and at its end (if this is the outermost change and the project changed) pushes the step
// and drops what Redo could have made again. A change made inside another is part of it. A
// mergeable change of the same name right after the last one joins it (the limit box stores
// each key as it is typed, and those keys are one change to the user). A change that leaves
// the project unmodified (a Retrieve of the bytes it already held) makes its result the state with
// nothing to save.
class ProjectChange {
 public:
  ProjectChange(Session& s, std::string name, bool mergeable = false);
  ~ProjectChange();
  ProjectChange(const ProjectChange&) = delete;
  ProjectChange& operator=(const ProjectChange&) = delete;

 private:
  Session& s_;
  std::string name_;
  bool mergeable_;
  UndoHistory::Project before_;
};

// Edit > Undo and Edit > Redo: put the project back as it was before (or after) the last
// change and show it. False, changing nothing, when there is nothing to take back or an
// exchange with the Box runs.
bool Undo(Session& s);
bool Redo(Session& s);

// New, Open and Close: a history of the project now on screen, with nothing to save.
void StartHistory(Session& s);
// A save: the project as it stands has nothing to save; the history stays.
void MarkProjectClean(Session& s);
// Ends the merging of limit keys: the next key starts a change of its own.
void EndMergedChange(Session& s);

// The Edit menu's two entries: "Undo " or "Redo " and the change's name, enabled only when
// there is a change to take back or make again and no exchange with the Box runs.
struct UndoMenuLook {
  bool undo = false;
  bool redo = false;
  std::string undoText = "Undo";
  std::string redoText = "Redo";
  bool operator==(const UndoMenuLook&) const = default;
};
UndoMenuLook UndoMenu(const Session& s);

}  // namespace vyk
