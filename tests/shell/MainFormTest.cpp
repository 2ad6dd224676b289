// The main window: start-up checks, openers, exit, command routing, window menu, error handler.
#include "MainForm.h"

#include "AppConfig.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "Printer.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString DbWarning = QStringLiteral(
    "Укажите путь к базе данных!\nМеню: Сервис -> Параметры... -> Подключение -> Расположение БД");
const QString MapWarning =
    QStringLiteral("Укажите путь к файлу с картой!\nМеню: Сервис -> Параметры... -> Подключение -> Карта");

// A document window that records what the main window asks of it and follows the
// activation protocol of the real ones.
class TestDocument : public TDocumentWindow {
public:
    TestDocument(int kind, bool logBeforeLoad, QStringList* trace, std::function<int()> logLinesNow)
        : kind_(kind), logBeforeLoad_(logBeforeLoad), trace_(trace), logLinesNow_(std::move(logLinesNow))
    {
    }
    int WindowKind() const override { return kind_; }
    bool LogBeforeLoad() const override { return logBeforeLoad_; }
    void Load() override
    {
        ++Loads;
        LogLinesAtLoad = logLinesNow_();
    }
    void FormActivate() override
    {
        *trace_ << QStringLiteral("activate ") + windowTitle();
        frmMainForm->ActivateMenu(kind_);
    }
    void FormDeactivate() override
    {
        *trace_ << QStringLiteral("deactivate ") + windowTitle();
        frmMainForm->DeActivateMenu();
    }
    bool FormClose() override
    {
        *trace_ << QStringLiteral("close ") + windowTitle();
        return AllowClose;
    }
    void PrintPreview() override { *trace_ << QStringLiteral("PrintPreview"); }
    void Print(int copies) override { *trace_ << QStringLiteral("Print %1").arg(copies); }
    void PrintEx() override { *trace_ << QStringLiteral("PrintEx"); }
    void CopyToClipBrd() override { *trace_ << QStringLiteral("CopyToClipBrd"); }
    void SaveToFile() override { *trace_ << QStringLiteral("SaveToFile"); }

    int Loads = 0;
    int LogLinesAtLoad = -1;
    bool AllowClose = true;

private:
    int kind_;
    bool logBeforeLoad_;
    QStringList* trace_;
    std::function<int()> logLinesNow_;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        appDir_ = dir_.path() + QStringLiteral("/app/");
        db_ = dir_.path() + QStringLiteral("/db");
        map_ = dir_.path() + QStringLiteral("/map.bmp");
        QDir().mkpath(appDir_);
        QDir().mkpath(db_);
        dialogs_ = std::make_unique<Dialogs::ScriptedHandler>();
    }
    void TearDown() override
    {
        main_.reset();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        dialogs_.reset();
    }

    // tvk.ini pointing at the database folder and the map; the named files are created.
    void Configure(const QStringList& dataFiles, bool withMap)
    {
        TestSupport::WriteAnsiLines(appDir_ + QStringLiteral("tvk.ini"),
                                    {QStringLiteral("[server]"), QStringLiteral("adosource=") + db_,
                                     QStringLiteral("mapfile=") + map_});
        for (const QString& f : dataFiles)
            TestSupport::WriteAnsiLines(db_ + QLatin1Char('/') + f, {});
        if (withMap)
            TestSupport::WriteBytes(map_, "BM");
    }
    void ConfigureAll()
    {
        Configure({QStringLiteral("ksRegions.txt"), QStringLiteral("ksFederalParts.txt"),
                   QStringLiteral("ksResearchRegister.txt")},
                  true);
    }

    TfrmMainForm& Start()
    {
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        return *main_;
    }

    QStringList LogLines() const { return TestSupport::ReadAnsiLines(appDir_ + QStringLiteral("tvk.log")); }
    int CountLog(const QString& message) const
    {
        int n = 0;
        for (const QString& line : LogLines())
            if (line.contains(QStringLiteral(", ") + message + QStringLiteral(", ")))
                ++n;
        return n;
    }

    // Plugs a test document into one of the creators and keeps the last one made.
    TfrmMainForm::Creator Maker(int kind, bool logBeforeLoad, TestDocument** made = nullptr)
    {
        return [this, kind, logBeforeLoad, made](TfrmMainForm* owner) {
            auto* doc = new TestDocument(kind, logBeforeLoad, &trace_, [this] { return int(LogLines().size()); });
            doc->setParent(owner);
            ++created_;
            if (made)
                *made = doc;
            return doc;
        };
    }

    QList<QMdiSubWindow*> Children() const { return main_->MdiArea->subWindowList(QMdiArea::CreationOrder); }
    QList<bool> SharedEnabled() const
    {
        return {main_->ExportToFile->isEnabled(), main_->PrintPreview->isEnabled(), main_->Print->isEnabled(),
                main_->CopyToClipBoard->isEnabled(), main_->MenuPrintEx->isEnabled()};
    }

    QTemporaryDir dir_;
    QString appDir_, db_, map_;
    std::unique_ptr<Dialogs::ScriptedHandler> dialogs_;
    std::unique_ptr<TfrmMainForm> main_;
    QStringList trace_;
    int created_ = 0;
};

