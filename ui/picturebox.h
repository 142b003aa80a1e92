#pragma once
// Picture1: a bordered box that shows one bitmap unscaled from its top-left corner, clipped by
// the box. Where the bitmap is missing it shows a white picture of the same size.

#include <QFrame>
#include <QPixmap>

namespace wallcalc::ui {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture) {
        picture_ = picture;
        update();
    }
    const QPixmap& picture() const { return picture_; }

    static constexpr QSize kPictureSize{512, 384};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};

}  // namespace wallcalc::ui
