#include "ui/subjects/BirthEntryDialog.h"

#include "foundations/Format.h"
#include "subjects/ArchiveRecords.h"
#include "ui/common/Pictures.h"
#include "ui/common/UiHelpers.h"
#include "ui/common/WidgetBuilders.h"
#include "ui/subjects/SaveSubjectDialog.h"

#include <QAbstractSlider>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace athanor {

namespace names {
constexpr const char* kWindow = "FoInputSpa";
constexpr const char* kName = "EditSogg";
constexpr const char* kDate[kDateFieldCount] = {"EditGiorno", "EditMese", "EditAnno", "EditOra", "EditMinuti"};
constexpr const char* kCalendarPicker = "DateTimePicker1";
constexpr const char* kToday = "BitBtnOggi";
constexpr const char* kPlacePanel = "GroupBoxLocal";
constexpr const char* kPlace = "EditLocal";
constexpr const char* kPlaceList = "ListBox1";
constexpr const char* kPlaceBar = "ScrollBar1";
constexpr const char* kItalian = "BBItalia";
constexpr const char* kForeign = "BBperson";
constexpr const char* kRecordsLabel = "Label1";
constexpr const char* kRecords = "ComboBox2";
constexpr const char* kOutdatedNote = "LabNote";
constexpr const char* kResultPanel = "PanelResult";
constexpr const char* kDateResult = "EditDataEstesa";
constexpr const char* kJulianDay = "EditJD";
constexpr const char* kPlaceResult = "EditLocEstesa";
constexpr const char* kCountry = "EditStato";
constexpr const char* kCoordinates = "EditCoord";
constexpr const char* kCorrection = "EditFuso";
constexpr const char* kCalendar = "EditCalend";
constexpr const char* kLocalTime = "CheckBoxLocale";
constexpr const char* kLock = "BBLock";
constexpr const char* kContinue = "BBprosegui";
constexpr const char* kGiveUp = "BBRitorna";
constexpr const char* kManualPanel = "PanelMan";
constexpr const char* kManual[ManualCoordinates::FieldCount] = {"EditGrdLat", "EditNS",     "EditPriLat", "EditGrdLon",
                                                                "EditEWgrd",  "EditPriLon", "EditOreLon", "EditMinLon",
                                                                "EditSecLon", "EditEWore"};
constexpr const char* kManualOk = "BitBtn1";
constexpr const char* kManualCancel = "BitBtn2";
}  // namespace names

namespace {

using widgets::EnterKey;

// Limits what the user types without cutting what the window writes (setText is not
// validated): the correction field shows look-up texts longer than may be typed.
class TypedLength : public QValidator {
public:
    TypedLength(int length, QObject* parent) : QValidator(parent), length_(length) {}
    State validate(QString& input, int&) const override { return input.size() <= length_ ? Acceptable : Invalid; }

private:
    int length_;
};

void setTextIfChanged(QLineEdit* e, const QString& text) {
    if (e->text() != text) e->setText(text);
}

// A field of `length` digits, wide enough for them and centred.
QLineEdit* digitField(QWidget* parent, const char* name, int length) {
    QLineEdit* e = widgets::field(parent, name, length);
    e->setFixedWidth(QFontMetrics(parent->font()).horizontalAdvance(QString(length + 2, '0')) + 12);
    e->setAlignment(Qt::AlignCenter);
    return e;
}

// A widget that keeps its place in the layout while hidden.
void keepPlaceWhenHidden(QWidget* w) {
    QSizePolicy keep = w->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    w->setSizePolicy(keep);
}

bool isArrow(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

std::optional<EntryKey> entryKeyOf(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return std::nullopt;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EntryKey::Enter;
    case Qt::Key_Right:
        return EntryKey::Right;
    case Qt::Key_Left:
        return EntryKey::Left;
    case Qt::Key_Up:
        return EntryKey::Up;
    case Qt::Key_Down:
        return EntryKey::Down;
    default:
        return std::nullopt;
    }
}

using MC = ManualCoordinates;

}  // namespace

