/// @file first_frame.cpp The first painted frame of a window.
#include "ui/first_frame.h"

#include <QEvent>
#include <QTimer>

bool FirstFrameWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        // Once this paint is done.
        QTimer::singleShot(0, this, then_);
    }
    return QObject::eventFilter(watched, event);
}
