// The main window: start-up checks, openers, exit, command routing, window menu, error handler.
#include "MainForm.h"

#include "ConnParams.h"

#include "DatabaseFixture.h"
#include "Exceptions.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

namespace {

const QString DbHint = QStringLiteral("\nМеню: Сервис -> Параметры... -> Подключение -> Расположение БД");
const QString DbWarning = QStringLiteral("Укажите путь к базе данных!") + DbHint;
const QString MapWarning =
    QStringLiteral("Укажите путь к файлу с картой!\nМеню: Сервис -> Параметры... -> Подключение -> Карта");
const QString ErrorBox = QStringLiteral("Во время выполнения программы возникла ошибка!\n");
const QList<bool> AllOff(5, false), AllOn(5, true);

QStringList Split(const QString& text) { return text.split(QLatin1Char('|')); }
const QStringList DataNames = Split(QStringLiteral("ksRegions.txt|ksFederalParts.txt|ksResearchRegister.txt"));

// What the main window asked of the test documents, in order; and the error their Load throws.
QStringList Trace;
QString LoadError;

using M = TfrmMainForm;
using C = TfrmMainForm::Creators;

// A document window that records what the main window asks of it and follows the
// activation protocol of the real ones.
class TestDocument : public TDocumentWindow {
public:
    TestDocument(int kind, bool logBeforeLoad, QWidget* parent)
        : TDocumentWindow(parent), kind_(kind), logBeforeLoad_(logBeforeLoad) {}
    int WindowKind() const override { return kind_; }
    bool LogBeforeLoad() const override { return logBeforeLoad_; }
    void Load() override
    {
        ++Loads;
        if (!LoadError.isEmpty()) throw EInOutError(LoadError);
        LogLinesAtLoad = int(TestSupport::ReadAnsiLines(AppConfig->AppDir + QStringLiteral("tvk.log")).size());
    }
    void FormActivate() override { Trace << QStringLiteral("activate ") + windowTitle(); Host()->ActivateMenu(kind_); }
    void FormDeactivate() override { Trace << QStringLiteral("deactivate ") + windowTitle(); Host()->DeActivateMenu(); }
    bool FormClose() override { Trace << QStringLiteral("close ") + windowTitle(); return AllowClose; }
    bool ReadsAfresh() const override { return Afresh; }
    bool SaveHeld() override { Trace << QStringLiteral("save ") + AppConfig->DBPath; return AllowSave; }
    void ReadAfresh() override { Trace << QStringLiteral("read ") + AppConfig->DBPath; }
    void PrintPreview() override { Trace << QStringLiteral("PrintPreview"); }
    void Print(int copies) override { Trace << QStringLiteral("Print %1").arg(copies); }
    void PrintEx() override { Trace << QStringLiteral("PrintEx"); }
    void CopyToClipBrd() override { Trace << QStringLiteral("CopyToClipBrd"); }
    void SaveToFile() override { Trace << QStringLiteral("SaveToFile"); }

    int Loads = 0, LogLinesAtLoad = -1;
    bool AllowClose = true;
    bool Afresh = false, AllowSave = true;

private:
    int kind_;
    bool logBeforeLoad_;
};

class MainFormTest : public DatabaseFixture {
protected:
    void TearDown() override
    {
        main_.reset();
        Trace.clear();
        LoadError.clear();
        TfrmMainForm::DocumentCreators() = TfrmMainForm::Creators();
        DatabaseFixture::TearDown();
    }

    // Unless bare: tvk.ini naming the database and the map, with the data files and the map present.
    TfrmMainForm& Start(bool bare = false)
    {
        if (!bare) {
            WriteIni({QStringLiteral("mapfile=") + map_});
            for (const QString& f : DataNames)
                WriteData(f, {});
            TestSupport::WriteBytes(map_, "BM");
        }
        main_ = std::make_unique<TfrmMainForm>(appDir_);
        main_->show();
        return *main_;
    }

