#include "ui/subjects/BirthEntryDialog.h"

#include "foundations/Format.h"
#include "ui/common/Pictures.h"
#include "subjects/ArchiveRecords.h"
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
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace athanor {

namespace {

// Limits what the user types without cutting what the window writes (setText is not
// validated): the correction field shows look-up texts longer than may be typed.
class TypedLength : public QValidator {
public:
    TypedLength(int length, QObject* parent) : QValidator(parent), length_(length) {}
    State validate(QString& input, int&) const override { return input.size() <= length_ ? Acceptable : Invalid; }

private:
    int length_;
};

QLabel* label(QWidget* parent, const char* cp1252) { return new QLabel(fromCp(cp1252), parent); }

void setTextIfChanged(QLineEdit* e, const QString& text) {
    if (e->text() != text) e->setText(text);
}

bool isArrow(int key) { return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down; }

std::optional<EntryKey> entryKeyOf(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return std::nullopt;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return EntryKey::Enter;
    case Qt::Key_Right: return EntryKey::Right;
    case Qt::Key_Left: return EntryKey::Left;
    case Qt::Key_Up: return EntryKey::Up;
    case Qt::Key_Down: return EntryKey::Down;
    default: return std::nullopt;
    }
}

using MC = ManualCoordinates;

}  // namespace

