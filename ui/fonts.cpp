#include "ui/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace wallcalc::ui {
namespace {

// Every name in the order given, for the layout's look on every system.
QStringList allFaceFamilies(Face face, bool bold) {
    switch (face) {
        case Face::Kai:
            return {QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi_GB2312"), QStringLiteral("楷体"),
                    QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN")};
        case Face::Song:
        case Face::NewSong: {
            QStringList families = face == Face::Song
                                       ? QStringList{QStringLiteral("宋体"), QStringLiteral("SimSun")}
                                       : QStringList{QStringLiteral("新宋体"), QStringLiteral("NSimSun")};
            // AR PL UMing has no bold weight; Noto Serif CJK has one.
            if (bold)
                families << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("AR PL UMing CN");
            else
                families << QStringLiteral("AR PL UMing CN") << QStringLiteral("Noto Serif CJK SC");
            return families;
        }
    }
    return {};
}

}  // namespace

QStringList faceFamilies(Face face, bool bold) {
    const QStringList all = allFaceFamilies(face, bold);
    // A name the font database lacks is no cheap miss: Qt asks fontconfig for that name's
    // substitutes, a sort of every installed font, for each script a text holds, before it tries
    // the next name. Left out, the first installed family is found at once and draws the same.
    // Where none is installed the whole list stands, and fontconfig chooses as before.
    const QStringList installed = QFontDatabase::families();
    QStringList families;
    for (const QString& family : all)
        if (installed.contains(family, Qt::CaseInsensitive)) families << family;
    return families.isEmpty() ? all : families;
}

QFont faceFont(Face face, qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies(faceFamilies(face, bold));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The bitmaps are drawn for 96 dpi; on a denser screen the smoothed outlines read better.
    const bool denseScreen = qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    if (face != Face::Kai && pointSize <= 12.0 && !denseScreen) font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

Face faceOf(std::string_view family) {
    if (family == form::kNewSong) return Face::NewSong;
    if (family == form::kKai) return Face::Kai;
    return Face::Song;
}

QFont layoutFont(const form::Font& font) { return faceFont(faceOf(font.family), font.points, font.bold); }

QFont defaultUiFont() { return layoutFont(form::kDefaultFont); }

}  // namespace wallcalc::ui
