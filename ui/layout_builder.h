/// @file layout_builder.h Builds a window's controls from its layout table, one loop for every
/// window, and sets their words in a language.
#pragma once

#include <QWidget>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/window_layouts.h"

/// The widgets one table built, in the table's order.
class BuiltControls {
public:
    /// The widget of that name as the type it was built as; a name or type the table does not
    /// give is a programming error (aborts).
    template <typename W>
    W* Get(std::string_view name) const
    {
        W* widget = qobject_cast<W*>(Widget(name));
        Check(widget != nullptr, name);
        return widget;
    }
    QWidget* Widget(std::string_view name) const;
    const std::vector<std::pair<const ControlLayout*, QWidget*>>& All() const { return controls_; }

    /// Every caption and hint the table gives, in the language; labels take the size of their
    /// text.
    void ApplyLanguage(Language language) const;
    /// Puts every control at its table rectangle zoomed (percent); labels move there and take
    /// the size of their text in the font they have now.
    void ApplyZoom(int zoom) const;

private:
    friend BuiltControls BuildControls(QWidget& parent, const WindowLayout& layout, int zoom);
    static void Check(bool found, std::string_view name);

    std::vector<std::pair<const ControlLayout*, QWidget*>> controls_;
};

/// Creates the table's controls on the parent at their rectangles (zoomed, in percent), named as
/// in the table, in the table's order (a later one lies above an earlier one).
BuiltControls BuildControls(QWidget& parent, const WindowLayout& layout, int zoom = 100);
