#pragma once
#include <QDialog>

#include <memory>
#include <string>

namespace athanor {

struct Workstation;
class EmfPicture;

// TFoMetGra: the metafile viewer. An exported chart stretched over the whole window, its
// full path in the caption.
class MetafileViewerDialog : public QDialog {
    Q_OBJECT
public:
    explicit MetafileViewerDialog(Workstation& ws, QWidget* parent = nullptr);
    ~MetafileViewerDialog() override;

    // The file "Emf\" + name, shown when it exists.
    void setMetafile(const std::string& name);
    bool hasPicture() const { return picture_ != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Workstation& ws_;
    std::shared_ptr<const EmfPicture> picture_;
};

}  // namespace athanor
