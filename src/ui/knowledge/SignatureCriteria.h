#pragma once
// The planet and sign radio groups of the signature and weakness windows (TFoSegnat,
// TFoMali): RBsol .. RBnos and RBNoPia, RBari .. RBpes and RBNoSeg, "Cualquier" checked
// at first in both.

#include <QWidget>

#include <array>
#include <string>

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace athanor {

class SignatureCriteria : public QWidget {
    Q_OBJECT
public:
    // The sign buttons are captioned with `signCaptions` (Aries .. Piscis in the signature
    // window, the weakened signs Libra .. Virgo in the weakness window).
    SignatureCriteria(const char* planetTitle, const char* signTitle, const std::array<std::string, 12>& signCaptions,
                      QWidget* parent = nullptr);

    // The criterion of the planet checked ("NodoNorte" for "Nodo Norte").
    std::string planet() const;
    // The caption of the sign checked.
    std::string sign() const;
    // Both groups back to "Cualquier".
    void reset();

signals:
    void changed();

private:
    QButtonGroup* planets_ = nullptr;
    QButtonGroup* signs_ = nullptr;
    std::array<std::string, 12> signCaptions_;
};

}  // namespace athanor
