#include "operations/project/undo_history.h"

#include "model/entry_text.h"
#include "model/groups.h"
#include "model/text/number.h"
#include "operations/project/main_controls.h"
#include "operations/project/session.h"

namespace vyk {

namespace {

UndoHistory::Project Current(const AppState& state) {
  return {state.image, state.header, state.provenance, state.damagedProvenance};
}

}  // namespace

ProjectChange::ProjectChange(Session& s, std::string name, bool mergeable)
    : s_(s), name_(std::move(name)), mergeable_(mergeable), before_(Current(s.state)) {
  ++s.history.depth_;
}

ProjectChange::~ProjectChange() {
  UndoHistory& h = s_.history;
  if (--h.depth_ > 0) return;
  const UndoHistory::Project now = Current(s_.state);
  if (!(now == before_)) {
    const bool merge = mergeable_ && h.mergeOpen_ && !h.undo_.empty() && h.undo_.back().mergeable &&
                       h.undo_.back().name == name_;
    if (merge && h.undo_.back().project == now) {
      // Typed and taken back again: the step has nothing left to undo.
      h.state_ = h.undo_.back().state;
      h.undo_.pop_back();
    } else {
      if (!merge) {
        h.undo_.push_back({name_, before_, h.state_, mergeable_});
        if (h.undo_.size() > UndoHistory::kMaxSteps) h.undo_.erase(h.undo_.begin());
      }
      h.state_ = h.nextState_++;
    }
    h.redo_.clear();
    h.mergeOpen_ = mergeable_;
  }
  if (!s_.state.projectModified) {
    h.cleanState_ = h.state_;
    h.hasClean_ = true;
    h.mergeOpen_ = false;
  }
  s_.view.HistoryChanged();
}

namespace {

// Shows a project put back by Undo or Redo as Open or Retrieve would show it; the handlers it
// runs are part of the undo, not changes of their own.
void ShowProject(Session& s) {
  AppState& st = s.state;
  const HardwareGroup* group = FindGroup(st.header.Group());
  st.controls.groupLabel = group != nullptr ? std::string(group->name) : "?";
  ShowModeByte(s);
  for (int k = 1; k <= 4; ++k)
    AdjustPot(s, k, 0);
  ShowLimitText(s, Trim(EntryOutputText(st, kLimitEntry)));
  PlotTable(s);
}

}  // namespace

bool UndoHistory::Travel(Session& s, std::vector<Step>& from, std::vector<Step>& to) {
  if (RefusedDuringExchange(s)) return false;
  UndoHistory& h = s.history;
  if (from.empty() || h.depth_ > 0) return false;
  Step step = std::move(from.back());
  from.pop_back();
  to.push_back({step.name, Current(s.state), h.state_, false});
  s.state.image = step.project.image;
  s.state.header = step.project.header;
  s.state.provenance = step.project.provenance;
  s.state.damagedProvenance = step.project.damagedProvenance;
  h.state_ = step.state;
  h.mergeOpen_ = false;
  ++h.depth_;
  ShowProject(s);
  --h.depth_;
  s.state.projectModified = !(h.hasClean_ && h.cleanState_ == h.state_);
  RefreshWindow(s);
  s.view.HistoryChanged();
  return true;
}

bool Undo(Session& s) {
  return s.history.Travel(s, s.history.undo_, s.history.redo_);
}

bool Redo(Session& s) {
  return s.history.Travel(s, s.history.redo_, s.history.undo_);
}

void StartHistory(Session& s) {
  UndoHistory& h = s.history;
  h.undo_.clear();
  h.redo_.clear();
  h.state_ = h.nextState_++;
  h.cleanState_ = h.state_;
  h.hasClean_ = !s.state.projectModified;
  h.mergeOpen_ = false;
  s.view.HistoryChanged();
}

void MarkProjectClean(Session& s) {
  UndoHistory& h = s.history;
  h.cleanState_ = h.state_;
  h.hasClean_ = true;
  h.mergeOpen_ = false;
  s.view.HistoryChanged();
}

void EndMergedChange(Session& s) {
  s.history.mergeOpen_ = false;
}

UndoMenuLook UndoMenu(const Session& s) {
  UndoMenuLook look;
  const UndoHistory& h = s.history;
  const bool open = !s.state.exchangeRunning && s.state.projectState != ProjectState::NoProject;
  look.undo = open && h.CanUndo();
  look.redo = open && h.CanRedo();
  if (h.CanUndo()) look.undoText += " " + h.UndoName();
  if (h.CanRedo()) look.redoText += " " + h.RedoName();
  return look;
}

}  // namespace vyk
