#pragma once
// What the match dialog shows beside its grid for the two meters selected, before and after a
// Match: both meters' curves, the transfer curve their match gives and the warnings about them.
#include <string>
#include <vector>

#include "match/match_warnings.h"
#include "model/app_state.h"

namespace vyk {

struct MatchDialog;

struct MatchPreview {
  // Flow, in the units of the meter to match, against signal; in order of signal.
  std::vector<ChartPoint> useCurve;
  std::vector<ChartPoint> matchCurve;
  bool useIsFrequency = false;
  bool matchIsFrequency = false;
  bool metric = false;  // the flows are in kg/hr, else lb/hr
  // For each input code with an output: its input signal against the output signal.
  std::vector<ChartPoint> transfer;
  std::vector<MatchWarning> warnings;
  std::string problem;  // why the selected meters give no match; empty when they do
};

// Reads the two selected meters of the project's group folder and matches them as the Match
// button would, without a message box: a file that cannot be read, or a point that is no
// number, becomes the preview's problem. An empty preview while either list has no selection.
MatchPreview PreviewMatch(const AppState& state, const MatchDialog& d);

}  // namespace vyk
