#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QInputMethodEvent>
#include <QCoreApplication>

#include "game/map_tables.h"
#include "persistence/settings.h"
#include "temp_dir.h"
#include "ui/info.h"
#include "ui/newgame.h"

namespace {

struct NewGameDialog : ::testing::Test {
    TempDir dir;
    GameState s;
    TNGDialog dialog;

    NewGameDialog() { s.Program.ProgramDirectory = dir.Str(); }

    void Open()
    {
        dialog.Prepare(s);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    template <typename W>
    W* Control(const char* name) const
    {
        W* control = dialog.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2)); }
    /// Picks a list entry with the keyboard, as a player does on a closed drop-down list.
    void Choose(QComboBox* list, int entry)
    {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < entry; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }
    /// Types into a field and leaves it for the first name field.
    void TypeAndLeave(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        Click(dialog.Edit1);
        ASSERT_TRUE(dialog.Edit1->hasFocus());
    }
};

}  // namespace

TEST_F(NewGameDialog, TwoPlayerEnablesTheSecondPlayerAndKeepsItsEntries)
{
    Open();
    const std::vector<QWidget*> second{dialog.Edit2, dialog.ComboBox2, dialog.ComboBox4, dialog.ComboBox6};
    for (QWidget* control : second)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    Click(dialog.CheckBox2);
    ASSERT_TRUE(dialog.CheckBox2->isChecked());
    for (QWidget* control : second)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    TypeAndLeave(dialog.Edit2, QStringLiteral("Bert"));
    Choose(dialog.ComboBox2, 3);

    Click(dialog.CheckBox2);
    for (QWidget* control : second)
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("Bert"));
    EXPECT_EQ(dialog.ComboBox2->currentIndex(), 3);
}

TEST_F(NewGameDialog, EachMapKeepsItsOwnStartTownsAndTheCheckedMapsAreHandedOver)
{
    Open();
    Click(dialog.CheckBox2);
    Choose(dialog.ComboBox1, 2);
    Click(dialog.RadioButton2);
    ASSERT_TRUE(dialog.RadioButton2->isChecked());
    EXPECT_TRUE(dialog.ComboBox3->isVisible());
    EXPECT_TRUE(dialog.ComboBox4->isVisible());
    for (QComboBox* hidden : {dialog.ComboBox1, dialog.ComboBox2, dialog.ComboBox5, dialog.ComboBox6})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_EQ(dialog.ComboBox3->currentText().toStdString(), "Random Town");
    Choose(dialog.ComboBox3, 5);
    Choose(dialog.ComboBox4, 10);
    EXPECT_EQ(dialog.ComboBox4->currentText().toStdString(), kTownNames[1][9]);

    Click(dialog.RadioButton3);
    Choose(dialog.ComboBox5, 1);
    Click(dialog.RadioButton1);
    EXPECT_TRUE(dialog.ComboBox1->isVisible());
    EXPECT_EQ(dialog.ComboBox1->currentIndex(), 2);
    Click(dialog.RadioButton2);
    EXPECT_EQ(dialog.ComboBox3->currentIndex(), 5);

    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const NewGameSettings settings = dialog.Settings();
    EXPECT_EQ(settings.Map, 2);
    EXPECT_TRUE(settings.TwoPlayer);
    EXPECT_EQ(settings.Player1Start, 5);
    EXPECT_EQ(settings.Player2Start, 10);
}

TEST_F(NewGameDialog, LeavingTheShareFieldKeepsItWithin50To100)
{
    Open();
    Click(dialog.CheckBox5);
    ASSERT_EQ(dialog.height(), 386);
    ASSERT_TRUE(dialog.Edit3->isVisible());
    const std::pair<const char*, const char*> cases[] = {{"20", "50"}, {"999", "100"}, {"x", "50"},    {"", "50"},
                                                         {"75", "75"}, {"99.9", "99"}, {"1000", "100"}};
    for (const auto& [typed, shown] : cases) {
        TypeAndLeave(dialog.Edit3, QString::fromLatin1(typed));
        EXPECT_EQ(dialog.Edit3->text().toStdString(), shown) << "typed " << typed;
    }
}