BirthEntryDialog::BirthEntryDialog(Workstation& ws, SaveSubjectDialog* save, QWidget* anchor, QWidget* parent)
    : QDialog(parent), ws_(ws), save_(save), anchor_(anchor), entry_(ws.root) {
    setObjectName(names::kWindow);
    setWindowTitle(fromCp("Datos de Nacimiento de tipo"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    build();
    connectEntryFields();
    connectPlaceAndResults();
    setTabOrders();
    setFixedSize(sizeHint());
}

BirthEntryDialog::~BirthEntryDialog() { IdleHandler::remove(this); }

// ---- building ----------------------------------------------------------------------

void BirthEntryDialog::build() {
    QLayout* nameAndDate = buildNameAndDate();
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildPlacePanel());
    middle->addLayout(buildResultColumn(), 1);

    continueButton_ = widgets::button(this, names::kContinue, "Continuar", EnterKey::Ignored);
    giveUpButton_ = widgets::button(this, names::kGiveUp, "Anular y Volver", EnterKey::Ignored);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(continueButton_);
    buttons->addStretch();
    buttons->addWidget(giveUpButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameAndDate);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    // The manual coordinates lie over the results when opened, out of the layout.
    manualPanel_ = buildManualPanel();
    manualPanel_->hide();
    zoneRecords_->hide();
    outdatedNote_->hide();
}

QLayout* BirthEntryDialog::buildNameAndDate() {
    nameEdit_ = widgets::field(this, names::kName, kNameWidth);
    forceUpperCase(nameEdit_);
    nameEdit_->setText(fromCp(kFirstSubjectName));
    for (int i = 0; i < kDateFieldCount; ++i)
        dateEdits_[static_cast<size_t>(i)] = digitField(this, names::kDate[i], entryFieldLength(dateField(i)));
    calendarPicker_ = widgets::named<QDateEdit>(this, names::kCalendarPicker);
    calendarPicker_->setCalendarPopup(true);
    calendarPicker_->setDisplayFormat("dd/MM/yyyy");
    calendarPicker_->setToolTip(fromCp("Elegir la fecha en el calendario"));
    todayButton_ = widgets::button(this, names::kToday, "Hoy", EnterKey::Ignored);
    todayButton_->setToolTip(fromCp("Fecha y hora de este momento"));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(widgets::label(this, "Nombre y apellido"));
    nameRow->addWidget(nameEdit_, 1);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(widgets::label(this, "Fecha (d\xED"
                                            "a / mes / a\xF1o)"));
    dateRow->addWidget(dateEdits_[0]);
    dateRow->addWidget(widgets::label(this, "/"));
    dateRow->addWidget(dateEdits_[1]);
    dateRow->addWidget(widgets::label(this, "/"));
    dateRow->addWidget(dateEdits_[2]);
    dateRow->addSpacing(16);
    dateRow->addWidget(widgets::label(this, "Hora local"));
    dateRow->addWidget(dateEdits_[3]);
    dateRow->addWidget(widgets::label(this, ":"));
    dateRow->addWidget(dateEdits_[4]);
    dateRow->addSpacing(16);
    dateRow->addWidget(calendarPicker_);
    dateRow->addWidget(todayButton_);
    dateRow->addStretch();

    auto* rows = new QVBoxLayout;
    rows->addLayout(nameRow);
    rows->addLayout(dateRow);
    return rows;
}

// The place: its first letters, the list window and the two lists.
QGroupBox* BirthEntryDialog::buildPlacePanel() {
    auto* panel = widgets::group(this, names::kPlacePanel, "Localidad de nacimiento");
    placeEdit_ = widgets::field(panel, names::kPlace);
    placeEdit_->setFont(widgets::monospace(9));
    placeEdit_->setToolTip(fromCp("Escriba las primeras letras de la localidad"));
    placeList_ = widgets::lineList(panel, names::kPlaceList, kLocalityWindowLines, 42);
    placeList_->setToolTip(fromCp("Doble clic para elegir la localidad"));
    placeBar_ = widgets::scrollBar(panel, names::kPlaceBar);
    placeBar_->setFixedHeight(placeList_->height());
    italianButton_ = widgets::button(panel, names::kItalian, "Localidades Italianas", EnterKey::Ignored);
    foreignButton_ = widgets::button(panel, names::kForeign, "Localidades Extranjeras", EnterKey::Ignored);
    recordsLabel_ = widgets::label(panel, "Especifique siempre el nombre", names::kRecordsLabel);
    zoneRecords_ = widgets::named<QComboBox>(panel, names::kRecords);
    zoneRecords_->setFont(widgets::monospace(8));
    keepPlaceWhenHidden(zoneRecords_);
    outdatedNote_ = widgets::label(panel, kOutdatedTimesNote, names::kOutdatedNote);
    outdatedNote_->setStyleSheet("QLabel { color: red; font-weight: bold; }");
    keepPlaceWhenHidden(outdatedNote_);

    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(placeList_);
    listRow->addWidget(placeBar_);
    listRow->addStretch();
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(italianButton_);
    listButtons->addWidget(foreignButton_);
    listButtons->addStretch();
    auto* column = new QVBoxLayout(panel);
    column->addWidget(widgets::label(panel, "Escriba las primeras letras y elija en la lista"));
    column->addWidget(placeEdit_);
    column->addLayout(listRow);
    column->addLayout(listButtons);
    column->addWidget(recordsLabel_);
    column->addWidget(zoneRecords_);
    column->addWidget(outdatedNote_);
    column->addStretch();
    return panel;
}

// The results of the look-up, locked until the lock button under them opens them.
QLayout* BirthEntryDialog::buildResultColumn() {
    resultPanel_ = widgets::group(this, names::kResultPanel, "Resultados");
    dateResult_ = widgets::field(resultPanel_, names::kDateResult, 0, true);
    julianDayResult_ = widgets::field(resultPanel_, names::kJulianDay, 0, true);
    placeResult_ = widgets::field(resultPanel_, names::kPlaceResult, kLocalityNameCapacity);
    placeResult_->setToolTip(fromCp("Doble clic: may\xFAsculas"));
    countryResult_ = widgets::field(resultPanel_, names::kCountry, kLocalityCountryCapacity);
    coordResult_ = widgets::field(resultPanel_, names::kCoordinates, 12);
    forceUpperCase(coordResult_);
    coordResult_->setToolTip(fromCp("Doble clic: inserci\xF3n manual de las coordenadas"));
    correctionResult_ = widgets::field(resultPanel_, names::kCorrection);
    correctionResult_->setValidator(new TypedLength(6, correctionResult_));
    correctionResult_->setToolTip(fromCp("Horas que se suman a la hora local para obtener el Tiempo Universal"));
    calendarResult_ = widgets::field(resultPanel_, names::kCalendar, 4);
    forceUpperCase(calendarResult_);
    calendarResult_->setToolTip(fromCp("GREG o GIUL"));
    localTimeCheck_ = widgets::named<QCheckBox>(resultPanel_, names::kLocalTime, fromCp("Usar hora local"));
    for (QLineEdit* e : {dateResult_, julianDayResult_}) {
        setStateColour(e, StateColour::Teal);
        e->setFocusPolicy(Qt::ClickFocus);  // computed: Tab passes them by
    }
    const QFontMetrics fm(dateResult_->font());
    for (QLineEdit* e : {coordResult_, correctionResult_, calendarResult_, julianDayResult_})
        e->setFixedWidth(fm.horizontalAdvance(QStringLiteral("0000000,0000")) + 16);
    auto* grid = new QGridLayout(resultPanel_);
    int row = 0;
    for (auto [caption, w] : {std::pair{"Fecha", dateResult_},
                              {"D\xED"
                               "a juliano (TU)",
                               julianDayResult_},
                              {"Localidad", placeResult_},
                              {"Pa\xEDs", countryResult_},
                              {"Coordenadas", coordResult_},
                              {"Correcci\xF3n total (h)", correctionResult_},
                              {"Calendario", calendarResult_}}) {
        grid->addWidget(widgets::label(resultPanel_, caption), row, 0);
        grid->addWidget(w, row++, 1);
    }
    grid->addWidget(localTimeCheck_, row++, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);

    lockButton_ = widgets::named<QToolButton>(this, names::kLock);
    lockButton_->setIconSize(QSize(24, 24));
    lockButton_->setToolTip(fromCp("Desbloquear / bloquear los resultados"));
    auto* lockRow = new QHBoxLayout;
    lockRow->addWidget(lockButton_);
    lockRow->addWidget(widgets::label(this, "Desbloquear para corregir"));
    lockRow->addStretch();
    auto* column = new QVBoxLayout;
    column->addWidget(resultPanel_, 1);
    column->addLayout(lockRow);
    return column;
}

QFrame* BirthEntryDialog::buildManualPanel() {
    auto* panel = widgets::panel(this, names::kManualPanel, QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    for (int i = 0; i < MC::FieldCount; ++i)
        manualEdits_[static_cast<size_t>(i)] =
            digitField(panel, names::kManual[i], MC::length(static_cast<MC::Field>(i)));
    manualOk_ = widgets::button(panel, names::kManualOk, "&OK", EnterKey::Ignored);
    manualCancel_ = widgets::button(panel, names::kManualCancel, "&Canc", EnterKey::Ignored);
    auto* grid = new QGridLayout(panel);
    auto* title = widgets::label(panel, "Inserction Manual");
    title->setStyleSheet("QLabel { font-weight: bold; }");
    grid->addWidget(title, 0, 0, 1, 9);
    auto put = [&](int r, const char* caption, std::initializer_list<std::pair<MC::Field, const char*>> cells) {
        grid->addWidget(widgets::label(panel, caption), r, 0);
        int c = 1;
        for (auto [f, unit] : cells) {
            grid->addWidget(manualEdits_[f], r, c++);
            grid->addWidget(widgets::label(panel, unit), r, c++);
        }
    };
    put(1, "Latitud", {{MC::LatDegrees, "\xB0"}, {MC::LatLetter, "N/S"}, {MC::LatMinutes, "'"}});
    put(2, "Longitud en grados", {{MC::LonDegrees, "\xB0"}, {MC::LonLetter, "E/W"}, {MC::LonMinutes, "'"}});
    put(3, "Longitud en horas",
        {{MC::LonHours, "h"}, {MC::LonTimeMinutes, "m"}, {MC::LonSeconds, "s"}, {MC::LonTimeLetter, "E/W"}});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(manualOk_);
    buttons->addWidget(manualCancel_);
    grid->addLayout(buttons, 4, 0, 1, 9);
    panel->adjustSize();
    return panel;
}

// The name, the date fields and their helpers.
void BirthEntryDialog::connectEntryFields() {
    for (QWidget* w :
         {static_cast<QWidget*>(nameEdit_), static_cast<QWidget*>(placeEdit_), static_cast<QWidget*>(placeList_)})
        w->installEventFilter(this);
    for (QLineEdit* e : dateEdits_) e->installEventFilter(this);

    // A new name needs no new look-up: one would trim the name while it is typed ("ROSSI "
    // before "MARIO") and throw away corrections made by hand in the unlocked results. It
    // only decides whether locked results may go on.
    connect(nameEdit_, &QLineEdit::textEdited, this, [this](const QString& name) {
        if (locked_ && !placeResult_->text().isEmpty()) continueButton_->setEnabled(!name.trimmed().isEmpty());
    });
    for (int i = 0; i < kDateFieldCount; ++i) {
        QLineEdit* e = dateEdits_[static_cast<size_t>(i)];
        const EntryField field = dateField(i);
        connect(e, &QLineEdit::textEdited, this, [this, e, field](const QString& text) {
            const QString trimmed = fromCp(trimmedDateField(toCp(text)));
            setTextIfChanged(e, trimmed);
            markChanged();
            if (trimmed.size() >= entryFieldLength(field)) {
                if (auto next = entryFieldWhenFull(field)) focusField(*next);
            }
        });
    }
    connect(todayButton_, &QPushButton::clicked, this, &BirthEntryDialog::today);
    connect(calendarPicker_->calendarWidget(), &QCalendarWidget::clicked, this, &BirthEntryDialog::calendarPicked);
    connect(calendarPicker_->calendarWidget(), &QCalendarWidget::activated, this, &BirthEntryDialog::calendarPicked);
    connect(continueButton_, &QPushButton::clicked, this, &BirthEntryDialog::proceed);
    connect(giveUpButton_, &QPushButton::clicked, this, &BirthEntryDialog::giveUp);
}

// The list window, the results with their lock, and the manual coordinates.
void BirthEntryDialog::connectPlaceAndResults() {
    placeList_->viewport()->installEventFilter(this);
    connect(placeList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (entry_.hasList()) entry_.picker().selectLine(row);
    });
    recordsLabel_->installEventFilter(this);
    placeResult_->installEventFilter(this);
    coordResult_->installEventFilter(this);
    connect(placeBar_, &QAbstractSlider::actionTriggered, this, &BirthEntryDialog::scrollList);
    connect(italianButton_, &QPushButton::clicked, this, [this] { switchList(LocalityListKind::Italian); });
    connect(foreignButton_, &QPushButton::clicked, this, [this] { switchList(LocalityListKind::Foreign); });

    connect(lockButton_, &QToolButton::clicked, this, [this] { setLocked(!locked_); });
    connect(localTimeCheck_, &QCheckBox::clicked, this, &BirthEntryDialog::localTimeClicked);
    connect(calendarResult_, &QLineEdit::textEdited, this, &BirthEntryDialog::calendarEdited);
    // The Julian day follows a correction typed by hand, as it follows the calendar.
    connect(correctionResult_, &QLineEdit::textEdited, this, &BirthEntryDialog::calendarEdited);

    for (int i = 0; i < MC::FieldCount; ++i) {
        const auto f = static_cast<MC::Field>(i);
        manualEdits_[static_cast<size_t>(i)]->installEventFilter(this);
        connect(manualEdits_[static_cast<size_t>(i)], &QLineEdit::textEdited, this, [this, f] { manualEdited(f); });
    }
    connect(manualOk_, &QPushButton::clicked, this, &BirthEntryDialog::manualOk);
    connect(manualCancel_, &QPushButton::clicked, manualPanel_, &QWidget::hide);
}

void BirthEntryDialog::setTabOrders() {
    QList<QWidget*> chain{nameEdit_};
    for (QLineEdit* e : dateEdits_) chain << e;
    chain << calendarPicker_ << todayButton_ << placeEdit_ << placeList_ << italianButton_ << foreignButton_
          << zoneRecords_ << placeResult_ << countryResult_ << coordResult_ << correctionResult_ << calendarResult_
          << localTimeCheck_ << lockButton_ << continueButton_ << giveUpButton_;
    for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
    // The manual panel: the latitude, the degree form, its buttons, then the hour form
    // (tabbing on from the degrees must not land in the hours, which would empty them).
    const auto& m = manualEdits_;
    QList<QWidget*> manual{m[MC::LatDegrees], m[MC::LatLetter],      m[MC::LatMinutes], m[MC::LonDegrees],
                           m[MC::LonLetter],  m[MC::LonMinutes],     manualOk_,         manualCancel_,
                           m[MC::LonHours],   m[MC::LonTimeMinutes], m[MC::LonSeconds], m[MC::LonTimeLetter]};
    for (qsizetype i = 1; i < manual.size(); ++i) setTabOrder(manual[i - 1], manual[i]);
}

// ---- opening, the recompute flag and the idle handler ------------------------------

void BirthEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activate();
}

