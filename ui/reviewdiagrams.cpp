#include "ui/reviewdiagrams.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "review/edition.h"

namespace wallcalc::ui {
namespace {

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString sectionWord(const review::Section& s, const review::Result& r) {
    return QString::fromStdString(review::sectionTitle(s, r.storeys.size()));
}

}  // namespace

ReviewDiagram::ReviewDiagram(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setObjectName(kind == Kind::Pressure ? QStringLiteral("pressureDiagram") : QStringLiteral("momentDiagram"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ReviewDiagram::setReview(const review::Result& result, std::vector<review::DiagramPoint> points) {
    result_ = result;
    points_ = std::move(points);
    hasReview_ = !points_.empty();
    update();
}

QSize ReviewDiagram::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(QStringLiteral("底部支座 M＝000.0")) * 2, metrics.height() * 24);
}

QSize ReviewDiagram::sizeHint() const { return minimumSizeHint() + QSize(20, 120); }

QRectF ReviewDiagram::plotArea() const {
    const QFontMetrics metrics(font());
    const double line = metrics.height();
    const double left = kind_ == Kind::Pressure ? metrics.horizontalAdvance(QStringLiteral("底板 ")) + 6 : 8;
    return QRectF(left, 3 * line + 8, width() - left - 10, height() - 4 * line - 14);
}

void ReviewDiagram::range(double& low, double& high) const {
    low = 0;
    high = 0;
    for (const review::DiagramPoint& p : points_) {
        if (kind_ == Kind::Pressure) {
            high = std::max(high, p.eG + p.eQ);
        } else {
            low = std::min({low, p.Muls, p.Msls});
            high = std::max({high, p.Muls, p.Msls});
        }
    }
    if (high - low <= 0) high = low + 1;
}

ReviewDiagram::Scale ReviewDiagram::scale() const {
    Scale scale;
    range(scale.low, scale.high);
    scale.area = plotArea();
    // The moment diagram keeps room for its labels on both sides.
    scale.inset = kind_ == Kind::Moment ? scale.area.width() * 0.08 : 0;
    scale.length = result_.Ltot > 0 ? result_.Ltot : 1;
    return scale;
}

double ReviewDiagram::xOf(double value) const { return scale().x(value); }

double ReviewDiagram::yOf(double x) const { return scale().y(x); }

QColor ReviewDiagram::tone(const QColor& colour) const {
    if (isEnabled()) return colour;
    const int grey = 150 + qGray(colour.rgb()) / 3;
    return QColor(grey, grey, grey);
}

void ReviewDiagram::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(tone(Qt::black));
    const QFontMetrics metrics(font());
    const QString title =
        kind_ == Kind::Pressure ? QStringLiteral("侧压力标准值（kN/m²）") : QStringLiteral("弯矩（kN·m/m）");
    painter.drawText(QPointF(4, metrics.ascent() + 2), title);
    if (!hasReview_) return;
    const Scale scale = this->scale();
    if (kind_ == Kind::Pressure)
        paintPressure(painter, scale);
    else
        paintMoment(painter, scale);
    paintLevels(painter, scale);
}

// Earth and water of G, and the surcharge Q on top of them, filled from the wall's face.
void ReviewDiagram::paintPressure(QPainter& painter, const Scale& scale) {
    const QFontMetrics metrics(font());
    const double h1 = result_.h1, gammaW = result_.options.gammaW;
    auto water = [&](const review::DiagramPoint& p) {
        return p.z > h1 && p.z > 0 ? gammaW * (p.z - std::max(h1, 0.0)) : 0.0;
    };
    auto band = [&](auto lowOf, auto highOf, const QColor& colour) {
        QPainterPath path;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const QPointF at(scale.x(highOf(points_[i])), scale.y(points_[i].x));
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        for (std::size_t i = points_.size(); i-- > 0;) path.lineTo(scale.x(lowOf(points_[i])), scale.y(points_[i].x));
        path.closeSubpath();
        painter.fillPath(path, tone(colour));
    };
    auto zero = [](const review::DiagramPoint&) { return 0.0; };
    auto earth = [&](const review::DiagramPoint& p) { return p.eG - water(p); };
    auto g = [](const review::DiagramPoint& p) { return p.eG; };
    auto all = [](const review::DiagramPoint& p) { return p.eG + p.eQ; };
    band(zero, earth, earthColour());
    band(earth, g, waterColour());
    band(g, all, surchargeColour());

    // Legend and the values at the base slab.
    const double line = metrics.height();
    double x = 4;
    const double y = line + 4;
    for (auto [colour, word] :
         {std::pair{earthColour(), QStringLiteral("土压力")}, std::pair{waterColour(), QStringLiteral("水压力")},
          std::pair{surchargeColour(), QStringLiteral("堆载")}}) {
        painter.fillRect(QRectF(x, y + 2, line - 4, line - 4), tone(colour));
        painter.setPen(tone(Qt::black));
        painter.drawText(QPointF(x + line, y + metrics.ascent()), word);
        x += line + metrics.horizontalAdvance(word) + 8;
    }
    const review::DiagramPoint& base = points_.back();
    const QString values = QStringLiteral("底：eG＝%1，eQ＝%2").arg(number(base.eG, 1), number(base.eQ, 1));
    painter.drawText(QPointF(width() - metrics.horizontalAdvance(values) - 4, height() - metrics.descent() - 2),
                     values);
}

// The ULS moment (solid) and the crack combination (dashed), hogging to the left (the soil
// face in tension), sagging to the right; each section marked with its two values.
void ReviewDiagram::paintMoment(QPainter& painter, const Scale& scale) {
    const QFontMetrics metrics(font());
    const QRectF area = scale.area;
    painter.setPen(QPen(tone(Qt::darkGray), 1));
    painter.drawLine(QPointF(scale.x(0), area.top()), QPointF(scale.x(0), area.bottom()));
    for (bool uls : {false, true}) {
        QPainterPath path;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const QPointF at(scale.x(uls ? points_[i].Muls : points_[i].Msls), scale.y(points_[i].x));
            i == 0 ? path.moveTo(at) : path.lineTo(at);
        }
        QPen pen(tone(uls ? ulsColour() : slsColour()), uls ? 2.0 : 1.5);
        if (!uls) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawPath(path);
    }

