#include "graphics/EmfDevice.h"

#include "foundations/FileError.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <uemf.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace athanor {

namespace {

constexpr int S = EmfDevice::kSubunits;

U_COLORREF colorref(const QColor& c) {
    return colorref3_set(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                         static_cast<uint8_t>(c.blue()));
}

int32_t clampCoord(double v) { return static_cast<int32_t>(std::clamp(std::lround(v), -(1L << 30), (1L << 30))); }

U_POINTL pt(const QPointF& p) { return point32_set(clampCoord(p.x() * S), clampCoord(p.y() * S)); }

U_RECTL boundsOf(const std::vector<U_POINTL>& pts, int32_t margin) {
    if (pts.empty()) return rectl_set(point32_set(0, 0), point32_set(0, 0));
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (const auto& p : pts) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    return rectl_set(point32_set(l - margin, t - margin), point32_set(r + margin, b + margin));
}

// What was last selected into the metafile, so unchanged state writes nothing.
struct PenKey {
    bool null = true;
    QRgb rgb = 0;
    int32_t width = 0;
    uint32_t style = 0;
    std::vector<uint32_t> dashes;
    bool operator==(const PenKey&) const = default;
};

struct FontKey {
    QString face;
    int32_t height = 0;
    int32_t escapement = 0;
    int32_t weight = 0;
    bool italic = false;
    bool operator==(const FontKey&) const = default;
};

}  // namespace

class EmfPaintEngine : public QPaintEngine {
public:
    explicit EmfPaintEngine(EmfDevice* device)
        : QPaintEngine(PrimitiveTransform | PatternTransform | PixmapTransform | PainterPaths | Antialiasing |
                       ConstantOpacity),
          device_(device) {}

    ~EmfPaintEngine() override {
        if (handles_) emf_htable_free(&handles_);
    }