const QList<bool> AllOff{false, false, false, false, false};
const QList<bool> AllOn{true, true, true, true, true};

// --- Start-up ---------------------------------------------------------------------------------

TEST_F(MainFormTest, WithoutIniBothWarningsInOrderAndNothingCreated)
{
    TfrmMainForm& mw = Start();
    ASSERT_EQ(dialogs_->Messages.size(), 2);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Warning);
    EXPECT_EQ(dialogs_->Messages[0].Text, DbWarning);
    EXPECT_EQ(dialogs_->Messages[1].Kind, Dialogs::Box::Warning);
    EXPECT_EQ(dialogs_->Messages[1].Text, MapWarning);
    EXPECT_FALSE(QFile::exists(appDir_ + QStringLiteral("tvk.ini")));
    EXPECT_EQ(AppConfig->AppDir, appDir_);
    EXPECT_EQ(AppConfig->CommentChar, QStringLiteral("#"));
    EXPECT_TRUE(AppConfig->DBPath.isEmpty());
    ASSERT_NE(mw.WhatToDo, nullptr);
    EXPECT_EQ(mw.WhatToDo->Print, wkNone);
    EXPECT_EQ(mw.WhatToDo->ExportToFile, wkNone);
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(SharedEnabled(), AllOff);
}

TEST_F(MainFormTest, WithBothPathsStartsSilentlyAndLogsActivation)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    EXPECT_TRUE(dialogs_->Messages.isEmpty()) << dialogs_->Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(AppConfig->DBPath, db_);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&mw, &activate);
    QApplication::sendEvent(&mw, &activate);
    EXPECT_GE(CountLog(QStringLiteral("Активировано главное окно программы")), 2);
}