BirthEntryDialog::BirthEntryDialog(Workstation& ws, SaveSubjectDialog* save, QWidget* anchor, QWidget* parent)
    : QDialog(parent), ws_(ws), save_(save), anchor_(anchor), entry_(ws.root) {
    setObjectName("FoInputSpa");
    setWindowTitle(fromCp("Datos de Nacimiento de tipo"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    build();
    connectFields();
    setTabOrders();
    setFixedSize(sizeHint());
}

BirthEntryDialog::~BirthEntryDialog() { IdleHandler::remove(this); }

// ---- building ----------------------------------------------------------------------

void BirthEntryDialog::build() {
    sogg_ = widgets::field(this, "EditSogg", kNameWidth);
    forceUpperCase(sogg_);
    sogg_->setText(fromCp(kFirstSubjectName));

    static const char* const dateNames[kDateFieldCount] = {"EditGiorno", "EditMese", "EditAnno", "EditOra",
                                                           "EditMinuti"};
    const QFontMetrics fm(font());
    for (int i = 0; i < kDateFieldCount; ++i) {
        const int length = entryFieldLength(dateField(i));
        QLineEdit* e = widgets::field(this, dateNames[i], length);
        e->setFixedWidth(fm.horizontalAdvance(QString(length + 2, '0')) + 12);
        e->setAlignment(Qt::AlignCenter);
        date_[static_cast<size_t>(i)] = e;
    }
    picker_ = new QDateEdit(this);
    picker_->setObjectName("DateTimePicker1");
    picker_->setCalendarPopup(true);
    picker_->setDisplayFormat("dd/MM/yyyy");
    picker_->setToolTip(fromCp("Elegir la fecha en el calendario"));
    oggi_ = widgets::button(this, "BitBtnOggi", "Hoy", widgets::EnterKey::Ignored);
    oggi_->setToolTip(fromCp("Fecha y hora de este momento"));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label(this, "Nombre y apellido"));
    nameRow->addWidget(sogg_, 1);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(label(this, "Fecha (d\xED" "a / mes / a\xF1o)"));
    dateRow->addWidget(date_[0]);
    dateRow->addWidget(label(this, "/"));
    dateRow->addWidget(date_[1]);
    dateRow->addWidget(label(this, "/"));
    dateRow->addWidget(date_[2]);
    dateRow->addSpacing(16);
    dateRow->addWidget(label(this, "Hora local"));
    dateRow->addWidget(date_[3]);
    dateRow->addWidget(label(this, ":"));
    dateRow->addWidget(date_[4]);
    dateRow->addSpacing(16);
    dateRow->addWidget(picker_);
    dateRow->addWidget(oggi_);
    dateRow->addStretch();

    // The place: its first letters, the list window and the two lists.
    auto* placeBox = new QGroupBox(fromCp("Localidad de nacimiento"), this);
    placeBox->setObjectName("GroupBoxLocal");
    local_ = widgets::field(placeBox, "EditLocal");
    local_->setFont(QFont("DejaVu Sans Mono", 9));
    local_->setToolTip(fromCp("Escriba las primeras letras de la localidad"));
    list_ = widgets::lineList(placeBox, "ListBox1", kLocalityWindowLines, 42);
    list_->setToolTip(fromCp("Doble clic para elegir la localidad"));
    bar_ = widgets::scrollBar(placeBox, "ScrollBar1");
    bar_->setFixedHeight(list_->height());
    italia_ = widgets::button(placeBox, "BBItalia", "Localidades Italianas", widgets::EnterKey::Ignored);
    estero_ = widgets::button(placeBox, "BBperson", "Localidades Extranjeras", widgets::EnterKey::Ignored);
    label1_ = label(placeBox, "Especifique siempre el nombre");
    label1_->setObjectName("Label1");
    records_ = new QComboBox(placeBox);
    records_->setObjectName("ComboBox2");
    records_->setFont(QFont("DejaVu Sans Mono", 8));
    QSizePolicy keep = records_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    records_->setSizePolicy(keep);
    labNote_ = label(placeBox, kOutdatedTimesNote);
    labNote_->setObjectName("LabNote");
    labNote_->setStyleSheet("QLabel { color: red; font-weight: bold; }");
    keep = labNote_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    labNote_->setSizePolicy(keep);

    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    listRow->addWidget(list_);
    listRow->addWidget(bar_);
    listRow->addStretch();
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(italia_);
    listButtons->addWidget(estero_);
    listButtons->addStretch();
    auto* placeLayout = new QVBoxLayout(placeBox);
    placeLayout->addWidget(label(placeBox, "Escriba las primeras letras y elija en la lista"));
    placeLayout->addWidget(local_);
    placeLayout->addLayout(listRow);
    placeLayout->addLayout(listButtons);
    placeLayout->addWidget(label1_);
    placeLayout->addWidget(records_);
    placeLayout->addWidget(labNote_);
    placeLayout->addStretch();

    // The results of the look-up, locked until BBLock opens them.
    panelResult_ = new QGroupBox(fromCp("Resultados"), this);
    panelResult_->setObjectName("PanelResult");
    dataEstesa_ = widgets::field(panelResult_, "EditDataEstesa", 0, true);
    jd_ = widgets::field(panelResult_, "EditJD", 0, true);
    locEstesa_ = widgets::field(panelResult_, "EditLocEstesa", kLocalityNameCapacity);
    locEstesa_->setToolTip(fromCp("Doble clic: may\xFAsculas"));
    stato_ = widgets::field(panelResult_, "EditStato", kLocalityCountryCapacity);
    coord_ = widgets::field(panelResult_, "EditCoord", 12);
    forceUpperCase(coord_);
    coord_->setToolTip(fromCp("Doble clic: inserci\xF3n manual de las coordenadas"));
    fuso_ = widgets::field(panelResult_, "EditFuso");
    fuso_->setValidator(new TypedLength(6, fuso_));
    fuso_->setToolTip(fromCp("Horas que se suman a la hora local para obtener el Tiempo Universal"));
    calend_ = widgets::field(panelResult_, "EditCalend", 4);
    forceUpperCase(calend_);
    calend_->setToolTip(fromCp("GREG o GIUL"));
    locale_ = new QCheckBox(fromCp("Usar hora local"), panelResult_);
    locale_->setObjectName("CheckBoxLocale");
    for (QLineEdit* e : {dataEstesa_, jd_}) {
        setStateColour(e, StateColour::Teal);
        e->setFocusPolicy(Qt::ClickFocus);  // computed: Tab passes them by
    }
    const QFontMetrics fmr(dataEstesa_->font());
    for (QLineEdit* e : {coord_, fuso_, calend_, jd_})
        e->setFixedWidth(fmr.horizontalAdvance(QStringLiteral("0000000,0000")) + 16);
    auto* results = new QGridLayout(panelResult_);
    int row = 0;
    for (auto [text, w] : {std::pair{"Fecha", dataEstesa_}, {"D\xED" "a juliano (TU)", jd_}, {"Localidad", locEstesa_},
                           {"Pa\xEDs", stato_}, {"Coordenadas", coord_}, {"Correcci\xF3n total (h)", fuso_},
                           {"Calendario", calend_}}) {
        results->addWidget(label(panelResult_, text), row, 0);
        results->addWidget(w, row++, 1);
    }
    results->addWidget(locale_, row++, 1);
    results->setColumnStretch(1, 1);
    results->setRowStretch(row, 1);

    lock_ = new QToolButton(this);
    lock_->setObjectName("BBLock");
    lock_->setIconSize(QSize(24, 24));
    lock_->setToolTip(fromCp("Desbloquear / bloquear los resultados"));
    prosegui_ = widgets::button(this, "BBprosegui", "Continuar", widgets::EnterKey::Ignored);
    ritorna_ = widgets::button(this, "BBRitorna", "Anular y Volver", widgets::EnterKey::Ignored);

    auto* resultColumn = new QVBoxLayout;
    resultColumn->addWidget(panelResult_, 1);
    auto* lockRow = new QHBoxLayout;
    lockRow->addWidget(lock_);
    lockRow->addWidget(label(this, "Desbloquear para corregir"));
    lockRow->addStretch();
    resultColumn->addLayout(lockRow);

    auto* middle = new QHBoxLayout;
    middle->addWidget(placeBox);
    middle->addLayout(resultColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prosegui_);
    buttons->addStretch();
    buttons->addWidget(ritorna_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(dateRow);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    panelMan_ = static_cast<QFrame*>(buildManualPanel());
    panelMan_->hide();
    records_->hide();
    labNote_->hide();
}

QWidget* BirthEntryDialog::buildManualPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("PanelMan");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    static const char* const names[MC::FieldCount] = {"EditGrdLat", "EditNS",     "EditPriLat", "EditGrdLon",
                                                      "EditEWgrd",  "EditPriLon", "EditOreLon", "EditMinLon",
                                                      "EditSecLon", "EditEWore"};
    const QFontMetrics fm(font());
    for (int i = 0; i < MC::FieldCount; ++i) {
        const auto f = static_cast<MC::Field>(i);
        QLineEdit* e = widgets::field(panel, names[i], MC::length(f));
        e->setFixedWidth(fm.horizontalAdvance(QString(MC::length(f) + 2, '0')) + 12);
        e->setAlignment(Qt::AlignCenter);
        man_[static_cast<size_t>(i)] = e;
    }
    manOk_ = widgets::button(panel, "BitBtn1", "&OK", widgets::EnterKey::Ignored);
    manCanc_ = widgets::button(panel, "BitBtn2", "&Canc", widgets::EnterKey::Ignored);
    auto* grid = new QGridLayout(panel);
    auto* title = label(panel, "Inserction Manual");
    title->setStyleSheet("QLabel { font-weight: bold; }");
    grid->addWidget(title, 0, 0, 1, 9);
    auto put = [&](int r, const char* caption, std::initializer_list<std::pair<MC::Field, const char*>> cells) {
        grid->addWidget(label(panel, caption), r, 0);
        int c = 1;
        for (auto [f, unit] : cells) {
            grid->addWidget(man_[f], r, c++);
            grid->addWidget(label(panel, unit), r, c++);
        }
    };
    put(1, "Latitud", {{MC::LatDegrees, "\xB0"}, {MC::LatLetter, "N/S"}, {MC::LatMinutes, "'"}});
    put(2, "Longitud en grados", {{MC::LonDegrees, "\xB0"}, {MC::LonLetter, "E/W"}, {MC::LonMinutes, "'"}});
    put(3, "Longitud en horas",
        {{MC::LonHours, "h"}, {MC::LonTimeMinutes, "m"}, {MC::LonSeconds, "s"}, {MC::LonTimeLetter, "E/W"}});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(manOk_);
    buttons->addWidget(manCanc_);
    grid->addLayout(buttons, 4, 0, 1, 9);
    panel->adjustSize();
    return panel;
}

void BirthEntryDialog::connectFields() {
    for (QWidget* w : {static_cast<QWidget*>(sogg_), static_cast<QWidget*>(local_), static_cast<QWidget*>(list_)})
        w->installEventFilter(this);
    for (QLineEdit* e : date_) e->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    label1_->installEventFilter(this);
    locEstesa_->installEventFilter(this);
    coord_->installEventFilter(this);

    // A new name needs no new look-up: one would trim the name while it is typed ("ROSSI "
    // before "MARIO") and throw away corrections made by hand in the unlocked results. It
    // only decides whether locked results may go on.
    connect(sogg_, &QLineEdit::textEdited, this, [this](const QString& name) {
        if (locked_ && !locEstesa_->text().isEmpty()) prosegui_->setEnabled(!name.trimmed().isEmpty());
    });
    for (int i = 0; i < kDateFieldCount; ++i) {
        QLineEdit* e = date_[static_cast<size_t>(i)];
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
    connect(oggi_, &QPushButton::clicked, this, &BirthEntryDialog::today);
    connect(picker_->calendarWidget(), &QCalendarWidget::clicked, this, &BirthEntryDialog::calendarPicked);
    connect(picker_->calendarWidget(), &QCalendarWidget::activated, this, &BirthEntryDialog::calendarPicked);

    connect(bar_, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (!entry_.hasList()) return;
        using Move = LocalityBrowser::Move;
        LocalityBrowser& b = entry_.picker().browser();
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: b.move(Move::LineDown); break;
        case QAbstractSlider::SliderSingleStepSub: b.move(Move::LineUp); break;
        case QAbstractSlider::SliderPageStepAdd: b.move(Move::PageDown); break;
        case QAbstractSlider::SliderPageStepSub: b.move(Move::PageUp); break;
        case QAbstractSlider::SliderMove: b.move(Move::Thumb, bar_->sliderPosition()); break;
        default: return;
        }
        redrawList();
        bar_->setSliderPosition(static_cast<int>(b.centre()));
    });
    connect(italia_, &QPushButton::clicked, this, [this] { switchList(LocalityListKind::Italian); });
    connect(estero_, &QPushButton::clicked, this, [this] { switchList(LocalityListKind::Foreign); });

    connect(lock_, &QToolButton::clicked, this, [this] { setLocked(!locked_); });
    connect(locale_, &QCheckBox::clicked, this, &BirthEntryDialog::localTimeClicked);
    connect(calend_, &QLineEdit::textEdited, this, &BirthEntryDialog::calendarEdited);

    for (int i = 0; i < MC::FieldCount; ++i) {
        const auto f = static_cast<MC::Field>(i);
        man_[static_cast<size_t>(i)]->installEventFilter(this);
        connect(man_[static_cast<size_t>(i)], &QLineEdit::textEdited, this, [this, f] { manualEdited(f); });
    }
    connect(manOk_, &QPushButton::clicked, this, &BirthEntryDialog::manualOk);
    connect(manCanc_, &QPushButton::clicked, panelMan_, &QWidget::hide);

    connect(prosegui_, &QPushButton::clicked, this, &BirthEntryDialog::proceed);
    connect(ritorna_, &QPushButton::clicked, this, &BirthEntryDialog::giveUp);
}