    // Plugs a test document of the kind into a creator and runs the opener; returns the last document made.
    TestDocument* Open(M::Creator C::*slot, void (M::*opener)(), int kind, bool logBeforeLoad = true)
    {
        M::DocumentCreators().*slot = [this, kind, logBeforeLoad](M* owner) {
            return made_ = new TestDocument(kind, logBeforeLoad, owner);
        };
        (main_.get()->*opener)();
        return made_;
    }

    QList<QMdiSubWindow*> Children() const { return main_->MdiArea->subWindowList(QMdiArea::CreationOrder); }
    QList<bool> SharedEnabled() const
    {
        return {main_->ExportToFile->isEnabled(), main_->PrintPreview->isEnabled(), main_->Print->isEnabled(),
                main_->CopyToClipBoard->isEnabled(), main_->MenuPrintEx->isEnabled()};
    }
    void Activate() { QEvent activate(QEvent::WindowActivate); QApplication::sendEvent(main_.get(), &activate); }

    QString map_ = dir_.path() + QStringLiteral("/map.bmp");
    std::unique_ptr<TfrmMainForm> main_;
    TestDocument* made_ = nullptr;
};

TEST_F(MainFormTest, WithoutIniTwoWarningsInOrderNothingCreatedAndDesignNames)
{
    TfrmMainForm& mw = Start(true);
    EXPECT_EQ(dialogs_->Texts(), QStringList({DbWarning, MapWarning}));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 2);
    EXPECT_FALSE(QFile::exists(appDir_ + QStringLiteral("tvk.ini")));
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(SharedEnabled(), AllOff);

    // The design: names, captions, shortcuts.
    EXPECT_EQ(mw.windowTitle(), QStringLiteral("Кестрова"));
    EXPECT_EQ(mw.font().family() + QString::number(mw.font().pointSize()), QStringLiteral("MS Sans Serif8"));
    // The default of the printouts' font is the family the window's font really is here.
    EXPECT_EQ(AppConfig->FontName, QFontInfo(mw.font()).family());
    for (const QString& name :
         QStringLiteral("N1 N2 N3 N4 N5 N7 N8 N9 N10 N11 N12 N13 N14 N15 N16 N18 N19 N20 N21 N22 N23 N24 N25 N26 N27 "
                        "N28 N29 N30 N31 N32 N33 MenuPrintEx ExportToFile PrintPreview Print Regions Analisis Graphics "
                        "CopyToClipBoard ActionList1 MainImageList PrinterSetupDialog1 PrintDialog1 ToolBar1 MainToolBar ToolButton1 ToolButton2 ToolButton4 ToolBtnPrint "
                        "ToolButton7 ToolButton5 ToolButton6 ToolButton16 ToolButton12 ToolButton17 ToolButton18")
             .split(QLatin1Char(' ')))
        EXPECT_NE(mw.findChild<QObject*>(name), nullptr) << name.toStdString();
    EXPECT_EQ(mw.MenuPrintEx->text(), QStringLiteral("&Печать..."));
    EXPECT_EQ(mw.MenuPrintEx->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(mw.findChild<QAction*>(QStringLiteral("N20"))->shortcut(), QKeySequence(Qt::Key_F1));
    // A menu item bound to an action follows its caption and enabled state.
    QAction* n2 = mw.findChild<QAction*>(QStringLiteral("N2"));
    EXPECT_EQ(n2->text(), QStringLiteral("Экспорт в файл..."));
    EXPECT_FALSE(n2->isEnabled());
    mw.ActivateMenu(wkRegions);
    EXPECT_TRUE(n2->isEnabled());
}

TEST_F(MainFormTest, DocumentWindowsReachTheMainWindowOnlyAsTheirHost)
{
    EXPECT_EQ(TDocumentHost::Current(), nullptr);
    TfrmMainForm& mw = Start();
    TDocumentHost* host = TDocumentHost::Current();
    ASSERT_EQ(host, static_cast<TDocumentHost*>(&mw));
    host->ActivateMenu(wkMap);
    EXPECT_EQ(SharedEnabled(), AllOn);
    EXPECT_EQ(mw.WhatToDo->PrintPreview, wkMap);
    host->DeActivateMenu();
    EXPECT_EQ(SharedEnabled(), AllOff);
    EXPECT_EQ(&host->PrintDialog(), &mw.PrintDialog1);
    EXPECT_EQ(host->PrintJobTitle(), QStringLiteral("Кестрова"));
    main_.reset();
    EXPECT_EQ(TDocumentHost::Current(), nullptr);

    // No window source includes the main window's header.
    for (const QString& folder : {QStringLiteral("tables"), QStringLiteral("researches"), QStringLiteral("map")}) {
        QDir dir(QStringLiteral(KESTROVA_SOURCE_DIR "/") + folder);
        for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files)) {
            QFile file(f.absoluteFilePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_FALSE(file.readAll().contains("#include \"MainForm.h\"")) << f.fileName().toStdString();
        }
    }
}

