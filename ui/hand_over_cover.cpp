/// @file hand_over_cover.cpp The hand-over screen.
#include "ui/hand_over_cover.h"

#include <QApplication>
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

void HandOverCover::TakeByGesture()
{
    if (!isVisible())
        return;
    Take();
    taken_.start();
    if (!swallowing_)
        qApp->installEventFilter(this);
    swallowing_ = true;
}

int HandOverCover::GestureMilliseconds() { return std::max(300, QApplication::doubleClickInterval()); }

bool HandOverCover::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride;
    const bool click =
        type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!swallowing_ || !(key || click) || !widget || widget->window() != window())
        return false;
    // A held key repeats for as long as it is held: all of it took the cover.
    const bool repeat = key && static_cast<QKeyEvent*>(event)->isAutoRepeat();
    if (!repeat && taken_.elapsed() > GestureMilliseconds()) {
        swallowing_ = false;
        qApp->removeEventFilter(this);
        return false;
    }
    // Accepted, a shortcut's override keeps the shortcut from firing; then the key is dropped.
    event->accept();
    return true;
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

void HandOverCover::mousePressEvent(QMouseEvent*) { TakeByGesture(); }

void HandOverCover::keyPressEvent(QKeyEvent* event)
{
    // A modifier alone is half a key; the turn starts with a whole one.
    if (event->key() == Qt::Key_Shift || event->key() == Qt::Key_Control || event->key() == Qt::Key_Alt ||
        event->key() == Qt::Key_Meta)
        return;
    TakeByGesture();
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
