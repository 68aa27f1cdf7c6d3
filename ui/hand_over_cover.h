/// @file hand_over_cover.h The screen that covers map and panel between the turns of a
/// two-player game, so that neither player sees the other's orders; a click or a key takes it
/// away.
#pragma once

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
    QString Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString text_;
    QEventLoop loop_;
};