    const double line = metrics.height();
    const QString sls = result_.edition->crackMoment == review::CrackMoment::Characteristic
                            ? QStringLiteral("标准组合")
                            : QStringLiteral("准永久组合");
    double x = 4;
    const double y = line + 4 + metrics.ascent();
    for (auto [uls, word] : {std::pair{true, QStringLiteral("基本组合")}, std::pair{false, sls}}) {
        QPen pen(tone(uls ? ulsColour() : slsColour()), uls ? 2.0 : 1.5);
        if (!uls) pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(x, y - metrics.ascent() / 2.5), QPointF(x + 2 * line, y - metrics.ascent() / 2.5));
        painter.setPen(tone(Qt::black));
        painter.drawText(QPointF(x + 2 * line + 4, y), word);
        x += 2 * line + 12 + metrics.horizontalAdvance(word);
    }

    for (const review::Section& s : result_.sections) {
        const double sign = s.kind == review::SectionKind::Span ? 1 : -1;
        const QPointF at(scale.x(sign * s.Muls), scale.y(s.x));
        painter.setPen(Qt::NoPen);
        painter.setBrush(tone(ulsColour()));
        painter.drawEllipse(at, 3.5, 3.5);
        const QString top = sectionWord(s, result_) + QStringLiteral(" M＝") + number(s.Muls, 1);
        const QString bottom =
            QString::fromUtf8(result_.edition->crackSymbol.data(), result_.edition->crackSymbol.size()) +
            QStringLiteral("＝") + number(s.Msls, 1);
        const double textWidth = std::max(metrics.horizontalAdvance(top), metrics.horizontalAdvance(bottom));
        // On the other side of the axis, where that part of the wall has no curve to cover.
        double left = sign > 0 ? scale.x(0) - 6 - textWidth : scale.x(0) + 6;
        left = std::clamp(left, 2.0, width() - textWidth - 2);
        double baseline = s.kind == review::SectionKind::Base  ? at.y() - line - 6
                          : s.kind == review::SectionKind::Top ? at.y() + line + 4
                                                               : at.y();
        baseline = std::clamp(baseline, area.top() + metrics.ascent() + 4, area.bottom() - line - 4);
        painter.setPen(tone(Qt::black));
        painter.drawText(QPointF(left, baseline), top);
        painter.drawText(QPointF(left, baseline + line), bottom);
    }
}

