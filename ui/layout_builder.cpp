/// @file layout_builder.cpp Widgets from a layout table.
#include "ui/layout_builder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdio>
#include <cstdlib>

#include "ui/zoom.h"

namespace {

QWidget* MakeControl(QWidget& parent, ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
        return new QPushButton(&parent);
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(&parent);
        button->setDefault(true);
        return button;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(&parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        return list;
    }
    case ControlKind::Edit:
        return new QLineEdit(&parent);
    case ControlKind::Field: {
        auto* field = new QLineEdit(&parent);
        field->setReadOnly(true);
        field->setFrame(false);
        field->setFocusPolicy(Qt::NoFocus);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        field->setPalette(palette);
        return field;
    }
    case ControlKind::Grid:
        return new QTableWidget(&parent);
    case ControlKind::Tabs:
        return new QTabWidget(&parent);
    case ControlKind::RadioButton:
        return new QRadioButton(&parent);
    case ControlKind::CheckBox:
        return new QCheckBox(&parent);
    case ControlKind::ComboBox:
        return new QComboBox(&parent);
    case ControlKind::Label:
        return new QLabel(&parent);
    case ControlKind::GroupBox:
        return new QGroupBox(&parent);
    case ControlKind::Frame: {
        auto* frame = new QFrame(&parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        return frame;
    }
    case ControlKind::StatusBar: {
        auto* bar = new QStatusBar(&parent);
        bar->setSizeGripEnabled(false);
        bar->setContentsMargins(0, 0, 0, 0);
        return bar;
    }
    }
    return nullptr;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

BuiltControls BuildControls(QWidget& parent, const WindowLayout& layout, int zoom)
{
    BuiltControls built;
    for (const ControlLayout& control : layout.Controls) {
        QWidget* widget = MakeControl(parent, control.Kind);
        widget->setObjectName(QString::fromUtf8(control.Name.data(), static_cast<qsizetype>(control.Name.size())));
        const LayoutRect r = Zoomed(control.Rect, zoom);
        if (control.Kind == ControlKind::Label)
            widget->move(r.X, r.Y);
        else
            widget->setGeometry(r.X, r.Y, r.Width, r.Height);
        built.controls_.emplace_back(&control, widget);
    }
    return built;
}

QWidget* BuiltControls::Widget(std::string_view name) const
{
    for (const auto& [control, widget] : controls_)
        if (control->Name == name)
            return widget;
    Check(false, name);
    return nullptr;
}

void BuiltControls::Check(bool found, std::string_view name)
{
    if (found)
        return;
    std::fprintf(stderr, "no control %.*s of that kind\n", static_cast<int>(name.size()), name.data());
    std::abort();
}

void BuiltControls::ApplyLanguage(Language language) const
{
    for (const auto& [control, widget] : controls_) {
        if (control->Hint)
            widget->setToolTip(Q(control->Hint->In(language)));
        if (!control->Caption)
            continue;
        const QString text = Q(control->Caption->In(language));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
            label->adjustSize();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(text);
        }
    }
}

void BuiltControls::ApplyZoom(int zoom) const
{
    for (const auto& [control, widget] : controls_) {
        const LayoutRect r = Zoomed(control->Rect, zoom);
        if (control->Kind == ControlKind::Label) {
            widget->move(r.X, r.Y);
            widget->adjustSize();
        } else {
            widget->setGeometry(r.X, r.Y, r.Width, r.Height);
        }
    }
}
