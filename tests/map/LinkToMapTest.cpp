// The linking window: listing places, linking by a click, clearing, saving and the question on close.
#include "../platform/Faults.h"
#include "ConnParams.h"
#include "DatabaseFixture.h"
#include "DragScroll.h"
#include "LinkToMap.h"
#include "MainForm.h"
#include "Pictures.h"
#include "ViewOnMap.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0x000000;
constexpr TColor LabelRed = 0x0000FF;
constexpr TColor DefaultLink = 9564305;

// A 300 x 200 map with black borders:
//   A (0..99, 0..99)   B (101..199, 0..99)   C (201..299, 0..99)
//   D (0..299, 101..199), holding a red label at 20..24, 150..154.
QImage LinkMap()
{
    QImage map(300, 200, QImage::Format_RGB32);
    map.fill(Qt::white);
    QPainter p(&map);
    p.setPen(Qt::black);
    p.drawLines(QVector<QLine>{{100, 0, 100, 99}, {200, 0, 200, 99}, {0, 100, 299, 100}});
    p.fillRect(20, 150, 5, 5, QColor(ColorToQRgb(LabelRed)));
    return map;
}

// Regions 1 (A and D) and 2 (B), district 1 (C).
const QStringList Links = {"0;1;50;50", "1;1;250;50", "0;2;150;50", "0;1;50;150"};

class LinkWindow : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        AppConfig->MapFile = DataPath(QStringLiteral("map.bmp"));
        AppConfig->Bgc5 = 0x80FF80;
        Pictures::SaveBitmap(LinkMap(), AppConfig->MapFile);
        WriteData(QStringLiteral("ksRegions.txt"), {"1;Москва;Москва", "2;Тверь;Тверь", "3;Тула;Тула"});
        WriteData(QStringLiteral("ksFederalParts.txt"), {"1;Центральный;Москва", "2;Северо-Западный;Санкт-Петербург"});
        WriteData(QStringLiteral("ksLinksToMap.txt"), Links);
    }

    TfrmGraphForm1& Open()
    {
        form = std::make_unique<TfrmGraphForm1>();
        form->Load();
        return *form;
    }
    static void Select(TfrmGraphForm1* w, const QString& name)
    {
        const int i = w->ComboBox1->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        w->ComboBox1->setCurrentIndex(i);
        w->ComboBox1Change();
    }
    void Select(const QString& name) { Select(form.get(), name); }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton) { form->Image1MouseUp(button, QPoint(x, y)); }
    TColor At(int x, int y) const { return Pictures::PixelColor(form->Image1->Picture, x, y); }
    QList<TColor> At(std::initializer_list<QPoint> points) const
    {
        QList<TColor> colours;
        for (QPoint p : points) colours << At(p.x(), p.y());
        return colours;
    }
    QStringList PointLines() const
    {
        QStringList lines;
        for (int i = 0; i < form->Points->Count(); ++i) {
            const OCoordinates::TUnits& p = form->Points->Items(i);
            lines << QStringLiteral("%1;%2;%3;%4").arg(p.Level).arg(p.PlaceID).arg(p.X).arg(p.Y);
        }
        return lines;
    }
    QByteArray LinkBytes() const { return TestSupport::ReadBytes(DataPath(QStringLiteral("ksLinksToMap.txt"))); }

    std::unique_ptr<TfrmGraphForm1> form;
};