TEST_F(MainFormTest, OpenerWithMissingFileWarnsAndCreatesNothing)
{
    // No data files, and the map path names a folder.
    WriteIni({QStringLiteral("mapfile=") + map_});
    QDir().mkpath(map_);
    Start(true);
    dialogs_->Messages.clear();
    Open(&C::Regions, &M::RegionsExecute, wkNone);
    Open(&C::FederalParts, &M::N11Click, wkNone);
    Open(&C::Researches, &M::AnalisisExecute, wkNone);
    Open(&C::Graphics, &M::GraphicsExecute, wkNone);
    // Linking needs the map even when the data files exist.
    for (const QString& f : DataNames)
        WriteData(f, {});
    Open(&C::LinkToMap, &M::N13Click, wkNone);
    QStringList expected;
    for (const QString& f : DataNames)
        expected << QStringLiteral("Не найден файл ") + f + QStringLiteral("! Укажите путь к базе данных!") + DbHint;
    EXPECT_EQ(dialogs_->Texts(), expected + QStringList({MapWarning, MapWarning}));
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 5);
    EXPECT_EQ(made_, nullptr);
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(CountLog(QStringLiteral("Меню - ")), 0);
}

TEST_F(MainFormTest, OpeningTwiceKeepsOneWindowAndOneLogLine)
{
    TfrmMainForm& mw = Start();
    const int before = int(LogLines().size());
    TestDocument* doc = Open(&C::Regions, &M::RegionsExecute, wkRegions);
    ASSERT_EQ(Children().size(), 1);
    EXPECT_EQ(doc->windowTitle(), QStringLiteral("Регионы"));
    EXPECT_GT(doc->LogLinesAtLoad, before);  // the table windows log before they load
    EXPECT_FALSE(mw.FindChildWindow(QStringLiteral("регионы"), false));

    // Minimised, it comes back maximised and in front; no reload, no second line.
    Children()[0]->showMinimized();
    mw.RegionsExecute();
    ASSERT_EQ(Children().size(), 1);
    EXPECT_TRUE(Children()[0]->isMaximized());
    EXPECT_EQ(mw.MdiArea->activeSubWindow(), Children()[0]);
    EXPECT_EQ(doc->Loads, 1);
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Регионы")), 1);

    // The map window logs after loading.
    EXPECT_EQ(Open(&C::Graphics, &M::GraphicsExecute, wkMap, false)->windowTitle(), QStringLiteral("Графика"));
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Графика")), 1);
    EXPECT_EQ(made_->LogLinesAtLoad, int(LogLines().size()) - 1);

    // A window whose load fails is still shown, once, and the error reaches the handler.
    LoadError = QStringLiteral("disk gone");
    Open(&C::Researches, &M::AnalisisExecute, wkResearches);
    mw.AnalisisExecute();
    ASSERT_EQ(Children().size(), 3);
    EXPECT_TRUE(Children()[2]->isVisible());
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Исследования")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! disk gone")), 1);
    EXPECT_EQ(dialogs_->Texts(), QStringList{ErrorBox + QStringLiteral("disk gone")});
}

