/// @file window_zoom_test.cpp The window at 100, 150 and 200 %: layout and window pixels, the
/// zoom a screen has room for, the settings key, every control and grid where the zoomed table
/// puts it (the dialogs too), the map drawn from the large pictures one to one, the animation
/// crisp and without a trace, and 100 % the same window as before.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <filesystem>
#include <set>

#include "commands/map_animation.h"
#include "commands/town_mark.h"
#include "game/map_places.h"
#include "persistence/settings.h"
#include "ui/dialog_support.h"
#include "ui/help_window.h"
#include "ui/history_window.h"
#include "ui/window_zoom.h"
#include "ui/high.h"
#include "ui/info.h"
#include "ui/newgame.h"
#include "ui/pictures.h"
#include "ui/price_forecast.h"
#include "ui/window_layouts.h"
#include "ui/zwischen.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

QString SettingsText(const std::string& dir)
{
    QFile file(QString::fromStdString(SettingsFilePath(dir)));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

}  // namespace

TEST(Zoom, EveryWindowPixelMapsBackToTheLayoutPixelThatCoversIt)
{
    for (const int zoom : kZoomSteps) {
        SCOPED_TRACE(zoom);
        for (int x = -3; x < 900; ++x) {
            // Every layout pixel has window pixels, and each of them leads back to it.
            ASSERT_GT(Zoomed(x + 1, zoom), Zoomed(x, zoom)) << x;
            for (int p = Zoomed(x, zoom); p < Zoomed(x + 1, zoom); ++p)
                ASSERT_EQ(Unzoomed(p, zoom), x) << "window pixel " << p;
        }
    }
    // 100 % changes nothing; the larger zooms as a player would count.
    EXPECT_EQ(Zoomed(535, 100), 535);
    EXPECT_EQ(Unzoomed(789, 100), 789);
    EXPECT_EQ(Zoomed(535, 150), 803);  // 802.5 rounds up
    EXPECT_EQ(Zoomed(790, 200), 1580);
    EXPECT_EQ(Unzoomed(1579, 200), 789);
    // A rectangle's edges are zoomed, so rectangles that touch still touch.
    const LayoutRect a = Zoomed(LayoutRect{16, 432, 185, 33}, 150);
    const LayoutRect b = Zoomed(LayoutRect{201, 432, 7, 33}, 150);
    EXPECT_EQ(a.X + a.Width, b.X);
    EXPECT_EQ(a.X, 24);
    EXPECT_EQ(a.Width, 278);
}

TEST(Zoom, TheLargestZoomTheScreenHasRoomForIsTaken)
{
    // The window at 100 %: client area and a menu bar of 22; a frame of 16 by 40 around it.
    const PixelSize window{kClientWidth, kClientHeight + 22};
    const PixelSize frame{16, 40};
    struct Case {
        int Wanted;
        PixelSize Screen;
        int Taken;
    };
    const Case cases[] = {
        {200, {2560, 1440}, 200}, {200, {1596, 1154}, 200},  // just room
        {200, {1595, 1154}, 150}, {200, {1596, 1153}, 150},  // a pixel short either way
        {200, {1920, 1080}, 150}, {150, {2560, 1440}, 150}, {100, {2560, 1440}, 100},
        {150, {1366, 768}, 100},  {200, {1024, 768}, 100},  {200, {640, 480}, 100},  // not even 100 % fits
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittingZoom(c.Wanted, c.Screen, window, frame), c.Taken)
            << c.Wanted << " on " << c.Screen.Width << "x" << c.Screen.Height;
}

TEST(Zoom, TheSettingsKeyHoldsOnlyTheSteps)
{
    TempDir dir;
    EXPECT_EQ(ReadZoom(dir.Str()), 100) << "no file";
    for (const int zoom : kZoomSteps) {
        ASSERT_TRUE(WriteZoom(dir.Str(), zoom));
        EXPECT_EQ(ReadZoom(dir.Str()), zoom);
    }
    EXPECT_FALSE(WriteZoom(dir.Str(), 175));
    EXPECT_EQ(ReadSetting(dir.Str(), settings::kZoom), "200") << "a refused value is not written";
    for (const char* foreign : {"175", "1500", "150 %", "abc", "", "-150"}) {
        WriteSetting(dir.Str(), settings::kZoom, foreign);
        EXPECT_EQ(ReadZoom(dir.Str()), 100) << "'" << foreign << "'";
    }
    WriteSetting(dir.Str(), settings::kZoom, " 150 ");
    EXPECT_EQ(ReadZoom(dir.Str()), 150) << "blanks around a value do not count, as for every key";
}