TEST_F(LinkWindow, OpensListingRegionsWithNothingSelectedOrPainted)
{
    TfrmGraphForm1& w = Open();
    EXPECT_EQ(w.LinkColor, DefaultLink);
    EXPECT_EQ(w.CurrentLevel, 0);
    EXPECT_EQ(w.ComboBox1->itemText(2), QStringLiteral("Тула"));
    EXPECT_EQ(w.Codes, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(PointLines(), Links);
    EXPECT_FALSE(w.Points->Modified);
    EXPECT_EQ(At({{50, 50}, {150, 50}, {250, 50}, {50, 150}}), QList<TColor>(4, White));
    EXPECT_EQ(w.Label1->text() + w.Label2->text(), QStringLiteral("X: 0Y: 0"));
    w.FormActivate();
    EXPECT_EQ(QColorToColor(w.ToolBar1->palette().color(QPalette::Window)), TColor(0x80FF80));
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(LinkWindow, ChoosingAPlacePaintsItsAreasOnlyAndInsideTheirBorders)
{
    // Region 2 also has a seed on the A/B border, which is neither painted nor cleared; link
    // colours equal to the borders' or to the label's must not let a clearing whiten them.
    WriteData(QStringLiteral("ksLinksToMap.txt"), Links + QStringList{"0;2;100;50"});
    TfrmGraphForm1& w = Open();
    const std::initializer_list<QPoint> probe = {{50, 50}, {150, 150}, {150, 50}, {250, 50}, {100, 50}, {0, 100}, {21, 151}};
    for (TColor c : {DefaultLink, Black, LabelRed}) {
        w.LinkColor = c;
        Select(QStringLiteral("Москва"));
        EXPECT_EQ(At(probe), (QList<TColor>{c, c, White, White, Black, Black, LabelRed})) << c;
        Select(QStringLiteral("Тверь"));
        EXPECT_EQ(At(probe), (QList<TColor>{White, White, c, White, Black, Black, LabelRed})) << c;
    }
}

TEST_F(LinkWindow, ClicksLinkOnlyUsableWhiteOrOldColourAreas)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), {});
    TfrmGraphForm1& w = Open();
    Click(150, 50);  // no place selected
    EXPECT_EQ(w.Points->Count(), 0);
    EXPECT_EQ(At(150, 50), White);

    Select(QStringLiteral("Тверь"));
    struct Case {
        const char* what;
        QPoint at;
        Qt::MouseButton button;
        int points;     // points after the click
        TColor colour;  // the clicked pixel after the click
    };
    const Case cases[] = {
        {"the right button does not link", {150, 50}, Qt::RightButton, 0, White},
        {"a white area is painted and linked", {150, 50}, Qt::LeftButton, 1, DefaultLink},
        {"an area in the link colour adds nothing", {160, 60}, Qt::LeftButton, 1, DefaultLink},
        {"a border line adds nothing", {100, 50}, Qt::LeftButton, 1, Black},
        {"a label adds nothing", {21, 151}, Qt::LeftButton, 1, LabelRed},
        {"outside the picture adds nothing", {400, 50}, Qt::LeftButton, 1, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        Click(c.at.x(), c.at.y(), c.button);
        EXPECT_EQ(w.Points->Count(), c.points) << c.what;
        EXPECT_EQ(At(c.at.x(), c.at.y()), c.colour) << c.what;
    }
    EXPECT_TRUE(w.Points->Modified);
    EXPECT_EQ(At({{199, 99}, {201, 50}}), (QList<TColor>{DefaultLink, White}));  // the whole area, and no more

    // A new colour: the old-colour area takes a point but keeps its colour; a white one takes the new colour.
    dialogs_->ColorAnswers = {0x00FF00};
    w.SpeedButton1->click();
    EXPECT_EQ(w.LinkColor, TColor(0x00FF00));
    Click(170, 70);
    Click(250, 50);
    EXPECT_EQ(At({{170, 70}, {250, 50}}), (QList<TColor>{DefaultLink, 0x00FF00}));
    EXPECT_EQ(PointLines(), (QStringList{"0;2;150;50", "0;2;170;70", "0;2;250;50"}));
    // A cancelled colour dialog keeps the colour.
    w.SpeedButton1->click();
    EXPECT_EQ(w.LinkColor, TColor(0x00FF00));
}

