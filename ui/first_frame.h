/// @file first_frame.h Notices the first painted frame of a window: the start-up benchmark and
/// the program's `--quit-after-first-frame` both end there, so both measure the same start.
#pragma once

#include <QObject>

#include <functional>

/// Watch a widget with `widget->installEventFilter(&watch)`: `then` runs once, from the event
/// loop right after the first paint event of the widget has been handled.
class FirstFrameWatch : public QObject {
public:
    explicit FirstFrameWatch(std::function<void()> then) : then_(std::move(then)) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> then_;
    bool seen_ = false;
};
