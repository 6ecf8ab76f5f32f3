#pragma once
// A paint device that keeps every primitive painted on it, so tests can check the
// geometry a drawing routine produced rather than its pixels.
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTextItem>

#include <vector>

namespace athanor::test {

struct Primitive {
    enum Kind { Path, Polyline, Polygon, Line, Ellipse, Rect, Text, Image };
    Kind kind;
    std::vector<QPointF> points;  // polyline and polygon vertices, line ends, text origin
    QRectF rect;                  // ellipse, rectangle, image target
    QPainterPath path;
    QString text;
    QFont font;
    QPen pen;
    QBrush brush;
    Qt::FillRule fill = Qt::OddEvenFill;
};

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(std::vector<Primitive>& out)
        : QPaintEngine(PrimitiveTransform | PainterPaths | Antialiasing | PixmapTransform | PatternTransform),
          out_(out) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& s) override {
        if (s.state() & DirtyPen) pen_ = s.pen();
        if (s.state() & DirtyBrush) brush_ = s.brush();
        if (s.state() & DirtyTransform) transform_ = s.transform();
    }
    void drawPath(const QPainterPath& p) override { add(Primitive::Path).path = transform_.map(p); }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode mode) override {
        Primitive& r = add(mode == PolylineMode ? Primitive::Polyline : Primitive::Polygon);
        for (int i = 0; i < n; ++i) r.points.push_back(transform_.map(pts[i]));
        r.fill = mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill;
    }
    void drawLines(const QLineF* lines, int n) override {
        for (int i = 0; i < n; ++i)
            add(Primitive::Line).points = {transform_.map(lines[i].p1()), transform_.map(lines[i].p2())};
    }
    void drawEllipse(const QRectF& r) override { add(Primitive::Ellipse).rect = transform_.mapRect(r); }
    void drawRects(const QRectF* rects, int n) override {
        for (int i = 0; i < n; ++i) add(Primitive::Rect).rect = transform_.mapRect(rects[i]);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        Primitive& r = add(Primitive::Text);
        r.points = {transform_.map(p)};
        r.text = item.text();
        r.font = item.font();
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override {
        add(Primitive::Image).rect = transform_.mapRect(r);
    }

private:
    Primitive& add(Primitive::Kind k) {
        out_.push_back(Primitive{k, {}, {}, {}, {}, {}, pen_, brush_});
        return out_.back();
    }
    std::vector<Primitive>& out_;
    QPen pen_;
    QBrush brush_;
    QTransform transform_;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice() : engine_(items) {}
    QPaintEngine* paintEngine() const override { return const_cast<RecordingEngine*>(&engine_); }
    std::vector<Primitive> items;

    std::vector<const Primitive*> of(Primitive::Kind k) const {
        std::vector<const Primitive*> r;
        for (const auto& p : items)
            if (p.kind == k) r.push_back(&p);
        return r;
    }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 4000;
        case PdmWidthMM:
        case PdmHeightMM:
            return 1058;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 1 << 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    RecordingEngine engine_;
};

}  // namespace athanor::test