// The mouse as the user moves it: the screen point stays, the picture under it may scroll.
class LinkWindowMouse : public LinkWindow {
protected:
    void Mouse(QEvent::Type type, QPoint screen, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWidget* target = form->Image1;
        QMouseEvent e(type, target->mapFromGlobal(QPointF(screen)), QPointF(screen), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
    // Presses over the picture pixel from, moves the mouse by on the screen and releases it there.
    void DragBy(QPoint from, QPoint by, Qt::MouseButton button)
    {
        const QPoint start = form->Image1->mapToGlobal(from);
        Mouse(QEvent::MouseButtonPress, start, button, button);
        Mouse(QEvent::MouseMove, start + by, Qt::NoButton, button);
        Mouse(QEvent::MouseButtonRelease, start + by, button, Qt::NoButton);
    }
    QPoint Scrolled() const
    {
        return {form->ScrollBox2->horizontalScrollBar()->value(), form->ScrollBox2->verticalScrollBar()->value()};
    }
};

TEST_F(LinkWindowMouse, RightDragOnlyScrollsLeftDragLinksWhereItEnds)
{
    TfrmGraphForm1& w = Open();
    w.ComboBox1->setMinimumContentsLength(1);  // so that the window may be narrower than the picture
    w.resize(240, 200);
    w.show();
    QApplication::processEvents();
    ASSERT_LT(w.ScrollBox2->viewport()->width(), 300);
    ASSERT_LT(w.ScrollBox2->viewport()->height(), 200 - 20);
    Select(QStringLiteral("Тула"));

    DragBy({150, 60}, {-40, -20}, Qt::RightButton);
    EXPECT_EQ(Scrolled(), QPoint(40, 20));
    EXPECT_EQ(w.Points->Count(), Links.size());
    EXPECT_EQ(At(150, 60), White);
    EXPECT_FALSE(w.Drag->Dragging);

    // The picture follows the mouse, so the release is over the pixel pressed.
    DragBy({150, 60}, {20, 10}, Qt::LeftButton);
    EXPECT_EQ(Scrolled(), QPoint(20, 10));
    EXPECT_EQ(PointLines().last(), QStringLiteral("0;3;150;60"));
    EXPECT_EQ(At(150, 60), DefaultLink);
    // At the edge it cannot follow: the release lies 70 pixels further right, in C.
    DragBy({140, 60}, {90, 10}, Qt::LeftButton);
    EXPECT_EQ(Scrolled(), QPoint(0, 0));
    EXPECT_EQ(PointLines().last(), QStringLiteral("0;3;210;60"));
    EXPECT_EQ(At(250, 50), DefaultLink);
    // The labels follow every move.
    const QPoint over = w.Image1->mapToGlobal(QPoint(33, 44));
    Mouse(QEvent::MouseMove, over, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w.Label1->text() + w.Label2->text(), QStringLiteral("X: 33Y: 44"));
}

TEST_F(LinkWindow, SwitchingLevelClearsThePreviousLevelAndTheSelection)
{
    TfrmGraphForm1& w = Open();
    Select(QStringLiteral("Тверь"));
    w.est21->trigger();
    EXPECT_EQ(w.CurrentLevel, 1);
    EXPECT_EQ(w.ToolButton1->text(), QStringLiteral("Федеральные округа"));
    EXPECT_EQ(w.ComboBox1->count(), 2);
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(At(150, 50), White);
    Select(QStringLiteral("Центральный"));
    EXPECT_EQ(At(250, 50), DefaultLink);
    Click(150, 150);
    EXPECT_EQ(PointLines().last(), QStringLiteral("1;1;150;150"));
    // The button part reloads the current list.
    w.ToolButton1->click();
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(At({{250, 50}, {150, 150}}), QList<TColor>(2, White));
    EXPECT_EQ(w.CurrentLevel, 1);
    w.est11->trigger();
    EXPECT_EQ(w.ToolButton1->text(), QStringLiteral("Регионы"));
    EXPECT_EQ(w.ComboBox1->count(), 3);
}

TEST_F(LinkWindow, ClearingPointsRemovesOnlyTheSelectedPlaceOfTheCurrentLevel)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), Links + QStringList{"1;2;50;50"});
    TfrmGraphForm1& w = Open();
    w.ToolButton2->click();  // nothing selected: nothing removed
    EXPECT_EQ(w.Points->Count(), 5);
    EXPECT_FALSE(w.Points->Modified);
    Select(QStringLiteral("Москва"));
    w.ToolButton2->click();
    EXPECT_EQ(PointLines(), (QStringList{"1;1;250;50", "0;2;150;50", "1;2;50;50"}));
    EXPECT_TRUE(w.Points->Modified);
    EXPECT_EQ(At(50, 50), White);
    EXPECT_EQ(At(50, 150), White);
}

