/// @file help_window.h The game's own help window: the help pages in a browser of the window's
/// making, for desktops where no program is registered to show a web page.
#pragma once

#include <QDialog>
#include <QString>

#include "game/text.h"

class QPushButton;
class QTextBrowser;

/// Asks the desktop to open a local file with the program registered for it. False when no
/// such program could be started or it said at once that it failed.
bool OpenWithDesktop(const QString& path);

/// A non-modal window with a page browser: pictures, links between the pages, Back.
class THelpWindow : public QDialog {
    Q_OBJECT

public:
    THelpWindow(QWidget* parent, const QFont& font);

    /// Shows the page (a local HTML file) in the current language's words and brings the
    /// window to the front.
    void ShowPage(const QString& path, Language language);

    QTextBrowser* Browser() const { return browser_; }
    QPushButton* BackButton() const { return back_; }
    QPushButton* CloseButton() const { return close_; }

    /// The size the window opens with: roomy for the pages, never larger than the screen.
    static QSize FittingSize(const QRect& available);

    /// Words, page texts and pictures at the window's zoom (percent).
    void SetZoom(int zoom);
    int Zoom() const { return zoom_; }

private:
    /// Grows the shown page's texts and pictures, which name their own sizes, by the zoom.
    void ZoomPage();
    QFont font_;  ///< the window's words at 100 %
    int zoom_ = 100;
    QTextBrowser* browser_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* close_ = nullptr;
};
