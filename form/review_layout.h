#pragma once
// The review window as data: its titles, the grid of option controls, the rows of the results
// table and its buttons. The window is laid out by the toolkit (rows and columns, not twips);
// what each view draws and in which order comes from here.

#include <array>
#include <span>
#include <string_view>

namespace wallcalc::form {

inline constexpr const char* kReviewTitle = "复核";
inline constexpr const char* kReviewOptionsTitle = "复核选项";
inline constexpr const char* kReviewReportTitle = "复核计算书";

// The option controls stand in a grid, label, control and unit, this many to a row, in the order
// of the review's option table. A number's box is as wide as five to nine digits.
constexpr int kOptionsPerRow = 4;
inline constexpr const char* kOptionBoxMinimum = "00000";
inline constexpr const char* kOptionBoxMaximum = "000000000";

// The results table: a column a section, these rows.
enum ResultRow {
    kRowX,
    kRowMuls,
    kRowMsls,
    kRowH0,
    kRowAs,
    kRowAsMin,
    kRowAsReq,
    kRowGiven,
    kRowAsP,
    kRowW,
    kRowVerdict,
    kRowChoice,
    kRowNext,
    kRowGoverns,
    kResultRowCount
};
// The row headers; the moment of the crack check takes the edition's symbol (Mq or Mk).
inline constexpr std::array<const char*, kResultRowCount> kResultRowHeaders{"x（m，自顶板）",
                                                                            "M 基本组合（kN·m/m）",
                                                                            "%1 裂缝验算（kN·m/m）",
                                                                            "h0（mm）",
                                                                            "As（mm²）",
                                                                            "As,min（mm²）",
                                                                            "As,req（mm²）",
                                                                            "实配钢筋",
                                                                            "As,p（mm²）",
                                                                            "w（mm）",
                                                                            "实配结论",
                                                                            "推荐配筋",
                                                                            "其次",
                                                                            "控制因素"};

struct ReviewButton {
    const char* name;
    const char* caption;
};
// 生成复核计算书 shows the review report, 复核计算书保存 hands it to the word processor.
inline constexpr ReviewButton kShowReviewReport{"showReport", "生成复核计算书"};
inline constexpr ReviewButton kExportReviewReport{"exportReport", "复核计算书保存"};

// The review follows the inputs this long after the last change, and the diagrams are drawn
// through this many points.
constexpr int kReviewDebounceMs = 150;
constexpr int kDiagramPoints = 121;

}  // namespace wallcalc::form