void BirthEntryDialog::activate() {
    if (firstOpening_) {
        firstOpening_ = false;
        nameEdit_->setText(fromCp(kFirstSubjectName));
    }
    for (QLineEdit* e : dateEdits_) {
        e->clear();
        setStateColour(e, StateColour::White);
    }
    clearResults();
    placeEdit_->clear();
    setStateColour(placeEdit_, StateColour::Red);
    manualPanel_->hide();
    zoneRecords_->hide();
    outdatedNote_->hide();
    guarded(this, [&] { entry_.open(); });
    redrawList();
    calendarPicker_->setDate(QDate::currentDate());
    countryResult_->setText(fromCp("ITALIA"));
    setLocked(true);
    continueButton_->setEnabled(false);
    nameEdit_->setFocus(Qt::OtherFocusReason);
    IdleHandler::install(this, [this] { onIdle(); });
}

void BirthEntryDialog::markChanged() {
    entry_.markChanged();
    if (IdleHandler::owner() != this) IdleHandler::install(this, [this] { onIdle(); });
    else IdleHandler::poke();
}

DateTexts BirthEntryDialog::dateTexts() const {
    DateTexts t;
    for (size_t i = 0; i < t.size(); ++i) t[i] = toCp(dateEdits_[i]->text());
    return t;
}

