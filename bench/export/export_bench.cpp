// The export from the press to the filled document, through the real helper: with the office
// already running (warm), and with the office started at the press (cold), from a profile
// that has been used before and from a new one.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "office/office.h"
#include "tests/support/office/headless_office.h"
#include "tests/support/sample_report.h"

namespace {

using wallcalc::testing::HeadlessOffice;

void exportOnce(const std::string& connection, const std::string& report) {
    ::setenv("WALLCALC_OFFICE", connection.c_str(), 1);
    ::setenv("WALLCALC_OFFICE_ALLOW_HIDDEN", "1", 1);  // the benchmark's office is headless
    wallcalc::makePlatformOffice()->exportReport(report);
}

void BM_ExportWarm(benchmark::State& state) {
    HeadlessOffice office;
    const std::string report = wallcalc::testing::sampleReport();
    exportOnce(office.connection(), report);  // the first document loads Writer's modules
    for (auto _ : state) exportOnce(office.connection(), report);
}
BENCHMARK(BM_ExportWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The office is started at the press and reached as soon as it answers.
void coldExports(benchmark::State& state, const std::string& profile) {
    const std::string report = wallcalc::testing::sampleReport();
    for (auto _ : state) {
        auto office = std::make_unique<HeadlessOffice>(false, profile);
        exportOnce(office->connection(), report);
        state.PauseTiming();
        office.reset();  // terminated and reaped
        state.ResumeTiming();
    }
}

void BM_ExportCold(benchmark::State& state) {
    const std::filesystem::path profile = std::filesystem::temp_directory_path() / "wallcalc-bench-profile";
    std::filesystem::remove_all(profile);
    { HeadlessOffice firstStart(true, profile.string()); }
    coldExports(state, profile.string());
    std::filesystem::remove_all(profile);
}
BENCHMARK(BM_ExportCold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ExportColdNewProfile(benchmark::State& state) { coldExports(state, {}); }
BENCHMARK(BM_ExportColdNewProfile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
