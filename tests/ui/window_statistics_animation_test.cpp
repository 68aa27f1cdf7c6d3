// The main window's animation, sounds and statistics: the timer's ticks painted onto the back
// buffer with the real pictures, the sound option through a fake player, the market-share grid,
// the statistics view with its sort, and the best-opponent and highscore dialogs.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <functional>
#include <map>

#include "commands/map_animation.h"
#include "game/map_places.h"
#include "persistence/settings.h"
#include "ui/high.h"
#include "ui/pictures.h"
#include "ui/zwischen.h"
#include "window_fixture.h"
#include "session_door.h"

namespace {

QImage PictureImage(const char* name, qreal ratio)
{
    PictureSet pictures;
    return pictures.Get(name, ratio).toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixel a mask with AND and a sprite with OR leave on a destination pixel.
QRgb Masked(QRgb destination, QRgb mask, QRgb sprite) { return ((destination & mask) | sprite) & 0xffffff; }

using AnimationWindowTest = WindowTest;

// Brewery grows at a town: the first tick puts the sprite's left half at once and reveals its
// bottom row one pixel below the anchor (24 source columns stretched over 25). Every device pixel
// of the area is checked against the map, the real mask and the real sprite; nothing outside
// the area changes.
TEST_F(AnimationWindowTest, RevealTickPaintsTheRealSpriteOverTheMap)
{
    TForm1& form = OpenWithGame(2);
    form.Surface()->grab();  // paints the back buffer
    const QImage before = form.BackBuffer().copy();
    ASSERT_FALSE(before.isNull());
    const int ratio = qRound(before.devicePixelRatio());
    const int town = 4;
    form.StartAnimation(town, 0, kAnimBreweryGrows);
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1Timer();
    const QImage& after = form.BackBuffer();
    const QImage sprite = PictureImage("sprite_brewery", ratio);
    const QImage mask = PictureImage("mask_brewery", ratio);
    ASSERT_EQ(sprite.width(), kSpriteSize * ratio);
    ASSERT_EQ(mask.width(), kSpriteSize * ratio);
    const MapPoint anchor = kAnimationAnchors[1][town];
    const int X = anchor.X * ratio;
    const int Y = anchor.Y * ratio;
    int spritePixels = 0;
    for (int y = Y - 4 * ratio; y < Y + 30 * ratio; ++y)
        for (int x = X - 4 * ratio; x < X + 30 * ratio; ++x) {
            const QRgb was = before.pixel(x, y);
            const QRgb now = after.pixel(x, y) & 0xffffff;
            const int sx = x - X;
            const int sy = y - Y;
            if (sx >= 0 && sx < 12 * ratio && sy >= 0 && sy < 25 * ratio) {
                // The left half, unstretched.
                ASSERT_EQ(now, Masked(was, mask.pixel(sx, sy), sprite.pixel(sx, sy))) << x << "," << y;
                spritePixels += (sprite.pixel(sx, sy) & 0xffffff) != 0;
            } else if (sx >= 0 && sx < 25 * ratio && sy >= 25 * ratio && sy < 26 * ratio) {
                // The bottom row of the sprite, its 24 columns over 25: the column taken is the
                // one nearest the target pixel's centre (or its neighbour).
                const int row = sy - 1 * ratio;
                const int column = (2 * sx + 1) * 24 / 50;
                bool matches = false;
                for (int c = std::max(0, column - 1); c <= std::min(24 * ratio - 1, column + 1); ++c)
                    matches = matches || now == Masked(was, mask.pixel(c, row), sprite.pixel(c, row));
                ASSERT_TRUE(matches) << x << "," << y;
            } else {
                ASSERT_EQ(now, was & 0xffffff) << x << "," << y;
            }
        }
    EXPECT_GT(spritePixels, 20 * ratio * ratio) << "the sprite drew nearly nothing";
}

// A transport wipes the barrels at the source and reveals them at the destination: 25 + 25
// ticks and the erase tick, after which the destination's area is the map again. A command in
// between starts no second animation.
TEST_F(AnimationWindowTest, TransportRunsItsCourseAndEndsWithTheMapRestored)
{
    TForm1& form = OpenWithGame(1);
    form.Surface()->grab();  // paints the back buffer
    const QImage before = form.BackBuffer().copy();
    const int ratio = qRound(before.devicePixelRatio());
    form.StartAnimation(2, 7, kAnimBarrelsLeave);
    form.StartAnimation(5, 0, kAnimDepotAppears);  // refused: the transport runs on
    EXPECT_EQ(form.Animation().Town(), 2);
    EXPECT_EQ(form.Animation().Stage(), kAnimBarrelsLeave);
    int ticks = 0;
    bool sawSpriteAtDestination = false;
    const MapPoint to = kAnimationAnchors[0][7];
    while (form.Timer1->isActive() && ticks < 100) {
        form.Timer1Timer();
        ++ticks;
        if (ticks == 50)
            sawSpriteAtDestination = form.BackBuffer().copy(QRect(QPoint(to.X, to.Y) * ratio, QSize(26, 26) * ratio)) !=
                                     before.copy(QRect(QPoint(to.X, to.Y) * ratio, QSize(26, 26) * ratio));
    }
    EXPECT_EQ(ticks, 51);
    EXPECT_TRUE(sawSpriteAtDestination);
    EXPECT_FALSE(form.Animation().Running());
    const MapPoint from = kAnimationAnchors[0][2];
    for (const MapPoint at : {from, to}) {
        const QRect area(QPoint(at.X, at.Y - 1) * ratio, QSize(26, 27) * ratio);
        EXPECT_EQ(form.BackBuffer().copy(area), before.copy(area)) << at.X << "," << at.Y;
    }
    // Idle again: the next command's animation starts.
    form.StartAnimation(5, 0, kAnimDepotAppears);
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Animation().Town(), 5);
}

// --- sounds through a fake player behind the real window ---------------------------------------

struct SoundLog {
    std::vector<std::string> Opened;
    int Stops = 0;
    std::map<int, std::function<void()>> Ends;
};

class FakeSoundDevice : public SoundDevice {
public:
    explicit FakeSoundDevice(SoundLog& log) : log_(log) {}
    int Open(const QString& fileName) override
    {
        log_.Opened.push_back(fileName.toStdString());
        return ++last_;
    }
    void Play(int sound, std::function<void()> ended) override { log_.Ends[sound] = std::move(ended); }
    void Stop(int) override { ++log_.Stops; }
    void Close(int) override {}

private:
    SoundLog& log_;
    int last_ = 0;
};

using SoundWindowTest = WindowTest;

TEST_F(SoundWindowTest, StartSoundTheOptionAndItsSettingGoThroughThePlayer)
{
    SoundLog log;
    form_ =
        std::make_unique<TForm1>(FoldersIn(dir_.Str()), nullptr, &recorder_, std::make_unique<FakeSoundDevice>(log));
    TForm1& form = *form_;
    // Each sound from the game folder.
    EXPECT_EQ(log.Opened, std::vector<std::string>{(dir_ / "sound05.wav").string()});
    form.PlaySoundEffect(3);  // cuts the start sound off
    EXPECT_EQ(log.Opened.back(), (dir_ / "sound03.wav").string());
    EXPECT_EQ(log.Stops, 1);

    form.Menu(MenuEntry::Sound2)->trigger();  // off
    EXPECT_FALSE(form.SoundOn());
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kSound), "0");
    form.PlaySoundEffect(4);
    EXPECT_EQ(log.Opened.size(), 2u) << "sound off plays nothing";
    EXPECT_EQ(log.Stops, 1) << "and leaves the playing sound alone";

    form.Menu(MenuEntry::Sound2)->trigger();  // on again
    EXPECT_EQ(ReadSetting(dir_.Str(), settings::kSound), "1");
    form.PlaySoundEffect(7);
    EXPECT_EQ(log.Opened.back(), (dir_ / "sound07.wav").string());
    form.Menu(MenuEntry::Sound2)->trigger();  // off, for the next start

    // A window started with sound off in the settings plays not even the start sound.
    form_.reset();
    SoundLog silent;
    form_ =
        std::make_unique<TForm1>(FoldersIn(dir_.Str()), nullptr, &recorder_, std::make_unique<FakeSoundDevice>(silent));
    EXPECT_TRUE(silent.Opened.empty());
    EXPECT_FALSE(form_->Menu(MenuEntry::Sound2)->isChecked());
}

