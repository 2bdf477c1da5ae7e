// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocaleNumberText.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

// The settings form formats the pay at every redraw and parses it at every
// keystroke, reading the locale afresh each time; these say what that costs.

void payFormatInAFreshLocale(benchmark::State& state) {
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    double value = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocaleNumberText::format(value));
        value += 0.01;
    }
}
BENCHMARK(payFormatInAFreshLocale);

void payParseInAFreshLocale(benchmark::State& state) {
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocaleNumberText::parse("1234,567"));
    }
}
BENCHMARK(payParseInAFreshLocale);

} // namespace
