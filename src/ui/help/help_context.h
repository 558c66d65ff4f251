#pragma once
// Help contexts: each window and some controls carry a help context number in their
// "helpContext" property; F1 and the Help buttons open the page of the nearest one, walking up
// from the control the user is in.
class QWidget;

namespace vyk::ui {

inline constexpr char kHelpContextProperty[] = "helpContext";
inline constexpr int kHelpMainWindow = 1000;
inline constexpr int kHelpHowDoI = 1001;
inline constexpr int kHelpInputOutput = 1010;
inline constexpr int kHelpPots = 1020;
inline constexpr int kHelpLimit = 1030;
inline constexpr int kHelpTableGrid = 1100;
inline constexpr int kHelpTableWork = 1110;  // undo, copy, paste, range edits
inline constexpr int kHelpHexGrid = 1200;
inline constexpr int kHelpChart = 1300;
inline constexpr int kHelpLive = 1310;     // the live view, its recording, the log viewer
inline constexpr int kHelpCorrect = 1320;  // Edit > Correct From Log
inline constexpr int kHelpCompare = 1400;
inline constexpr int kHelpBoxRecord = 1510;
inline constexpr int kHelpPortSetup = 1600;
inline constexpr int kHelpTerminal = 1610;
inline constexpr int kHelpProjectSetup = 2300;
inline constexpr int kHelpProvenance = 2310;  // how the table was made, Rematch
inline constexpr int kHelpMeterEditor = 3200;
inline constexpr int kHelpMeterTools = 3210;  // scale, rehouse, blend
inline constexpr int kHelpMatch = 4200;

// The nearest help context of a widget or its parents within its window; 0 for none.
int HelpContextOf(const QWidget* widget);

// Asks for the help page of `from`'s nearest context, as F1 in it would. Windows need not know
// the help window: whoever installed the help key answers (nothing happens without one).
void RequestHelp(QWidget* from);

}  // namespace vyk::ui