void BirthEntryDialog::setTabOrders() {
    QList<QWidget*> chain{sogg_};
    for (QLineEdit* e : date_) chain << e;
    chain << picker_ << oggi_ << local_ << list_ << italia_ << estero_ << records_ << locEstesa_
          << stato_ << coord_ << fuso_ << calend_ << locale_ << lock_ << prosegui_ << ritorna_;
    for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
    // The manual panel: the latitude, the degree form, its buttons, then the hour form
    // (tabbing on from the degrees must not land in the hours, which would empty them).
    QList<QWidget*> manual{man_[MC::LatDegrees], man_[MC::LatLetter], man_[MC::LatMinutes], man_[MC::LonDegrees],
                           man_[MC::LonLetter],  man_[MC::LonMinutes], manOk_,             manCanc_,
                           man_[MC::LonHours],   man_[MC::LonTimeMinutes], man_[MC::LonSeconds],
                           man_[MC::LonTimeLetter]};
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
        sogg_->setText(fromCp(kFirstSubjectName));
    }
    for (QLineEdit* e : date_) {
        e->clear();
        setStateColour(e, StateColour::White);
    }
    clearResults();
    local_->clear();
    setStateColour(local_, StateColour::Red);
    panelMan_->hide();
    records_->hide();
    labNote_->hide();
    guarded(this, [&] { entry_.open(); });
    redrawList();
    picker_->setDate(QDate::currentDate());
    stato_->setText(fromCp("ITALIA"));
    setLocked(true);
    prosegui_->setEnabled(false);
    sogg_->setFocus(Qt::OtherFocusReason);
    IdleHandler::install(this, [this] { onIdle(); });
}

