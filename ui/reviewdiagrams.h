#pragma once
// The two pictures of the review window, side by side with the wall's top at the top of both:
// the pressure on the wall (earth, water, surcharge; ground, water table and slabs marked) and
// the bending moment of the ULS and the crack combination with the sections and their values.

#include <QWidget>
#include <vector>

#include "review/review.h"

namespace wallcalc::ui {

class ReviewDiagram : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pressure, Moment };

    ReviewDiagram(Kind kind, QWidget* parent = nullptr);

    // The review and its points along the wall; drawn in grey while the window is disabled.
    void setReview(const review::Result& result, std::vector<review::DiagramPoint> points);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // Where the wall is drawn (top slab at the top edge, base slab at the bottom edge), and the
    // horizontal position of a value (pressure or moment, sagging to the right).
    QRectF plotArea() const;
    double xOf(double value) const;
    double yOf(double x) const;

    // The colours of the picture.
    static QColor earthColour() { return QColor(176, 128, 80); }
    static QColor waterColour() { return QColor(70, 140, 230); }
    static QColor surchargeColour() { return QColor(240, 190, 40); }
    static QColor ulsColour() { return QColor(220, 0, 0); }
    static QColor slsColour() { return QColor(0, 90, 200); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where a value and a depth are drawn: the plot area and the value range, worked out once
    // for a paint. Each of them measures text and runs over every point, so a paint that asked
    // for them at every point it draws spent most of its time there.
    struct Scale {
        QRectF area;
        double low = 0, high = 1, inset = 0, length = 1;
        double x(double value) const {
            return area.left() + inset + (value - low) / (high - low) * (area.width() - 2 * inset);
        }
        double y(double depth) const { return area.top() + depth / length * area.height(); }
    };
    Scale scale() const;

    void paintPressure(class QPainter& painter, const Scale& scale);
    void paintMoment(class QPainter& painter, const Scale& scale);
    void paintLevels(class QPainter& painter, const Scale& scale);
    QColor tone(const QColor& colour) const;
    void range(double& low, double& high) const;

    Kind kind_;
    bool hasReview_ = false;
    review::Result result_;
    std::vector<review::DiagramPoint> points_;
};

}  // namespace wallcalc::ui
