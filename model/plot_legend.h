// The plot's legend: where it stands and what it says, for the drawn plot and its SVG picture.
// Constants only; any thread.
#pragma once

#include <cstdint>

// The legend's line, below the read-outs: its top at PlotBottom + kLegendOffset, a dotted green
// sample from x = 20 to 60 and a solid red one from 200 to 240 (7 pixels down), and its texts.
constexpr int32_t kLegendOffset = 75;
constexpr int32_t kLegendLoopSample[2] = {20, 60};    // x range of the limiting loop's sample
constexpr int32_t kLegendCurveSample[2] = {200, 240}; // x range of the curve's sample
constexpr int32_t kLegendSampleDrop = 7;              // the samples' y below the line's top
// Only while a measurement is shown: a solid blue sample and its text after the axes' names.
constexpr int32_t kLegendMeasurementSample[2] = {650, 690}; // x range of the measurement's sample

// One text of the legend.
struct LegendText {
    int32_t x;        // left edge of the text in window pixels
    const char* text; // drawn in black
};
constexpr LegendText kLegendTexts[] = {
    {68, "limiting loop"},
    {248, "curve"},
    {320, "H = field / Hs, B = induction / Bs"},
};
constexpr LegendText kLegendMeasurementText = {698, "measurement"};