TEST_F(MainFormTest, DesignNamesCaptionsAndShortcuts)
{
    TfrmMainForm& mw = Start();
    EXPECT_EQ(mw.windowTitle(), QStringLiteral("Кестрова"));
    for (const char* name : {"N2", "N4", "N5", "N8", "N10", "N11", "N13", "N15", "N18", "N20", "N22", "N24", "N26",
                             "N28", "N29", "N30", "N32", "N33", "MenuPrintEx", "ExportToFile", "PrintPreview", "Print",
                             "Regions", "Analisis", "Graphics", "CopyToClipBoard", "N3", "N7", "N12", "N16", "N21",
                             "N25", "N31", "ToolButton2", "ToolButton7", "ToolButton6", "ToolButton17"})
        EXPECT_NE(mw.findChild<QAction*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"N1", "N9", "N14", "N23", "N27", "N19"})
        EXPECT_NE(mw.findChild<QMenu*>(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"ToolButton1", "ToolButton4", "ToolBtnPrint", "ToolButton5", "ToolButton16",
                             "ToolButton12", "ToolButton18"})
        EXPECT_NE(mw.findChild<QToolButton*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(mw.findChild<QWidget*>(QStringLiteral("ToolBar1")), nullptr);
    EXPECT_NE(mw.findChild<QWidget*>(QStringLiteral("MainToolBar")), nullptr);

    EXPECT_EQ(mw.MenuPrintEx->text(), QStringLiteral("&Печать..."));
    EXPECT_EQ(mw.MenuPrintEx->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(mw.findChild<QAction*>(QStringLiteral("N20"))->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(mw.Regions->toolTip(), QStringLiteral("Справочник регионов"));
    EXPECT_EQ(mw.Graphics->toolTip(), QStringLiteral("Отображение графики"));

    // A menu item bound to an action follows its caption and enabled state.
    QAction* n2 = mw.findChild<QAction*>(QStringLiteral("N2"));
    EXPECT_EQ(n2->text(), QStringLiteral("Экспорт в файл..."));
    EXPECT_FALSE(n2->isEnabled());
    mw.ActivateMenu(wkRegions);
    EXPECT_TRUE(n2->isEnabled());
}

// --- Openers ----------------------------------------------------------------------------------

TEST_F(MainFormTest, OpenerWithMissingFileWarnsAndCreatesNothing)
{
    Configure({}, false);
    TfrmMainForm& mw = Start();
    auto& c = TfrmMainForm::DocumentCreators();
    c.Regions = Maker(wkRegions, true);
    c.FederalParts = Maker(wkFederalParts, true);
    c.Researches = Maker(wkResearches, true);
    c.Graphics = Maker(wkMap, false);
    c.LinkToMap = Maker(wkNone, false);
    dialogs_->Messages.clear();

    mw.RegionsExecute();
    mw.N11Click();
    mw.AnalisisExecute();
    mw.GraphicsExecute();
    mw.N13Click();
    const QString hint = QStringLiteral("\nМеню: Сервис -> Параметры... -> Подключение -> Расположение БД");
    EXPECT_EQ(dialogs_->Texts(),
              QStringList({QStringLiteral("Не найден файл ksRegions.txt! Укажите путь к базе данных!") + hint,
                           QStringLiteral("Не найден файл ksFederalParts.txt! Укажите путь к базе данных!") + hint,
                           QStringLiteral("Не найден файл ksResearchRegister.txt! Укажите путь к базе данных!") + hint,
                           MapWarning, MapWarning}));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 5);
    EXPECT_EQ(created_, 0);
    EXPECT_TRUE(Children().isEmpty());
    for (const QString& line : LogLines())
        EXPECT_FALSE(line.contains(QStringLiteral("Меню - "))) << line.toStdString();
}

TEST_F(MainFormTest, LinkingNeedsOnlyTheMapAndAFolderIsNoFile)
{
    // Data files present, the map path names a folder.
    Configure({QStringLiteral("ksRegions.txt")}, false);
    QDir().mkpath(map_);
    TfrmMainForm& mw = Start();
    TfrmMainForm::DocumentCreators().LinkToMap = Maker(wkNone, false);
    dialogs_->Messages.clear();
    mw.N13Click();
    EXPECT_EQ(dialogs_->Texts(), QStringList{MapWarning});
    EXPECT_EQ(created_, 0);
}

TEST_F(MainFormTest, OpeningTwiceKeepsOneWindowAndOneLogLine)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TestDocument* doc = nullptr;
    TfrmMainForm::DocumentCreators().Regions = Maker(wkRegions, true, &doc);

    const int before = int(LogLines().size());
    mw.RegionsExecute();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(Children().size(), 1);
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("Регионы"));
    EXPECT_EQ(doc->Loads, 1);
    // The table windows log before they load.
    EXPECT_GT(doc->LogLinesAtLoad, before);
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Регионы")), 1);
    EXPECT_EQ(mw.ActiveDocument(), doc);
    EXPECT_TRUE(mw.FindChildWindow(QStringLiteral("Регионы"), false));
    EXPECT_FALSE(mw.FindChildWindow(QStringLiteral("регионы"), false));
    EXPECT_FALSE(mw.FindChildWindow(QStringLiteral("Регион"), false));

    // Minimised, it comes back maximised and in front; no reload, no second line.
    Children()[0]->showMinimized();
    mw.RegionsExecute();
    ASSERT_EQ(Children().size(), 1);
    EXPECT_TRUE(Children()[0]->isMaximized());
    EXPECT_EQ(mw.MdiArea->activeSubWindow(), Children()[0]);
    EXPECT_EQ(doc->Loads, 1);
    EXPECT_EQ(created_, 1);
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Регионы")), 1);
}