TEST_F(NewGameDialog, AdvancedOptionsEnlargeTheDialogAndAreHandedOver)
{
    Open();
    EXPECT_EQ(dialog.size(), QSize(435, 286));
    // The advanced controls lie below the normal height, out of sight.
    for (QWidget* advanced :
         std::initializer_list<QWidget*>{dialog.CheckBox6, dialog.Label5, dialog.Edit3, dialog.Label6})
        EXPECT_GE(advanced->y(), dialog.height()) << advanced->objectName().toStdString();

    Click(dialog.CheckBox5);
    EXPECT_EQ(dialog.size(), QSize(435, 386));
    for (QWidget* advanced :
         std::initializer_list<QWidget*>{dialog.CheckBox6, dialog.Label5, dialog.Edit3, dialog.Label6})
        EXPECT_TRUE(dialog.rect().contains(advanced->geometry())) << advanced->objectName().toStdString();
    Click(dialog.CheckBox6);
    EXPECT_EQ(dialog.height(), 386);
    TypeAndLeave(dialog.Edit3, QStringLiteral("85"));
    Click(dialog.CheckBox3);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const NewGameSettings settings = dialog.Settings();
    EXPECT_TRUE(settings.AdvancedOptions);
    EXPECT_TRUE(settings.ReduceCapacities);
    EXPECT_EQ(settings.WinningShareText, "85");
    EXPECT_FALSE(settings.DelayBuilding);
    EXPECT_TRUE(settings.Events);
    EXPECT_EQ(settings.Map, 1);

    Click(dialog.CheckBox5);
    EXPECT_EQ(dialog.size(), QSize(435, 286));
}

TEST_F(NewGameDialog, OpensWithTheLastNamesAndHandsOverDefaultsAndCutNames)
{
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer1, "Anna"));
    ASSERT_TRUE(WriteSetting(dir.Str(), settings::kPlayer2, "Bert"));
    Open();
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("Anna"));
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("Bert"));
    for (QComboBox* list : dialog.findChildren<QComboBox*>()) {
        EXPECT_EQ(list->count(), 11);
        EXPECT_EQ(list->currentIndex(), 0);
    }
    EXPECT_EQ(dialog.ComboBox5->itemText(1).toStdString(), kTownNames[2][0]);

    dialog.Edit2->setText(QString(70, QChar(u'ü')));  // the test keyboard types ASCII only
    dialog.accept();
    const NewGameSettings settings = dialog.Settings();
    EXPECT_EQ(settings.Map, 1);
    EXPECT_FALSE(settings.TwoPlayer);
    EXPECT_FALSE(settings.Expert);
    EXPECT_TRUE(settings.DelayBuilding);
    EXPECT_TRUE(settings.Events);
    EXPECT_FALSE(settings.AdvancedOptions);
    EXPECT_EQ(settings.WinningShareText, "60");
    EXPECT_EQ(settings.Player1Name, "Anna");
    EXPECT_EQ(QString::fromStdString(settings.Player2Name), QString(59, QChar(u'ü')));
    EXPECT_EQ(settings.Player1Start, 0);
    EXPECT_EQ(settings.Player2Start, 0);
}