TEST_F(MainFormTest, StartIsSilentHelpMayFailAndExitIsLoggedOnce)
{
    TfrmMainForm& mw = Start();  // silent: the only box below is help's
    // The help file is looked for in the current directory.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(db_);
    mw.N20Click();
    QDir::setCurrent(cwd);
    EXPECT_EQ(dialogs_->Texts(), QStringList{QStringLiteral("Возникла ошибка при открытии файла помощи")});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);

    // By the menu and then by closing, or by closing alone: one exit line each.
    mw.N8Click();
    mw.close();
    EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
    QFile::remove(appDir_ + QStringLiteral("tvk.log"));
    Start().close();
    EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
}

TEST_F(MainFormTest, ExitRunsEveryChildsCloseStepAndStopsWhenOneRefuses)
{
    for (bool byMenu : {true, false}) {
        TfrmMainForm& mw = Start();
        TestDocument* regions = Open(&C::Regions, &M::RegionsExecute, wkRegions);
        Open(&C::FederalParts, &M::N11Click, wkFederalParts);
        Open(&C::Researches, &M::AnalisisExecute, wkResearches);
        mw.RegionsExecute();  // the regions window in front
        regions->AllowClose = false;
        const auto leave = [&] { byMenu ? mw.N8Click() : void(mw.close()); };

        // The front window refuses (a save that failed again, a question answered No): the
        // program stays, with every window, and writes no exit line.
        Trace.clear();
        leave();
        QApplication::processEvents();
        EXPECT_EQ(Trace, QStringList{QStringLiteral("close Регионы")}) << byMenu;
        EXPECT_EQ(Children().size(), 3);
        EXPECT_TRUE(mw.isVisible());
        EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 0);

        // Agreed: each child's close step runs, front first, then the exit line once.
        regions->AllowClose = true;
        Trace.clear();
        leave();
        QApplication::processEvents();
        QStringList closes;
        for (const QString& t : Trace)
            if (t.startsWith(QStringLiteral("close "))) closes << t;
        EXPECT_EQ(closes.first(), QStringLiteral("close Регионы"));
        closes.sort();
        EXPECT_EQ(closes, Split(QStringLiteral("close Исследования|close Регионы|close Федеральные округа")));
        EXPECT_TRUE(Children().isEmpty());
        EXPECT_EQ(CountLog(QStringLiteral("Выход из программы")), 1);
        main_.reset();
        QFile::remove(appDir_ + QStringLiteral("tvk.log"));
    }
}

TEST_F(MainFormTest, MinimisedChildComesBackMaximisedFromTheMenuAndTheWindowList)
{
    TfrmMainForm& mw = Start();
    Open(&C::Regions, &M::RegionsExecute, wkRegions);
    Open(&C::FederalParts, &M::N11Click, wkFederalParts);
    QMenu* windowMenu = mw.findChild<QMenu*>(QStringLiteral("N27"));
    // With no other child maximised, so that nothing but the restore itself maximises it.
    const std::function<void(int)> reach[] = {
        [&](int i) { emit windowMenu->aboutToShow(); windowMenu->actions()[7 + i]->trigger(); },
        [&](int i) { i == 0 ? mw.RegionsExecute() : mw.N11Click(); },
    };
    for (bool fromMaximised : {false, true})
        for (const auto& way : reach)
            for (int i : {0, 1}) {
                mw.N33Click();
                if (fromMaximised) Children()[i]->showMaximized();
                QApplication::processEvents();
                Children()[i]->showMinimized();
                QApplication::processEvents();
                way(i);
                QApplication::processEvents();
                EXPECT_TRUE(Children()[i]->isMaximized()) << i;
                // Maximised in fact, not only in name: it fills the frame.
                EXPECT_EQ(Children()[i]->geometry(), mw.MdiArea->viewport()->rect()) << fromMaximised << i;
                EXPECT_EQ(mw.MdiArea->activeSubWindow(), Children()[i]);
            }
}