bool BirthEntryDialog::datesComplete() const {
    for (const auto& t : dateTexts())
        if (trim(t).empty()) return false;
    return true;
}

void BirthEntryDialog::onIdle() {
    if (!entry_.pending()) return;
    outdatedNote_->hide();
    const BirthEntry::Recompute r = entry_.recompute(dateTexts(), static_cast<int>(ws_.settings.calendarRule));
    if (r.lookup || r.error || r.date.outcome == DateCheck::Outcome::Invalid) {
        clearResults();
        continueButton_->setEnabled(false);
    }
    if (r.error) showFileError(this, *r.error);
    if (r.lookup) showLookup(*r.lookup);
    showDateCheck(r.date);
}

void BirthEntryDialog::showDateCheck(const DateCheck& check) {
    for (int i = 0; i < check.passed; ++i) setStateColour(dateEdits_[static_cast<size_t>(i)], StateColour::Aqua);
    if (check.failed < 0) {
        if (check.valid()) closeNotices();  // the date is right now: the notice has had its say
        return;
    }
    closeNotices();
    QLineEdit* e = dateEdits_[static_cast<size_t>(check.failed)];
    setStateColour(e, StateColour::Red);
    e->clear();
    e->setFocus(Qt::OtherFocusReason);
    // Reported while the user types on: the keys that follow go to the field, not to a box.
    showMessageWithoutFocus(this, MessageKind::Error, fromCp(kMessageBadDate));
}

