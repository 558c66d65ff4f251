#include "operations/meters/rematch.h"

#include "match/compute_match.h"
#include "model/groups.h"
#include "operations/meters/match_dialog.h"
#include "operations/project/main_controls.h"
#include "operations/project/undo_history.h"

namespace vyk {

bool CanRematch(const AppState& state) {
  // A newer version's record is offered too: Rematch then says why it cannot use it.
  return state.projectState != ProjectState::NoProject &&
         (state.provenance || (state.damagedProvenance && state.damagedProvenance->newer));
}

bool RematchClick(Session& s, HandEdits edits) {
  if (RefusedDuringExchange(s) || RefusedWithoutProject(s)) return false;
  AppState& st = s.state;
  if (!st.provenance) {
    if (st.damagedProvenance && st.damagedProvenance->newer)
      s.dialogs.Error(
          "The table's record of how it was made was written by a newer version of Vyk Edit, "
          "which this version cannot read: the table was not made again. Match the meters "
          "again.");
    return false;
  }
  const Provenance made = *st.provenance;
  // As for Copy E2P: another group's constants would give outputs the project's Box misreads.
  if (made.settings.group != st.header.Group()) {
    s.dialogs.Error("The table was matched with the " + GroupText(made.settings.group) +
                    " constants and the project's group is now " + GroupText(st.header.Group()) +
                    ": a table goes into a project only as computed with the project's own "
                    "constants. Match the meters again.");
    return false;
  }
  const std::vector<int> edited = EditedEntries(made, st.image);
  if (!edited.empty() && edits == HandEdits::Ask) {
    switch (s.dialogs.Question("Entries " + EntryRangesText(edited) +
                                   " were edited by hand since the table was matched. Keep "
                                   "those edits? (No overwrites them with the match.)",
                               QuestionButtons::YesNoCancel)) {
      case Answer::Yes:
        edits = HandEdits::Keep;
        break;
      case Answer::No:
        edits = HandEdits::Overwrite;
        break;
      default:
        return false;
    }
  }

  const MeterRecord use(made.use);
  const MeterRecord match(made.match);
  // A table of its own: the match dialog's result stays as the dialog shows it.
  MatchTable table;
  ComputeMatch(use, match, made.settings.hertzPerCount, made.settings.maxOutputCount, table);
  if (const int code = FirstUncopiableCode(table); code >= 0) {
    s.dialogs.Error(NoOutputValueText(code, "the table was not made again"));
    return false;
  }

  const EepromImage before = st.image;
  ProjectChange change(s, "Rematch");
  TransferMatch(s, table, MatchLabels(use, match));
  st.provenance->result = TableEntriesOf(st.image);
  if (edits == HandEdits::Keep) {
    for (int k : edited)
      st.image.SetEntry(k, before.Entry(k));
  }
  PlotTable(s);
  if (st.image == before) {
    // Otherwise nothing would tell that Rematch ran.
    s.view.StatusMessage(edits == HandEdits::Keep && !edited.empty()
                             ? "Rematch changed nothing: the table already equals the match "
                               "but for the entries edited by hand"
                             : "Rematch changed nothing: the table already equals the match");
  } else {
    st.projectModified = true;
  }
  RefreshWindow(s);
  return true;
}

}  // namespace vyk
