/// @file hand_over_cover.cpp The hand-over screen.
#include "ui/hand_over_cover.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "ui/dialog_support.h"
#include "ui/window_layouts.h"

HandOverCover::HandOverCover(QWidget* surface) : QWidget(surface)
{
    setGeometry(surface->rect());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void HandOverCover::Show(const QString& text)
{
    text_ = text;
    setGeometry(parentWidget()->rect());
    raise();
    show();
    setFocus(Qt::OtherFocusReason);
    update();
}

void HandOverCover::Wait()
{
    if (isVisible())
        loop_.exec();
}

void HandOverCover::Take()
{
    hide();
    loop_.quit();
}

void HandOverCover::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    // The dark green of a card table: nothing of the map or the panel shows through.
    p.fillRect(rect(), QColor(24, 52, 38));
    // Large and bold, grown with the window's zoom (the cover spans the whole client area).
    QFont font = WindowFont();
    font.setPixelSize(std::max(1, 18 * width() / kClientWidth));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(245, 232, 200));
    p.drawText(rect().adjusted(20, 0, -20, 0), Qt::AlignCenter | Qt::TextWordWrap, text_);
}

void HandOverCover::mousePressEvent(QMouseEvent*) { Take(); }

void HandOverCover::keyPressEvent(QKeyEvent* event)
{
    // A modifier alone is half a key; the turn starts with a whole one.
    if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control || event->key() == Qt::Key_Alt ||
        event->key() == Qt::Key_Meta)
        return;
    Take();
}

bool HandOverCover::event(QEvent* event)
{
    // Every key belongs to the cover: none may reach the window's shortcuts (N would end the
    // next player's turn unseen).
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}