TEST_F(LinkWindow, SavedPointsOfBothLevelsReadBackInBothWindows)
{
    WriteData(QStringLiteral("ksResearchRegister.txt"), {"1;Регионы;0;1", "2;Округа;1;1"});
    WriteData(QStringLiteral("ksMesurements.txt"),
              {"1;1;3;01.02.2005;10:00:00;10", "1;2;2;01.02.2005;10:00:00;10"});
    TfrmGraphForm1& w = Open();
    Select(QStringLiteral("Тула"));
    Click(150, 150);  // D, region 1's too: two places may share an area
    w.est21Click();
    Select(QStringLiteral("Северо-Западный"));
    Click(150, 50);
    w.ToolButton3->click();
    EXPECT_FALSE(w.Points->Modified);
    const QStringList expected = Links + QStringList{"0;3;150;150", "1;2;150;50"};
    EXPECT_EQ(ReadData(QStringLiteral("ksLinksToMap.txt")), expected);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());

    Open();
    EXPECT_EQ(PointLines(), expected);

    TfrmGraphForm map;
    map.Load();
    EXPECT_EQ(map.Points->Count(), expected.size());
    auto mapAt = [&map](int x, int y) { return Pictures::PixelColor(map.Image1->Picture, x, y); };
    map.ComboBox1->setCurrentIndex(0);
    map.ComboBox1Change();
    // Тула's 10 is the highest value: D takes the last interval's colour; unmeasured places stay white.
    const TColor top = mapAt(150, 150);
    EXPECT_NE(top, White);
    EXPECT_EQ(mapAt(50, 50) & mapAt(150, 50), White);
    map.ComboBox1->setCurrentIndex(1);
    map.ComboBox1Change();
    EXPECT_EQ(mapAt(150, 50), top);
}

// The save writes back every line it did not read as a point, byte for byte in its place: points
// keep their lines' places, a new point goes at the end, a removed one's line goes.
TEST_F(LinkWindow, SaveKeepsCommentBlankAndBadLinesInTheirPlaces)
{
    const QByteArray head = "# \xef\xf0\xe8\xe2\xff\xe7\xea\xe8\r\n0;1;50;50\r\n\r\n0;2;1x0;50\r\n;9;9;9\n1;1;250;50\r\n";
    TestSupport::WriteBytes(DataPath(QStringLiteral("ksLinksToMap.txt")), head + "0;2;150;50\r\n#end");
    TfrmGraphForm1& w = Open();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);  // the bad line, reported at opening
    EXPECT_TRUE(w.ToolButton3->isEnabled());
    Select(QStringLiteral("Тула"));
    Click(150, 150);
    EXPECT_TRUE(w.ToolButton3Click());
    EXPECT_EQ(LinkBytes(), head + "0;2;150;50\r\n#end\r\n0;3;150;150\r\n");

    // Тверь's points go, the bad line that named it stays; a second save works on what the first wrote.
    Select(QStringLiteral("Тверь"));
    w.ToolButton2->click();
    EXPECT_TRUE(w.ToolButton3Click());
    EXPECT_EQ(LinkBytes(), head + "#end\r\n0;3;150;150\r\n");
    Select(QStringLiteral("Тверь"));
    Click(150, 50);
    EXPECT_TRUE(w.ToolButton3Click());
    EXPECT_EQ(LinkBytes(), head + "#end\r\n0;3;150;150\r\n0;2;150;50\r\n");
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
}

TEST_F(LinkWindow, FailedSaveKeepsTheOldFileAndThePointsUnsaved)
{
    TfrmGraphForm1& w = Open();
    Select(QStringLiteral("Тула"));
    Click(150, 150);
    const QByteArray before = LinkBytes();
    bool saved = true;
    const QString outcome = MessageInReadOnlyDirectory(db_, [&] { saved = w.ToolButton3Click(); });
    if (outcome == QStringLiteral("<no user>")) GTEST_SKIP() << "no unprivileged user to take on";
    EXPECT_FALSE(saved);
    EXPECT_EQ(LinkBytes(), before);
    EXPECT_TRUE(w.Points->Modified);
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("При сохранении данных произошла ошибка!\n")));

    // A database folder that is gone fails the same way; once it is back, the next save writes.
    AppConfig->DBPath = db_ + QStringLiteral("/missing");
    EXPECT_FALSE(w.ToolButton3Click());
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    EXPECT_GE(CountLog(QStringLiteral("ОШИБКА! ")), 1);
    EXPECT_TRUE(w.Points->Modified);
    AppConfig->DBPath = db_;
    EXPECT_TRUE(w.ToolButton3Click());
    EXPECT_EQ(ReadData(QStringLiteral("ksLinksToMap.txt")).last(), QStringLiteral("0;3;150;150"));
}

