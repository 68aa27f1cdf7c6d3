/// @file keyboard.cpp The window's keys.
#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QListWidget>
#include <QWidget>

const std::array<AccessKeyCaption, 9> kPanelAccessKeys = {{
    {"Button1", {"&Build Brewery", "&Brauerei bauen"}},
    {"Button2", {"&Extend Brewery", "Brauerei &erweitern"}},
    {"Button3", {"Build &Depot", "&Lagerhaus bauen"}},
    {"Button4", {"T&ransport Beer", "Bier t&ransportieren"}},
    {"Button5", {"Transfer &Money", "&Geld überweisen"}},
    {"Button6", {"Change &Prices", "&Preise ändern"}},
    {"Button7", {"Ne&w Brand", "Ne&ue Biersorte"}},
    {"Button8", {"&Next Turn", "&Nächste Runde"}},
    {"Button11", {"Town and Sales &Information", "Stadt- und Verkaufs&infos"}},
}};

const std::array<std::string_view, 25> kPanelTabOrder = {
    "Button11", "Button1",  "Button3",     "Button5",     "Button7",      "Button2", "Button4",  "Button6",  "Button8",
    "ListBox1", "Edit1",    "Edit2",       "Edit3",       "Edit4",        "Edit5",   "ListBox3", "ListBox6", "ListBox5",
    "ListBox4", "ListBox2", "StringGrid1", "StringGrid2", "PageControl1", "Button9", "Button10",
};

const std::array<MenuShortcut, 6> kMenuShortcuts = {{
    {MenuEntry::New1, "Ctrl+N"},
    {MenuEntry::Open1, "Ctrl+O"},
    {MenuEntry::Save1, "Ctrl+S"},
    {MenuEntry::Saveas1, "Ctrl+Shift+S"},
    {MenuEntry::Exit1, "Ctrl+Q"},
    {MenuEntry::Contents1, "F1"},
}};

namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

void ApplyAccessKeys(const BuiltControls& controls, Language language, bool namedInHints)
{
    for (const AccessKeyCaption& key : kPanelAccessKeys) {
        auto* button = controls.Get<QAbstractButton>(key.Control);
        const QString caption = Q(key.Caption.In(language));
        button->setText(caption);
        if (!namedInHints)
            continue;
        const qsizetype mark = caption.indexOf('&');
        const QString letter = caption.mid(mark + 1, 1).toUpper();
        QString hint = button->toolTip() + QString(" (Alt+%1)").arg(letter);
        if (key.Control == "Button8")
            hint = button->toolTip() + (language == Language::German ? " (Taste N oder Alt+N)" : " (key N or Alt+N)");
        if (key.Control == "Button11")
            hint += Q(
                LocalText{"; Page Down / Page Up: next / previous town", "; Bild ab / Bild auf: nächste / vorige Stadt"}
                    .In(language));
        button->setToolTip(hint);
    }
}

namespace {

bool IsEnter(const QKeyEvent* key)
{
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class PanelKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (auto* button = qobject_cast<QAbstractButton*>(watched); button && IsEnter(key)) {
            // The button takes its Enter before the window's OK shortcut can.
            key->accept();
            if (event->type() == QEvent::KeyPress && button->isEnabled())
                button->click();
            return true;
        }
        auto* list = qobject_cast<QListWidget*>(watched);
        if (list && event->type() == QEvent::KeyPress && list->count() > 0 && list->selectedItems().isEmpty() &&
            (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && key->modifiers() == Qt::NoModifier) {
            // The list shows its current entry with the focus; the first step chooses it.
            const int row =
                list->currentRow() >= 0 ? list->currentRow() : (key->key() == Qt::Key_Down ? 0 : list->count() - 1);
            list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            return true;
        }
        return false;
    }
};

}  // namespace

void InstallPanelKeys(const BuiltControls& controls, QObject* owner)
{
    auto* keys = new PanelKeys(owner);
    for (const auto& [layout, widget] : controls.All())
        if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QListWidget*>(widget))
            widget->installEventFilter(keys);
}

QString OkCaptionWithAccessKey(PanelMode mode, const std::string& caption, Language language)
{
    if (mode != PanelMode::TownInformation)
        return QString::fromStdString(caption);
    return Q(LocalText{"S&ales", "&Verkäufe"}.In(language));
}

void SetPanelTabOrder(const BuiltControls& controls)
{
    for (size_t i = 1; i < kPanelTabOrder.size(); ++i)
        QWidget::setTabOrder(controls.Widget(kPanelTabOrder[i - 1]), controls.Widget(kPanelTabOrder[i]));
}