QLineEdit* BirthEntryDialog::fieldWidget(EntryField field) const {
    switch (field) {
    case EntryField::Name:
        return nameEdit_;
    case EntryField::Place:
        return placeEdit_;
    case EntryField::Day:
        return dateEdits_[0];
    case EntryField::Month:
        return dateEdits_[1];
    case EntryField::Year:
        return dateEdits_[2];
    case EntryField::Hour:
        return dateEdits_[3];
    case EntryField::Minute:
        return dateEdits_[4];
    }
    return nameEdit_;
}

void BirthEntryDialog::focusField(EntryField field) {
    // As a tab would: a field with text has it selected, so typing replaces it.
    fieldWidget(field)->setFocus(Qt::TabFocusReason);
}

bool BirthEntryDialog::entryKey(EntryField field, QKeyEvent* event) {
    const auto key = entryKeyOf(event);
    if (!key) return false;
    const auto next = entryFieldAfterKey(field, *key);
    if (!next) return *key == EntryKey::Enter;  // Enter never reaches the dialog's buttons
    focusField(*next);
    return true;
}

// ---- the place field and the list window -------------------------------------------

bool BirthEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == nameEdit_) return entryKey(EntryField::Name, key);
        for (int i = 0; i < kDateFieldCount; ++i)
            if (watched == dateEdits_[static_cast<size_t>(i)]) return entryKey(dateField(i), key);
        if (watched == placeEdit_) {
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
                return false;
            placeKey(key);
            return true;
        }
        if (watched == placeList_) {
            bool handled = false;
            listKey(key, handled);
            return handled;
        }
        for (int i = 0; i < MC::FieldCount; ++i)
            if (watched == manualEdits_[static_cast<size_t>(i)]) return manualKey(static_cast<MC::Field>(i), key);
    } else if (type == QEvent::MouseButtonPress && watched == placeEdit_) {
        clickPlace();
    } else if (type == QEvent::MouseButtonDblClick) {
        if (watched == placeList_->viewport()) {
            if (QListWidgetItem* item = placeList_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                if (entry_.hasList()) {
                    if (auto record = entry_.picker().chooseLine(placeList_->row(item))) choose(*record);
                }
            }
            return true;
        }
        if (watched == recordsLabel_) {
            zoneRecords_->setVisible(!zoneRecords_->isVisible());
            return true;
        }
        if (watched == placeResult_) {
            placeResult_->setText(placeResult_->text().toUpper());
            return true;
        }
        if (watched == coordResult_) {
            openManual();
            return true;
        }
    } else if (type == QEvent::FocusIn) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) {
            for (int i = 0; i < MC::FieldCount; ++i) {
                if (watched != manualEdits_[static_cast<size_t>(i)]) continue;
                manual_.enter(static_cast<MC::Field>(i));
                manualRedraw();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BirthEntryDialog::placeKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_Right) {
        focusField(EntryField::Name);
        return;
    }
    if (event->key() == Qt::Key_Left) {
        focusField(EntryField::Minute);
        return;
    }
    const char ch = keyChar(event);
    if (ch == 0 || !entry_.hasList()) return;
    LocalityPicker& picker = entry_.picker();
    if (ch == '\r') {
        const auto outcome = picker.enter(datesComplete());
        switch (outcome.outcome) {
        case LocalityPicker::EnterOutcome::MissingDates:
            showMessage(this, MessageKind::Information, kMessageEnterDates);
            break;
        case LocalityPicker::EnterOutcome::DoubleClickNeeded:
            showMessage(this, MessageKind::Information, kMessageDoubleClickList);
            break;
        case LocalityPicker::EnterOutcome::Chosen:
            choose(outcome.record);
            break;
        }
        return;
    }
    picker.typeKey(ch);
    forgetPlace();
    placeEdit_->setText(fromCp(picker.prefix()));
    setStateColour(placeEdit_, StateColour::Red);
    redrawList();
    markChanged();
}

