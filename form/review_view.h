#pragma once
// What the review window shows, worked out without a toolkit: the review of the wall with the
// options as the window holds them, the four buttons' figures for the same wall (on a copy of the
// fields), the texts of the results table, the comparison lines and the status line. Both views
// draw these; a refused input leaves the last good view in place, greyed, with the reason.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields.h"
#include "form/review_layout.h"
#include "review/review.h"

namespace wallcalc::form {

struct ReviewView {
    review::Result result;
    std::vector<review::DiagramPoint> points;  // kDiagramPoints along the wall
    std::vector<std::string> columns;          // a section each: 底部支座, 跨中, 顶部支座
    std::array<std::string, kResultRowCount> rowHeaders;
    std::vector<std::array<std::string, kResultRowCount>> cells;  // by column
    std::string fourButtons;                                      // 四个按钮（原算法）：…
    std::string summary;                                          // 本复核：…
    std::string status;                                           // 复核完成（…）：…
};

// An option's text as the window holds it (the engineer's text, refused or not).
using OptionTextOf = std::function<std::string(std::string_view key)>;

// The review of `fields` with the options' texts. Throws FaultError for an input or an option
// that the review refuses; refusedStatus() gives the status line for it.
ReviewView reviewOf(const FieldSet& fields, const OptionTextOf& optionText);
std::string refusedStatus(const std::string& why);

std::string sectionWord(std::string_view name);  // 底部支座, 跨中, 顶部支座
std::string fixedText(double value, int decimals);

}  // namespace wallcalc::form
