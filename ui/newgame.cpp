/// @file newgame.cpp The new game setup dialog.
#include "ui/newgame.h"

#include <algorithm>
#include <array>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolTip>
#include <QValidator>

#include "commands/new_game_setup.h"
#include "game/text.h"
#include "platform/cp1252.h"

namespace {

// The layout was drawn for an outer height of 313 pixels, 413 with the advanced options; the
// title bar and frame took 27 of them, so the client area is 286 high (the controls' own
// coordinates end there) and 386 when enlarged. The width is the client width.
constexpr int kClientWidth = 435;
constexpr int kNormalClientHeight = 286;
constexpr int kEnlargedClientHeight = 386;

constexpr size_t kShareFieldLength = 3;  // the share field counts only its first three characters
constexpr size_t kTypedNameLength = 59;

template <typename W>
W* Place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* PlaceLabel(QWidget* parent, const char* name, int left, int top)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    return label;
}

QString Qs(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

struct Caption {
    const char* Control;
    LocalText Text;
};

const Caption kCaptions[] = {
    {"CancelBtn", {"Cancel", "Abbrechen"}},
    {"CheckBox1", {"Expert", "Profi-Modus"}},
    {"CheckBox2", {"2 Player", "2 Spieler"}},
    {"CheckBox3", {"Delay building", "Bauzeiten"}},
    {"CheckBox4", {"Events", "Ereignisse"}},
    {"CheckBox5", {"Advanced Options", "Erweiterte Optionen"}},
    {"CheckBox6", {"Reduce capacities", "Kapazitäten verringern"}},
    {"Label1", {"Name for Player one:", "Name für Spieler Eins:"}},
    {"Label2", {"Name for Player two:", "Name für Spieler Zwei:"}},
    {"Label3", {"Start in", "Start in"}},
    {"Label4", {"Start in", "Start in"}},
    {"Label5", {"Winning conditions:", "Siegesbedingung:"}},
    {"Label6", {"% market share (min. 50%)", "% Marktanteil (min. 50%)"}},
    {"RadioGroup1", {"Map", "Karte"}},
    {"RadioButton1", {"Peninsula", "Halbinsel"}},
    {"RadioButton2", {"Islands", "Inselgruppe"}},
    {"RadioButton3", {"Continental", "Festland"}},
};

/// The name fields take only what the settings file and the savegame can hold, so the name a
/// player sees is the name that is saved.
class StorableNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return FitsCp1252Line(input.toStdString()) ? Acceptable : Invalid;
    }
};

const LocalText kNameHint{
    "Only characters a savegame can hold: letters of Western European languages, digits and punctuation.",
    "Nur Zeichen, die ein Spielstand speichern kann: Buchstaben westeuropäischer Sprachen, Ziffern und "
    "Satzzeichen."};

}  // namespace

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    return font;
}

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect frame = window->frameGeometry();
    window->move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

