/// @file help_window.cpp The game's own help window and the desktop's "open".
#include "ui/help_window.h"
#include "ui/language_tables.h"
#include "ui/window_zoom.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace {

/// How long the desktop's opener may take to say that it found no program. A browser that
/// stays in the foreground keeps running after this and counts as opened.
constexpr int kOpenerAnswerMs = 1500;

}  // namespace

bool OpenWithDesktop(const QString& path)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    // xdg-open starts even where no program is registered and only then fails; its answer tells.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({path});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted(kOpenerAnswerMs)) {
        process->deleteLater();
        return false;
    }
    if (!process->waitForFinished(kOpenerAnswerMs))
        return true;  // still showing the file
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

THelpWindow::THelpWindow(QWidget* parent, const QFont& font) : QDialog(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setModal(false);
    font_ = font;
    setFont(font);
    setMinimumSize(320, 240);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    // Pages of the help open here; a link into the world goes to the desktop's browser.
    browser_->setOpenExternalLinks(true);
    back_ = new QPushButton(this);
    back_->setObjectName(QStringLiteral("HelpBack"));
    back_->setEnabled(false);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("HelpClose"));
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &THelpWindow::ZoomPage);
    connect(close_, &QPushButton::clicked, this, &QDialog::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
}

void THelpWindow::SetZoom(int zoom)
{
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    setFont(ZoomedFont(font_, zoom));
    // The page is read again and grown from its own sizes.
    if (!browser_->source().isEmpty())
        browser_->reload();
}

void THelpWindow::ZoomPage()
{
    if (zoom_ == 100)
        return;
    const qreal factor = zoom_ / 100.0;
    QTextCursor cursor(browser_->document());
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                QTextImageFormat image = format.toImageFormat();
                if (image.width() > 0)
                    image.setWidth(image.width() * factor);
                if (image.height() > 0)
                    image.setHeight(image.height() * factor);
                format = image;
            } else if (format.hasProperty(QTextFormat::FontPixelSize)) {
                format.setProperty(QTextFormat::FontPixelSize,
                                   qRound(format.intProperty(QTextFormat::FontPixelSize) * factor));
            } else if (format.hasProperty(QTextFormat::FontPointSize)) {
                format.setFontPointSize(format.fontPointSize() * factor);
            } else {
                continue;
            }
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
}

QSize THelpWindow::FittingSize(const QRect& available)
{
    const QSize roomy(800, 600);
    return roomy.boundedTo(available.size());
}

void THelpWindow::ShowPage(const QString& path, Language language)
{
    setWindowTitle(QString::fromStdString(kHelpWindowTexts.Title.In(language)));
    back_->setText(QString::fromStdString(kHelpWindowTexts.Back.In(language)));
    close_->setText(QString::fromStdString(kHelpWindowTexts.Close.In(language)));

    const QFileInfo page(path);
    browser_->setSearchPaths({page.absolutePath()});
    browser_->clearHistory();
    browser_->setSource(QUrl::fromLocalFile(page.absoluteFilePath()));

    if (!isVisible()) {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
        // At least 640 x 480 where the screen has the room; never larger than the screen.
        setMinimumSize(QSize(640, 480).boundedTo(available.size()));
        resize((FittingSize(available) * (zoom_ / 100.0)).boundedTo(available.size()));
        move(available.center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}