// The text no longer names the chosen place: its results go, and "Continuar" waits for a new
// choice, so the old place cannot be saved under the new text.
void BirthEntryDialog::forgetPlace() {
    if (!entry_.chosen()) return;
    entry_.forgetPlace();
    clearResults();
    continueButton_->setEnabled(false);
}

void BirthEntryDialog::clickPlace() {
    if (entry_.hasList()) entry_.picker().clickField();
    forgetPlace();
    placeEdit_->clear();
    setStateColour(placeEdit_, StateColour::Red);
    redrawList();
    markChanged();
}

void BirthEntryDialog::choose(std::int64_t record) {
    if (!guarded(this, [&] { entry_.choose(record); })) return;
    correctionResult_->clear();
    calendarResult_->clear();
    if (entry_.chosen()) placeEdit_->setText(fromCp(trimRight(shownLocalityName(entry_.chosen()->name))));
    setStateColour(placeEdit_, StateColour::Aqua);
    markChanged();
}

void BirthEntryDialog::scrollList(int action) {
    if (!entry_.hasList()) return;
    using Move = LocalityBrowser::Move;
    LocalityBrowser& b = entry_.picker().browser();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        b.move(Move::LineDown);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        b.move(Move::LineUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        b.move(Move::PageDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        b.move(Move::PageUp);
        break;
    case QAbstractSlider::SliderMove:
        b.move(Move::Thumb, placeBar_->sliderPosition());
        break;
    default:
        return;
    }
    redrawList();
    placeBar_->setSliderPosition(static_cast<int>(b.centre()));
}

void BirthEntryDialog::redrawList() {
    const QSignalBlocker quiet(placeList_);
    placeList_->clear();
    if (entry_.hasList()) {
        for (const auto& line : entry_.picker().lines()) placeList_->addItem(fromCp(line));
        // The highlight is the picker's selection, which Enter chooses; always in view.
        if (const auto line = entry_.picker().selectedLine()) {
            placeList_->setCurrentRow(*line);
            placeList_->scrollToItem(placeList_->currentItem());
        }
        const LocalityBrowser& b = entry_.picker().browser();
        const QSignalBlocker block(placeBar_);
        placeBar_->setRange(1, static_cast<int>(std::max<std::int64_t>(1, b.scrollMaximum())));
        placeBar_->setPageStep(kLocalityWindowLines);
        placeBar_->setValue(static_cast<int>(b.centre()));
    }
    placeBar_->setEnabled(entry_.hasList());
}

void BirthEntryDialog::listKey(QKeyEvent* event, bool& handled) {
    if (!entry_.hasList()) return;
    using Move = LocalityBrowser::Move;
    const int row = placeList_->currentRow();
    const int last = kLocalityWindowLines - 1;
    std::optional<Move> move;
    switch (event->key()) {
    case Qt::Key_Down:
        if (row == last) move = Move::KeyDownOnLastLine;
        break;
    case Qt::Key_Up:
        if (row == 0) move = Move::KeyUpOnFirstLine;
        break;
    case Qt::Key_PageDown:
        if (row == last) move = Move::PageDownOnLastLine;
        break;
    case Qt::Key_PageUp:
        if (row == 0) move = Move::PageUpOnFirstLine;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (row >= 0) {
            if (auto record = entry_.picker().chooseLine(row)) choose(*record);
        }
        handled = true;
        return;
    default:
        return;
    }
    if (!move) return;
    entry_.picker().browser().move(*move);
    redrawList();
    placeList_->setCurrentRow(row);
    handled = true;
}

void BirthEntryDialog::switchList(LocalityListKind kind) {
    guarded(this, [&] { entry_.switchList(kind); });
    clearResults();
    continueButton_->setEnabled(false);
    placeEdit_->clear();
    setStateColour(placeEdit_, StateColour::Red);
    redrawList();
    markChanged();
    placeEdit_->setFocus(Qt::OtherFocusReason);
}

// ---- results and the lock ----------------------------------------------------------

void BirthEntryDialog::clearResults() {
    for (QLineEdit* e : {dateResult_, julianDayResult_, placeResult_, countryResult_, coordResult_, correctionResult_,
                         calendarResult_})
        e->clear();
    localTimeCheck_->setChecked(false);
    correctionResult_->setReadOnly(false);
    zoneRecords_->clear();
}

void BirthEntryDialog::showLookup(const ZoneLookup& z) {
    calendarResult_->setText(fromCp(z.calendar));
    localTimeCheck_->setChecked(z.localMeanTime);
    correctionResult_->setReadOnly(z.localMeanTime);
    correctionResult_->setText(fromCp(z.correctionText));
    outdatedNote_->setVisible(z.outdatedNote);
    for (const auto& line : z.recordList) zoneRecords_->addItem(fromCp(line));
    dateResult_->setText(fromCp(z.dateText));
    julianDayResult_->setText(fromCp(z.julianDayText));
    placeResult_->setText(fromCp(z.placeName));
    countryResult_->setText(fromCp(z.country));
    coordResult_->setText(fromCp(z.coordText));
    setLocked(true);
    continueButton_->setEnabled(!trim(toCp(nameEdit_->text())).empty());
}

void BirthEntryDialog::setLocked(bool locked) {
    locked_ = locked;
    resultPanel_->setEnabled(!locked);
    for (QLineEdit* e : {placeResult_, countryResult_, coordResult_, correctionResult_, calendarResult_})
        setStateColour(e, locked ? StateColour::Teal : StateColour::Aqua);
    if (localTimeCheck_->isChecked()) setStateColour(correctionResult_, StateColour::Teal);
    lockButton_->setIcon(lockIcon(!locked));
    lockButton_->setProperty("glyph", locked ? "LockShut" : "LockOpen");
    if (!locked) continueButton_->setEnabled(true);
}

void BirthEntryDialog::localTimeClicked() {
    if (localTimeCheck_->isChecked()) {
        correctionResult_->setReadOnly(true);
        setStateColour(correctionResult_, StateColour::Teal);
        if (auto text = localMeanTimeFromCoord(toCp(coordResult_->text()))) correctionResult_->setText(fromCp(*text));
    } else {
        correctionResult_->setReadOnly(false);
        setStateColour(correctionResult_, StateColour::Aqua);
        correctionResult_->clear();
    }
    calendarEdited();
}

void BirthEntryDialog::calendarEdited() {
    julianDayResult_->setText(
        fromCp(julianDayForCalendar(toCp(calendarResult_->text()), dateTexts(), toCp(correctionResult_->text()))));
}

// ---- manual coordinates ------------------------------------------------------------

void BirthEntryDialog::openManual() {
    manual_.open(toCp(coordResult_->text()));
    manualRedraw();
    manualPanel_->adjustSize();
    const QPoint at = resultPanel_->mapTo(this, QPoint(0, 0));
    manualPanel_->move(std::max(0, at.x() + resultPanel_->width() - manualPanel_->width()),
                       std::max(0, at.y() + resultPanel_->height() - manualPanel_->height()));
    manualPanel_->show();
    manualPanel_->raise();
    manualEdits_[MC::LatDegrees]->setFocus(Qt::TabFocusReason);
}

void BirthEntryDialog::manualRedraw() {
    for (int i = 0; i < MC::FieldCount; ++i) {
        const auto f = static_cast<MC::Field>(i);
        QLineEdit* e = manualEdits_[static_cast<size_t>(i)];
        setTextIfChanged(e, fromCp(manual_.text(f)));
        switch (manual_.state(f)) {
        case MC::State::Blank:
            setStateColour(e, StateColour::White);
            break;
        case MC::State::Valid:
            setStateColour(e, StateColour::Aqua);
            break;
        case MC::State::Invalid:
            setStateColour(e, StateColour::Red);
            break;
        }
    }
}

void BirthEntryDialog::manualEdited(ManualCoordinates::Field field) {
    manual_.setText(field, toCp(manualEdits_[field]->text()));
    manual_.check();
    manualRedraw();
    if (static_cast<int>(manual_.text(field).size()) < MC::length(field)) return;
    if (auto next = manual_.fieldAfter(field, MC::Move::Next)) manualEdits_[*next]->setFocus(Qt::TabFocusReason);
    else manualOk_->setFocus(Qt::TabFocusReason);
}

bool BirthEntryDialog::manualKey(ManualCoordinates::Field field, QKeyEvent* event) {
    if (!isArrow(event->key())) return false;
    const MC::Move move = event->key() == Qt::Key_Right  ? MC::Move::Next
                          : event->key() == Qt::Key_Left ? MC::Move::Previous
                          : event->key() == Qt::Key_Up   ? MC::Move::Up
                                                         : MC::Move::Down;
    if (auto next = manual_.fieldAfter(field, move)) manualEdits_[*next]->setFocus(Qt::TabFocusReason);
    else if (move == MC::Move::Next) manualOk_->setFocus(Qt::TabFocusReason);
    return true;
}

void BirthEntryDialog::manualOk() {
    manual_.check();
    manualRedraw();
    if (!manual_.built()) {
        showMessage(this, MessageKind::Error, kMessageBadManualCoordinates);
        return;
    }
    coordResult_->setText(fromCp(*manual_.built()));
    // Local mean time hangs on the longitude just typed, and the Julian day on it.
    if (localTimeCheck_->isChecked()) {
        if (auto text = localMeanTimeFromCoord(toCp(coordResult_->text()))) correctionResult_->setText(fromCp(*text));
        calendarEdited();
    }
    manualPanel_->hide();
    coordResult_->setFocus(Qt::OtherFocusReason);
}

// ---- date helpers, "Continuar" and "Anular y Volver" -------------------------------

void BirthEntryDialog::today() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    const int values[kDateFieldCount] = {d.day(), d.month(), d.year(), t.hour(), t.minute()};
    for (int i = 0; i < kDateFieldCount; ++i)
        dateEdits_[static_cast<size_t>(i)]->setText(fromCp(zeroPadded(values[i], entryFieldLength(dateField(i)))));
    markChanged();
}