TNGDialog::TNGDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("NGDialog"));
    setModal(true);
    setFont(DialogFont());
    setFixedSize(kClientWidth, kNormalClientHeight);

    Bevel1 = Place<QFrame>(this, "Bevel1", 8, 8, 329, 241);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    RadioGroup1 = Place<QGroupBox>(this, "RadioGroup1", 24, 24, 97, 105);
    // The caption sits on the frame's top line, so the frame encloses the three buttons with
    // room to spare, as the layout expects.
    RadioGroup1->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
    RadioButton1 = Place<QRadioButton>(this, "RadioButton1", 32, 48, 81, 17);
    RadioButton2 = Place<QRadioButton>(this, "RadioButton2", 32, 72, 81, 17);
    RadioButton3 = Place<QRadioButton>(this, "RadioButton3", 32, 96, 81, 17);
    auto* maps = new QButtonGroup(this);
    maps->addButton(RadioButton1, 1);
    maps->addButton(RadioButton2, 2);
    maps->addButton(RadioButton3, 3);

    Label1 = PlaceLabel(this, "Label1", 136, 32);
    Edit1 = Place<QLineEdit>(this, "Edit1", 136, 48, 185, 21);
    Label3 = PlaceLabel(this, "Label3", 136, 72);
    // The three maps' lists lie on top of each other; only the checked map's are shown.
    ComboBox1 = Place<QComboBox>(this, "ComboBox1", 136, 88, 185, 21);
    ComboBox3 = Place<QComboBox>(this, "ComboBox3", 136, 88, 185, 21);
    ComboBox5 = Place<QComboBox>(this, "ComboBox5", 136, 88, 185, 21);
    Label2 = PlaceLabel(this, "Label2", 136, 128);
    Edit2 = Place<QLineEdit>(this, "Edit2", 136, 144, 185, 21);
    Label4 = PlaceLabel(this, "Label4", 136, 168);
    ComboBox2 = Place<QComboBox>(this, "ComboBox2", 136, 184, 185, 21);
    ComboBox4 = Place<QComboBox>(this, "ComboBox4", 136, 184, 185, 21);
    ComboBox6 = Place<QComboBox>(this, "ComboBox6", 136, 184, 185, 21);
    for (QComboBox* list : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6})
        list->setMaxVisibleItems(kStartTownEntries);

    CheckBox1 = Place<QCheckBox>(this, "CheckBox1", 32, 136, 89, 25);
    CheckBox2 = Place<QCheckBox>(this, "CheckBox2", 32, 168, 89, 17);
    CheckBox3 = Place<QCheckBox>(this, "CheckBox3", 32, 192, 97, 25);
    CheckBox4 = Place<QCheckBox>(this, "CheckBox4", 32, 224, 105, 17);
    CheckBox5 = Place<QCheckBox>(this, "CheckBox5", 32, 256, 137, 25);
    // Below the normal height: seen only while the dialog is enlarged.
    CheckBox6 = Place<QCheckBox>(this, "CheckBox6", 32, 288, 137, 25);
    Label5 = PlaceLabel(this, "Label5", 32, 320);
    Edit3 = Place<QLineEdit>(this, "Edit3", 32, 336, 33, 21);
    Label6 = PlaceLabel(this, "Label6", 72, 340);

    OKBtn = Place<QPushButton>(this, "OKBtn", 348, 8, 75, 25);
    OKBtn->setText(QStringLiteral("OK"));
    OKBtn->setDefault(true);
    CancelBtn = Place<QPushButton>(this, "CancelBtn", 348, 38, 75, 25);

    // Frames first, so every control lies above them.
    RadioGroup1->lower();
    Bevel1->lower();

    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton2Click(); });
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) { if (on) RadioButton3Click(); });
    connect(CheckBox2, &QCheckBox::toggled, this, &TNGDialog::CheckBox2Click);
    connect(CheckBox5, &QCheckBox::toggled, this, &TNGDialog::CheckBox5Click);
    connect(CheckBox6, &QCheckBox::clicked, this, &TNGDialog::CheckBox5Click);
    connect(OKBtn, &QPushButton::clicked, this, &TNGDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TNGDialog::CancelBtnClick);
    Edit3->installEventFilter(this);
    auto* names = new StorableNameValidator(this);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setValidator(names);
        // A refused character says why at once, where the player types.
        connect(edit, &QLineEdit::inputRejected, this, [this, edit] {
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), edit->toolTip(), edit);
        });
    }

    Edit3->setText(QStringLiteral("60"));
    RadioButton1->setChecked(true);
    CheckBox3->setChecked(true);
    CheckBox4->setChecked(true);
    CheckBox2Click();
    ApplyNewGameLanguage(1);
}

void TNGDialog::ApplyNewGameLanguage(int language)
{
    setWindowTitle(Qs(LocalText{"New Game Setup", "Neues Spiel"}.In(language)));
    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setToolTip(Qs(kNameHint.In(language)));
    for (const Caption& caption : kCaptions) {
        QWidget* control = findChild<QWidget*>(QString::fromLatin1(caption.Control));
        const QString text = Qs(caption.Text.In(language));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(text);
            label->adjustSize();  // labels take the size of their text
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            group->setTitle(text);
        }
    }
}

