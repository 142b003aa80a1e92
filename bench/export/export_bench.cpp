// The export from the press to the filled document, through the real helper: with the office
// already running (warm), and with the office started at the press (cold), from a profile
// that has been used before and from a new one.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/fields.h"
#include "office/office.h"
#include "report/review_book.h"
#include "review/review.h"
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
    for (auto _ : state) {
        exportOnce(office.connection(), report);
        // Nobody looks at a headless office's documents; left open, each would grow it by
        // megabytes and slow the next.
        state.PauseTiming();
        office.closeDocuments();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExportWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// The 复核计算书 of the window's defaults saved as PDF through a warm office: as the book (headings,
// tables, figures) and as the flat text it replaced.
void saveReview(benchmark::State& state, bool asBook) {
    HeadlessOffice office;
    ::setenv("WALLCALC_OFFICE", office.connection().c_str(), 1);
    const auto document =
        wallcalc::reviewBook(wallcalc::review::reviewWall(wallcalc::FieldSet{}, {}), "2024-05-01", "B1");
    const wallcalc::Book book{wallcalc::report::book::bookJson(document), wallcalc::report::book::plainText(document)};
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "wallcalc-bench-review.pdf";
    const std::unique_ptr<wallcalc::DocumentSaver> saver = wallcalc::makePlatformOffice();
    auto save = [&] {
        if (asBook)
            saver->saveBook(book, path, wallcalc::DocumentFormat::Pdf);
        else
            saver->saveReport(book.plainText, path, wallcalc::DocumentFormat::Pdf);
    };
    save();  // the first document loads Writer's modules
    for (auto _ : state) save();
    std::filesystem::remove(path);
    ::unsetenv("WALLCALC_OFFICE");
}
void BM_SaveReviewBookWarm(benchmark::State& state) { saveReview(state, true); }
void BM_SaveReviewFlatWarm(benchmark::State& state) { saveReview(state, false); }
BENCHMARK(BM_SaveReviewBookWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SaveReviewFlatWarm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