void BirthEntryDialog::calendarPicked() {
    const QDate d = calendarPicker_->calendarWidget()->selectedDate();
    const QTime t = QTime::currentTime();
    const int values[kDateFieldCount] = {d.day(), d.month(), d.year(), t.hour(), t.minute()};
    for (int i = 0; i < kDateFieldCount; ++i)
        dateEdits_[static_cast<size_t>(i)]->setText(fromCp(zeroPadded(values[i], entryFieldLength(dateField(i)))));
    markChanged();
}

void BirthEntryDialog::proceed() {
    setLocked(true);
    EntryForm form;
    form.name = toCp(nameEdit_->text());
    form.date = dateTexts();
    form.calendar = toCp(calendarResult_->text());
    form.locality = toCp(placeResult_->text());
    form.coordText = toCp(coordResult_->text());
    form.correction = toCp(correctionResult_->text());
    form.julianDay = toCp(julianDayResult_->text());
    form.country = toCp(countryResult_->text());
    const ContinueCheck check = checkContinue(form);
    showDateCheck(check.date);
    if (!check.ok) {
        if (!check.error && !check.message.empty()) showMessage(this, MessageKind::Warning, check.message.c_str());
        return;
    }
    if (!save_) return;
    save_->setHandOff(check.handOff);
    placeDialog(save_, anchor_ ? anchor_ : this, 10);
    // A save closes both windows; "Anular y Volver" returns here with everything typed.
    if (save_->exec() == QDialog::Accepted) done(QDialog::Accepted);
}

void BirthEntryDialog::giveUp() { reject(); }

void BirthEntryDialog::closeNotices() {
    for (QMessageBox* box : findChildren<QMessageBox*>(Qt::FindDirectChildrenOnly)) box->close();
}

void BirthEntryDialog::done(int result) {
    closeNotices();
    entry_.close();
    clearResults();
    manualPanel_->hide();
    QDialog::done(result);
}

}  // namespace athanor