TEST_F(MainFormTest, MapWindowLogsAfterLoadingAndUnpluggedCreatorDoesNothing)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TestDocument* map = nullptr;
    TfrmMainForm::DocumentCreators().Graphics = Maker(wkMap, false, &map);
    mw.GraphicsExecute();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->windowTitle(), QStringLiteral("Графика"));
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Графика")), 1);
    // The line was not there yet while the map loaded.
    EXPECT_EQ(map->LogLinesAtLoad, int(LogLines().size()) - 1);

    mw.N11Click();
    EXPECT_EQ(Children().size(), 1);
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Федеральные округа")), 0);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MainFormTest, FailingLoadStillShowsTheWindowAndReportsTheError)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TfrmMainForm::DocumentCreators().Researches = [](TfrmMainForm* owner) -> TDocumentWindow* {
        struct Failing : TDocumentWindow {
            using TDocumentWindow::TDocumentWindow;
            int WindowKind() const override { return wkResearches; }
            void Load() override { throw EInOutError(QStringLiteral("disk gone")); }
        };
        return new Failing(owner);
    };
    mw.AnalisisExecute();
    ASSERT_EQ(Children().size(), 1);
    EXPECT_TRUE(Children()[0]->isVisible());
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Исследования")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! disk gone")), 1);
    EXPECT_EQ(dialogs_->Texts(),
              QStringList{QStringLiteral("Во время выполнения программы возникла ошибка!\ndisk gone")});
    // Found again by its caption, not created twice.
    mw.AnalisisExecute();
    EXPECT_EQ(Children().size(), 1);
}

// --- Exit -------------------------------------------------------------------------------------

TEST_F(MainFormTest, ExitLineIsWrittenOnceByMenuOrByClosing)
{
    ConfigureAll();
    {
        TfrmMainForm& mw = Start();
        mw.N8Click();
        mw.close();
        EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
    }
    QFile::remove(appDir_ + QStringLiteral("tvk.log"));
    {
        TfrmMainForm& mw = Start();
        mw.close();
        EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
    }
}

// --- Routing ----------------------------------------------------------------------------------

