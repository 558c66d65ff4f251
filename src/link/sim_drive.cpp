#include "link/sim_drive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "model/conversions.h"

namespace vyk {

namespace {

struct Moment {
  double seconds;
  double volts;  // the meter's signal
};

// Straight lines between these, the cycle's end joining its start.
constexpr std::array<Moment, 15> kDrive{{
    {0, 1.00},  // idle
    {8, 1.00},  //
    {9, 1.30},  // pull-away
    {12, 2.60},
    {13, 2.10},  // the gear change
    {16, 2.45},
    {22, 2.30},  // cruise
    {28, 2.35},
    {29, 2.45},
    {30, 4.40},  // full throttle
    {35, 4.85},
    {36, 0.80},  // lift-off: the throttle shut, below idle
    {39, 0.95},
    {41, 1.00},  // idle again
    {45, 1.00},
}};

}  // namespace

uint16_t DriveInput(double seconds) {
  double t = std::fmod(seconds, kDriveCycleSeconds);
  if (t < 0) t += kDriveCycleSeconds;
  size_t k = 1;
  while (k + 1 < kDrive.size() && kDrive[k].seconds <= t)
    ++k;
  const Moment& a = kDrive[k - 1];
  const Moment& b = kDrive[k];
  double volts = a.volts + (b.volts - a.volts) * (t - a.seconds) / (b.seconds - a.seconds);
  // An engine is never quite steady: a slow wave and a faster flutter.
  constexpr double kTwoPi = 2 * std::numbers::pi;
  volts += 0.03 * std::sin(kTwoPi * 0.35 * seconds) + 0.01 * std::sin(kTwoPi * 4.7 * seconds);
  const double count = std::nearbyint(volts * kInputCountsPerVolt);
  return static_cast<uint16_t>(std::clamp(count, 0.0, 1023.0));
}

}  // namespace vyk