// The slabs at the top and the bottom edge and between the storeys, the ground and the water
// table where they fall within the wall, and a note where they lie above the top slab.
void ReviewDiagram::paintLevels(QPainter& painter, const Scale& scale) {
    const QFontMetrics metrics(font());
    const QRectF area = scale.area;
    const double topZ = result_.H - result_.Ltot;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(tone(QColor(90, 90, 90)), 4));
    painter.drawLine(QPointF(area.left() - 4, area.top()), QPointF(area.right(), area.top()));
    painter.drawLine(QPointF(area.left() - 4, area.bottom()), QPointF(area.right(), area.bottom()));
    double slab = 0;
    for (std::size_t i = 0; i + 1 < result_.storeys.size(); ++i) {
        slab += result_.storeys[i];
        painter.setPen(QPen(tone(QColor(90, 90, 90)), 3));
        painter.drawLine(QPointF(area.left() - 4, scale.y(slab)), QPointF(area.right(), scale.y(slab)));
        if (kind_ == Kind::Pressure) {
            painter.setPen(tone(Qt::black));
            painter.drawText(QPointF(2, scale.y(slab) + metrics.ascent() / 2.0), QStringLiteral("楼板"));
        }
    }
    painter.setPen(tone(Qt::black));
    if (kind_ == Kind::Pressure) {
        painter.drawText(QPointF(2, area.top() + metrics.ascent() / 2.0), QStringLiteral("顶板"));
        painter.drawText(QPointF(2, area.bottom() + metrics.ascent() / 2.0), QStringLiteral("底板"));
    }
    struct Level {
        double z;
        QString word;
        QColor colour;
    };
    const Level levels[] = {{0, QStringLiteral("地面"), earthColour().darker(130)},
                            {result_.h1, QStringLiteral("水位"), waterColour().darker(120)}};
    double noteY = area.top() + metrics.ascent() + 6;
    for (const Level& level : levels) {
        const double x = level.z - topZ;
        if (x > 0 && x < result_.Ltot) {
            painter.setPen(QPen(tone(level.colour), 1.5, Qt::DashLine));
            painter.drawLine(QPointF(area.left(), scale.y(x)), QPointF(area.right(), scale.y(x)));
            painter.setPen(tone(level.colour));
            painter.drawText(QPointF(area.right() - metrics.horizontalAdvance(level.word) - 2, scale.y(x) - 3),
                             level.word);
        } else if (kind_ == Kind::Pressure) {
            painter.setPen(tone(level.colour));
            const QString note = x == 0 ? level.word + QStringLiteral("在顶板处")
                                 : x < 0
                                     ? level.word + QStringLiteral("在顶板以上 %1 m").arg(number(-x, 2))
                                     : level.word + QStringLiteral("在底板以下 %1 m").arg(number(x - result_.Ltot, 2));
            painter.drawText(QPointF(area.right() - metrics.horizontalAdvance(note) - 2, noteY), note);
            noteY += metrics.height();
        }
    }
}

}  // namespace wallcalc::ui