// The menu keeps the choice under its own key, the next start takes it, and a screen without
// room for it gets the largest zoom that fits while the file keeps the choice.
TEST_F(WindowTest, TheZoomMenuKeepsTheChoiceAndTheNextStartTakesWhatTheScreenHasRoomFor)
{
    TForm1& form = Open();
    EXPECT_EQ(form.Zoom(), 100);
    EXPECT_TRUE(form.Menu(MenuEntry::Zoom100)->isChecked());
    const QString before = SettingsText(dir_.Str());
    EXPECT_FALSE(before.contains("Zoom")) << "nothing is written while the player chooses nothing";
    form.Menu(MenuEntry::Zoom150)->trigger();
    EXPECT_EQ(form.Zoom(), 150);
    EXPECT_TRUE(form.Menu(MenuEntry::Zoom150)->isChecked());
    EXPECT_FALSE(form.Menu(MenuEntry::Zoom100)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kZoom), "150");
    // Only the new line is added; the older game's keys stay as they were.
    QString after = SettingsText(dir_.Str());
    after.remove("Zoom=150\r\n");
    EXPECT_EQ(after, before);

    Open();  // the next start
    EXPECT_EQ(form_->Zoom(), 150);
    EXPECT_TRUE(form_->Menu(MenuEntry::Zoom150)->isChecked());
    EXPECT_EQ(form_->Surface()->size(), QSize(1185, 803));

    screen_ = QSize(1366, 768);  // too small for 150 %
    Open();
    EXPECT_EQ(form_->Zoom(), 100);
    EXPECT_TRUE(form_->Menu(MenuEntry::Zoom100)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kZoom), "150");

    screen_ = QSize(1920, 1080);  // room for 150 %, not for 200 %
    form_->Menu(MenuEntry::Zoom200)->trigger();
    EXPECT_EQ(form_->Zoom(), 150);
    EXPECT_TRUE(form_->Menu(MenuEntry::Zoom150)->isChecked());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kZoom), "200");

    // The entries speak both languages.
    EXPECT_EQ(form_->Menu(MenuEntry::Zoom1)->text(), "&Zoom");
    form_->Menu(MenuEntry::Deutsch1)->trigger();
    EXPECT_EQ(form_->Menu(MenuEntry::Zoom1)->text(), "&Vergrößerung");
    EXPECT_EQ(form_->Menu(MenuEntry::Zoom200)->text(), "200 %");
}

using ZoomedGeometryTest = ZoomedWindowTest;
INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedGeometryTest, ::testing::ValuesIn(kZoomSteps));

