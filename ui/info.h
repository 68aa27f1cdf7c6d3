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
    /// Centred on the game's window instead of the screen (a comfort).
    bool CentredOnGameWindow = false;

    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* Label2;  ///< where the settings, the names and the autosave are kept
    QPushButton* OKBtn;

    /// Shows where the game keeps its settings, its names and the autosave; a place too long
    /// for the frame is shortened in its middle and shown whole in the hint.
    void ShowPlaces(const QString& settings, const QString& names, const QString& autosave);

protected:
    void showEvent(QShowEvent* event) override;
};