// --- statistics ----------------------------------------------------------------------------------

using StatisticsWindowTest = WindowTest;

QStringList Column(const QTableWidget* grid, int column)
{
    QStringList cells;
    for (int r = 0; r < grid->rowCount(); ++r)
        cells << (grid->item(r, column) ? grid->item(r, column)->text() : QString());
    return cells;
}

QStringList Heading(const QTableWidget* grid)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << grid->horizontalHeaderItem(c)->text();
    return cells;
}

TEST_F(StatisticsWindowTest, MarketSharesFillTheGridFromThePanelContent)
{
    TForm1& form = OpenWithGame(1);
    form.Menu(MenuEntry::MarketShares1)->trigger();
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::MarketShares);
    ASSERT_TRUE(form.StringGrid2->isVisible());
    const PanelContent content = ComputePanelContent(form.State(), PanelMode::MarketShares);
    ASSERT_EQ(content.MarketShares.size(), 11u);
    EXPECT_EQ(Heading(form.StringGrid2),
              QStringList({"Company", "Sales", "Production", "Market Share", "Company Value"}));
    EXPECT_EQ(form.StringGrid2->rowCount(), 10);
    for (int r = 1; r <= 10; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(form.StringGrid2->item(r - 1, c)->text().toStdString(), content.MarketShares[r][c]);
    EXPECT_FALSE(form.StringGrid2->item(0, 0)->text().isEmpty());
    form.Deutsch1Click();
    EXPECT_EQ(Heading(form.StringGrid2), QStringList({"Firma", "Verkauf", "Produktion", "Marktanteil", "Firmenwert"}));
}

