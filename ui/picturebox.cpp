#include "ui/picturebox.h"

#include <QPainter>

namespace wallcalc::ui {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // The box takes the focus by Tab like a field; it does nothing with it.
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    const QSize size = picture_.isNull() ? kPictureSize : picture_.deviceIndependentSize().toSize();
    painter.fillRect(QRect(inside.topLeft(), size), Qt::white);
    if (!picture_.isNull()) painter.drawPixmap(inside.topLeft(), picture_);
}

}  // namespace wallcalc::ui