TEST_F(MainFormTest, ErrorRaisedWhileTheErrorBoxIsOpenIsLoggedWithoutASecondBox)
{
    TfrmMainForm& mw = Start();
    // While the first box is shown, another handler fails (its loop runs the others' events).
    dialogs_->OnMessage = [](const Dialogs::ScriptedHandler::Shown&) {
        Guarded([] { throw EInOutError(QStringLiteral("second")); });
    };
    Guarded([] { throw EInOutError(QStringLiteral("first")); });
    EXPECT_EQ(dialogs_->Texts(), QStringList{ErrorBox + QStringLiteral("first")});
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! first")), 1);
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! second")), 1);
    dialogs_->OnMessage = nullptr;
    mw.LogException(QStringLiteral("third"));
    EXPECT_EQ(dialogs_->Messages.size(), 2);
}

TEST_F(MainFormTest, SettingsDialogIsLoggedShownModallyAndTheActiveWindowFollowsItsOk)
{
    TfrmMainForm& mw = Start();
    Open(&C::Regions, &M::RegionsExecute, wkRegions);
    for (bool ok : {false, true}) {
        Trace.clear();
        bool seen = false;
        QTimer::singleShot(0, [&] {
            seen = frmConnect && frmConnect->isModal() && frmConnect->windowTitle() == QStringLiteral("Параметры") &&
                   LogLines().last().contains(QStringLiteral(", Меню - Параметры, "));
            if (frmConnect) (ok ? frmConnect->Button1 : frmConnect->Button2)->click();
        });
        mw.N26Click();
        EXPECT_TRUE(seen) << ok;
        EXPECT_EQ(frmConnect, nullptr);
        // After OK the active window takes the new settings at once, as on an activation.
        EXPECT_EQ(Trace, ok ? QStringList{QStringLiteral("activate Регионы")} : QStringList()) << ok;
    }
    EXPECT_EQ(CountLog(QStringLiteral("Меню - Параметры")), 2);
    EXPECT_TRUE(QFile::exists(appDir_ + QStringLiteral("tvk.ini")));
}