TEST_F(LinkWindow, ClosingWithUnsavedPointsAsks)
{
    using A = Dialogs::Answer;
    const QString question = QStringLiteral("Сохранить изменения привязки?");
    const QByteArray original = LinkBytes();
    struct Case {
        const char* what;
        bool change;
        QList<A> answers;
        bool closes;
        bool saved;
        bool missingFolder = false;
    };
    const Case cases[] = {
        {"nothing changed: no question", false, {}, true, false},
        {"Yes saves and closes", true, {A::Yes}, true, true},
        {"No closes without saving", true, {A::No}, true, false},
        {"Cancel keeps the window", true, {A::Cancel}, false, false},
        {"Yes with a failed save keeps the window", true, {A::Yes}, false, false, true},
    };
    for (const Case& c : cases) {
        TestSupport::WriteBytes(DataPath(QStringLiteral("ksLinksToMap.txt")), original);
        TfrmGraphForm1& w = Open();
        dialogs_->Messages.clear();
        dialogs_->AskAnswers = c.answers;
        if (c.change) {
            Select(QStringLiteral("Тула"));
            Click(150, 150);
        }
        if (c.missingFolder) AppConfig->DBPath = db_ + QStringLiteral("/missing");
        EXPECT_EQ(w.FormClose(), c.closes) << c.what;
        AppConfig->DBPath = db_;
        EXPECT_EQ(dialogs_->Count(Dialogs::Box::Question), c.change ? 1 : 0) << c.what;
        if (c.change) {
            EXPECT_EQ(dialogs_->Messages[0].Text, question) << c.what;
        }
        EXPECT_EQ(LinkBytes() != original, c.saved) << c.what;
        EXPECT_EQ(w.Points->Modified, c.change && !c.saved) << c.what;
    }
}

