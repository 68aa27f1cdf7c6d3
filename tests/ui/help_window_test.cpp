/// @file help_window_test.cpp Help and the names file on a desktop that cannot open them: the
/// help shows in the game's own window, the names file's place is told.
#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>

#include "ui/dialog_support.h"
#include "ui/help_window.h"
#include "window_fixture.h"

namespace {

class HelpTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        std::filesystem::copy(TAVREK_HELP_DIR, dir_ / "help");
        documentOpens_ = false;  // no program is registered for web pages or text files
    }
};

}  // namespace

TEST_F(HelpTest, WithoutABrowserTheHelpShowsInTheGamesOwnWindow)
{
    TForm1& form = Open();
    form.Menu(MenuEntry::Contents1)->trigger();
    EXPECT_TRUE(recorder_.Messages.empty()) << recorder_.Messages[0].Text.English;
    ASSERT_EQ(opened_.size(), 1u) << "the desktop was asked first";
    THelpWindow* help = form.HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    QTextBrowser* browser = help->Browser();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("help/index1.html"));
    EXPECT_TRUE(browser->toPlainText().contains("1. Starting a game"));
    EXPECT_EQ(help->windowTitle(), "Help - The TAVREK! War");
    EXPECT_EQ(help->font(), WindowFont());

    // The pictures beside the page load.
    const QVariant picture = browser->loadResource(QTextDocument::ImageResource, QUrl("help-map.png"));
    EXPECT_FALSE(picture.isNull());

    // A link to the other page and back.
    EXPECT_FALSE(help->BackButton()->isEnabled());
    browser->setSource(browser->source().resolved(QUrl("index2.html")));
    EXPECT_TRUE(browser->toPlainText().contains("1. Ein Spiel beginnen"));
    ASSERT_TRUE(help->BackButton()->isEnabled());
    help->BackButton()->click();
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("help/index1.html"));

    // Big enough to read, never larger than the screen.
    const QRect available = help->screen()->availableGeometry();
    EXPECT_GE(help->width(), std::min(640, available.width()));
    EXPECT_GE(help->height(), std::min(480, available.height()));
    EXPECT_LE(help->width(), available.width());
    EXPECT_LE(help->height(), available.height());

    // The German player gets the German page, in the same window.
    help->CloseButton()->click();
    EXPECT_FALSE(help->isVisible());
    form.Menu(MenuEntry::Deutsch1)->trigger();
    form.Menu(MenuEntry::Contents1)->trigger();
    EXPECT_EQ(form.HelpWindow(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(browser->toPlainText().contains("1. Ein Spiel beginnen"));
    EXPECT_EQ(help->BackButton()->text(), "Zurück");
    EXPECT_TRUE(recorder_.Messages.empty());
}

TEST_F(HelpTest, TheHelpWindowFitsSmallScreensAndIsRoomyOnLargeOnes)
{
    struct Case {
        QRect available;
        QSize expected;
    };
    for (const Case c : {Case{QRect(0, 0, 1920, 1080), QSize(800, 600)}, Case{QRect(0, 0, 800, 600), QSize(800, 600)},
                         Case{QRect(0, 0, 640, 512), QSize(640, 512)}, Case{QRect(0, 0, 400, 300), QSize(400, 300)}})
        EXPECT_EQ(THelpWindow::FittingSize(c.available), c.expected) << c.available.width();
}

TEST_F(HelpTest, WithoutAnEditorTheNamesFileIsNamedWithItsPlace)
{
    TForm1& form = Open();
    form.Menu(MenuEntry::EditNames1)->trigger();
    ASSERT_EQ(opened_.size(), 1u);
    ASSERT_EQ(recorder_.Messages.size(), 1u);
    const std::string path = (std::filesystem::canonical(dir_.Path()) / "TavrekNames.ini").string();
    for (const std::string& text : {recorder_.Messages[0].Text.English, recorder_.Messages[0].Text.German})
        EXPECT_NE(text.find(path), std::string::npos) << text;
    EXPECT_NE(recorder_.Messages[0].Text.English.find("No program to edit the names file was found"),
              std::string::npos);
    EXPECT_EQ(recorder_.Messages[0].Caption.German, "Namen ändern");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "TavrekNames.ini")) << "there is a file to open by hand";
}
