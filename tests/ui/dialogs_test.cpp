// The best-opponent and highscore dialogs: geometry, texts in both languages, OK closes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "persistence/settings.h"
#include "small_world.h"
#include "temp_dir.h"
#include "ui/high.h"
#include "ui/zwischen.h"

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

GameState DialogWorld(int language)
{
    GameState s = TenNamedCompanies(1);
    s.Program.Language = LanguageFromNumber(language);
    s.CurrentCompany = 3;
    s.Quality[3][0] = 1.0f;
    s.Capacity[3][0][3] = 1200;
    s.Sales[3][0][3] = 700;
    s.HasDepot[3][3] = true;
    s.Quality[6][0] = 1.0f;
    s.Quality[6][1] = 1.0f;
    s.Capacity[6][0][6] = 2500;
    s.Sales[6][0][6] = 1250;
    return s;
}

TEST(ZwischenDialog, LaidOutAsGiven)
{
    TZwischenDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(496, 187));
    EXPECT_EQ(dialog.OKBtn->geometry(), QRect(210, 148, 75, 25));
    EXPECT_TRUE(dialog.OKBtn->isDefault());
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit1")->geometry(), QRect(16, 40, 137, 21));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit2")->geometry(), QRect(16, 104, 137, 21));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit13")->geometry(), QRect(432, 40, 33, 21));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("Edit14")->geometry(), QRect(432, 104, 33, 21));
    EXPECT_EQ(dialog.findChild<QLabel*>("Label2")->pos(), QPoint(16, 80));
    EXPECT_EQ(dialog.findChild<QLabel*>("Label7")->pos(), QPoint(384, 16));
    for (QLineEdit* field : dialog.Edits) {
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(field->hasFrame());
    }
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST(ZwischenDialog, FilledForTheMovingCompanyInBothLanguages)
{
    TZwischenDialog dialog;
    dialog.Fill(ComputeBestOpponent(DialogWorld(1)));
    EXPECT_EQ(dialog.windowTitle(), "Best Opponent");
    EXPECT_EQ(dialog.Labels[0]->text(), "Your Company:");
    EXPECT_EQ(dialog.Labels[7]->text(), "Shares");
    const QStringList own = {"Company3", "1", "1", "1", "1200 l", "700 l", " 7.0%"};
    const QStringList best = {"Company6", "2", "1", "0", "2500 l", "1250 l", "12.5%"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(dialog.Edits[2 * column]->text(), own[column]) << "Edit" << 2 * column + 1;
        EXPECT_EQ(dialog.Edits[2 * column + 1]->text(), best[column]) << "Edit" << 2 * column + 2;
    }
    dialog.Fill(ComputeBestOpponent(DialogWorld(2)));
    EXPECT_EQ(dialog.windowTitle(), "Zwischenstand");
    EXPECT_EQ(dialog.Labels[1]->text(), "Bester Konkurrent:");
    EXPECT_EQ(dialog.Labels[6]->text(), Q("Verkäufe"));
    EXPECT_EQ(dialog.Edits[1]->text(), "Company6");
}

TEST(ZwischenDialog, OkClosesIt)
{
    TZwischenDialog dialog;
    dialog.Fill(ComputeBestOpponent(DialogWorld(1)));
    dialog.open();
    ASSERT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// Presses the dialog's OK as soon as it is shown modally.
void PressOkWhenShown(QDialog& dialog, QPushButton* ok)
{
    QTimer::singleShot(0, &dialog, [&dialog, ok] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.isModal());
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}

TEST(ZwischenDialog, ShowForFillsItAndWaitsForOk)
{
    TZwischenDialog dialog;
    PressOkWhenShown(dialog, dialog.OKBtn);
    dialog.ShowFor(DialogWorld(2));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Zwischenstand");
    EXPECT_EQ(dialog.Edits[0]->text(), "Company3");
}

TEST(HighDialog, ShowForReadsTheSettingsAndWaitsForOk)
{
    TempDir dir;
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscoreHolder[0], "Ida from Isle"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscorePoints[0], "90"));
    THighDialog dialog;
    PressOkWhenShown(dialog, dialog.OKBtn);
    dialog.ShowFor(dir.Str(), Language::English);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Edits[0]->text(), "Ida from Isle  90 Points");
}

TEST(HighDialog, LaidOutAsGiven)
{
    THighDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(355, 214));
    EXPECT_EQ(dialog.windowTitle(), "Highscore");
    EXPECT_EQ(dialog.OKBtn->pos(), QPoint(140, 180));
    EXPECT_TRUE(dialog.OKBtn->isDefault());
    const QPoint labels[3] = {{24, 24}, {24, 72}, {24, 120}};
    const QRect fields[3] = {{24, 40, 305, 21}, {24, 88, 305, 21}, {24, 136, 305, 21}};
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(dialog.findChild<QLabel*>(QString("Label%1").arg(m + 1))->pos(), labels[m]);
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QString("Edit%1").arg(m + 1))->geometry(), fields[m]);
    }
}

TEST(HighDialog, ShowsTheSettingsFilesEntriesInBothLanguages)
{
    TempDir dir;
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscoreHolder[1], "Grete aus Gau"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kHighscorePoints[1], "321"));
    THighDialog dialog;
    dialog.Fill(ReadHighscores(dir.Str(), Language::German));
    EXPECT_EQ(dialog.Labels[0]->text(), "Halbinsel:");
    EXPECT_EQ(dialog.Labels[2]->text(), "Festland:");
    EXPECT_EQ(dialog.Edits[0]->text(), "  0 Punkte");
    EXPECT_EQ(dialog.Edits[1]->text(), "Grete aus Gau  321 Punkte");
    dialog.Fill(ReadHighscores(dir.Str(), Language::English));
    EXPECT_EQ(dialog.Labels[1]->text(), "Islands:");
    EXPECT_EQ(dialog.Edits[1]->text(), "Grete aus Gau  321 Points");
    EXPECT_EQ(dialog.windowTitle(), "Highscore");

    dialog.open();
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