TEST_F(MainFormTest, ActivationProtocolAndDispatchByCode)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    EXPECT_EQ(SharedEnabled(), AllOff);

    // No active child: the commands do nothing.
    mw.ActivateMenu(wkRegions);
    EXPECT_EQ(SharedEnabled(), AllOn);
    EXPECT_EQ(mw.WhatToDo->Print, wkRegions);
    EXPECT_EQ(mw.WhatToDo->PrintPreview, wkRegions);
    EXPECT_EQ(mw.WhatToDo->CopyToClipBoard, wkRegions);
    EXPECT_EQ(mw.WhatToDo->ExportToFile, wkRegions);
    mw.PrintExecute();
    EXPECT_TRUE(trace_.isEmpty());
    EXPECT_EQ(SharedEnabled(), AllOn);
    mw.DeActivateMenu();
    EXPECT_EQ(SharedEnabled(), AllOff);
    EXPECT_EQ(mw.WhatToDo->Print, wkRegions);

    TfrmMainForm::DocumentCreators().Regions = Maker(wkRegions, true);
    mw.RegionsExecute();
    EXPECT_EQ(SharedEnabled(), AllOn);
    trace_.clear();
    mw.PrintExecute();
    mw.MenuPrintExClick();
    mw.PrintPreviewExecute();
    mw.CopyToClipBoardExecute();
    mw.ExportToFileExecute();
    EXPECT_EQ(trace_, QStringList({QStringLiteral("Print 1"), QStringLiteral("PrintEx"),
                                   QStringLiteral("PrintPreview"), QStringLiteral("CopyToClipBrd"),
                                   QStringLiteral("SaveToFile")}));
    // Through the toolbar button as well.
    trace_.clear();
    mw.findChild<QToolButton*>(QStringLiteral("ToolBtnPrint"))->click();
    EXPECT_EQ(trace_, QStringList{QStringLiteral("Print 1")});
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MainFormTest, UnknownCodeDisablesOnlyTheInvokedCommand)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    const struct {
        void (TfrmMainForm::*handler)();
        int index;
    } cases[] = {{&TfrmMainForm::ExportToFileExecute, 0}, {&TfrmMainForm::PrintPreviewExecute, 1},
                 {&TfrmMainForm::PrintExecute, 2},        {&TfrmMainForm::CopyToClipBoardExecute, 3},
                 {&TfrmMainForm::MenuPrintExClick, 4}};
    for (int code : {int(wkNone), 5, -1}) {
        for (const auto& c : cases) {
            mw.ActivateMenu(code);
            (mw.*c.handler)();
            QList<bool> expected = AllOn;
            expected[c.index] = false;
            EXPECT_EQ(SharedEnabled(), expected) << "code " << code << " command " << c.index;
        }
    }
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MainFormTest, WrongWindowForTheCodeReachesTheErrorHandler)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TfrmMainForm::DocumentCreators().Regions = Maker(wkRegions, true);
    mw.RegionsExecute();
    dialogs_->Messages.clear();
    trace_.clear();
    mw.ActivateMenu(wkMap);
    mw.PrintExecute();
    EXPECT_EQ(trace_, QStringList());
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_EQ(dialogs_->Messages[0].Text,
              QStringLiteral("Во время выполнения программы возникла ошибка!\nInvalid class typecast"));
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! Invalid class typecast")), 1);
    // The program goes on: the command still works with the right code.
    mw.ActivateMenu(wkRegions);
    mw.PrintExecute();
    EXPECT_EQ(trace_, QStringList{QStringLiteral("Print 1")});
}