// The name fields take what the settings file and the savegame can hold, nothing else, and say
// so where the player types; a name from a hand-edited settings file shows as it will be kept.
TEST_F(NewGameDialog, NameFieldsTakeOnlyWhatTheFilesCanHold)
{
    // An editor saved the settings file in UTF-8 with a name 1252 cannot hold.
    WriteFile(dir / "Tavrek!.ini", "\xEF\xBB\xBF[Name]\nPlayer1=Anna\nPlayer2=\u4E2D\u6587 Bert\n");
    s.Program.Language = Language::German;
    Open();
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("?? Bert"));

    QLineEdit* field = dialog.Edit1;
    field->setFocus();
    field->end(false);
    // Typed characters arrive as key presses and, from an input method, as committed text.
    const auto typeKey = [field](const QString& text) {
        QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, text, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, text, Qt::NoModifier);
    };
    const auto commit = [field](const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(field, &event);
    };
    typeKey(QStringLiteral(" M\u00FCller-L\u00FCdenscheidt \u20AC"));
    EXPECT_EQ(field->text(), QStringLiteral("Anna M\u00FCller-L\u00FCdenscheidt \u20AC"));
    EXPECT_FALSE(QToolTip::isVisible());

    const QString kept = field->text();
    for (const QString& refused : {QStringLiteral("\u4E2D\u6587\u540D\u5B57"), QStringLiteral("\U0001F37A"),
                                   QStringLiteral("\u0411\u0438\u0440")}) {
        SCOPED_TRACE(refused.toStdString());
        typeKey(refused);
        EXPECT_EQ(field->text(), kept);
        commit(refused);
        EXPECT_EQ(field->text(), kept);
    }
    // Pasted text with control characters or foreign letters is refused whole.
    for (const QString& pasted :
         {QStringLiteral("a\x1B[31mb"), QStringLiteral("tab\there"), QStringLiteral("x\u4E2D")}) {
        field->insert(pasted);
        EXPECT_EQ(field->text(), kept) << pasted.toStdString();
    }
    // The refusal says why, in the game's language, where the player types.
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Nur Zeichen, die ein Spielstand speichern kann: Buchstaben "
                                               "westeuropäischer Sprachen, Ziffern und Satzzeichen."));
    EXPECT_EQ(dialog.Edit2->toolTip(), QToolTip::text());
    QToolTip::hideText();

    dialog.accept();
    const NewGameSettings settings = dialog.Settings();
    EXPECT_EQ(QString::fromStdString(settings.Player1Name), kept);
    EXPECT_EQ(settings.Player2Name, "?? Bert");
}