TEST_F(MainFormTest, DispatchByCodeUnknownCodeAndWrongWindow)
{
    TfrmMainForm& mw = Start();
    // No active child: the commands do nothing.
    mw.ActivateMenu(wkRegions);
    const TWhatToDo& w = *mw.WhatToDo;
    EXPECT_EQ(QList<int>({w.Print, w.PrintPreview, w.CopyToClipBoard, w.ExportToFile}), QList<int>(4, wkRegions));
    mw.PrintExecute();
    EXPECT_TRUE(Trace.isEmpty());
    mw.DeActivateMenu();
    EXPECT_EQ(SharedEnabled(), AllOff);
    EXPECT_EQ(w.Print, wkRegions);
    // An unknown code disables only the command invoked.
    void (TfrmMainForm::*handlers[])() = {&TfrmMainForm::ExportToFileExecute, &TfrmMainForm::PrintPreviewExecute,
                                          &TfrmMainForm::PrintExecute, &TfrmMainForm::CopyToClipBoardExecute,
                                          &TfrmMainForm::MenuPrintExClick};
    for (int code : {int(wkNone), 5, -1})
        for (int i = 0; i < 5; ++i) {
            mw.ActivateMenu(code);
            (mw.*handlers[i])();
            QList<bool> expected = AllOn;
            expected[i] = false;
            EXPECT_EQ(SharedEnabled(), expected) << "code " << code << " command " << i;
        }

    Open(&C::Regions, &M::RegionsExecute, wkRegions);
    EXPECT_EQ(SharedEnabled(), AllOn);
    Trace.clear();
    for (auto handler : handlers)
        (mw.*handler)();
    mw.findChild<QToolButton*>(QStringLiteral("ToolBtnPrint"))->click();
    EXPECT_EQ(Trace, Split(QStringLiteral("SaveToFile|PrintPreview|Print 1|CopyToClipBrd|PrintEx|Print 1")));

    // A code of another kind than the active window: a bad cast, and the program goes on.
    Trace.clear();
    mw.ActivateMenu(wkMap);
    mw.PrintExecute();
    EXPECT_TRUE(Trace.isEmpty());
    EXPECT_EQ(dialogs_->Texts(), QStringList{ErrorBox + QStringLiteral("Invalid class typecast")});
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_EQ(CountLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! Invalid class typecast")), 1);
    mw.ActivateMenu(wkRegions);
    mw.PrintExecute();
    EXPECT_EQ(Trace, QStringList{QStringLiteral("Print 1")});
}

TEST_F(MainFormTest, SwitchingAndClosingChildrenFollowTheProtocol)
{
    TfrmMainForm& mw = Start();
    TestDocument* regions = Open(&C::Regions, &M::RegionsExecute, wkRegions);
    TestDocument* parts = Open(&C::FederalParts, &M::N11Click, wkFederalParts);
    // Back to the first by the menu: the old child deactivates first.
    mw.RegionsExecute();
    EXPECT_EQ(Trace, Split(QStringLiteral("activate Регионы|deactivate Регионы|activate Федеральные округа|"
                                          "deactivate Федеральные округа|activate Регионы")));

    // A child that refuses to close stays open and active, closed by its frame or by itself.
    regions->AllowClose = false;
    Trace.clear();
    mw.MdiArea->activeSubWindow()->close();
    regions->close();
    EXPECT_EQ(Trace, QStringList(2, QStringLiteral("close Регионы")));
    EXPECT_EQ(Children().size(), 2);
    EXPECT_TRUE(regions->isVisible());
    EXPECT_EQ(SharedEnabled(), AllOn);

    // Closing itself closes its frame: FormClose, deactivation, then the next child activates.
    regions->AllowClose = true;
    Trace.clear();
    regions->close();
    QApplication::processEvents();
    EXPECT_EQ(Trace.mid(0, 3), Split(QStringLiteral("close Регионы|deactivate Регионы|activate Федеральные округа")));
    ASSERT_EQ(Children().size(), 1);
    EXPECT_EQ(mw.ActiveDocument(), parts);

    // Closing the last one leaves the shared commands disabled; with no child nothing is called.
    mw.MdiArea->activeSubWindow()->close();
    QApplication::processEvents();
    EXPECT_TRUE(Children().isEmpty());
    EXPECT_EQ(mw.ActiveDocument(), nullptr);
    EXPECT_EQ(SharedEnabled(), AllOff);
}

TEST_F(MainFormTest, SideBySideAlternatesAndWindowListNamesChildren)
{
    TfrmMainForm& mw = Start();
    mw.resize(900, 700);
    Open(&C::Regions, &M::RegionsExecute, wkRegions);
    Open(&C::FederalParts, &M::N11Click, wkFederalParts);
    QApplication::processEvents();
    const QList<QMdiSubWindow*> w = Children();
    ASSERT_EQ(w.size(), 2);
    const QRect area = mw.MdiArea->viewport()->rect();
    const QRect left(0, 0, area.width() / 2, area.height()), top(0, 0, area.width(), area.height() / 2);
    for (const QRect& expected : {left, top, left}) {
        mw.N29Click();
        EXPECT_EQ(w[0]->geometry(), expected);
        EXPECT_EQ(w[1]->geometry().topLeft(), expected == left ? QPoint(left.width(), 0) : QPoint(0, top.height()));
    }

    // The list is rebuilt each time the menu is shown, not appended to.
    QMenu* windowMenu = mw.findChild<QMenu*>(QStringLiteral("N27"));
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow();
    const QList<QAction*> items = windowMenu->actions();
    ASSERT_EQ(items.size(), 9);  // six commands, a separator, the two windows
    EXPECT_EQ(items[7]->text() + items[8]->text(), QStringLiteral("&1 Регионы&2 Федеральные округа"));
}

TEST_F(MainFormTest, UnwritableLogNeitherLoopsNorRecurses)
{
    TfrmMainForm& mw = Start();
    // A folder where the log file should be: every write fails.
    QFile::remove(appDir_ + QStringLiteral("tvk.log"));
    ASSERT_TRUE(QDir().mkpath(appDir_ + QStringLiteral("tvk.log")));

    // Each closed box activates the main window again, whose log line fails again.
    int activations = 0;
    dialogs_->OnMessage = [&](const Dialogs::ScriptedHandler::Shown&) {
        if (++activations <= 20)
            Activate();
    };
    Activate();
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(ErrorBox));

    // Another error still reaches the user, once.
    mw.LogException(QStringLiteral("boom"));
    EXPECT_EQ(dialogs_->Messages.size(), 2);
    Activate();
    EXPECT_EQ(dialogs_->Messages.size(), 2);  // each box activates once: no more than two activations

    // Once the log can be written again, activation logs again.
    dialogs_->OnMessage = nullptr;
    QDir(appDir_ + QStringLiteral("tvk.log")).removeRecursively();
    Activate();
    EXPECT_EQ(CountLog(QStringLiteral("Активировано главное окно программы")), 1);
}