TEST_P(ZoomedGeometryTest, EveryControlFontAndGridIsTheTableZoomed)
{
    const int zoom = GetParam();
    TForm1& form = OpenWithGame(1);
    ASSERT_EQ(form.Zoom(), zoom);
    QWidget& surface = *form.Surface();
    EXPECT_EQ(surface.size(), QSize(Zoomed(kClientWidth, zoom), Zoomed(kClientHeight, zoom)));
    EXPECT_EQ(form.font().pixelSize(), 11 * zoom / 100);
    EXPECT_EQ(form.Button1->font().pixelSize(), 11 * zoom / 100);
    // The menus keep the desktop's font, grown with the zoom.
    const QFont desktop = QApplication::font("QMenu");
    for (QMenu* menu : form.menuBar()->findChildren<QMenu*>())
        EXPECT_NEAR(QFontInfo(menu->font()).pointSizeF(), QFontInfo(desktop).pointSizeF() * zoom / 100, 0.5)
            << menu->title().toStdString();
    auto check = [zoom](const QWidget& parent, const WindowLayout& layout) {
        for (const ControlLayout& c : layout.Controls) {
            const QWidget* widget = parent.findChild<QWidget*>(QString::fromUtf8(c.Name.data(), c.Name.size()));
            ASSERT_NE(widget, nullptr) << c.Name;
            const LayoutRect r = Zoomed(c.Rect, zoom);
            if (c.Kind == ControlKind::Label)
                EXPECT_EQ(widget->pos(), QPoint(r.X, r.Y)) << c.Name;
            else
                EXPECT_EQ(widget->geometry(), QRect(r.X, r.Y, r.Width, r.Height)) << c.Name;
        }
    };
    check(surface, kMainWindowLayout);
    check(*form.TabSheet1, kTownsPageLayout);
    check(*form.TabSheet2, kCompaniesPageLayout);
    // The dialogs come at the same zoom; the new game dialog at its normal height.
    struct DialogCase {
        QDialog* Dialog;
        const WindowLayout& Layout;
        int Height;
    };
    for (const DialogCase& d :
         {DialogCase{form.findChild<TNGDialog*>(), kNewGameLayout, kNewGameNormalHeight},
          DialogCase{form.findChild<TInfoDialog*>(), kInfoLayout, kInfoLayout.ClientHeight},
          DialogCase{form.BestOpponentDialog(), kBestOpponentLayout, kBestOpponentLayout.ClientHeight},
          DialogCase{form.HighscoreDialog(), kHighscoreLayout, kHighscoreLayout.ClientHeight}}) {
        ASSERT_NE(d.Dialog, nullptr) << d.Layout.Name;
        check(*d.Dialog, d.Layout);
        EXPECT_EQ(d.Dialog->size(), QSize(Zoomed(d.Layout.ClientWidth, zoom), Zoomed(d.Height, zoom))) << d.Layout.Name;
        EXPECT_EQ(d.Dialog->font().pixelSize(), 11 * zoom / 100) << d.Layout.Name;
    }
    // The advanced options enlarge the new game dialog to its zoomed full height.
    TNGDialog& newGame = *form.findChild<TNGDialog*>();
    EXPECT_EQ(newGame.RadioGroup1->font().pixelSize(), 11 * zoom / 100);
    newGame.CheckBox5->click();
    EXPECT_EQ(newGame.height(), Zoomed(kNewGameLayout.ClientHeight, zoom));
    // The grids: rows and heading of the zoomed row height, columns that together keep their
    // zoomed width.
    struct GridCase {
        QTableWidget* Grid;
        int Width;
    };
    for (const GridCase& g : {GridCase{form.StringGrid1, 500}, GridCase{form.StringGrid2, 540},
                              GridCase{form.StringGrid3, 700}, GridCase{form.StringGrid4, 700}}) {
        int width = 0;
        for (int column = 0; column < g.Grid->columnCount(); ++column)
            width += g.Grid->columnWidth(column);
        EXPECT_EQ(width, Zoomed(g.Width, zoom)) << g.Grid->objectName().toStdString();
        EXPECT_EQ(g.Grid->verticalHeader()->defaultSectionSize(), Zoomed(kGridRowHeight, zoom));
        EXPECT_EQ(g.Grid->rowHeight(0), Zoomed(kGridRowHeight, zoom));
        EXPECT_EQ(g.Grid->horizontalHeader()->height(), Zoomed(kGridRowHeight, zoom));
        // The heading's font grows with the zoom (pixel sizes rounded down), whichever it has
        // at 100 %.
        const QFont heading = g.Grid->horizontalHeader()->font();
        form.SetZoom(100);
        const QFont original = g.Grid->horizontalHeader()->font();
        form.SetZoom(zoom);
        EXPECT_NEAR(QFontInfo(heading).pointSizeF(), QFontInfo(original).pointSizeF() * zoom / 100, 0.75);  // a pixel
    }
    // The back buffer holds the zoomed window's pixels.
    surface.grab();
    const qreal screenRatio = surface.devicePixelRatioF();
    EXPECT_EQ(form.BackBuffer().size(), surface.size() * screenRatio);
    EXPECT_DOUBLE_EQ(form.BackBuffer().devicePixelRatio(), screenRatio * zoom / 100);
}