void TNGDialog::Prepare(const GameState& s)
{
    ApplyNewGameLanguage(s.Program.Language);
    const NewGameSetup setup = PrepareNewGameSetup(s);
    Edit1->setText(Qs(setup.Player1Name));
    Edit2->setText(Qs(setup.Player2Name));
    RadioButton1->setChecked(true);
    ShowMapLists(1);
    CheckBox5->setChecked(false);
    CheckBox6->setChecked(false);
    CheckBox5Click();
    Edit3->setText(QStringLiteral("60"));
    for (int map = 1; map <= kMaps; ++map)
        for (int player = 0; player < 2; ++player) {
            QComboBox* list = StartList(map, player);
            list->clear();
            for (const std::string& town : setup.StartTowns[map - 1])
                list->addItem(Qs(town));
            list->setCurrentIndex(0);
        }
    CheckBox2Click();
    CheckBox3->setChecked(true);
    CheckBox4->setChecked(true);
}

NewGameSettings TNGDialog::Settings() const
{
    NewGameSettings settings;
    settings.Map = RadioButton1->isChecked() ? 1 : RadioButton2->isChecked() ? 2 : 3;
    settings.TwoPlayer = CheckBox2->isChecked();
    settings.Expert = CheckBox1->isChecked();
    settings.DelayBuilding = CheckBox3->isChecked();
    settings.Events = CheckBox4->isChecked();
    settings.AdvancedOptions = CheckBox5->isChecked();
    settings.ReduceCapacities = CheckBox6->isChecked();
    settings.WinningShareText = Utf8Prefix(Edit3->text().toStdString(), kShareFieldLength);
    settings.Player1Name = Utf8Prefix(Edit1->text().toStdString(), kTypedNameLength);
    settings.Player2Name = Utf8Prefix(Edit2->text().toStdString(), kTypedNameLength);
    settings.Player1Start = std::max(0, StartList(settings.Map, 0)->currentIndex());
    settings.Player2Start = std::max(0, StartList(settings.Map, 1)->currentIndex());
    return settings;
}

QComboBox* TNGDialog::StartList(int map, int player) const
{
    const std::array<std::array<QComboBox*, 2>, kMaps> lists{
        {{ComboBox1, ComboBox2}, {ComboBox3, ComboBox4}, {ComboBox5, ComboBox6}}};
    return lists[static_cast<size_t>(std::clamp(map, 1, kMaps) - 1)][static_cast<size_t>(player)];
}

void TNGDialog::ShowMapLists(int map)
{
    for (int m = 1; m <= kMaps; ++m)
        for (int player = 0; player < 2; ++player)
            StartList(m, player)->setVisible(m == map);
}

void TNGDialog::RadioButton1Click()
{
    ShowMapLists(1);
}
void TNGDialog::RadioButton2Click()
{
    ShowMapLists(2);
}
void TNGDialog::RadioButton3Click()
{
    ShowMapLists(3);
}

void TNGDialog::CheckBox2Click()
{
    const bool two = CheckBox2->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(Edit2), static_cast<QWidget*>(ComboBox2),
                             static_cast<QWidget*>(ComboBox4), static_cast<QWidget*>(ComboBox6)})
        control->setEnabled(two);
}

void TNGDialog::CheckBox5Click()
{
    setFixedSize(kClientWidth, CheckBox5->isChecked() ? kEnlargedClientHeight : kNormalClientHeight);
}

void TNGDialog::Edit3Exit()
{
    Edit3->setText(QString::number(WinningShareFromText(Edit3->text().toStdString())));
}

void TNGDialog::OKBtnClick()
{
    accept();
}

void TNGDialog::CancelBtnClick()
{
    reject();
}

bool TNGDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the share field puts it within its limits; a context menu over it is not leaving.
    if (watched == Edit3 && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        Edit3Exit();
    return QDialog::eventFilter(watched, event);
}

void TNGDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}
