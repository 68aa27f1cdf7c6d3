/// @file hand_over_cover.h The screen that covers map and panel between the turns of a
/// two-player game, so that neither player sees the other's orders; a click or a key takes it
/// away, and the rest of that gesture (a second press at once, key repeat, the second click of a
/// double click) dies with it instead of reaching the panel.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QWidget>

class HandOverCover : public QWidget {
public:
    /// Covers the whole of `surface`; hidden until Show.
    explicit HandOverCover(QWidget* surface);

    /// Shows the words over everything and takes the keyboard.
    void Show(const QString& text);
    /// Waits until the player clicks or presses a key, then hides.
    void Wait();
    /// The player has taken the turn: hide and end the wait.
    void Take();
    /// Whether keys and clicks are still swallowed.
    bool Swallowing() const { return swallowing_; }
    /// How long after the cover was taken a press still belongs to that gesture, milliseconds.
    static int GestureMilliseconds();
    QString Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Taken by a key or a click: for a moment after, the window's keys and clicks are
    /// swallowed, as they belong to the gesture that took the cover.
    void TakeByGesture();

    QString text_;
    QEventLoop loop_;
    QElapsedTimer taken_;
    bool swallowing_ = false;
};