TEST_F(LinkWindow, UnusableDelimiterOrBadNamesLeaveTheFileAlone)
{
    // A place whose ID does not convert is listed with ID 0 after the key-field error.
    WriteData(QStringLiteral("ksRegions.txt"), {"1;Москва", "x;Тверь", "3;Тула"});
    TfrmGraphForm1& w = Open();
    EXPECT_EQ(w.Codes, (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(w.ComboBox1->itemText(1), QStringLiteral("Тверь"));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);

    const QByteArray before = LinkBytes();
    AppConfig->Delimiter = QStringLiteral("Tab;");
    dialogs_->Messages.clear();
    TfrmGraphForm1& bad = Open();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(bad.Points->Count() + bad.ComboBox1->count(), 0);
    EXPECT_FALSE(bad.ToolButton3->isEnabled());
    // Not read, so never written, even once the delimiter is right again.
    AppConfig->Delimiter = QStringLiteral(";");
    bad.FillCapitals(0);
    Select(QStringLiteral("Тула"));
    Click(150, 150);
    EXPECT_EQ(bad.Points->Count(), 0);
    EXPECT_FALSE(bad.ToolButton3Click());
    EXPECT_TRUE(bad.FormClose());
    EXPECT_EQ(LinkBytes(), before);

    // A map that does not load stops the load before the points are read: nothing is saved either.
    TestSupport::WriteBytes(AppConfig->MapFile, "BM broken");
    EXPECT_THROW(Open(), Exception);
    EXPECT_FALSE(form->ToolButton3Click());
    EXPECT_EQ(LinkBytes(), before);
}

// Through the main window: the menu item, one window, the commands it leaves off, closing.
class LinkWindowInMain : public LinkWindow {
protected:
    void SetUp() override
    {
        LinkWindow::SetUp();
        TfrmMainForm::DocumentCreators().LinkToMap = [](TfrmMainForm* o) { return frmGraphForm1 = new TfrmGraphForm1(o); };
        WriteIni({QStringLiteral("mapfile=") + AppConfig->MapFile});
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        LinkWindow::TearDown();
    }
    std::unique_ptr<TfrmMainForm> main_;
};

TEST_F(LinkWindowInMain, MenuOpensOneWindowThatLeavesTheSharedCommandsOff)
{
    main_->ActivateMenu(wkMap);
    main_->N13Click();
    ASSERT_EQ(main_->MdiArea->subWindowList().size(), 1);
    ASSERT_NE(frmGraphForm1, nullptr);
    EXPECT_EQ(frmGraphForm1->ComboBox1->count(), 3);
    EXPECT_EQ(frmGraphForm1->Points->Count(), Links.size());
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Привязка объектов к карте")), 1);
    for (QAction* a : {main_->ExportToFile, main_->PrintPreview, main_->CopyToClipBoard, main_->Print, main_->MenuPrintEx})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    const TWhatToDo& codes = *main_->WhatToDo;
    EXPECT_EQ(QList<int>({codes.Print, codes.PrintPreview, codes.CopyToClipBoard, codes.ExportToFile}),
              QList<int>(4, wkResearches));
    main_->MenuPrintExClick();  // disabled: nothing happens
    main_->N13Click();
    EXPECT_EQ(main_->MdiArea->subWindowList().size(), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Привязка объектов к карте")), 1);
}

TEST_F(LinkWindowInMain, LeavingTheProgramWithUnsavedPointsAsks)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), {});
    main_->N13Click();
    Select(frmGraphForm1, QStringLiteral("Тула"));
    frmGraphForm1->Image1MouseUp(Qt::LeftButton, QPoint(150, 150));
    // Cancel keeps the program and the points; Yes saves them, then the program ends.
    dialogs_->AskAnswers = {Dialogs::Answer::Cancel, Dialogs::Answer::Yes};
    main_->N8Click();
    EXPECT_EQ(main_->MdiArea->subWindowList().size(), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 0);
    main_->N8Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main_->MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Question), 2);
    EXPECT_EQ(ReadData(QStringLiteral("ksLinksToMap.txt")), QStringList{"0;3;150;150"});
    EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
}

TEST_F(LinkWindowInMain, ADatabaseFolderChangeAsksForUnsavedPointsAndSavesThemToTheOldFolder)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), {});
    const QString other = dir_.path() + QStringLiteral("/other");
    QDir().mkpath(other);
    TestSupport::WriteAnsiLines(other + QStringLiteral("/ksLinksToMap.txt"), {"0;9;1;1"});
    const QByteArray otherBefore = TestSupport::ReadBytes(other + QStringLiteral("/ksLinksToMap.txt"));
    main_->N13Click();
    Select(frmGraphForm1, QStringLiteral("Тула"));
    frmGraphForm1->Image1MouseUp(Qt::LeftButton, QPoint(150, 150));
    const auto ok = [&] {
        QTimer::singleShot(0, [other] {
            frmConnect->Edit1->setText(other);
            frmConnect->Button1->click();
            if (frmConnect && frmConnect->isVisible()) frmConnect->Button2->click();
        });
        main_->N26Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    // Cancel keeps the window, its points and the old folder; Yes saves them there, closes
    // the window, and the new folder's links stay as they were.
    dialogs_->AskAnswers = {Dialogs::Answer::Cancel, Dialogs::Answer::Yes};
    ok();
    EXPECT_EQ(AppConfig->DBPath, db_);
    ASSERT_EQ(main_->MdiArea->subWindowList().size(), 1);
    EXPECT_TRUE(frmGraphForm1->Points->Modified);
    ok();
    EXPECT_EQ(AppConfig->DBPath, other);
    EXPECT_TRUE(main_->MdiArea->subWindowList().isEmpty());
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Question), 2);
    EXPECT_EQ(ReadData(QStringLiteral("ksLinksToMap.txt")), QStringList{"0;3;150;150"});
    EXPECT_EQ(TestSupport::ReadBytes(other + QStringLiteral("/ksLinksToMap.txt")), otherBefore);
}

}  // namespace
