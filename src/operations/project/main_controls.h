#pragma once
// The main window's controls that edit the image, and the handler rule: a control's handler
// runs whenever its value changes, whether the user or the program changed it.
#include <string>

#include "operations/project/session.h"

namespace vyk {

// Brings the state in line with the project and the connection and repaints the window.
void RefreshWindow(Session& s);

// Redraws the table curve from the image, with the axis titles of the current kinds. An
// adjusted curve drawn in other units than the new axes' is dropped.
void PlotTable(Session& s);

// Draws the last reading again (its labels and adjusted curve) in the current kinds.
void ShowReading(Session& s);

// Where a reading sits on the chart: its input against its output, in the current kinds.
ChartPoint OperatingPoint(const AppState& st, int input, int output);

// What the window shows of a project that is closed: no table, curve, reading or pots, and
// the image as at start-up, so that nothing of it can be written anywhere.
void ClearProjectView(Session& s);

// The group's conversion constants and the enabling of the two radio groups.
void ApplyGroupSettings(Session& s, uint8_t group);

// Shows the image's limit, output and input kinds and invert bit, and redraws the curve.
// The handlers this runs store nothing that differs from the image.
void ImageToControls(Session& s);

// A user's choice (or a command's): runs the control's handler when the value changes. These,
// the pots and the limit do nothing while an exchange with the Box runs
// or no project is open.
void SetOutputRGrp(Session& s, int index);
void SetInputRGrp(Session& s, int index);
void SetInvertLimit(Session& s, bool ticked);
// The limit box's text changes to `text`: the change handler stores it.
void SetLimitText(Session& s, const std::string& text);
// The limit box's edit ends: its next keys are a change of their own, and it shows the limit
// as stored (14000 typed at a 13500 top shows 13500).
void EndLimitEdit(Session& s);
// Whether the limit box lets a typed character in: digits, ".", Backspace and Delete.
bool LimitKeyAccepted(char key);
// What the limit box keeps of a pasted text: the characters typing would let in.
std::string LimitPasteText(const std::string& text);

// The program puts a selection on screen to show what the image holds: the handlers run
// (and may mark the project modified) but keep the image as it is.
// The input and output kinds and the invert box as the image's mode byte has them.
void ShowModeByte(Session& s);
void ShowOutputRGrp(Session& s, int index);
void ShowInputRGrp(Session& s, int index);
void ShowInvertLimit(Session& s, bool ticked);
void ShowLimitText(Session& s, const std::string& text);

// Steps pot k (1..4) by -1 or +1 within 0..99, or with step 0 shows the image's value.
void AdjustPot(Session& s, int k, int step);

// The "Hex" box: the byte grid instead of the chart.
void ShowHexCBoxClick(Session& s, bool ticked);

// The pot byte as the pot box shows it: a signed 8-bit number.
std::string PotText(uint8_t value);

}  // namespace vyk