// The map is the picture made for the zoom, copied pixel for pixel: at 200 % the "@2x" twin
// itself, at 150 % the twin scaled down once, never stretched while painting.
TEST_P(ZoomedGeometryTest, TheMapIsItsPictureAtTheZoomPixelForPixel)
{
    const int zoom = GetParam();
    TForm1& form = OpenWithGame(2);
    WritableState(form.Session()).CurrentCompany = 0;
    for (auto& brands : WritableState(form.Session()).Capacity[0])
        brands.fill(0);  // no markers over the map
    WritableState(form.Session()).HasDepot[0].fill(false);
    form.Surface()->grab();
    const QImage shown = form.BackBuffer();
    const qreal ratio = shown.devicePixelRatio();
    PictureSet pictures;
    const QImage map = pictures.Get("map2", ratio).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(map.size(), (QSizeF(800, 400) * ratio).toSize());
    if (ratio == 2.0) {
        QImage twin(":/pictures/map2@2x.png");
        EXPECT_EQ(map, twin.convertToFormat(QImage::Format_RGB32));
    }
    const QRect visible = QRect(QPoint(0, 0), shown.size()).intersected(map.rect());
    ASSERT_GT(visible.height(), 300 * zoom / 100);
    // The selected town's frame is the one thing drawn over the map here.
    const MapRect f = SelectedTownFrame(form.State().MapNumber, form.State().SelectedTown);
    const QRect frame = QRectF(f.X * ratio, f.Y * ratio, f.Width * ratio, f.Height * ratio).toAlignedRect();
    ASSERT_FALSE(frame.isEmpty());
    int differing = 0;
    int framePixels = 0;
    for (int y = visible.top(); y <= visible.bottom(); ++y)
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const bool same = (shown.pixel(x, y) & 0xffffff) == (map.pixel(x, y) & 0xffffff);
            if (frame.contains(x, y))
                framePixels += !same;
            else
                differing += !same;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(framePixels, 0) << "the frame shows";
}

// The sales forecast beside Change Prices' fields is no table control: it follows the zoomed
// fields, in the zoomed font, and stays clear of the OK button.
TEST_P(ZoomedGeometryTest, TheForecastStandsBesideItsFieldAtTheZoom)
{
    const int zoom = GetParam();
    TForm1& form = OpenWithGame(1, 3);
    Press(form.Button8);  // Next Turn: a month to forecast from
    Press(form.Button6);  // Change Prices
    Type(form.Edit2, "2");
    const PriceForecastLabels* forecast = form.findChild<PriceForecastLabels*>();
    ASSERT_NE(forecast, nullptr);
    const QLabel* row = forecast->Rows()[0];
    ASSERT_TRUE(row->isVisible());
    EXPECT_EQ(row->geometry().left(), form.Edit2->geometry().right() + Zoomed(14, zoom));
    EXPECT_EQ(row->geometry().top(), form.Edit2->geometry().top());
    EXPECT_LT(row->geometry().right(), form.Button9->geometry().left());
    EXPECT_EQ(row->font().pixelSize(), WindowFont(zoom).pixelSize());
    EXPECT_EQ(forecast->Note()->font().pixelSize(), WindowFont(zoom).pixelSize());
    EXPECT_EQ(forecast->Note()->geometry().left(), Zoomed(15, zoom));
}

using ZoomedAnimationTest = ZoomedWindowTest;
INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedAnimationTest, ::testing::ValuesIn(kZoomSteps));

// A transport at every zoom: while the barrels appear at the destination every pixel there is
// either the map's or one of the sprite's (nothing blended, no seam between the rows), and once
// the animation has run its course the whole back buffer is as before, to the last pixel.
TEST_P(ZoomedAnimationTest, ATransportIsCrispAndLeavesNoTrace)
{
    const int zoom = GetParam();
    TForm1& form = OpenWithGame(1);
    ASSERT_EQ(form.Zoom(), zoom);
    form.Surface()->grab();
    const QImage before = form.BackBuffer().copy();
    const qreal ratio = before.devicePixelRatio();
    PictureSet pictures;
    const QImage sprite = pictures.Get("sprite_barrels", ratio).toImage().convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> spriteColours;
    for (int y = 0; y < sprite.height(); ++y)
        for (int x = 0; x < sprite.width(); ++x)
            spriteColours.insert(sprite.pixel(x, y) & 0xffffff);
    form.StartAnimation(2, 7, kAnimBarrelsLeave);
    for (int tick = 0; tick < 50; ++tick)
        form.Timer1Timer();
    ASSERT_EQ(form.Animation().Stage(), 0) << "the barrels are up, the erase tick is next";
    const MapPoint to = kAnimationAnchors[0][7];
    const QRect area = QRectF(QPointF(to.X, to.Y) * ratio, QSizeF(26, 27) * ratio).toAlignedRect();
    const QImage& now = form.BackBuffer();
    int spritePixels = 0;
    int foreign = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = now.pixel(x, y) & 0xffffff;
            if (pixel == (before.pixel(x, y) & 0xffffff))
                continue;
            if (spriteColours.count(pixel))
                ++spritePixels;
            else
                ++foreign;
        }
    EXPECT_EQ(foreign, 0) << "pixels that are neither map nor sprite";
    EXPECT_GT(spritePixels, 150 * ratio * ratio) << "the barrels drew nearly nothing";
    form.Timer1Timer();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_TRUE(form.BackBuffer() == before) << "the animation left a trace";
}