TEST_F(MainFormTest, ADatabaseFolderChangeSavesToTheOldFolderFirstAndClosesWhatDoesNotReadAfresh)
{
    TfrmMainForm& mw = Start();
    const QString old = AppConfig->DBPath, other = dir_.path() + QStringLiteral("/other");
    TestDocument* districts = Open(&C::FederalParts, &M::N11Click, wkFederalParts);
    TestDocument* linking = Open(&C::LinkToMap, &M::N13Click, wkNone, false);
    districts->Afresh = true;
    const auto ok = [&](const QString& folder) {
        QTimer::singleShot(0, [folder] {
            frmConnect->Edit1->setText(folder);
            frmConnect->Button1->click();
            if (frmConnect && frmConnect->isVisible()) frmConnect->Button2->click();
        });
        Trace.clear();
        mw.N26Click();
        QApplication::processEvents();
    };

    const QRegularExpression steps(QStringLiteral("^(save|read|close) "));
    // A window that refuses to close (front first, as at exit) keeps the old folder.
    linking->AllowClose = false;
    ok(other);
    EXPECT_EQ(AppConfig->DBPath, old);
    EXPECT_EQ(Trace.filter(steps), QStringList{QStringLiteral("close Привязка объектов к карте")});
    EXPECT_EQ(Children().size(), 2);

    // One that cannot save what it holds keeps it too; the save went to the folder it read.
    linking->AllowClose = true;
    districts->AllowSave = false;
    ok(other);
    EXPECT_EQ(AppConfig->DBPath, old);
    EXPECT_EQ(Trace.filter(steps),
              QStringList({QStringLiteral("close Привязка объектов к карте"), QStringLiteral("save ") + old}));
    ASSERT_EQ(Children().size(), 1);
    EXPECT_EQ(Children()[0]->widget(), districts);

    // Agreed: saved to the old folder before the change, read from the new one after it.
    districts->AllowSave = true;
    ok(other);
    EXPECT_EQ(AppConfig->DBPath, other);
    EXPECT_EQ(Trace.filter(steps), QStringList({QStringLiteral("save ") + old, QStringLiteral("read ") + other}));

    // The same folder again, or another setting: nothing is saved or read.
    ok(other);
    EXPECT_TRUE(Trace.filter(steps).isEmpty());
}

}  // namespace