void BirthEntryDialog::markChanged() {
    entry_.markChanged();
    if (IdleHandler::owner() != this) IdleHandler::install(this, [this] { onIdle(); });
    else IdleHandler::poke();
}

DateTexts BirthEntryDialog::dateTexts() const {
    DateTexts t;
    for (size_t i = 0; i < t.size(); ++i) t[i] = toCp(date_[i]->text());
    return t;
}

bool BirthEntryDialog::datesComplete() const {
    for (const auto& t : dateTexts())
        if (trim(t).empty()) return false;
    return true;
}

void BirthEntryDialog::onIdle() {
    if (!entry_.pending()) return;
    labNote_->hide();
    const BirthEntry::Recompute r = entry_.recompute(dateTexts(), static_cast<int>(ws_.settings.calendarRule));
    if (r.lookup || r.error) {
        clearResults();
        prosegui_->setEnabled(false);
    }
    if (r.error) showFileError(this, *r.error);
    if (r.lookup) showLookup(*r.lookup);
    showDateCheck(r.date);
}

void BirthEntryDialog::showDateCheck(const DateCheck& check) {
    for (int i = 0; i < check.passed; ++i) setStateColour(date_[static_cast<size_t>(i)], StateColour::Aqua);
    if (check.failed < 0) return;
    QLineEdit* e = date_[static_cast<size_t>(check.failed)];
    setStateColour(e, StateColour::Red);
    e->clear();
    e->setFocus(Qt::OtherFocusReason);
    showMessage(this, MessageKind::Error, kMessageBadDate);
}