// 100 % stays the window it always was: after 200 % and 150 % and back, every pixel and every
// place is as in a window that was never zoomed.
TEST_F(WindowTest, BackAtOneHundredTheWindowIsAsItWasPixelForPixel)
{
    TForm1& form = OpenWithGame(1, 3);
    form.Button11->click();  // the town information: panel texts and the map
    const QImage original = form.grab().toImage();
    const QSize size = form.size();
    const QRect button = form.Button8->geometry();
    for (const int zoom : {200, 150, 100})
        ASSERT_EQ(form.SetZoom(zoom), zoom);
    EXPECT_EQ(form.size(), size);
    EXPECT_EQ(form.Button8->geometry(), button);
    EXPECT_TRUE(form.grab().toImage() == original);
}

TEST_P(ZoomedGeometryTest, TheProgramsOtherWindowsAndTheIndicatorsGrowWithTheZoom)
{
    const int zoom = GetParam();
    TForm1& form = OpenWithGame(1);
    ASSERT_EQ(form.Zoom(), zoom);
    // The style's sizes at 100 % and now.
    auto metric = [](QStyle::PixelMetric m) { return QApplication::style()->pixelMetric(m); };
    const QStyle::PixelMetric metrics[] = {QStyle::PM_IndicatorWidth, QStyle::PM_ExclusiveIndicatorWidth,
                                           QStyle::PM_ScrollBarExtent, QStyle::PM_MessageBoxIconSize};
    std::vector<int> zoomed;
    for (const QStyle::PixelMetric m : metrics)
        zoomed.push_back(metric(m));
    form.SetZoom(100);
    for (size_t i = 0; i < std::size(metrics); ++i)
        EXPECT_EQ(zoomed[i], metric(metrics[i]) * zoom / 100) << "metric " << metrics[i];
    form.SetZoom(zoom);
    QMessageBox question(QMessageBox::Question, "The TAVREK! War", "Do you really want to leave this game?",
                         QMessageBox::Yes | QMessageBox::No, &form);
    const qreal plainIcon = question.iconPixmap().deviceIndependentSize().width();
    ZoomMessageBox(question, zoom);
    EXPECT_GE(question.iconPixmap().deviceIndependentSize().width(), plainIcon * zoom / 100 - 1);
    const QFont box = QApplication::font("QMessageBox");
    const QFont grown = DesktopFont("QMessageBox", zoom);
    if (box.pixelSize() > 0)
        EXPECT_EQ(grown.pixelSize(), box.pixelSize() * zoom / 100);
    else
        EXPECT_DOUBLE_EQ(grown.pointSizeF(), box.pointSizeF() * zoom / 100);

    // The business history: its size, places and words at the zoom, its drawings grown.
    form.findChild<HistoryMenu*>()->Entry(HistoryDialog::Charts)->trigger();
    HistoryDialog* history = form.findChild<HistoryMenu*>()->Dialog();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->size(), QSize(Zoomed(640, zoom), Zoomed(440, zoom)));
    EXPECT_EQ(history->ChartView()->geometry(), ZoomedRect(QRect(0, 34, 622, 362), zoom));
    EXPECT_EQ(history->Log()->geometry(), ZoomedRect(QRect(6, 34, 610, 360), zoom));
    EXPECT_EQ(QFontInfo(history->Log()->font()).pixelSize(), 11 * zoom / 100);
    // The plot keeps its 100 % place inside the grown widget.
    EXPECT_NEAR(history->ChartView()->Area().Width + history->ChartView()->Area().Left, 622 - 150 - 10, 1);
    history->hide();

    // The help window: its words and the page's pictures.
    documentOpens_ = false;
    std::filesystem::copy(TAVREK_HELP_DIR, dir_ / "help");
    form.Menu(MenuEntry::Contents1)->trigger();
    THelpWindow* help = form.HelpWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(QFontInfo(help->BackButton()->font()).pixelSize(), 11 * zoom / 100);
    double pictureWidth = 0;
    for (QTextBlock block = help->Browser()->document()->begin(); block.isValid() && pictureWidth == 0;
         block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                pictureWidth = it.fragment().charFormat().toImageFormat().width();
                break;
            }
    EXPECT_NEAR(pictureWidth, 593.0 * zoom / 100, 1) << "the first picture, the map, is 593 wide at 100 %";
    help->hide();
}
