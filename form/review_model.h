#pragma once
// The review window without a toolkit: it reviews the document's wall (its inputs and its review
// options) and keeps what the window shows: the last good review, the four buttons' figures for
// the same wall, the points of the two diagrams, the status line and the texts of the results.
// A refused input keeps the last good review, marked stale, with the reason in the status line.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/review_layout.h"
#include "form/wall_document.h"
#include "report/document.h"
#include "review/review.h"

namespace wallcalc::form {

class ReviewModel {
public:
    explicit ReviewModel(const WallDocument& document) : document_(document) {}

    // Reviews the document's wall now. Everything is worked out before anything is kept: a
    // refusal anywhere keeps the last good review.
    void recompute();

    const std::optional<review::Result>& result() const { return result_; }
    const std::vector<review::DiagramPoint>& points() const { return points_; }
    bool isStale() const { return stale_; }
    int reviews() const { return reviews_; }
    // The status line: the verdicts of the review, or why the inputs were refused.
    const std::string& status() const { return status_; }
    // The line of the four buttons' figures for the same wall (worked on a copy of the fields),
    // or their fault.
    const std::string& fourButtons() const { return fourButtons_; }
    // The line of the review's own figures, section by section.
    std::string reviewFigures() const;
    // The shear at every support against the concrete alone, with its verdicts.
    std::string shearFigures() const;
    // The warnings with their rules; "" when there are none.
    std::string warningsText() const;
    // The review report of the last good review, dated `date`; "" before the first.
    std::string reportText(std::string_view date) const;
    // The same as a book, its page header naming the wall by its file (reviewSubject); only
    // after a review.
    report::book::Document book(std::string_view date) const;

private:
    const WallDocument& document_;
    std::optional<review::Result> result_;
    std::vector<review::DiagramPoint> points_;
    bool stale_ = false;
    int reviews_ = 0;
    std::string status_, fourButtons_;
};

// The texts of the results table: a section's cells by row, its name as the window shows it,
// the row header of the crack check's moment by the edition's symbol (Mq or Mk).
std::array<std::string, kResultRowCount> resultCells(const review::Section& section);
std::string sectionWord(const review::Section& section, const review::Result& result);
std::string crackMomentHeader(std::string_view symbol);
// The caption of an option's word as the option controls offer it (现行规范 for current).
std::string wordCaption(std::string_view key, std::string_view word);

// The wall as a book's page header names it: its file's name without the folder and the last
// extension ("B1-north" of "D:\walls\B1-north.wall"); "" for a wall never saved.
std::string reviewSubject(std::string_view path);

// A number with `decimals` decimals, an exact tie rounded away from zero (as the window has
// always shown them); "—" for none.
std::string fixed(double value, int decimals);
std::string fixed(const std::optional<double>& value, int decimals);

}  // namespace wallcalc::form
