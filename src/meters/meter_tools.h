#pragma once
// The meter tools tuners ask for again and again: a meter trimmed by a percentage, a meter
// moved into a housing of another size, two meters blended into one, and the air flow at which
// a meter's signal runs into the Box's input limit. Each tool returns a new record and leaves
// its input alone; the new record keeps the part number and the first description line, and
// its points are written in the text forms the editor writes.
#include <optional>
#include <string>
#include <vector>

#include "meters/meter_record.h"

namespace vyk {

// What a tool made, and what the user should know about it.
struct ToolResult {
  MeterRecord meter;
  std::vector<std::string> warnings;
};

// Every flow times (1 + percent / 100). Throws VykError for a factor of 0 or below.
ToolResult ScaleMeter(const MeterRecord& record, double percent);

// Open cross-section of a housing: pi d^2 / 4 less the sensor post's frontal area. Any one
// unit for both (mm and mm^2, or inches and in^2).
double OpenArea(double diameter, double postArea);

// The housing's diameters and post areas, in one unit; `inches` names it in texts.
struct Housings {
  double fromDiameter = 0;
  double toDiameter = 0;
  double fromPostArea = 0;
  double toPostArea = 0;
  bool inches = false;
};

// Flows times the ratio of the new housing's open area to the old one's. Throws VykError for a
// diameter of 0 or below, a negative post area or one that leaves no open area. Warns from an
// area ratio of 1.45 on, either way, and always notes where the rule holds.
ToolResult RehouseMeter(const MeterRecord& record, const Housings& housings);

// Below `belowFlow` the first meter's curve, above `aboveFlow` the second's, linear between by
// the first meter's flow; the flows in the first meter's unit. The points are both meters'
// signals, at most 62 (spread evenly over the range when there are more). Throws VykError for
// belowFlow > aboveFlow, meters of different signal kinds, or a meter with fewer than 2 points.
ToolResult BlendMeters(const MeterRecord& first, const MeterRecord& second, double belowFlow,
                       double aboveFlow);

// A meter's points as numbers, in ascending order of signal. Throws ConvertError for a text
// that is no number.
struct CurvePoint {
  double signal = 0;
  double flow = 0;
};
std::vector<CurvePoint> MeterCurve(const MeterRecord& record);
// The curve with its flows in kg/hr (`metric`) or lb/hr, converted as the editor converts a
// flow's text, so that a blend and its preview agree.
std::vector<CurvePoint> MeterCurveIn(const MeterRecord& record, bool metric);

// The flow at `signal` on a curve: interpolated between its points, extrapolated linearly past
// either end, never below 0. Nothing for a curve of fewer than 2 points.
std::optional<double> FlowAtSignal(const std::vector<CurvePoint>& curve, double signal);
// The signal at which a curve gives `flow`: the same lines read the other way, never below 0.
std::optional<double> SignalAtFlow(const std::vector<CurvePoint>& curve, double flow);

// The highest voltage the Box's input reads: input code 255 starts at 254.5 codes.
inline constexpr double kVoltageInputLimit = 254.5 / static_cast<double>(42.666668f);

// Where the signal reaches `signalLimit`. `reached` is false when the curve never does (it
// ends falling or flat below it); `extrapolated` when it does so only past the last point.
struct Saturation {
  bool reached = false;
  bool extrapolated = false;
  double flow = 0;
};
Saturation SaturationFlow(const MeterRecord& record, double signalLimit);

}  // namespace vyk