TEST_F(NewGameDialog, CancelAndEscapeRejectTheDialog)
{
    Open();
    QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    Open();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(NewGameDialog, ReopeningKeepsExpertAndTwoPlayerButResetsTheRest)
{
    Open();
    Click(dialog.CheckBox1);
    Click(dialog.CheckBox2);
    Click(dialog.CheckBox3);
    Click(dialog.CheckBox4);
    Click(dialog.CheckBox5);
    Click(dialog.CheckBox6);
    TypeAndLeave(dialog.Edit3, QStringLiteral("80"));
    Click(dialog.RadioButton3);
    Choose(dialog.ComboBox5, 4);
    Choose(dialog.ComboBox6, 6);
    dialog.accept();

    Open();
    EXPECT_TRUE(dialog.CheckBox1->isChecked());
    EXPECT_TRUE(dialog.CheckBox2->isChecked());
    EXPECT_TRUE(dialog.Edit2->isEnabled());
    EXPECT_TRUE(dialog.CheckBox3->isChecked());
    EXPECT_TRUE(dialog.CheckBox4->isChecked());
    EXPECT_FALSE(dialog.CheckBox5->isChecked());
    EXPECT_FALSE(dialog.CheckBox6->isChecked());
    EXPECT_EQ(dialog.size(), QSize(435, 286));
    EXPECT_EQ(dialog.Edit3->text(), QStringLiteral("60"));
    EXPECT_TRUE(dialog.RadioButton1->isChecked());
    EXPECT_TRUE(dialog.ComboBox1->isVisible());
    EXPECT_FALSE(dialog.ComboBox5->isVisible());
    EXPECT_EQ(dialog.ComboBox5->currentIndex(), 0);
    EXPECT_EQ(dialog.ComboBox6->currentIndex(), 0);

    dialog.accept();
    const NewGameSettings settings = dialog.Settings();
    EXPECT_TRUE(settings.Expert);
    EXPECT_TRUE(settings.TwoPlayer);
    EXPECT_FALSE(settings.ReduceCapacities);
    EXPECT_EQ(settings.Map, 1);
}

TEST_F(NewGameDialog, GermanCaptionsAndBackToEnglish)
{
    s.Program.Language = Language::German;
    Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Neues Spiel"));
    EXPECT_EQ(dialog.RadioGroup1->title(), QStringLiteral("Karte"));
    EXPECT_EQ(dialog.RadioButton2->text(), QStringLiteral("Inselgruppe"));
    EXPECT_EQ(dialog.CheckBox1->text(), QStringLiteral("Profi-Modus"));
    EXPECT_EQ(dialog.CheckBox6->text(), QStringLiteral("Kapazitäten verringern"));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Name für Spieler Eins:"));
    EXPECT_EQ(dialog.Label3->text(), QStringLiteral("Start in"));
    EXPECT_EQ(dialog.Label6->text(), QStringLiteral("% Marktanteil (min. 50%)"));
    EXPECT_EQ(dialog.CancelBtn->text(), QStringLiteral("Abbrechen"));
    EXPECT_EQ(dialog.OKBtn->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.ComboBox4->itemText(0), QStringLiteral("Zufällig"));

    dialog.reject();
    s.Program.Language = Language::English;
    Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Game Setup"));
    EXPECT_EQ(dialog.CheckBox6->text(), QStringLiteral("Reduce capacities"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Name for Player two:"));
    EXPECT_EQ(dialog.ComboBox4->itemText(0), QStringLiteral("Random Town"));
}

TEST_F(NewGameDialog, EveryCaptionFitsItsControlAndNothingOverlapsInBothLanguages)
{
    EXPECT_EQ(QFontInfo(dialog.font()).family(), QStringLiteral("Liberation Sans"));
    const QFontMetrics metrics(dialog.font());
    for (const int language : {1, 2}) {
        s.Program.Language = LanguageFromNumber(language);
        Open();
        Click(dialog.CheckBox5);  // all controls in sight
        SCOPED_TRACE(language);

        for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            const std::string name = button->objectName().toStdString();
            int needed = metrics.horizontalAdvance(button->text());
            if (qobject_cast<QCheckBox*>(button))
                needed += button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            else if (qobject_cast<QRadioButton*>(button))
                needed += button->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                          button->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
            else
                needed += 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
            EXPECT_LE(needed, button->width()) << name << " \"" << button->text().toStdString() << "\"";
        }
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << label->objectName().toStdString();
            // Labels of the upper part stay inside the frame; the advanced ones inside the dialog.
            const QRect room =
                label->y() < dialog.Bevel1->geometry().bottom() ? dialog.Bevel1->geometry() : dialog.rect();
            EXPECT_TRUE(room.contains(label->geometry())) << label->objectName().toStdString();
        }
        EXPECT_TRUE(dialog.RadioGroup1->geometry().contains(dialog.RadioButton3->geometry()));
        EXPECT_GE(dialog.RadioGroup1->width(), metrics.horizontalAdvance(dialog.RadioGroup1->title()) + 16);

        // No two controls in sight overlap (the two frames hold the others).
        std::vector<QWidget*> shown;
        for (QWidget* w : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible() && w != dialog.Bevel1 && w != dialog.RadioGroup1)
                shown.push_back(w);
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                    << shown[i]->objectName().toStdString() << " and " << shown[j]->objectName().toStdString();
        dialog.reject();
    }
}

TEST(InfoDialog, StaysOnTopWithoutBlockingAndOkHidesIt)
{
    TInfoDialog info;
    EXPECT_FALSE(info.isVisible());
    EXPECT_FALSE(info.isModal());
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Information"));
    EXPECT_EQ(info.size(), QSize(313, 214));
    EXPECT_TRUE(info.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(info.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_EQ(info.Label1->text(), QStringLiteral("The TAVREK! War V2.43"));
    EXPECT_TRUE(info.Bevel1->geometry().contains(info.Label1->geometry()));
    EXPECT_GE(info.Label1->width(), QFontMetrics(info.font()).horizontalAdvance(info.Label1->text()));
    EXPECT_EQ(info.OKBtn->geometry(), QRect(119, 180, 75, 25));
    EXPECT_TRUE(info.OKBtn->isDefault());

    for (int shown = 0; shown < 2; ++shown) {
        info.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
        QTest::mouseClick(info.OKBtn, Qt::LeftButton);
        EXPECT_FALSE(info.isVisible());
    }
}
