#include "ui/charts/MetafileViewerDialog.h"

#include "graphics/ChartViewControls.h"
#include "graphics/EmfPlayer.h"
#include "ui/common/UiHelpers.h"
#include "app/Workstation.h"

#include <QPainter>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoMetGra";
}  // namespace names

MetafileViewerDialog::MetafileViewerDialog(Workstation& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName(names::kWindow);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

MetafileViewerDialog::~MetafileViewerDialog() = default;

void MetafileViewerDialog::setMetafile(const std::string& name) {
    picture_.reset();
    const std::string relative = std::string(kMetafileFolder) + name;
    const auto path = ws_.root.resolve(relative);
    setWindowTitle(QString::fromStdString(std::filesystem::absolute(path).string()));
    if (ws_.root.exists(relative)) guarded(this, [&] { picture_ = EmfPicture::load(path); });
    update();
}

void MetafileViewerDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!picture_) return;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    picture_->draw(p, QRectF(rect()));
}

}  // namespace athanor
