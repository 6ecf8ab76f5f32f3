#include "ui/common/PageWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace athanor {

PageWidget::PageWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

QImage& PageWidget::picture() {
    const QSize s = size().expandedTo(QSize(1, 1));
    if (picture_.size() != s) {
        picture_ = QImage(s, QImage::Format_ARGB32_Premultiplied);
        picture_.fill(background_);
    }
    return picture_;
}

void PageWidget::clear(const QColor& background) {
    background_ = background;
    picture().fill(background);
    update();
}

void PageWidget::setPreviewShift(QPoint shift) {
    shift_ = shift;
    update();
}

void PageWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!shift_.isNull()) p.fillRect(rect(), background_);
    p.drawImage(shift_, picture());
}

void PageWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize old = picture_.size();
    picture();
    if (old != picture_.size() && onResized) onResized();
}

void PageWidget::mousePressEvent(QMouseEvent* e) {
    if (onPress) onPress(e);
}
void PageWidget::mouseMoveEvent(QMouseEvent* e) {
    if (onMove) onMove(e);
}
void PageWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (onRelease) onRelease(e);
}
void PageWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (onDoubleClick) onDoubleClick(e);
}
void PageWidget::wheelEvent(QWheelEvent* e) {
    if (onWheel) onWheel(e);
}

}  // namespace athanor
