#include "ui/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace wallcalc::ui {
namespace {

// Every name in the order given, for the layout's look on every system.
QStringList allFaceFamilies(Face face, bool bold) {
    const std::string_view family = face == Face::Kai       ? form::kKai
                                    : face == Face::NewSong ? form::kNewSong
                                                            : form::kSong;
    QStringList families;
    for (std::string_view name : form::faceCandidates(family, bold))
        families << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return families;
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