    bool begin(QPaintDevice*) override {
        buffer_.clear();
        records_ = 0;
        if (handles_) emf_htable_free(&handles_);
        emf_htable_create(128, 128, &handles_);
        penHandle_ = brushHandle_ = fontHandle_ = 0;
        lastPen_ = PenKey{};
        lastFont_ = FontKey{};
        brushNull_ = true;
        brushRgb_ = 0;
        textRgb_ = 0;
        fillMode_ = 0;
        device_->data_.clear();

        const int w = device_->size_.width(), h = device_->size_.height();
        const U_RECTL bounds = rectl_set(point32_set(0, 0), point32_set(w * S - 1, h * S - 1));
        // The reference device is the picture itself, at whole millimetres; the frame is
        // derived from the same ratio so that players map it back exactly.
        const int32_t mmW = std::max(1L, std::lround(w * 25.4 / device_->dpi_));
        const int32_t mmH = std::max(1L, std::lround(h * 25.4 / device_->dpi_));
        const U_SIZEL dev = sizel_set(w * S, h * S);
        const U_SIZEL mm = sizel_set(mmW, mmH);
        const U_RECTL frame = rectl_set(point32_set(0, 0), point32_set(mmW * 100, mmH * 100));
        static const char16_t description[] = u"Athanor\0chart\0";
        std::vector<uint16_t> desc(description, description + sizeof(description) / sizeof(char16_t));
        append(U_EMRHEADER_set(bounds, frame, nullptr, static_cast<U_CBSTR>(desc.size()), desc.data(), dev, mm, 0));
        append(U_EMRSETMAPMODE_set(U_MM_TEXT));
        append(U_EMRSETBKMODE_set(U_TRANSPARENT));
        append(U_EMRSETTEXTALIGN_set(U_TA_BASELINE | U_TA_LEFT));
        append(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 0)));
        append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
        append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
        pen_ = QPen();
        brush_ = QBrush();
        font_ = QFont();
        transform_ = QTransform();
        setActive(true);
        return true;
    }

    bool end() override {
        releaseObjects();
        // EMR_EOF without palette: type, size, nPalEntries, offPalEntries, nSizeLast.
        const uint32_t eof[5] = {U_EMR_EOF, 20, 0, 16, 20};
        buffer_.append(reinterpret_cast<const char*>(eof), sizeof eof);
        ++records_;
        // Fields of the header known only now.
        auto put32 = [&](int off, uint32_t v) { std::memcpy(buffer_.data() + off, &v, 4); };
        put32(48, static_cast<uint32_t>(buffer_.size()));
        put32(52, records_);
        const uint16_t nHandles = static_cast<uint16_t>(handles_->peak + 1);
        std::memcpy(buffer_.data() + 56, &nHandles, 2);
        device_->data_ = buffer_;
        setActive(false);
        return true;
    }

    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const auto flags = state.state();
        if (flags & DirtyPen) pen_ = state.pen();
        if (flags & DirtyBrush) brush_ = state.brush();
        if (flags & DirtyFont) font_ = state.font();
        if (flags & DirtyTransform) transform_ = state.transform();
    }

    void drawPath(const QPainterPath& path) override {
        const QPainterPath p = transform_.map(path);
        const bool fill = brush_.style() != Qt::NoBrush;
        const bool stroke = pen_.style() != Qt::NoPen;
        if (!fill && !stroke) return;
        selectPen();
        selectBrush();
        setFillMode(p.fillRule());

        std::vector<U_POINTL> all;
        append(U_EMRBEGINPATH_set());
        std::vector<U_POINTL> run;
        int runKind = 0;  // 1 lines, 2 curves
        auto flush = [&] {
            if (run.empty()) return;
            const U_RECTL b = boundsOf(run, 0);
            if (runKind == 1) append(U_EMRPOLYLINETO_set(b, static_cast<uint32_t>(run.size()), run.data()));
            else append(U_EMRPOLYBEZIERTO_set(b, static_cast<uint32_t>(run.size()), run.data()));
            run.clear();
        };
        QPointF start, last;
        bool open = false;
        for (int i = 0; i < p.elementCount(); ++i) {
            const QPainterPath::Element e = p.elementAt(i);
            const QPointF q(e.x, e.y);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                flush();
                if (open && last == start) append(U_EMRCLOSEFIGURE_set());
                append(U_EMRMOVETOEX_set(pt(q)));
                all.push_back(pt(q));
                start = last = q;
                open = true;
                break;
            case QPainterPath::LineToElement:
                if (runKind != 1) flush();
                runKind = 1;
                run.push_back(pt(q));
                all.push_back(pt(q));
                last = q;
                break;
            case QPainterPath::CurveToElement:
                if (runKind != 2) flush();
                runKind = 2;
                run.push_back(pt(q));
                all.push_back(pt(q));
                break;
            case QPainterPath::CurveToDataElement:
                run.push_back(pt(q));
                all.push_back(pt(q));
                last = q;
                break;
            }
        }
        flush();
        if (open && last == start && fill) append(U_EMRCLOSEFIGURE_set());
        append(U_EMRENDPATH_set());
        const U_RECTL b = boundsOf(all, penWidth() / 2 + 1);
        if (fill && stroke) append(U_EMRSTROKEANDFILLPATH_set(b));
        else if (fill) append(U_EMRFILLPATH_set(b));
        else append(U_EMRSTROKEPATH_set(b));
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        std::vector<U_POINTL> pts;
        pts.reserve(count);
        for (int i = 0; i < count; ++i) pts.push_back(pt(transform_.map(points[i])));
        const U_RECTL b = boundsOf(pts, penWidth() / 2 + 1);
        if (mode == PolylineMode) {
            if (pen_.style() == Qt::NoPen) return;
            selectPen();
            append(U_EMRPOLYLINE_set(b, static_cast<uint32_t>(pts.size()), pts.data()));
            return;
        }
        if (pen_.style() == Qt::NoPen && brush_.style() == Qt::NoBrush) return;
        selectPen();
        selectBrush();
        setFillMode(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
        append(U_EMRPOLYGON_set(b, static_cast<uint32_t>(pts.size()), pts.data()));
    }

    void drawLines(const QLineF* lines, int count) override {
        if (pen_.style() == Qt::NoPen) return;
        selectPen();
        for (int i = 0; i < count; ++i) {
            std::vector<U_POINTL> pts{pt(transform_.map(lines[i].p1())), pt(transform_.map(lines[i].p2()))};
            append(U_EMRPOLYLINE_set(boundsOf(pts, penWidth() / 2 + 1), 2, pts.data()));
        }
    }

    void drawEllipse(const QRectF& r) override {
        if (!axisAligned()) {
            QPainterPath path;
            path.addEllipse(r);
            drawPath(path);
            return;
        }
        if (pen_.style() == Qt::NoPen && brush_.style() == Qt::NoBrush) return;
        selectPen();
        selectBrush();
        const QRectF m = transform_.mapRect(r);
        append(U_EMRELLIPSE_set(rectl_set(pt(m.topLeft()), pt(m.bottomRight()))));
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            if (!axisAligned()) {
                QPainterPath path;
                path.addRect(rects[i]);
                drawPath(path);
                continue;
            }
            if (pen_.style() == Qt::NoPen && brush_.style() == Qt::NoBrush) return;
            selectPen();
            selectBrush();
            const QRectF m = transform_.mapRect(rects[i]);
            append(U_EMRRECTANGLE_set(rectl_set(pt(m.topLeft()), pt(m.bottomRight()))));
        }
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QString text = item.text();
        if (text.isEmpty()) return;
        const QFont f = item.font();
        const double scale = std::sqrt(std::abs(transform_.determinant()));
        const double angle = std::atan2(transform_.m12(), transform_.m11()) * 180.0 / M_PI;

        FontKey key;
        key.face = f.family();
        const double em = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * device_->dpi_ / 72.0;
        key.height = -static_cast<int32_t>(std::lround(em * scale * S));
        key.escapement = static_cast<int32_t>(std::lround(-angle * 10.0));
        key.weight = f.bold() ? 700 : 400;
        key.italic = f.italic();
        selectFont(key);
        const QRgb rgb = pen_.color().rgb() & 0xFFFFFF;
        if (rgb != textRgb_) {
            append(U_EMRSETTEXTCOLOR_set(colorref(pen_.color())));
            textRgb_ = rgb;
        }

        // Advances as we measured them, so other players lay the text out as we do.
        const QFontMetricsF fm(f, device_);
        const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
        std::vector<uint32_t> dx(utf16.size());
        double prev = 0;
        long prevRounded = 0;
        for (size_t i = 0; i < utf16.size(); ++i) {
            const double w = fm.horizontalAdvance(text.left(static_cast<qsizetype>(i + 1)));
            const long rounded = std::lround(w * scale * S);
            dx[i] = static_cast<uint32_t>(std::max(0L, rounded - prevRounded));
            prevRounded = rounded;
            prev = w;
        }
        (void)prev;
        const U_POINTL ref = pt(transform_.map(p));
        const U_RECTL none = rectl_set(point32_set(0, 0), point32_set(-1, -1));
        std::vector<uint16_t> chars(utf16.begin(), utf16.end());
        char* emrtext =
            emrtext_set(ref, static_cast<U_NUM_STR>(chars.size()), 2, chars.data(), U_ETO_NONE, none, dx.data());
        const int32_t ext = static_cast<int32_t>(std::lround(fm.horizontalAdvance(text) * scale * S));
        const int32_t hgt = static_cast<int32_t>(std::lround(fm.height() * scale * S));
        const U_RECTL b = rectl_set(point32_set(ref.x - hgt, ref.y - hgt), point32_set(ref.x + ext + hgt, ref.y + hgt));
        append(U_EMREXTTEXTOUTW_set(b, U_GM_COMPATIBLE, 1.0f, 1.0f, reinterpret_cast<PU_EMRTEXT>(emrtext)));
        std::free(emrtext);
    }

    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
        drawImage(r, pm.toImage(), sr, Qt::AutoColor);
    }

    void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override {
        QImage img = image.copy(sr.toAlignedRect()).convertToFormat(QImage::Format_ARGB32);
        if (img.isNull()) return;
        // No alpha in a DIB: composite on white.
        QImage flat(img.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, img);
        }
        const int w = flat.width(), h = flat.height();
        std::vector<char> px(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y)  // bottom-up rows, BGRA bytes
            std::memcpy(px.data() + static_cast<size_t>(h - 1 - y) * w * 4, flat.constScanLine(y), w * 4);
        const U_BITMAPINFOHEADER bih =
            bitmapinfoheader_set(w, h, 1, 32, U_BI_RGB, static_cast<uint32_t>(px.size()), 3780, 3780, 0, 0);
        PU_BITMAPINFO bmi = bitmapinfo_set(bih, nullptr);
        const QRectF m = transform_.mapRect(r);
        std::vector<U_POINTL> corners{pt(m.topLeft()), pt(m.bottomRight())};
        const U_POINTL dest = corners[0];
        const U_POINTL cDest = point32_set(corners[1].x - corners[0].x, corners[1].y - corners[0].y);
        append(U_EMRSTRETCHDIBITS_set(boundsOf(corners, 0), dest, cDest, point32_set(0, 0), point32_set(w, h),
                                      U_DIB_RGB_COLORS, U_SRCCOPY, bmi, static_cast<uint32_t>(px.size()), px.data()));
        std::free(bmi);
    }

