/// @file info.h The information dialog: the game's name and version.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

/// Shown without blocking the main window; OK hides it again. English only.
class TInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit TInfoDialog(QWidget* parent = nullptr);

    QFrame* Bevel1;
    QLabel* Label1;
    QPushButton* OKBtn;

protected:
    void showEvent(QShowEvent* event) override;
};