TEST_F(StatisticsWindowTest, StatisticsViewCoversTheMapWithBothTabsAndSortsStably)
{
    TForm1& form = OpenWithGame(3);
    GameState& s = WritableState(form.Session());
    // Three companies with the same capacity in town 0, their brands in reverse name order.
    s.Capacity[1][0][0] = 500;
    s.BrandName[1][0] = "Zeta";
    s.Capacity[2][0][0] = 500;
    s.BrandName[2][0] = "Alpha";
    s.Capacity[3][0][0] = 900;
    s.BrandName[3][0] = "Mid";
    form.Menu(MenuEntry::StatisticDialog1)->trigger();
    ASSERT_EQ(form.Panel().CommandMode, PanelMode::Statistics);
    EXPECT_TRUE(form.PageControl1->isVisible());
    EXPECT_FALSE(form.Button8->isVisible()) << "Next Turn is hidden";
    EXPECT_EQ(form.PageControl1->geometry(), QRect(16, 16, 761, 409));
    EXPECT_EQ(form.PageControl1->tabText(0), "Towns");
    EXPECT_EQ(form.PageControl1->tabText(1), "Companies");
    EXPECT_EQ(form.ComboBox1->count(), 10);
    EXPECT_EQ(form.ComboBox1->itemText(0).toStdString(), s.TownName[0]);
    EXPECT_EQ(form.ComboBox3->itemText(9).toStdString(), s.CompanyName[9]);
    EXPECT_EQ(Heading(form.StringGrid3), QStringList({"Company", "Brand", "Capacity", "Supply", "Sales"}));
    EXPECT_EQ(Heading(form.StringGrid4), QStringList({"Town", "Brand", "Capacity", "Supply", "Sales"}));
    EXPECT_EQ(form.StringGrid3->rowCount(), kStatisticsDataRows);
    // It opens on the first town and the first company, sorted by the first key.
    EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form.ComboBox2->currentIndex(), 0);
    EXPECT_EQ(form.ComboBox3->currentIndex(), 0);
    EXPECT_EQ(form.ComboBox4->currentIndex(), 0);
    form.ComboBox1->setCurrentIndex(0);
    form.ComboBox1Change();

    // The player's choices: sort by brand, then by capacity: equal capacities keep brand order.
    form.ComboBox2->setCurrentIndex(kSortByBrand);
    form.ComboBox2Change();
    form.ComboBox2->setCurrentIndex(kSortByCapacity);
    form.ComboBox2Change();
    QStringList brands = Column(form.StringGrid3, 1);
    const QStringList capacities = Column(form.StringGrid3, 2);
    const int mid = brands.indexOf("Mid");
    const int alpha = brands.indexOf("Alpha");
    const int zeta = brands.indexOf("Zeta");
    ASSERT_GE(mid, 0);
    ASSERT_GE(alpha, 0);
    ASSERT_GE(zeta, 0);
    EXPECT_LT(mid, alpha);
    EXPECT_LT(alpha, zeta) << "equal capacities keep the brand order";
    EXPECT_EQ(capacities[alpha], "500");

    // A language switch translates the view and keeps the snapshot, the key and the rows.
    const QStringList rows = Column(form.StringGrid3, 0);
    form.Deutsch1Click();
    EXPECT_EQ(form.Panel().CommandMode, PanelMode::Statistics);
    EXPECT_EQ(form.PageControl1->tabText(0), "Städte");
    EXPECT_EQ(form.ComboBox2->currentIndex(), kSortByCapacity);
    EXPECT_EQ(form.ComboBox2->currentText(), QString::fromUtf8("Kapazität"));
    EXPECT_EQ(Heading(form.StringGrid3),
              QStringList({"Firma", "Marke", QString::fromUtf8("Kapazität"), "Angebot", "Verkauf"}));
    EXPECT_EQ(Column(form.StringGrid3, 0), rows);

    // The Companies tab shows the chosen company's towns.
    form.ComboBox3->setCurrentIndex(2);
    form.ComboBox3Change();
    const int row = Column(form.StringGrid4, 1).indexOf("Alpha");
    ASSERT_GE(row, 0);
    EXPECT_EQ(form.StringGrid4->item(row, 0)->text().toStdString(), s.TownName[0]);
    EXPECT_EQ(form.StringGrid4->item(row, 2)->text(), "500");

    // Another view leaves the statistics: the map and the panel come back.
    form.Menu(MenuEntry::MarketShares1)->trigger();
    EXPECT_FALSE(form.PageControl1->isVisible());
    EXPECT_TRUE(form.StringGrid2->isVisible());
}

