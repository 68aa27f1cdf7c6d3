/// @file dialog_support.h The small dialogs' shared make-up: a fixed client area without system
/// buttons, labels, read-only fields on the button-face colour, the default OK button.
#pragma once

#include <QString>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int kDialogFieldHeight = 21;
inline constexpr int kDialogButtonWidth = 75;
inline constexpr int kDialogButtonHeight = 25;

/// A modal dialog frame with a fixed client area and no system buttons.
void SetDialogFrame(QDialog& dialog, int width, int height);
/// A label with its top left corner at (x, y).
QLabel* MakeDialogLabel(QDialog& dialog, const QString& name, int x, int y);
/// A read-only, borderless text field on the button-face colour.
QLineEdit* MakeDialogField(QDialog& dialog, const QString& name, int x, int y, int width);
/// The default "OK" button (75 x 25) that closes the dialog.
QPushButton* MakeDialogOk(QDialog& dialog, int x, int y);
/// Moves the dialog to the middle of its screen.
void CentreOnScreen(QDialog& dialog);
