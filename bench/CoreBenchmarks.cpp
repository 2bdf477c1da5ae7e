// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppSettingsTesting.h"
#include "EarningsCalculator.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::filesystem::path benchmarkFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tallyglow-bench-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    return folder;
}

std::filesystem::path preferencesFile() {
    const auto file = benchmarkFolder() / "tallyglow.conf";
    std::ofstream(file) << "[General]\ndailyPay=200\nstartHour=9\nstartMinute=0\nendHour=17\n"
                           "endMinute=0\ncurrencySymbol=$\nmaskEarnings=false\n"
                           "maskWhileScreenSharing=true\n";
    return file;
}

void earnedTodayInsideTheWindow(benchmark::State& state) {
    const auto settings =
        AppSettingsTesting::make(std::make_shared<Defaults>(preferencesFile().string()));
    const Calendar& calendar = Calendar::current();
    const Instant noon = *calendar.date(2026, 6, 15, 12, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EarningsCalculator::earnedToday(*settings, noon, Calendar::current()));
    }
}
BENCHMARK(earnedTodayInsideTheWindow);

void currentCalendarRevalidation(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(&Calendar::current());
    }
}
BENCHMARK(currentCalendarRevalidation);

void storeConstructionFromAFile(benchmark::State& state) {
    const auto file = preferencesFile().string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(AppSettingsTesting::make(std::make_shared<Defaults>(file)));
    }
}
BENCHMARK(storeConstructionFromAFile);

} // namespace

BENCHMARK_MAIN();