// Runs `check` on the modal dialog as soon as it shows, then presses its OK.
template <typename Dialog>
void WhenShown(Dialog* dialog, std::function<void(Dialog&)> check, bool& shown)
{
    QTimer::singleShot(0, dialog, [dialog, check, &shown] {
        if (QApplication::activeModalWidget() != dialog)
            return;
        shown = true;
        check(*dialog);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    });
}

TEST_F(StatisticsWindowTest, BestOpponentDialogShowsTheMovingCompany)
{
    TForm1& form = OpenWithGame(1);
    form.SetDialogs(nullptr);  // the window's own dialog this time
    WritableState(form.Session()).Program.Language = Language::German;
    bool shown = false;
    WhenShown<TZwischenDialog>(
        form.BestOpponentDialog(),
        [&](TZwischenDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Zwischenstand");
            EXPECT_EQ(d.Edits[0]->text().toStdString(), form.State().CompanyName[form.State().CurrentCompany]);
            EXPECT_EQ(d.Labels[0]->text(), "Ihre Firma:");
        },
        shown);
    form.ShowBestOpponentDialog();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form.BestOpponentDialog()->isVisible());
}

TEST_F(StatisticsWindowTest, HighscoreEntryPlaysItsSoundAndShowsTheSettings)
{
    TForm1& form = Open();
    WriteSetting(dir_.Str(), settings::kHighscoreHolder[2], "Otto");
    WriteSetting(dir_.Str(), settings::kHighscorePoints[2], "1234");
    recorder_.Sounds.clear();
    bool shown = false;
    WhenShown<THighDialog>(
        form.HighscoreDialog(),
        [&](THighDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Highscore");
            EXPECT_EQ(d.Edits[2]->text(), "Otto  1234 Points");
            EXPECT_EQ(d.Edits[0]->text(), "  0 Points");
            EXPECT_EQ(d.Labels[1]->text(), "Islands:");
        },
        shown);
    form.Menu(MenuEntry::Highscore1)->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(recorder_.Sounds, std::vector<int>{6});
}

}  // namespace