TEST_F(MainFormTest, SwitchingAndClosingChildrenFollowTheProtocol)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TestDocument* regions = nullptr;
    TestDocument* parts = nullptr;
    auto& c = TfrmMainForm::DocumentCreators();
    c.Regions = Maker(wkRegions, true, &regions);
    c.FederalParts = Maker(wkFederalParts, true, &parts);
    c.LinkToMap = Maker(wkNone, false);

    mw.RegionsExecute();
    mw.N11Click();
    EXPECT_EQ(trace_, QStringList({QStringLiteral("activate Регионы"), QStringLiteral("deactivate Регионы"),
                                   QStringLiteral("activate Федеральные округа")}));
    EXPECT_EQ(mw.WhatToDo->Print, wkFederalParts);

    // Back to the first by the menu: the old child deactivates first.
    trace_.clear();
    mw.RegionsExecute();
    EXPECT_EQ(trace_, QStringList({QStringLiteral("deactivate Федеральные округа"),
                                   QStringLiteral("activate Регионы")}));
    EXPECT_EQ(mw.ActiveDocument(), regions);

    // A child that refuses to close stays open and active.
    regions->AllowClose = false;
    trace_.clear();
    mw.MdiArea->activeSubWindow()->close();
    QApplication::processEvents();
    EXPECT_EQ(trace_, QStringList{QStringLiteral("close Регионы")});
    EXPECT_EQ(Children().size(), 2);
    EXPECT_EQ(SharedEnabled(), AllOn);

    // Closing: FormClose, then deactivation, then the next child activates.
    regions->AllowClose = true;
    trace_.clear();
    mw.MdiArea->activeSubWindow()->close();
    QApplication::processEvents();
    ASSERT_GE(trace_.size(), 2);
    EXPECT_EQ(trace_[0], QStringLiteral("close Регионы"));
    EXPECT_EQ(trace_[1], QStringLiteral("deactivate Регионы"));
    ASSERT_EQ(Children().size(), 1);
    EXPECT_EQ(mw.ActiveDocument(), parts);

    // Closing the last one leaves the shared commands disabled.
    mw.MdiArea->activeSubWindow()->close();
    QApplication::processEvents();
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(mw.ActiveDocument(), nullptr);
    EXPECT_EQ(SharedEnabled(), AllOff);
    // The code stays; the commands are off, and with no child nothing is called.
    trace_.clear();
    mw.PrintPreviewExecute();
    EXPECT_TRUE(trace_.isEmpty());
}

// --- Window menu ------------------------------------------------------------------------------

TEST_F(MainFormTest, SideBySideAlternatesAndWindowListNamesChildren)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    mw.resize(900, 700);
    auto& c = TfrmMainForm::DocumentCreators();
    c.Regions = Maker(wkRegions, true);
    c.FederalParts = Maker(wkFederalParts, true);
    mw.RegionsExecute();
    mw.N11Click();
    QApplication::processEvents();
    const QList<QMdiSubWindow*> w = Children();
    ASSERT_EQ(w.size(), 2);
    const int width = mw.MdiArea->viewport()->width();
    const int height = mw.MdiArea->viewport()->height();

    auto sideBySide = [&] {
        return w[0]->geometry().top() == w[1]->geometry().top() && w[0]->geometry().left() == 0 &&
               w[1]->geometry().left() == width / 2 && w[0]->height() == height;
    };
    auto stacked = [&] {
        return w[0]->geometry().left() == w[1]->geometry().left() && w[0]->geometry().top() == 0 &&
               w[1]->geometry().top() == height / 2 && w[0]->width() == width;
    };
    mw.N29Click();
    EXPECT_TRUE(sideBySide()) << w[0]->geometry().x() << "," << w[1]->geometry().x();
    mw.N29Click();
    EXPECT_TRUE(stacked()) << w[0]->geometry().y() << "," << w[1]->geometry().y();
    mw.N29Click();
    EXPECT_TRUE(sideBySide());

    // Minimise all, last to first; then restore all to the normal state.
    mw.N32Click();
    EXPECT_TRUE(w[0]->isMinimized() && w[1]->isMinimized());
    mw.N30Click();
    EXPECT_EQ(w[0]->geometry().bottom(), mw.MdiArea->viewport()->rect().bottom());
    EXPECT_LT(w[0]->geometry().left(), w[1]->geometry().left());
    mw.N33Click();
    EXPECT_FALSE(w[0]->isMinimized() || w[1]->isMinimized() || w[0]->isMaximized());

    QMenu* windowMenu = mw.findChild<QMenu*>(QStringLiteral("N27"));
    emit windowMenu->aboutToShow();
    QStringList captions;
    for (QAction* a : windowMenu->actions())
        captions << a->text();
    EXPECT_EQ(captions.mid(captions.size() - 2),
              QStringList({QStringLiteral("&1 Регионы"), QStringLiteral("&2 Федеральные округа")}));
    // Shown again, the list is rebuilt, not appended to.
    const int count = int(windowMenu->actions().size());
    emit windowMenu->aboutToShow();
    EXPECT_EQ(windowMenu->actions().size(), count);
}

