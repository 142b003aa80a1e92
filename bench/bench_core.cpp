// The numeric core: one strength calculation, field texts in and out, and each text form.
#include <benchmark/benchmark.h>

#include "calc/crack.h"
#include "calc/strength.h"
#include "numtext/prefix_reading.h"
#include "numtext/strict_reading.h"
#include "numtext/text_forms.h"
#include "report/compose.h"

using namespace wallcalc;

static void StrengthOnDefaults(benchmark::State& state) {
    const FieldSet defaults;
    for (auto _ : state) {
        FieldSet fields = defaults;
        strengthCalculation(fields);
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(StrengthOnDefaults);

static void CrackOnDefaults(benchmark::State& state) {
    FieldSet defaults;
    defaults.setText(Field::Text24, "100");  // Mk as the engineer types it
    for (auto _ : state) {
        FieldSet fields = defaults;
        crackWidthCheck(fields);
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(CrackOnDefaults);

static void ReportAfterBoth(benchmark::State& state) {
    FieldSet computed;
    strengthCalculation(computed);
    crackWidthCheck(computed);
    for (auto _ : state) {
        FieldSet fields = computed;
        composeReport(fields);
        benchmark::DoNotOptimize(fields);
    }
}
BENCHMARK(ReportAfterBoth);

static void SingleText(benchmark::State& state) {
    float value = 110.26875f;
    for (auto _ : state) benchmark::DoNotOptimize(numtext::singleText(value));
}
BENCHMARK(SingleText);

static void DoubleText(benchmark::State& state) {
    double value = 32.04157667055357;
    for (auto _ : state) benchmark::DoNotOptimize(numtext::doubleText(value));
}
BENCHMARK(DoubleText);

static void FixedText(benchmark::State& state) {
    float value = 1234.56789f;
    for (auto _ : state) benchmark::DoNotOptimize(numtext::fixedText(value, 4));
}
BENCHMARK(FixedText);

static void PrefixReading(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(numtext::prefixReading("32.0415766705536"));
}
BENCHMARK(PrefixReading);

static void StrictReading(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(numtext::strictReading(" 1,234.5678 "));
}
BENCHMARK(StrictReading);

BENCHMARK_MAIN();
