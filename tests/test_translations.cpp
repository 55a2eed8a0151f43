// SPDX-License-Identifier: GPL-3.0-or-later
// The program in German: which language the environment asks for, the model's messages put
// into German, and a client area that reads (and draws) the same in every language.
#include "aircraft.h"
#include "app_window.h"
#include "main_window.h"
#include "model_texts.h"
#include "sim_comm.h"
#include "translations.h"
#include "window_model.h"

#include <QApplication>
#include <QMenuBar>
#include <QStatusBar>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>

using namespace quelo;

namespace {

TEST(WantedLanguages, FollowLanguageThenTheLocaleUnlessLcAllAsksForTheProgramsOwn)
{
    const QStringList none;
    // LANGUAGE alone, or over the C locale a container starts with.
    EXPECT_EQ(wantedLanguages("de", "", "", ""), QStringList{"de"});
    EXPECT_EQ(wantedLanguages("de", "", "", "C.UTF-8"), QStringList{"de"});
    EXPECT_EQ(wantedLanguages("fr:de_CH", "", "", "en_US.UTF-8"),
              (QStringList{"fr", "de_CH", "de", "en_US", "en"}));
    // LC_ALL=C silences LANGUAGE, as with gettext.
    EXPECT_EQ(wantedLanguages("de", "C", "", "de_DE.UTF-8"), none);
    EXPECT_EQ(wantedLanguages("", "POSIX", "", ""), none);
    // LC_ALL before LC_MESSAGES before LANG; the country before the bare language.
    EXPECT_EQ(wantedLanguages("", "", "de_AT.UTF-8@euro", "fr_FR"), (QStringList{"de_AT", "de"}));
    EXPECT_EQ(wantedLanguages("", "de_DE", "fr_FR", "en_GB"), (QStringList{"de_DE", "de"}));
    EXPECT_EQ(wantedLanguages("", "", "", ""), none);
}

// A German program for the test's span; English again afterwards.
class German : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(installTranslations(*qApp, {"fr", "de_DE", "de"}), "de_DE"); }
    void TearDown() override
    {
        for (QTranslator *t : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

TEST_F(German, ModelMessagesAreTranslatedWithTheirPartsAndOthersKeptAsWritten)
{
    EXPECT_EQ(modelText("Not confirmed before the link was lost, and not sent again: LED MODE 2, "
                        "TACH - VOLTS 5 volts and MAX RPM LIMIT 3072. The store was not sent: "
                        "the link was lost"),
              "Nicht bestätigt (Verbindung verloren) und nicht erneut gesendet: LED MODE 2, "
              "TACH - VOLTS 5 volts und MAX RPM LIMIT 3072. Der Speicherbefehl wurde nicht "
              "gesendet: Verbindung verloren");
    // A part from a file is put in once: a "%1" inside it is not filled again.
    EXPECT_EQ(modelText("run.csv, line 3: \"%1x\" in column rpm is not a number"),
              "run.csv, Zeile 3: \"%1x\" in Spalte rpm ist keine Zahl");
    EXPECT_EQ(modelText(differsFromLastText("D-EABC")),
              "Die Konfiguration dieses Moduls weicht von der zuletzt für D-EABC gespeicherten ab "
              "— ist das wirklich D-EABC?");
    EXPECT_EQ(modelText("Configuration stored"), "Konfiguration gespeichert");
    std::string why;
    EXPECT_FALSE(aircraftName(std::string(40, 'A'), why));
    EXPECT_EQ(modelText(why), "länger als 32 Zeichen");
    EXPECT_EQ(modelText("run.csv, line 1: not a recording: the header should read time,rpm"),
              "run.csv, Zeile 1: keine Aufzeichnung: die Kopfzeile sollte lauten: time,rpm");
    EXPECT_EQ(modelText("Marked at the second turn"), "Marked at the second turn");
    EXPECT_EQ(modelText(""), "");
}

// Everything the client area draws, with the connection panel closed and open.
std::vector<QImage> clientPictures(WindowModel &model, AppWindow &window)
{
    std::vector<QImage> pictures{window.client().grab().toImage()};
    model.Command4_Click();
    pictures.push_back(window.client().grab().toImage());
    model.Command1_Click();
    return pictures;
}

struct WindowRun
{
    test::VirtualClock clock;
    sim::ModuleSim module;
    test::SimComm comm{clock, module};
    WindowModel model{comm, clock};
    AppWindow window{model};
};

TEST(GermanWindow, ChangesMenusAndStatusBarButNotOnePixelOfTheClientArea)
{
    auto english = std::make_unique<WindowRun>();
    const std::vector<QImage> englishClient = clientPictures(english->model, english->window);
    english->model.Command3_Click(); // not connected: the status bar says nothing was stored
    const QString englishNote = english->window.statusBar()->currentMessage();
    const QString englishMenu = english->window.menuBar()->actions().value(0)->text();
    english.reset();

    ASSERT_FALSE(installTranslations(*qApp, {"de"}).isEmpty());
    WindowRun german;
    const std::vector<QImage> germanClient = clientPictures(german.model, german.window);
    german.model.Command3_Click();
    EXPECT_NE(german.window.menuBar()->actions().value(0)->text(), englishMenu);
    EXPECT_FALSE(englishNote.isEmpty());
    EXPECT_NE(german.window.statusBar()->currentMessage(), englishNote);
    ASSERT_EQ(germanClient.size(), englishClient.size());
    for (std::size_t i = 0; i < germanClient.size(); ++i)
        EXPECT_TRUE(germanClient[i] == englishClient[i]) << "picture " << i << " differs";
    for (QTranslator *t : qApp->findChildren<QTranslator *>())
        QCoreApplication::removeTranslator(t);
}

} // namespace
