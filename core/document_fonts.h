#pragma once
// The fonts a document handed to the word processor names: those a reviewer's Windows has. The
// Asian text is marked Simplified Chinese, so that where SimSun or SimHei is missing (as on
// Linux) the office asks the system for a face that draws the mainland forms (Noto Serif/Sans
// CJK SC here) rather than the Japanese forms of the same characters. The names stay single: a
// list such as "SimSun;Noto Serif CJK SC" is one font name to Word, which it does not have. A
// reviewer's machine may have none of the faces used, so a PDF embeds them.

#include <string_view>

namespace wallcalc::document_fonts {

inline constexpr std::string_view kBody = "SimSun";
inline constexpr std::string_view kHeading = "SimHei";
inline constexpr std::string_view kLatin = "Times New Roman";

}  // namespace wallcalc::document_fonts
