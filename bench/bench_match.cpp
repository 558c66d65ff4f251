// The meter match as the user waits for it: one Match press computes the whole table, and a
// Convert imports a meter text file of up to 62 points.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "match/compute_match.h"
#include "meters/meter_import.h"
#include "model/conversions.h"
#include "model/groups.h"
#include "model/text/number.h"

namespace {

vyk::MeterRecord FullMeter(bool frequency, float signalStep, float flowStep) {
  vyk::MeterRecord m;
  m.SetIsFrequency(frequency);
  m.SetPointCount(vyk::kMaxMeterPoints);
  for (int i = 1; i <= vyk::kMaxMeterPoints; ++i) {
    float signal = signalStep * i;
    m.SetSignalText(i, frequency ? vyk::HertzSignalText(signal) : vyk::VoltsSignalText(signal));
    m.SetFlowText(i, vyk::FlowValueText(flowStep * i * i / 10.0f));
  }
  return m;
}

void BM_ComputeMatch(benchmark::State& state) {
  const vyk::ConversionSettings gm = vyk::ConversionSettings::ForGroup(vyk::kGM);
  vyk::MeterRecord use = FullMeter(true, 200.0f, 9.0f);
  vyk::MeterRecord match = FullMeter(false, 0.08f, 10.0f);
  vyk::MatchTable table;
  for (auto _ : state) {
    vyk::ComputeMatch(use, match, gm.HertzPerCount, gm.MaxOutputCount, table);
    benchmark::DoNotOptimize(table);
  }
}
BENCHMARK(BM_ComputeMatch);

void BM_ImportMeterText62Points(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "vyk_bench_meter.txt").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "BENCH-0001\r\nVolts\r\nKG/HR\r\nBench meter\r\nSixty-two points\r\n";
    for (int i = 1; i <= vyk::kMaxMeterPoints; ++i)
      out << vyk::FormatFixed(0.08L * i, 1, 2) << "\t" << vyk::FormatFixed(i * i * 1.5L, 1, 2)
          << "\r\n";
  }
  vyk::MeterRecord record;
  for (auto _ : state) {
    vyk::ImportMeterText(path, record);
    benchmark::DoNotOptimize(record);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_ImportMeterText62Points);

}  // namespace
