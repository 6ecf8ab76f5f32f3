#include "ui/knowledge/SignatureCriteria.h"

#include "knowledge/Signatures.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

namespace athanor {

namespace names {
constexpr const char* kPlanetGroup = "RGpianeti";
constexpr const char* kSignGroup = "RGsegni";
constexpr const char* kPlanetButtons[] = {"RBsol", "RBlun", "RBmer", "RBven", "RBmar",
                                          "RBgio", "RBsat", "RBnon", "RBnos"};
constexpr const char* kAnyPlanet = "RBNoPia";
constexpr const char* kSignButtons[] = {"RBari", "RBtor", "RBgem", "RBcan", "RBleo", "RBver",
                                        "RBbil", "RBsco", "RBsag", "RBcap", "RBacq", "RBpes"};
constexpr const char* kAnySign = "RBNoSeg";
}  // namespace names

namespace {

constexpr const char* kPlanetCaptions[] = {"Sol",        "Luna",    "Mercurio",   "Venus",   "Marte",
                                           "J\xFApiter", "Saturno", "Nodo Norte", "Nodo Sur"};
constexpr int kAnyId = 99;  // -1 would ask the group for an id of its own

QRadioButton* radio(QWidget* parent, QButtonGroup* group, const char* name, const QString& caption, int id) {
    auto* b = widgets::named<QRadioButton>(parent, name, caption);
    group->addButton(b, id);
    return b;
}

}  // namespace

SignatureCriteria::SignatureCriteria(const char* planetTitle, const char* signTitle,
                                     const std::array<std::string, 12>& signCaptions, QWidget* parent)
    : QWidget(parent), signCaptions_(signCaptions) {
    auto* planetBox = widgets::group(this, names::kPlanetGroup, planetTitle);
    planets_ = new QButtonGroup(this);
    auto* planetGrid = new QGridLayout(planetBox);
    for (int i = 0; i < 9; ++i)
        planetGrid->addWidget(radio(planetBox, planets_, names::kPlanetButtons[i], fromCp(kPlanetCaptions[i]), i),
                              i % 5, i / 5);
    planetGrid->addWidget(radio(planetBox, planets_, names::kAnyPlanet, fromCp(kAnyCriterion), kAnyId), 4, 1);

    auto* signBox = widgets::group(this, names::kSignGroup, signTitle);
    signs_ = new QButtonGroup(this);
    auto* signGrid = new QGridLayout(signBox);
    for (int i = 0; i < 12; ++i)
        signGrid->addWidget(radio(signBox, signs_, names::kSignButtons[i], fromCp(signCaptions_[i]), i), i % 5, i / 5);
    signGrid->addWidget(radio(signBox, signs_, names::kAnySign, fromCp(kAnyCriterion), kAnyId), 4, 2);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(planetBox);
    row->addWidget(signBox);
    reset();
    connect(planets_, &QButtonGroup::idClicked, this, &SignatureCriteria::changed);
    connect(signs_, &QButtonGroup::idClicked, this, &SignatureCriteria::changed);
}

std::string SignatureCriteria::planet() const {
    const int id = planets_->checkedId();
    return id >= 0 && id < 9 ? kSignaturePlanets[static_cast<std::size_t>(id)] : kAnyCriterion;
}

std::string SignatureCriteria::sign() const {
    const int id = signs_->checkedId();
    return id >= 0 && id < 12 ? signCaptions_[static_cast<std::size_t>(id)] : kAnyCriterion;
}

void SignatureCriteria::reset() {
    planets_->button(kAnyId)->setChecked(true);
    signs_->button(kAnyId)->setChecked(true);
}

}  // namespace athanor
