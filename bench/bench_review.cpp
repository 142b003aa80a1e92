// The review of one wall: loads, the exact beam under G and Q, every section with the given
// bars and the choice among the 96 candidates; and its JSON.
#include <benchmark/benchmark.h>

#include "review/review.h"

using namespace wallcalc;

static void ReviewOnDefaults(benchmark::State& state) {
    const FieldSet defaults;
    const review::Options options;
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewWall(defaults, options));
}
BENCHMARK(ReviewOnDefaults);

// Three sections, two ULS combinations, the water table and the ground inside the storey.
static void ReviewFixed2002(benchmark::State& state) {
    FieldSet fields;
    fields.setText(Field::Text2, "2");
    fields.setText(Field::Text3, "4");
    review::Options options;
    review::setOption(options, "edition", "2002");
    review::setOption(options, "support", "fixed");
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewWall(fields, options));
}
BENCHMARK(ReviewFixed2002);

// A section no candidate satisfies: the choice walks all 96.
static void ReviewNothingPasses(benchmark::State& state) {
    FieldSet fields;
    fields.setText(Field::Text4, "120");
    const review::Options options;
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewWall(fields, options));
}
BENCHMARK(ReviewNothingPasses);

// Three storeys, the envelope of both top-slab models, 通长 + 附加 on the soil face and the
// crack check's own water table: seven sections, four supports.
static void ReviewThreeStoreysEnvelope(benchmark::State& state) {
    FieldSet fields;
    fields.setText(Field::Text3, "12");
    review::Options options;
    review::setOption(options, "upper_storeys", "3600/3900");
    review::setOption(options, "support", "envelope");
    review::setOption(options, "bars_out", "16@200+14@200");
    review::setOption(options, "h1_sls", "3");
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewWall(fields, options));
}
BENCHMARK(ReviewThreeStoreysEnvelope);

static void ReviewThreeStoreys(benchmark::State& state) {
    FieldSet fields;
    fields.setText(Field::Text3, "12");
    review::Options options;
    review::setOption(options, "upper_storeys", "3600/3900");
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewWall(fields, options));
}
BENCHMARK(ReviewThreeStoreys);

static void ReviewJson(benchmark::State& state) {
    const review::Result result = review::reviewWall(FieldSet(), review::Options());
    for (auto _ : state) benchmark::DoNotOptimize(review::reviewJson(result));
}
BENCHMARK(ReviewJson);

BENCHMARK_MAIN();
