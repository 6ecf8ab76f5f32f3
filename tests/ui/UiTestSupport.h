#pragma once
// Shared pieces of the window tests: the application object, a program folder with what a
// fresh installation holds, widget look-up by object name, keys, and the driving of modal
// dialogs and message boxes.
#include "engine/CorrectionFixtures.h"
#include "foundations/Collation.h"
#include "foundations/DataRoot.h"
#include "foundations/TextFile.h"
#include "interpretation/Aspects.h"
#include "interpretation/OrbFiles.h"
#include "ui/common/UiHelpers.h"
#include "subjects/Archive.h"
#include "subjects/ArchiveRecords.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace athanor::test {

// A program folder as a fresh installation leaves it: the password file, the TMPR
// archive with its record 0, the orb files with their defaults and correction files
// holding zeros. No BASE archive: the main window creates it.
class ProgramFolderFixture {
public:
    ProgramFolderFixture() : root_(dir_.path()) {
        setCollationLocale("es");
        dir_.write("Appoggio/Appoggio1.txt", "pivona\r\n");
        Archive(root_, "TMPR").create();
        OrbSets sets;
        for (int row = 0; row < kAspectKinds; ++row) {
            const AspectKind& k = kAspectsByDisplay[static_cast<size_t>(row)];
            sets.sets[0][static_cast<size_t>(row)] = k.setA;
            sets.sets[1][static_cast<size_t>(row)] = parseRealOr(k.defaultB, 0);
            sets.sets[2][static_cast<size_t>(row)] = parseRealOr(k.defaultC, 0);
        }
        for (auto& s : sets.sets) {
            s[14] = 2;
            s[15] = 1;
        }
        sets.letter = "A";
        writeOrbSets(root_, sets);
        ChartState chart;
        writeOrbSettings(root_, sets.sets[0], chart, "A");
        writeZeroCorrectionFiles(dir_.path());
    }

    const DataRoot& root() const { return root_; }
    const TempDir& dir() const { return dir_; }
    std::filesystem::path path(const std::string& rel) const { return root_.resolve(rel); }
    std::vector<std::string> lines(const std::string& rel) const { return readLines(path(rel)); }
    std::string text(const std::string& rel) const { return TempDir::read(path(rel)); }

private:
    TempDir dir_;
    DataRoot root_;
};

// A subject stored in an archive as the save leaves it: the birth record appended, the
// notes (when given) appended and numbered, the index entry in its place.
inline int addSubject(const DataRoot& root, const std::string& archive, const std::string& name, BirthRecord record,
                      const std::array<std::string, 4>* notes = nullptr, const std::string& document = "") {
    Archive a(root, archive);
    a.create();
    if (notes) {
        const int k = a.appendNotes(NotesRecord::fromNotes(*notes, document));
        record.notesNumber = std::string(5 - std::to_string(k).size(), '0') + std::to_string(k);
    } else {
        record.notesNumber = "00000";
    }
    const int n = a.appendRecord(record);
    return a.insertEntry(makeEntryText(name, n));
}

inline BirthRecord birthRecord(const std::string& stamp, const std::string& place, const std::string& country,
                               const std::string& calendar = "GR") {
    BirthRecord r = BirthRecord::blank();
    r.birthStamp = stamp;
    r.placeText = place;
    r.calendarCode = calendar;
    r.country = country;
    r.planetSummary = r.cuspSummary = r.aspectSummary = r.reserved21 = r.reserved12 = "";
    return r;
}

// Every message shown while the object lives; questions get `answer`.
class MessageLog {
public:
    explicit MessageLog(bool answer = true) : answer_(answer) {
        setMessageHook([this](MessageKind kind, const QString& text) {
            messages.emplace_back(kind, text.toStdString());
            return answer_;
        });
    }
    ~MessageLog() { setMessageHook(nullptr); }
    void setAnswer(bool a) { answer_ = a; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.second);
        return out;
    }
    std::string last() const { return messages.empty() ? std::string() : messages.back().second; }
    void clear() { messages.clear(); }

    std::vector<std::pair<MessageKind, std::string>> messages;

private:
    bool answer_;
};

// A widget by object name below `parent`; fails the test when it is missing.
template <class W = QWidget>
W* child(const QObject* parent, const char* name) {
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << "no widget " << name;
    return w;
}

// Text typed key by key into a widget: a press and a release for each character.
inline void type(QWidget* w, const QString& text) {
    for (QChar ch : text) {
        const char16_t u = ch.toUpper().unicode();
        const int k = u < 128 ? static_cast<int>(u) : static_cast<int>(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}
inline void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }

inline void click(QAbstractButton* b) {
    ASSERT_NE(b, nullptr);
    ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString() << " is disabled";
    b->click();
}

// Lets queued work (the idle handler's zero-time timer) run.
inline void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// Runs `fn` on the next modal dialog of type T as soon as it is up. When none comes
// within five seconds the open modal dialog is closed and the test fails.
template <class T>
void whenModal(std::function<void(T*)> fn) {
    auto* timer = new QTimer;
    auto* waited = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, fn] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            // A modal dialog is on the stack before it is activated; under load the keys typed
            // next would still reach the window below. Wait until the dialog holds the focus.
            const auto holdsFocus = [w] {
                const QWidget* f = QApplication::focusWidget();
                return w->isActiveWindow() && (f == nullptr || f->window() == w);
            };
            w->activateWindow();
            for (int i = 0; i < 500 && !holdsFocus(); ++i) QTest::qWait(10);
            fn(w);
            return;
        }
        if (++*waited > 500) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            ADD_FAILURE() << "the expected dialog did not open";
            if (QWidget* m = QApplication::activeModalWidget()) m->close();
        }
    });
    timer->start();
}

}  // namespace athanor::test
