// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/datehelpers.h"
#include "calendar/observances.h"
#include "crews/crewcatalogue.h"
#include "rotation/rotationengine.h"
#include "sheet/sheetfills.h"

#include <vector>

#include <benchmark/benchmark.h>

using namespace kelsing;

namespace {

const DaySerial kMarch2007 = DateFromParts(2007, 3, 1);

// One call of the rotation engine, walking the days so that no single position is favoured.
void BM_ASS(benchmark::State& state) {
    DaySerial date = kMarch2007;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ASS(static_cast<float>(date), 83, 2));
        date = date == kMarch2007 + 365 ? kMarch2007 : date + 1;
    }
}
BENCHMARK(BM_ASS);

// A month's shifts for one crew with each day's caption, as a sheet needs them.
void BM_MonthWithCaptions(benchmark::State& state) {
    for (auto _ : state) {
        const YearObservances observances(2007);
        for (DaySerial date = kMarch2007; date < kMarch2007 + 31; ++date) {
            benchmark::DoNotOptimize(observances.captionFor(date));
            benchmark::DoNotOptimize(ASS(static_cast<float>(date), 14, 0));
        }
    }
}
BENCHMARK(BM_MonthWithCaptions);

// The single view's whole fill of the sheet model.
void BM_Label5Update(benchmark::State& state) {
    SheetModel sheet;
    sheet.title = MonthYear{3, 2007};
    for (auto _ : state) {
        Label5Update(sheet, CrewCode(83.2), kMarch2007 + 14);
        benchmark::DoNotOptimize(sheet);
    }
}
BENCHMARK(BM_Label5Update);

// Both halves of the side-by-side view.
void BM_SideBySideFill(benchmark::State& state) {
    SheetModel sheet;
    sheet.title = MonthYear{3, 2007};
    for (auto _ : state) {
        LeftUpdate(sheet, CrewCode(70.2), kMarch2007 + 14);
        RightUpdate(sheet, CrewCode(75), kMarch2007 + 14);
        benchmark::DoNotOptimize(sheet);
    }
}
BENCHMARK(BM_SideBySideFill);

// A whole year of every crew that can be chosen.
void BM_YearOfAllCrews(benchmark::State& state) {
    std::vector<ScheduleSelection> crews;
    for (const CatalogueChoice& entry : CrewCatalogue::allChoices()) {
        crews.push_back(entry.choice.code.decode());
    }
    const DaySerial first = DateFromParts(2007, 1, 1);
    for (auto _ : state) {
        for (const ScheduleSelection crew : crews) {
            for (DaySerial date = first; date < first + 365; ++date) {
                benchmark::DoNotOptimize(ASS(static_cast<float>(date), crew.code, crew.subCode));
            }
        }
    }
    state.counters["crews"] = static_cast<double>(crews.size());
}
BENCHMARK(BM_YearOfAllCrews)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
