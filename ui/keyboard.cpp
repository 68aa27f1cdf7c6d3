/// @file keyboard.cpp The window's keys.
#include "ui/keyboard.h"

#include <QAbstractButton>
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

void ApplyAccessKeys(const BuiltControls& controls, Language language)
{
    for (const AccessKeyCaption& key : kPanelAccessKeys) {
        auto* button = controls.Get<QAbstractButton>(key.Control);
        const QString caption = Q(key.Caption.In(language));
        button->setText(caption);
        const qsizetype mark = caption.indexOf('&');
        const QString letter = caption.mid(mark + 1, 1).toUpper();
        QString hint = button->toolTip() + QString(" (Alt+%1)").arg(letter);
        if (key.Control == "Button8")
            hint = button->toolTip() + (language == Language::German ? " (Taste N oder Alt+N)" : " (key N or Alt+N)");
        button->setToolTip(hint);
    }
}

void SetPanelTabOrder(const BuiltControls& controls)
{
    for (size_t i = 1; i < kPanelTabOrder.size(); ++i)
        QWidget::setTabOrder(controls.Widget(kPanelTabOrder[i - 1]), controls.Widget(kPanelTabOrder[i]));
}