QLineEdit* BirthEntryDialog::fieldWidget(EntryField field) const {
    switch (field) {
    case EntryField::Name: return sogg_;
    case EntryField::Place: return local_;
    case EntryField::Day: return date_[0];
    case EntryField::Month: return date_[1];
    case EntryField::Year: return date_[2];
    case EntryField::Hour: return date_[3];
    case EntryField::Minute: return date_[4];
    }
    return sogg_;
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
        if (watched == sogg_) return entryKey(EntryField::Name, key);
        for (int i = 0; i < kDateFieldCount; ++i)
            if (watched == date_[static_cast<size_t>(i)]) return entryKey(dateField(i), key);
        if (watched == local_) {
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
                return false;
            placeKey(key);
            return true;
        }
        if (watched == list_) {
            bool handled = false;
            listKey(key, handled);
            return handled;
        }
        for (int i = 0; i < MC::FieldCount; ++i)
            if (watched == man_[static_cast<size_t>(i)]) return manualKey(static_cast<MC::Field>(i), key);
    } else if (type == QEvent::MouseButtonPress && watched == local_) {
        clickPlace();
    } else if (type == QEvent::MouseButtonDblClick) {
        if (watched == list_->viewport()) {
            if (QListWidgetItem* item = list_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                if (entry_.hasList()) {
                    if (auto record = entry_.picker().chooseLine(list_->row(item))) choose(*record);
                }
            }
            return true;
        }
        if (watched == label1_) {
            records_->setVisible(!records_->isVisible());
            return true;
        }
        if (watched == locEstesa_) {
            locEstesa_->setText(locEstesa_->text().toUpper());
            return true;
        }
        if (watched == coord_) {
            openManual();
            return true;
        }
    } else if (type == QEvent::FocusIn) {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) {
            for (int i = 0; i < MC::FieldCount; ++i) {
                if (watched != man_[static_cast<size_t>(i)]) continue;
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
    local_->setText(fromCp(picker.prefix()));
    setStateColour(local_, StateColour::Red);
    redrawList();
    markChanged();
}

void BirthEntryDialog::clickPlace() {
    if (entry_.hasList()) entry_.picker().clickField();
    local_->clear();
    setStateColour(local_, StateColour::Red);
    redrawList();
    markChanged();
}

void BirthEntryDialog::choose(std::int64_t record) {
    if (!guarded(this, [&] { entry_.choose(record); })) return;
    fuso_->clear();
    calend_->clear();
    if (entry_.chosen()) local_->setText(fromCp(trimRight(shownLocalityName(entry_.chosen()->name))));
    setStateColour(local_, StateColour::Aqua);
    markChanged();
}

void BirthEntryDialog::redrawList() {
    drawing_ = true;
    const int row = list_->currentRow();
    list_->clear();
    if (entry_.hasList()) {
        for (const auto& line : entry_.picker().lines()) list_->addItem(fromCp(line));
        if (row >= 0 && row < list_->count()) list_->setCurrentRow(row);
        const LocalityBrowser& b = entry_.picker().browser();
        const QSignalBlocker block(bar_);
        bar_->setRange(1, static_cast<int>(std::max<std::int64_t>(1, b.scrollMaximum())));
        bar_->setPageStep(kLocalityWindowLines);
        bar_->setValue(static_cast<int>(b.centre()));
    }
    bar_->setEnabled(entry_.hasList());
    drawing_ = false;
}

void BirthEntryDialog::listKey(QKeyEvent* event, bool& handled) {
    if (!entry_.hasList()) return;
    using Move = LocalityBrowser::Move;
    const int row = list_->currentRow();
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
    list_->setCurrentRow(row);
    handled = true;
}

void BirthEntryDialog::switchList(LocalityListKind kind) {
    guarded(this, [&] { entry_.switchList(kind); });
    clearResults();
    prosegui_->setEnabled(false);
    local_->clear();
    setStateColour(local_, StateColour::Red);
    redrawList();
    markChanged();
    local_->setFocus(Qt::OtherFocusReason);
}

// ---- results and the lock ----------------------------------------------------------

void BirthEntryDialog::clearResults() {
    for (QLineEdit* e : {dataEstesa_, jd_, locEstesa_, stato_, coord_, fuso_, calend_}) e->clear();
    locale_->setChecked(false);
    fuso_->setReadOnly(false);
    records_->clear();
}

void BirthEntryDialog::showLookup(const ZoneLookup& z) {
    calend_->setText(fromCp(z.calendar));
    locale_->setChecked(z.localMeanTime);
    fuso_->setReadOnly(z.localMeanTime);
    fuso_->setText(fromCp(z.correctionText));
    labNote_->setVisible(z.outdatedNote);
    for (const auto& line : z.recordList) records_->addItem(fromCp(line));
    dataEstesa_->setText(fromCp(z.dateText));
    jd_->setText(fromCp(z.julianDayText));
    locEstesa_->setText(fromCp(z.placeName));
    stato_->setText(fromCp(z.country));
    coord_->setText(fromCp(z.coordText));
    setLocked(true);
    prosegui_->setEnabled(!trim(toCp(sogg_->text())).empty());
}

void BirthEntryDialog::setLocked(bool locked) {
    locked_ = locked;
    panelResult_->setEnabled(!locked);
    for (QLineEdit* e : {locEstesa_, stato_, coord_, fuso_, calend_})
        setStateColour(e, locked ? StateColour::Teal : StateColour::Aqua);
    if (locale_->isChecked()) setStateColour(fuso_, StateColour::Teal);
    lock_->setIcon(lockIcon(!locked));
    lock_->setProperty("glyph", locked ? "LockShut" : "LockOpen");
    if (!locked) prosegui_->setEnabled(true);
}

void BirthEntryDialog::localTimeClicked() {
    if (locale_->isChecked()) {
        fuso_->setReadOnly(true);
        setStateColour(fuso_, StateColour::Teal);
        if (auto text = localMeanTimeFromCoord(toCp(coord_->text()))) fuso_->setText(fromCp(*text));
    } else {
        fuso_->setReadOnly(false);
        setStateColour(fuso_, StateColour::Aqua);
        fuso_->clear();
    }
}

void BirthEntryDialog::calendarEdited() {
    jd_->setText(fromCp(julianDayForCalendar(toCp(calend_->text()), dateTexts(), toCp(fuso_->text()))));
}

// ---- manual coordinates ------------------------------------------------------------

void BirthEntryDialog::openManual() {
    manual_.open(toCp(coord_->text()));
    manualRedraw();
    panelMan_->adjustSize();
    const QPoint at = panelResult_->mapTo(this, QPoint(0, 0));
    panelMan_->move(std::max(0, at.x() + panelResult_->width() - panelMan_->width()),
                    std::max(0, at.y() + panelResult_->height() - panelMan_->height()));
    panelMan_->show();
    panelMan_->raise();
    man_[MC::LatDegrees]->setFocus(Qt::TabFocusReason);
}

void BirthEntryDialog::manualRedraw() {
    for (int i = 0; i < MC::FieldCount; ++i) {
        const auto f = static_cast<MC::Field>(i);
        QLineEdit* e = man_[static_cast<size_t>(i)];
        setTextIfChanged(e, fromCp(manual_.text(f)));
        switch (manual_.state(f)) {
        case MC::State::Blank: setStateColour(e, StateColour::White); break;
        case MC::State::Valid: setStateColour(e, StateColour::Aqua); break;
        case MC::State::Invalid: setStateColour(e, StateColour::Red); break;
        }
    }
}

void BirthEntryDialog::manualEdited(ManualCoordinates::Field field) {
    manual_.setText(field, toCp(man_[field]->text()));
    manual_.check();
    manualRedraw();
    if (static_cast<int>(manual_.text(field).size()) < MC::length(field)) return;
    if (auto next = manual_.fieldAfter(field, MC::Move::Next)) man_[*next]->setFocus(Qt::TabFocusReason);
    else manOk_->setFocus(Qt::TabFocusReason);
}

bool BirthEntryDialog::manualKey(ManualCoordinates::Field field, QKeyEvent* event) {
    if (!isArrow(event->key())) return false;
    const MC::Move move = event->key() == Qt::Key_Right  ? MC::Move::Next
                          : event->key() == Qt::Key_Left ? MC::Move::Previous
                          : event->key() == Qt::Key_Up   ? MC::Move::Up
                                                         : MC::Move::Down;
    if (auto next = manual_.fieldAfter(field, move)) man_[*next]->setFocus(Qt::TabFocusReason);
    else if (move == MC::Move::Next) manOk_->setFocus(Qt::TabFocusReason);
    return true;
}

void BirthEntryDialog::manualOk() {
    manual_.check();
    manualRedraw();
    if (!manual_.built()) {
        showMessage(this, MessageKind::Error, kMessageBadManualCoordinates);
        return;
    }
    coord_->setText(fromCp(*manual_.built()));
    panelMan_->hide();
    coord_->setFocus(Qt::OtherFocusReason);
}

// ---- date helpers, "Continuar" and "Anular y Volver" -------------------------------

void BirthEntryDialog::today() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    const int values[kDateFieldCount] = {d.day(), d.month(), d.year(), t.hour(), t.minute()};
    for (int i = 0; i < kDateFieldCount; ++i)
        date_[static_cast<size_t>(i)]->setText(
            fromCp(zeroPadded(values[i], entryFieldLength(dateField(i)))));
    markChanged();
}

