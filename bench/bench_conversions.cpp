// How fast the count/text conversions are: the grids repaint 33 rows and 256 bytes from them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/app_state.h"
#include "model/conversions.h"
#include "model/groups.h"
#include "operations/table/image_grids.h"

namespace {

const vyk::ConversionSettings kFord = vyk::ConversionSettings::ForGroup(vyk::kFord);
const vyk::ConversionSettings kGm = vyk::ConversionSettings::ForGroup(vyk::kGM);

void BM_OutputVoltsText(benchmark::State& state) {
  int count = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vyk::OutputVoltsText(kFord, count));
    count = (count + 1) & 1023;
  }
}
BENCHMARK(BM_OutputVoltsText);

void BM_FrequencyText(benchmark::State& state) {
  int count = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vyk::FrequencyText(kGm, vyk::kGM, count));
    count = (count + 1) & 1023;
  }
}
BENCHMARK(BM_FrequencyText);

void BM_VoltsTextToCount(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int count = 0; count < 1024; ++count)
    texts.push_back(vyk::OutputVoltsText(kFord, count));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vyk::VoltsTextToCount(kFord, texts[i]));
    i = (i + 1) & 1023;
  }
}
BENCHMARK(BM_VoltsTextToCount);

void BM_FrequencyTextToCount(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int count = 0; count < 1024; ++count)
    texts.push_back(vyk::FrequencyText(kGm, vyk::kGM, count));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vyk::FrequencyTextToCount(kGm, texts[i]));
    i = (i + 1) & 1023;
  }
}
BENCHMARK(BM_FrequencyTextToCount);

// One full repaint of both grids.
void BM_RepaintGrids(benchmark::State& state) {
  vyk::AppState app;
  app.conversion = kGm;
  app.image = vyk::NewImage(vyk::kGM);
  for (auto _ : state) {
    for (int row = 0; row < vyk::kTableGridRows; ++row)
      for (int col = 0; col < vyk::kTableGridColumns; ++col)
        benchmark::DoNotOptimize(vyk::TableGridCellText(app, col, row));
    for (int row = 0; row < vyk::kEepromGridRows; ++row)
      for (int col = 0; col < vyk::kEepromGridColumns; ++col)
        benchmark::DoNotOptimize(vyk::EepromGridCellText(app, col, row));
  }
}
BENCHMARK(BM_RepaintGrids);

}  // namespace
