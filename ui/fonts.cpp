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

QStringList familiesListed(const QStringList& wanted, QStringList listed) {
    // A family that several foundries make is listed as "family [foundry]".
    for (QString& name : listed)
        if (const qsizetype bracket = name.indexOf(QStringLiteral(" [")); bracket > 0) name.truncate(bracket);
    QStringList families;
    for (const QString& family : wanted)
        if (listed.contains(family, Qt::CaseInsensitive)) families << family;
    return families.isEmpty() ? wanted : families;
}

QStringList faceFamilies(Face face, bool bold) {
    // A name the font database lacks is no cheap miss: Qt asks fontconfig for that name's
    // substitutes, a sort of every installed font, for each script a text holds, before it tries
    // the next name. Left out, the first installed family is found at once and draws the same.
    return familiesListed(allFaceFamilies(face, bold), QFontDatabase::families());
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
