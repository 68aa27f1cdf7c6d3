/// @file window_zoom.cpp Grids and painted rectangles at a zoom.
#include "ui/window_zoom.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QStyle>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTableWidget>
#include <QVariant>

#include "ui/dialog_support.h"
#include "ui/window_layouts.h"
#include "ui/zoom.h"

namespace {

// Where a grid keeps its layout at 100 %: the column widths, then the row height; and the
// heading's font (some headings have the desktop's font for headings, not the window's).
constexpr const char* kGridLayoutProperty = "tavrekGridLayout";
constexpr const char* kHeadingFontProperty = "tavrekHeadingFont";

}  // namespace

void SetGridLayout(QTableWidget& grid, std::span<const int> columnWidths, int rowHeight, int zoom)
{
    QVariantList lengths;
    for (const int width : columnWidths)
        lengths << width;
    lengths << rowHeight;
    grid.setProperty(kGridLayoutProperty, lengths);
    grid.setProperty(kHeadingFontProperty, grid.horizontalHeader()->font());
    ZoomGrid(grid, zoom);
}

void ZoomGrid(QTableWidget& grid, int zoom)
{
    const QVariantList lengths = grid.property(kGridLayoutProperty).toList();
    if (lengths.isEmpty())
        return;
    const int rowHeight = Zoomed(lengths.back().toInt(), zoom);
    QHeaderView* rows = grid.verticalHeader();
    // Rows of the layout's height whatever the style would make of the font.
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    grid.horizontalHeader()->setFixedHeight(rowHeight);
    // A heading never zoomed keeps the font it finds by itself; once zoomed it is told its font.
    const QFont heading = grid.property(kHeadingFontProperty).value<QFont>();
    if (zoom != 100 || grid.horizontalHeader()->testAttribute(Qt::WA_SetFont))
        grid.horizontalHeader()->setFont(ZoomedFont(heading, zoom));
    // Each column's edges zoomed, so the columns together keep the grid's width.
    int left = 0;
    for (int column = 0; column + 1 < lengths.size(); ++column) {
        const int right = left + lengths[column].toInt();
        grid.setColumnWidth(column, Zoomed(right, zoom) - Zoomed(left, zoom));
        left = right;
    }
}

void ZoomDialog(QDialog& dialog, const WindowLayout& layout, int zoom, int clientHeight)
{
    dialog.setFont(WindowFont(zoom));
    for (const ControlLayout& control : layout.Controls) {
        const QString name = QString::fromUtf8(control.Name.data(), static_cast<qsizetype>(control.Name.size()));
        QWidget* widget = dialog.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        if (!widget)
            continue;
        const LayoutRect r = Zoomed(control.Rect, zoom);
        if (control.Kind == ControlKind::Label) {
            widget->move(r.X, r.Y);
            widget->adjustSize();
        } else {
            widget->setGeometry(r.X, r.Y, r.Width, r.Height);
        }
    }
    dialog.setFixedSize(Zoomed(layout.ClientWidth, zoom), Zoomed(clientHeight, zoom));
}

QFont ZoomedFont(const QFont& font, int zoom)
{
    QFont zoomed = font;
    if (font.pixelSize() > 0)
        zoomed.setPixelSize(font.pixelSize() * zoom / 100);
    else
        zoomed.setPointSizeF(font.pointSizeF() * zoom / 100);
    return zoomed;
}

QRect ZoomedRect(const QRect& layoutRect, int zoom)
{
    const LayoutRect r =
        Zoomed(LayoutRect{layoutRect.x(), layoutRect.y(), layoutRect.width(), layoutRect.height()}, zoom);
    return {r.X, r.Y, r.Width, r.Height};
}

namespace {

/// The desktop's style with its indicators and icons grown by the zoom.
class ZoomStyle : public QProxyStyle {
public:
    explicit ZoomStyle(const QString& base) : QProxyStyle(base) {}
    void SetZoom(int zoom) { zoom_ = zoom; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        if (unzoomed_)
            return size;
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
        case PM_MenuButtonIndicator:
        case PM_SmallIconSize:
        case PM_ButtonIconSize:
        case PM_MessageBoxIconSize:
        case PM_ListViewIconSize:
        case PM_IconViewIconSize:
        case PM_TabBarIconSize:
        case PM_ToolBarIconSize:
        case PM_LargeIconSize:
            return size * zoom_ / 100;
        default:
            return size;
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        if (control == CC_ComboBox && zoom_ != 100 && !unzoomed_) {
            if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
                QStyleOptionComboBox small = *combo;
                DrawAsAt100(control, small, combo->rect, painter, widget);
                return;
            }
        }
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || bar == nullptr || zoom_ == 100 || unzoomed_) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // A scroll bar's arrows have a size of their own in the style: the bar is drawn as at
        // 100 % and grown as a whole, arrows included.
        const qreal factor = zoom_ / 100.0;
        QStyleOptionSlider small = *bar;
        small.rect = QRect(0, 0, qRound(bar->rect.width() / factor), qRound(bar->rect.height() / factor));
        painter->save();
        painter->translate(bar->rect.topLeft());
        painter->scale(factor, factor);
        unzoomed_ = true;
        QProxyStyle::drawComplexControl(control, &small, painter, widget);
        unzoomed_ = false;
        painter->restore();
    }

private:
    void DrawAsAt100(ComplexControl control, QStyleOptionComplex& small, const QRect& rect, QPainter* painter,
                     const QWidget* widget) const
    {
        const qreal factor = zoom_ / 100.0;
        small.rect = QRect(0, 0, qRound(rect.width() / factor), qRound(rect.height() / factor));
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(factor, factor);
        unzoomed_ = true;
        QProxyStyle::drawComplexControl(control, &small, painter, widget);
        unzoomed_ = false;
        painter->restore();
    }

    int zoom_ = 100;
    mutable bool unzoomed_ = false;  ///< set while a control is drawn as at 100 %
};

}  // namespace

void ApplyStyleZoom(int zoom)
{
    auto* style = dynamic_cast<ZoomStyle*>(QApplication::style());
    if (style == nullptr) {
        if (zoom == 100)
            return;  // the desktop's style as it is
        style = new ZoomStyle(QApplication::style()->name());
        QApplication::setStyle(style);  // the application owns it
    }
    style->SetZoom(zoom);
    // Sizes that come from the style are asked for again.
    for (QWidget* widget : QApplication::allWidgets()) {
        widget->updateGeometry();
        widget->update();
    }
}

void ZoomMessageBox(QMessageBox& box, int zoom)
{
    box.setFont(DesktopFont("QMessageBox", zoom));
    const QPixmap icon = box.iconPixmap();
    const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    if (zoom != 100 && !icon.isNull() && icon.deviceIndependentSize().width() < side)
        box.setIconPixmap(
            icon.scaled(QSize(side, side) * icon.devicePixelRatio(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QFont DesktopFont(const char* widgetClass, int zoom)
{
    const QFont font = QApplication::font(widgetClass);
    return zoom == 100 ? font : ZoomedFont(font, zoom);
}
