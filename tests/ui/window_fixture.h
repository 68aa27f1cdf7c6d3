/// @file window_fixture.h The real main window in a fresh program directory, with its message
/// boxes, questions and file dialogs answered by the test.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "recording_frontend.h"
#include "temp_dir.h"
#include "persistence/settings.h"
#include "ui/Tavrek95.h"
#include "ui/hand_over_cover.h"
#include "ui/zoom.h"

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override { form_.reset(); }

    /// Creates the window as the program does at start, with the test's folder as its game
    /// folder (no directory is changed), on a screen of `screen_`, at the zoom `zoom_`.
    TForm1& Open()
    {
        if (comforts_)
            WriteOnOff(dir_.Str(), settings::kComforts, true);
        form_ = std::make_unique<TForm1>(FoldersIn(dir_.Str()), nullptr, &recorder_);
        form_->ChooseOpenFile = [this] { return openFile_; };
        form_->ChooseSaveFile = [this] { return saveFile_; };
        // The next player of a two-player game takes the turn at once; the hand-over's own
        // test waits for a key instead.
        form_->WaitForHandOver = [](HandOverCover& cover) { cover.Take(); };
        form_->OpenDocument = [this](const QString& path) {
            opened_.push_back(path);
            return documentOpens_;
        };
        form_->AvailableScreenSize = [this] { return screen_; };
        form_->show();
        if (zoom_ != 100)
            form_->SetZoom(zoom_);
        return *form_;
    }

    /// A one-player game on a map with a fixed seed, started as "New" does after the dialog.
    TForm1& OpenWithGame(int map, int start = 0, uint32_t seed = 7)
    {
        TForm1& form = Open();
        form.Session().SetSeed(seed);
        NewGameSettings settings;
        settings.Map = map;
        settings.Player1Start = start;
        form.StartNewGame(settings);
        return form;
    }

    /// Clicks the first window pixel of a layout pixel at the window's zoom.
    void ClickAt(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        ClickAtPixel(QPoint(Zoomed(x, form_->Zoom()), Zoomed(y, form_->Zoom())), button);
    }
    void ClickAtPixel(QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form_->Surface(), button, Qt::NoModifier, at);
    }
    void DoubleClickAt(int x, int y)
    {
        const QPoint at(Zoomed(x, form_->Zoom()), Zoomed(y, form_->Zoom()));
        QTest::mouseDClick(form_->Surface(), Qt::LeftButton, Qt::NoModifier, at);
    }
    static void Press(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    /// Selects the list entry with exactly this text; fails the test when there is none.
    static void Choose(QListWidget* list, const QString& text)
    {
        const auto items = list->findItems(text, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        list->setCurrentItem(items.front());
    }
    static void Type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    TempDir dir_;
    RecordingFrontend recorder_;
    std::unique_ptr<TForm1> form_;
    QString openFile_;
    QString saveFile_;
    bool documentOpens_ = true;
    std::vector<QString> opened_;
    QSize screen_{4096, 4096};  ///< the room the screen gives the window
    int zoom_ = 100;            ///< the zoom Open shows the window at, unless 100 (the settings' then)
    bool comforts_ = false;     ///< Open starts the window with the option "Comforts" on
};

/// The window at each zoom, the parameter in percent.
class ZoomedWindowTest : public WindowTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override { zoom_ = GetParam(); }
};