// --- Printer set-up ---------------------------------------------------------------------------

TEST_F(MainFormTest, PrinterSetupAppliesTheChoiceAndCancelKeepsIt)
{
    TfrmMainForm& mw = Start();
    const int orientation = Printer().Orientation();
    const int paper = Printer().PaperSize();
    mw.N4Click();  // empty queue: cancelled
    EXPECT_EQ(Printer().Orientation(), orientation);
    dialogs_->PrinterSetupAnswers << [](Dialogs::PrinterSetupRequest& r) {
        r.Orientation = 2;
        r.PaperSize = 1;
        return true;
    };
    mw.N4Click();
    EXPECT_EQ(Printer().Orientation(), 2);
    EXPECT_EQ(Printer().PaperSize(), 1);
    Printer().SetOrientation(orientation);
    Printer().SetPaperSize(paper);
}

TEST_F(MainFormTest, MissingHelpFileWarns)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    // The help file is looked for in the current directory.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(db_);
    mw.N20Click();
    QDir::setCurrent(cwd);
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral("Возникла ошибка при открытии файла помощи")});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
}

// --- Unhandled errors -------------------------------------------------------------------------

TEST_F(MainFormTest, GuardedErrorIsLoggedAndShown)
{
    ConfigureAll();
    Start();
    Guarded([] { throw EConvertError(QStringLiteral("'x' is not a valid integer value")); });
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral(
                                     "Во время выполнения программы возникла ошибка!\n'x' is not a valid integer value")});
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! 'x' is not a valid integer value")), 1);
}

TEST_F(MainFormTest, UnwritableLogNeitherLoopsNorRecurses)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    // A folder where the log file should be: every write fails.
    QFile::remove(appDir_ + QStringLiteral("tvk.log"));
    ASSERT_TRUE(QDir().mkpath(appDir_ + QStringLiteral("tvk.log")));
    dialogs_->Messages.clear();

    // Each closed box activates the main window again, whose log line fails again.
    int activations = 0;
    dialogs_->OnMessage = [&](const Dialogs::ScriptedHandler::Shown&) {
        if (++activations > 20)
            return;
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&mw, &activate);
    };
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&mw, &activate);
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("Во время выполнения программы возникла ошибка!\n")));

    // Another error still reaches the user, once.
    mw.LogException(QStringLiteral("boom"));
    EXPECT_EQ(dialogs_->Messages.size(), 2);
    QApplication::sendEvent(&mw, &activate);
    EXPECT_EQ(dialogs_->Messages.size(), 2);
    EXPECT_LE(activations, 2);

    // Once the log can be written again, activation logs again.
    dialogs_->OnMessage = nullptr;
    QDir(appDir_ + QStringLiteral("tvk.log")).removeRecursively();
    QApplication::sendEvent(&mw, &activate);
    EXPECT_EQ(CountLog(QStringLiteral("Активировано главное окно программы")), 1);
}

TEST_F(MainFormTest, DocumentClosingItselfClosesItsFrame)
{
    ConfigureAll();
    TfrmMainForm& mw = Start();
    TestDocument* doc = nullptr;
    TfrmMainForm::DocumentCreators().Regions = Maker(wkRegions, true, &doc);
    mw.RegionsExecute();
    ASSERT_NE(doc, nullptr);
    trace_.clear();
    doc->AllowClose = false;
    doc->close();
    EXPECT_EQ(Children().size(), 1);
    EXPECT_TRUE(doc->isVisible());
    doc->AllowClose = true;
    doc->close();
    QApplication::processEvents();
    EXPECT_EQ(trace_, QStringList({QStringLiteral("close Регионы"), QStringLiteral("close Регионы"),
                                   QStringLiteral("deactivate Регионы")}));
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(SharedEnabled(), AllOff);
}

}  // namespace
