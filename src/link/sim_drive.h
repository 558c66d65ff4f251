#pragma once
// A drive the simulated Box's input follows, so live readings, logs and their hit maps show an
// engine at work: idle, pull-away, cruise, a full-throttle pull and the lift-off after it,
// again and again. The same time always gives the same input, so runs can be compared.
#include <cstdint>

namespace vyk {

// Seconds the drive takes before it starts again.
inline constexpr double kDriveCycleSeconds = 45;

// The input count of the meter's signal `seconds` into the drive.
uint16_t DriveInput(double seconds);

}  // namespace vyk