void BirthEntryDialog::calendarPicked() {
    const QDate d = picker_->calendarWidget()->selectedDate();
    const QTime t = QTime::currentTime();
    const int values[kDateFieldCount] = {d.day(), d.month(), d.year(), t.hour(), t.minute()};
    for (int i = 0; i < kDateFieldCount; ++i)
        date_[static_cast<size_t>(i)]->setText(
            fromCp(zeroPadded(values[i], entryFieldLength(dateField(i)))));
    markChanged();
}

void BirthEntryDialog::proceed() {
    setLocked(true);
    EntryForm form;
    form.name = toCp(sogg_->text());
    form.date = dateTexts();
    form.calendar = toCp(calend_->text());
    form.locality = toCp(locEstesa_->text());
    form.coordText = toCp(coord_->text());
    form.correction = toCp(fuso_->text());
    form.julianDay = toCp(jd_->text());
    form.country = toCp(stato_->text());
    const ContinueCheck check = checkContinue(form);
    showDateCheck(check.date);
    if (!check.ok) {
        if (!check.error && !check.message.empty()) showMessage(this, MessageKind::Warning, check.message.c_str());
        return;
    }
    if (!save_) return;
    save_->setHandOff(check.handOff);
    placeDialog(save_, anchor_ ? anchor_ : this, 10);
    const int result = save_->exec();
    // The save window closes both windows, whichever way it is left.
    done(result);
}

void BirthEntryDialog::giveUp() { reject(); }

void BirthEntryDialog::done(int result) {
    entry_.close();
    clearResults();
    panelMan_->hide();
    QDialog::done(result);
}

}  // namespace athanor
