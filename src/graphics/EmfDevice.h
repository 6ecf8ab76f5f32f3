#pragma once
#include <QByteArray>
#include <QPaintDevice>
#include <QSize>

#include <filesystem>
#include <memory>

namespace athanor {

class EmfPaintEngine;

// A paint device that records everything painted on it as an enhanced metafile (EMF
// records written with libUEMF). Paths, polygons, polylines, ellipses, rectangles, text
// (as text records with the font's face and the advances we measured) and images are
// recorded; clipping is not.
class EmfDevice : public QPaintDevice {
public:
    // A picture of `size` device pixels at `dpi` pixels per inch.
    explicit EmfDevice(QSize size, double dpi = 96.0);
    ~EmfDevice() override;

    QPaintEngine* paintEngine() const override;

    QSize size() const { return size_; }
    double dpi() const { return dpi_; }

    // The finished metafile; empty while painting or before.
    const QByteArray& data() const { return data_; }
    // Writes the finished metafile; throws FileError.
    void save(const std::filesystem::path& file) const;

    // EMF logical units per device pixel: coordinates keep a sixteenth of a pixel.
    static constexpr int kSubunits = 16;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class EmfPaintEngine;
    QSize size_;
    double dpi_;
    std::unique_ptr<EmfPaintEngine> engine_;
    QByteArray data_;
};

}  // namespace athanor
