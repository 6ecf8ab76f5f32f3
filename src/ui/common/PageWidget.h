#pragma once
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>

namespace athanor {

// A drawing surface that keeps what was drawn on it, as a window canvas does: drawings
// go into its picture, which is shown until it is cleared. While the page is dragged the
// picture is shown moved, as a live preview.
class PageWidget : public QWidget {
    Q_OBJECT
public:
    explicit PageWidget(QWidget* parent = nullptr);

    // The picture, kept at the widget's size; cleared to the background colour whenever
    // the size changes.
    QImage& picture();
    void clear(const QColor& background = Qt::black);

    void setPreviewShift(QPoint shift);

    // Mouse presses, moves, releases and wheel turns, in widget pixels.
    std::function<void(QMouseEvent*)> onPress, onMove, onRelease, onDoubleClick;
    std::function<void(QWheelEvent*)> onWheel;
    // Called when the widget is resized and its picture had to be made anew.
    std::function<void()> onResized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QImage picture_;
    QColor background_ = Qt::black;
    QPoint shift_;
};

}  // namespace athanor
