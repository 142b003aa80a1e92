#pragma once
// The control identifiers of wallcalc.exe's windows. A test program that drives the windows
// through messages finds the controls by these.

#include "core/fields.h"

namespace wallcalc::win32 {

// The window classes.
inline constexpr const wchar_t* kForm1Class = L"Form1";
inline constexpr const wchar_t* kReviewClass = L"WallcalcReview";

// The field controls of Form1: 1000 plus the field's place in core/fields.h.
constexpr int fieldId(Field field) { return 1000 + static_cast<int>(field); }
// CommandN: 1100 + N (Command5, 现行规范复核, opens the review window).
constexpr int commandId(int number) { return 1100 + number; }
inline constexpr int kPictureId = 1200;

// The review window: its status line, the four buttons' line and the review's line, its report
// buttons, its option controls (2100 + the option's place in the table of options) and the cells
// of its results table (2200 + row × kReviewColumns + column; the row headers 2150 + row, the
// columns' 2190 + column). A column a section, from the top: four storeys with a fixed top slab
// have nine.
inline constexpr int kReviewStatusId = 2001;
inline constexpr int kReviewCompareId = 2003;
inline constexpr int kReviewSummaryId = 2004;
inline constexpr int kReviewShearId = 2005;     // the shear at every support
inline constexpr int kReviewWarningsId = 2006;  // the reviewer's warnings; hidden when there are none
inline constexpr int kReviewReportId = 2010;
inline constexpr int kReviewExportId = 2011;
inline constexpr int kReviewOptionBase = 2100;
inline constexpr int kReviewCellBase = 2200;
inline constexpr int kReviewColumns = 9;
inline constexpr int kReviewReportTextId = 2400;  // the text of the review report's window

}  // namespace wallcalc::win32
