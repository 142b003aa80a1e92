#pragma once
// The window's faces. The layout was drawn for the Windows Song (宋体, 新宋体) and Kai
// (楷体_GB2312) faces. Where they are missing, as on Linux, each font lists the nearest Debian
// faces after the Windows names; fontconfig has no alias for these names, so the mapping has to
// live here.

#include <QFont>
#include <QStringList>

#include "form/layout.h"

namespace wallcalc::ui {

enum class Face {
    Song,     // 宋体
    NewSong,  // 新宋体
    Kai,      // 楷体_GB2312
};

// The family list of a face, Windows names first, less the names the font database lacks (see
// familiesListed). A bold Song face prefers a family with a real bold weight.
QStringList faceFamilies(Face face, bool bold = false);

// The families of `wanted` that the font database lists (QFontDatabase::families()), in their
// order; all of `wanted` where it lists none of them, so that fontconfig chooses as it would.
QStringList familiesListed(const QStringList& wanted, QStringList listed);

// The face at the given size. Song faces at 12 pt and below are drawn without antialiasing, so
// the fonts' built-in bitmaps are used and the small text stays crisp.
QFont faceFont(Face face, qreal pointSize, bool bold = false);

// A font of the layout tables, by the family name the window gives it.
Face faceOf(std::string_view family);
QFont layoutFont(const form::Font& font);

// The default user-interface font: 宋体 9 pt.
QFont defaultUiFont();

// The family of the project's own symbol font, which draws the private-use characters of the
// calculation report.
inline constexpr const char* kSymbolFamily = "Wallcalc Symbols";

}  // namespace wallcalc::ui