private:
    void append(char* record) {
        if (!record) return;
        const auto* emr = reinterpret_cast<const U_EMR*>(record);
        buffer_.append(record, static_cast<qsizetype>(emr->nSize));
        ++records_;
        std::free(record);
    }

    bool axisAligned() const { return transform_.type() <= QTransform::TxScale; }

    int32_t penWidth() const {
        if (pen_.style() == Qt::NoPen) return 0;
        if (pen_.isCosmetic() || pen_.widthF() == 0) return S;
        const double scale = std::sqrt(std::abs(transform_.determinant()));
        return std::max<int32_t>(1, static_cast<int32_t>(std::lround(pen_.widthF() * scale * S)));
    }

    void selectPen() {
        PenKey key;
        key.null = pen_.style() == Qt::NoPen || pen_.color().alpha() == 0;
        if (!key.null) {
            key.rgb = pen_.color().rgb() & 0xFFFFFF;
            key.width = penWidth();
            uint32_t style = U_PS_GEOMETRIC;
            switch (pen_.capStyle()) {
            case Qt::FlatCap:
                style |= U_PS_ENDCAP_FLAT;
                break;
            case Qt::SquareCap:
                style |= U_PS_ENDCAP_SQUARE;
                break;
            default:
                style |= U_PS_ENDCAP_ROUND;
                break;
            }
            switch (pen_.joinStyle()) {
            case Qt::BevelJoin:
                style |= U_PS_JOIN_BEVEL;
                break;
            case Qt::RoundJoin:
                style |= U_PS_JOIN_ROUND;
                break;
            default:
                style |= U_PS_JOIN_MITER;
                break;
            }
            switch (pen_.style()) {
            case Qt::SolidLine:
                style |= U_PS_SOLID;
                break;
            case Qt::DashLine:
                style |= U_PS_DASH;
                break;
            case Qt::DotLine:
                style |= U_PS_DOT;
                break;
            case Qt::DashDotLine:
                style |= U_PS_DASHDOT;
                break;
            case Qt::DashDotDotLine:
                style |= U_PS_DASHDOTDOT;
                break;
            default: {
                // Dashes in pen widths, as Qt gives them.
                style |= U_PS_USERSTYLE;
                const double w = std::max<int32_t>(key.width, S);
                for (double d : pen_.dashPattern())
                    key.dashes.push_back(static_cast<uint32_t>(std::max(1L, std::lround(d * w))));
                if (key.dashes.size() % 2) key.dashes.push_back(key.dashes.back());
            }
            }
            key.style = style;
        }
        if (key == lastPen_ && (penHandle_ || key.null)) return;
        const uint32_t old = penHandle_;
        if (key.null) {
            append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
            penHandle_ = 0;
        } else {
            PU_EXTLOGPEN elp = extlogpen_set(
                key.style, static_cast<uint32_t>(key.width), U_BS_SOLID, colorref(pen_.color()), 0,
                static_cast<U_NUM_STYLEENTRY>(key.dashes.size()), key.dashes.empty() ? nullptr : key.dashes.data());
            uint32_t ih = 0;
            append(extcreatepen_set(&ih, handles_, nullptr, 0, nullptr, elp));
            std::free(elp);
            append(selectobject_set(ih, handles_));
            penHandle_ = ih;
        }
        if (old) {
            uint32_t ih = old;
            append(deleteobject_set(&ih, handles_));
        }
        lastPen_ = key;
    }

    void selectBrush() {
        const bool null = brush_.style() == Qt::NoBrush || brush_.color().alpha() == 0;
        const QRgb rgb = brush_.color().rgb() & 0xFFFFFF;
        if (null == brushNull_ && (null || (brushHandle_ && rgb == brushRgb_))) return;
        const uint32_t old = brushHandle_;
        if (null) {
            append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
            brushHandle_ = 0;
        } else {
            uint32_t ih = 0;
            append(createbrushindirect_set(&ih, handles_, logbrush_set(U_BS_SOLID, colorref(brush_.color()), 0)));
            append(selectobject_set(ih, handles_));
            brushHandle_ = ih;
        }
        if (old) {
            uint32_t ih = old;
            append(deleteobject_set(&ih, handles_));
        }
        brushNull_ = null;
        brushRgb_ = rgb;
    }

    void selectFont(const FontKey& key) {
        if (fontHandle_ && key == lastFont_) return;
        std::vector<uint16_t> face(32, 0);
        const QString name = key.face.left(31);
        for (int i = 0; i < name.size(); ++i) face[i] = name.at(i).unicode();
        const U_LOGFONT lf =
            logfont_set(key.height, 0, key.escapement, key.escapement, key.weight, key.italic ? 1 : 0, 0, 0,
                        U_DEFAULT_CHARSET, U_OUT_TT_PRECIS, 0, U_ANTIALIASED_QUALITY, 0, face.data());
        uint32_t ih = 0;
        append(extcreatefontindirectw_set(&ih, handles_, reinterpret_cast<const char*>(&lf), nullptr));
        append(selectobject_set(ih, handles_));
        if (fontHandle_) {
            uint32_t old = fontHandle_;
            append(deleteobject_set(&old, handles_));
        }
        fontHandle_ = ih;
        lastFont_ = key;
    }

    void setFillMode(Qt::FillRule rule) {
        const int mode = rule == Qt::WindingFill ? U_WINDING : U_ALTERNATE;
        if (mode == fillMode_) return;
        append(U_EMRSETPOLYFILLMODE_set(mode));
        fillMode_ = mode;
    }

    void releaseObjects() {
        append(U_EMRSELECTOBJECT_set(U_NULL_PEN));
        append(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
        for (uint32_t* h : {&penHandle_, &brushHandle_, &fontHandle_}) {
            if (*h) {
                uint32_t ih = *h;
                append(deleteobject_set(&ih, handles_));
                *h = 0;
            }
        }
    }

    EmfDevice* device_;
    QByteArray buffer_;
    uint32_t records_ = 0;
    EMFHANDLES* handles_ = nullptr;
    uint32_t penHandle_ = 0, brushHandle_ = 0, fontHandle_ = 0;
    PenKey lastPen_;
    FontKey lastFont_;
    bool brushNull_ = true;
    QRgb brushRgb_ = 0;
    QRgb textRgb_ = 0;
    int fillMode_ = 0;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
};

EmfDevice::EmfDevice(QSize size, double dpi)
    : size_(size), dpi_(dpi), engine_(std::make_unique<EmfPaintEngine>(this)) {}

EmfDevice::~EmfDevice() = default;

QPaintEngine* EmfDevice::paintEngine() const { return engine_.get(); }

int EmfDevice::metric(PaintDeviceMetric m) const {
    switch (m) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return static_cast<int>(std::lround(size_.width() * 25.4 / dpi_));
    case PdmHeightMM:
        return static_cast<int>(std::lround(size_.height() * 25.4 / dpi_));
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return static_cast<int>(std::lround(dpi_));
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default:
        return 0;
    }
}

void EmfDevice::save(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError::fromErrno(file, errno);
    out.write(data_.constData(), data_.size());
    out.close();
    if (!out) throw FileError::fromErrno(file, errno);
}

}  // namespace athanor
