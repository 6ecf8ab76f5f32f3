// Qt's own dialogs speak Spanish: the translations the program loads at start-up are
// installed (Debian qt6-translations-l10n) where Qt looks for them.
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, QtsOwnTextsAndFormatsAreSpanish) {
    QTranslator qtSpanish;
    ASSERT_TRUE(qtSpanish.load("qtbase_es", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        << QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
    QCoreApplication::installTranslator(&qtSpanish);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));

    QDialogButtonBox buttons(QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text().remove('&'), "Cancelar");
    EXPECT_EQ(buttons.button(QDialogButtonBox::Open)->text().remove('&'), "Abrir");
    EXPECT_EQ(QLocale().toString(0.5, 'f', 1), "0,5");
    EXPECT_EQ(QLocale().monthName(5), "mayo");
    QCalendarWidget calendar;
    EXPECT_EQ(calendar.locale().language(), QLocale::Spanish);

    QCoreApplication::removeTranslator(&qtSpanish);
    QLocale::setDefault(previous);
}

}  // namespace
