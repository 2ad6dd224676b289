// The MDI main window: menus, toolbar, actions, start-up checks, unhandled errors,
// window openers and the routing of the shared commands to the active document window.
#include "MainForm.h"

#include "About.h"
#include "ConnParams.h"
#include "DrawnIcon.h"
#include "PrintPreview.h"

#include "AppConfig.h"
#include "DataFiles.h"
#include "DefFun.h"
#include "Env.h"
#include "Exceptions.h"
#include "Printer.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

// The design font of the main window; the default of the printouts' font stands for it.
static QFont DesignFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

QString DefaultFontName(const QWidget* mainWindow)
{
    return QFontInfo(mainWindow ? mainWindow->font() : DesignFont()).family();
}

TfrmMainForm* frmMainForm = nullptr;

namespace {

const QString DatabaseHint = QStringLiteral("Меню: Сервис -> Параметры... -> Подключение -> Расположение БД");
const QString MapHint = QStringLiteral("Меню: Сервис -> Параметры... -> Подключение -> Карта");

// A file in the class library's sense: an existing regular file, not a directory.
bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The toolbar and action pictures are drawn in code; the print picture is the preview's.
void DrawPage(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(70, 70, 70), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 150, 150), 0.6));
    for (qreal y = r.top() + 2.5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

QIcon ExportIcon()
{
    return DrawnIcon([](QPainter& p) {
        DrawPage(p, QRectF(1.5, 1.5, 9, 13));
        p.setPen(QPen(QColor(0, 120, 0), 1.6));
        p.drawLine(QPointF(7, 9), QPointF(14, 9));
        p.drawLine(QPointF(11.5, 6.5), QPointF(14, 9));
        p.drawLine(QPointF(11.5, 11.5), QPointF(14, 9));
    });
}

QIcon PreviewIcon()
{
    return DrawnIcon([](QPainter& p) {
        DrawPage(p, QRectF(1.5, 1.5, 10, 13));
        p.setPen(QPen(QColor(40, 40, 40), 1.4));
        p.setBrush(QColor(200, 230, 255, 200));
        p.drawEllipse(QPointF(9, 8), 3.2, 3.2);
        p.drawLine(QPointF(11.3, 10.3), QPointF(14.5, 13.5));
    });
}

QIcon RegionsIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(QColor(170, 200, 240));
        p.drawRect(QRectF(1.5, 2.5, 13, 3));
        for (qreal y : {8.5, 11.0})
            p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
        p.drawLine(QPointF(6, 2.5), QPointF(6, 13.5));
    });
}

QIcon AnalisisIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 40, 20), 0.8));
        p.setBrush(QColor(160, 80, 40));
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 3.5, 7, 3));
        p.setPen(QPen(QColor(230, 200, 120), 1));
        p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 14.5));
    });
}

// A closed outline through the given corners, filled with one colour.
void DrawPatch(QPainter& p, std::initializer_list<QPointF> corners, const QColor& fill)
{
    QPainterPath path;
    path.moveTo(*corners.begin());
    for (auto it = corners.begin() + 1; it != corners.end(); ++it)
        path.lineTo(*it);
    path.closeSubpath();
    p.setBrush(fill);
    p.drawPath(path);
}

QIcon GraphicsIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        DrawPatch(p, {{1.5, 3.5}, {8, 2}, {7, 9}, {1.5, 10}}, QColor(120, 200, 120));
        DrawPatch(p, {{8, 2}, {14.5, 4}, {13.5, 13}, {7, 9}}, QColor(240, 200, 90));
        DrawPatch(p, {{1.5, 10}, {7, 9}, {13.5, 13}, {3, 14.5}}, QColor(230, 120, 110));
    });
}

QIcon CopyIcon()
{
    return DrawnIcon([](QPainter& p) {
        DrawPage(p, QRectF(1.5, 1.5, 8, 10));
        DrawPage(p, QRectF(6.5, 4.5, 8, 10));
    });
}

QIcon MainIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(30, 60, 110), 1));
        p.setBrush(QColor(70, 130, 200));
        p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 9, 2, 4));
        p.drawRect(QRectF(7, 6, 2, 7));
        p.drawRect(QRectF(11, 3, 2, 10));
    });
}

}  // namespace

struct TfrmMainForm::Impl {
    QMenu* WindowMenu = nullptr;
    QList<QAction*> WindowListItems;  // the window list at the end of the window menu
    QPointer<TDocumentWindow> Active;  // the document window last activated
    QList<QPointer<QMdiSubWindow>> Closing;  // frames whose close the document agreed to
    bool TileVertical = false;         // the frame starts in horizontal tile mode
    bool ExitLogged = false;
    bool LogFailing = false;           // the last attempt of LogException to log failed
    int LogExceptionDepth = 0;
};

TfrmMainForm::Creators& TfrmMainForm::DocumentCreators()
{
    static Creators creators;
    return creators;
}

TfrmMainForm::TfrmMainForm(const QString& appDir, QWidget* parent)
    : QMainWindow(parent), d(new Impl)
{
    setObjectName(QStringLiteral("frmMainForm"));
    frmMainForm = this;
    SetCurrent(this);
    setWindowTitle(QStringLiteral("Кестрова"));
    setWindowIcon(MainIcon());
    resize(1062, 638);
    setFont(DesignFont());

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setBackground(palette().brush(QPalette::Button));
    setCentralWidget(MdiArea);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        SubWindowActivated(w);
    });

    // The design's non-visual components, by name: the image list holds the pictures of the
    // actions, the action list the actions; the two printer dialogs are shown through the
    // dialog service with the requests they stand for.
    for (const char* name : {"MainImageList", "PrinterSetupDialog1", "PrintDialog1"})
        (new QObject(this))->setObjectName(QString::fromLatin1(name));
    auto* actionList = new QObject(this);
    actionList->setObjectName(QStringLiteral("ActionList1"));

    // Actions of ActionList1: caption, hint, icon, enabled state at start, handler.
    auto makeAction = [this, actionList](const char* name, const QString& caption, const QString& hint,
                                         const QIcon& icon, bool enabled, void (TfrmMainForm::*slot)()) {
        auto* a = new QAction(icon, caption, actionList);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    ExportToFile = makeAction("ExportToFile", QStringLiteral("Экспорт в файл..."), QStringLiteral("Экспорт в файл"),
                              ExportIcon(), false, &TfrmMainForm::ExportToFileExecute);
    PrintPreview = makeAction("PrintPreview", QStringLiteral("Предварительный просмотр"),
                              QStringLiteral("Предварительный просмотр"), PreviewIcon(), false,
                              &TfrmMainForm::PrintPreviewExecute);
    Print = makeAction("Print", QStringLiteral("Печать"), QStringLiteral("Печать"), PrintPreview::MainImageList(3), false,
                       &TfrmMainForm::PrintExecute);
    Regions = makeAction("Regions", QStringLiteral("Регионы"), QStringLiteral("Справочник регионов"), RegionsIcon(),
                         true, &TfrmMainForm::RegionsExecute);
    Analisis = makeAction("Analisis", QStringLiteral("Журнал исследований"), QStringLiteral("Журнал исследований"),
                          AnalisisIcon(), true, &TfrmMainForm::AnalisisExecute);
    Graphics = makeAction("Graphics", QStringLiteral("Графика"), QStringLiteral("Отображение графики"),
                          GraphicsIcon(), true, &TfrmMainForm::GraphicsExecute);
    CopyToClipBoard = makeAction("CopyToClipBoard", QStringLiteral("Копировать"), QStringLiteral("Копировать"),
                                 CopyIcon(), false, &TfrmMainForm::CopyToClipBoardExecute);

    BuildMenu();
    BuildToolBar();
    FormCreate(appDir);
}

TfrmMainForm::~TfrmMainForm()
{
    // The document windows go before the main window's own parts; no lifecycle call reaches
    // a half-destroyed main window.
    disconnect(MdiArea, nullptr, this, nullptr);
    if (Current() == this) SetCurrent(nullptr);
    if (frmMainForm == this) {
        frmMainForm = nullptr;
        SetUnhandledExceptionHandler(nullptr);
    }
    delete d;
    d = nullptr;
}

// A menu item bound to an action shows the action's caption, icon, hint and enabled state
// and runs the action.
static QAction* BoundItem(QMenu* menu, const char* name, QAction* action)
{
    auto* item = new QAction(menu);
    item->setObjectName(QString::fromLatin1(name));
    auto sync = [item, action] {
        item->setText(action->text());
        item->setIcon(action->icon());
        item->setToolTip(action->toolTip());
        item->setStatusTip(action->statusTip());
        item->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, item, sync);
    QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
    menu->addAction(item);
    return item;
}

void TfrmMainForm::BuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto top = [bar](const char* name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->setToolTipsVisible(true);
        return m;
    };
    auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TfrmMainForm::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* n1 = top("N1", QStringLiteral("&Файл"));
    BoundItem(n1, "N2", ExportToFile);
    separator(n1, "N3");
    item(n1, "N4", QStringLiteral("Па&раметры печати..."), &TfrmMainForm::N4Click);
    BoundItem(n1, "N5", PrintPreview);
    MenuPrintEx = item(n1, "MenuPrintEx", QStringLiteral("&Печать..."), &TfrmMainForm::MenuPrintExClick);
    MenuPrintEx->setToolTip(QStringLiteral("Печать..."));
    MenuPrintEx->setStatusTip(QStringLiteral("Печать..."));
    MenuPrintEx->setIcon(Print->icon());
    MenuPrintEx->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuPrintEx->setEnabled(false);
    separator(n1, "N7");
    item(n1, "N8", QStringLiteral("В&ыход"), &TfrmMainForm::N8Click);

    QMenu* n9 = top("N9", QStringLiteral("&Справочники"));
    BoundItem(n9, "N10", Regions);
    item(n9, "N11", QStringLiteral("Федеральные &округа"), &TfrmMainForm::N11Click);
    separator(n9, "N12");
    item(n9, "N13", QStringLiteral("Привязка к &карте"), &TfrmMainForm::N13Click);

    QMenu* n14 = top("N14", QStringLiteral("&Исследования"));
    BoundItem(n14, "N18", Analisis);
    separator(n14, "N16");
    BoundItem(n14, "N15", Graphics);

    QMenu* n23 = top("N23", QStringLiteral("Се&рвис"));
    item(n23, "N24", QStringLiteral("К&алькулятор"), &TfrmMainForm::N24Click);
    separator(n23, "N25");
    item(n23, "N26", QStringLiteral("Параметры..."), &TfrmMainForm::N26Click);

    QMenu* n27 = top("N27", QStringLiteral("&Окно"));
    item(n27, "N28", QStringLiteral("Каскад"), &TfrmMainForm::N28Click);
    item(n27, "N29", QStringLiteral("Рядом"), &TfrmMainForm::N29Click);
    item(n27, "N30", QStringLiteral("Упорядочить значки"), &TfrmMainForm::N30Click);
    separator(n27, "N31");
    item(n27, "N32", QStringLiteral("Свернуть все"), &TfrmMainForm::N32Click);
    item(n27, "N33", QStringLiteral("Восстановить все"), &TfrmMainForm::N33Click);
    d->WindowMenu = n27;
    connect(n27, &QMenu::aboutToShow, this, [this] { Guarded([this] { FillWindowList(); }); });

    QMenu* n19 = top("N19", QStringLiteral("С&правка"));
    item(n19, "N20", QStringLiteral("&Содержание"), &TfrmMainForm::N20Click)->setShortcut(QKeySequence(Qt::Key_F1));
    separator(n19, "N21");
    item(n19, "N22", QStringLiteral("&О программе..."), &TfrmMainForm::N22Click);
}

void TfrmMainForm::BuildToolBar()
{
    // ToolBar1 is the dock site along the top; MainToolBar sits in it.
    auto* site = new QToolBar(this);
    site->setObjectName(QStringLiteral("ToolBar1"));
    site->setMovable(false);
    site->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, site);

    auto* tb = new QToolBar(site);
    tb->setObjectName(QStringLiteral("MainToolBar"));
    tb->setIconSize(QSize(16, 16));
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    site->addWidget(tb);

    auto button = [tb](const char* name, QAction* action) {
        tb->addAction(action);
        tb->widgetForAction(action)->setObjectName(QString::fromLatin1(name));
    };
    auto separator = [tb](const char* name) { tb->addSeparator()->setObjectName(QString::fromLatin1(name)); };
    button("ToolButton1", ExportToFile);
    separator("ToolButton2");
    button("ToolButton4", PrintPreview);
    button("ToolBtnPrint", Print);
    separator("ToolButton7");
    button("ToolButton5", Regions);
    separator("ToolButton6");
    button("ToolButton16", Analisis);
    button("ToolButton12", Graphics);
    separator("ToolButton17");
    button("ToolButton18", CopyToClipBoard);
}

void TfrmMainForm::FormCreate(const QString& appDir)
{
    // A new run's settings: every field zero or empty until LoadConfig fills them.
    EnsureAppConfig() = TAppConfig();
    AppConfig->AppDir = appDir.isEmpty() ? Env::ProgramDir() : appDir;
    if (!AppConfig->AppDir.endsWith(QLatin1Char('/')))
        AppConfig->AppDir += QLatin1Char('/');
    AppConfig->CommentChar = QStringLiteral("#");
    WhatToDo = new TWhatToDo();
    LoadConfig(DefaultFontName(this));
    if (!FileExists(DataFiles::PathOf(DataFiles::RegionsFile)))
        Dialogs::Warning(QStringLiteral("Укажите путь к базе данных!") + QLatin1Char('\n') + DatabaseHint);
    if (!FileExists(AppConfig->MapFile))
        Dialogs::Warning(QStringLiteral("Укажите путь к файлу с картой!") + QLatin1Char('\n') + MapHint);
    SetUnhandledExceptionHandler([](const QString& message) {
        if (frmMainForm)
            frmMainForm->LogException(message);
        else
            qWarning("%s", qUtf8Printable(message));
    });
}

void TfrmMainForm::LogException(const QString& message)
{
    // Re-entered while its own box is open: log only, never a second box.
    const bool nested = d->LogExceptionDepth > 0;
    ++d->LogExceptionDepth;
    try {
        WriteLog(QStringLiteral("НЕПРЕДВИДЕННАЯ ОШИБКА! ") + message);
        d->LogFailing = false;
    } catch (...) {
        // The log cannot take the line (WriteLog has said so on stderr): the box below still
        // tells the user.
        d->LogFailing = true;
    }
    if (!nested) {
        try {
            Dialogs::Error(QStringLiteral("Во время выполнения программы возникла ошибка!") + QLatin1Char('\n') +
                           message);
        } catch (...) {
            qWarning("%s", qUtf8Printable(message));
        }
    } else {
        qWarning("%s", qUtf8Printable(message));
    }
    --d->LogExceptionDepth;
}

void TfrmMainForm::FormActivate()
{
    try {
        WriteLog(QStringLiteral("Активировано главное окно программы"));
        d->LogFailing = false;
    } catch (...) {
        // Closing the error box about a log that cannot be written activates the main window
        // again; reporting the same failure once more would never end.
        if (d->LogFailing || d->LogExceptionDepth > 0)
            return;
        throw;
    }
}

void TfrmMainForm::WriteExitLine()
{
    if (d->ExitLogged)
        return;
    d->ExitLogged = true;
    WriteLog(QStringLiteral("Выход из программы"));
}

bool TfrmMainForm::CloseDocuments()
{
    // Front window first, as the MDI child list runs; each goes through its own close step
    // (saves, column widths, questions). One that refuses keeps the program running.
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if (!(*it)->close())
            return false;
    return true;
}

bool TfrmMainForm::LeaveDatabase()
{
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::StackingOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        auto* doc = qobject_cast<TDocumentWindow*>((*it)->widget());
        const bool left = (doc && doc->ReadsAfresh()) ? doc->SaveHeld() : (*it)->close();
        if (!left)
            return false;
    }
    return true;
}

void TfrmMainForm::ReadDatabaseAfresh()
{
    for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        auto* doc = qobject_cast<TDocumentWindow*>(w->widget());
        // Each window reports its own load errors; one failing does not keep the others old.
        if (doc && doc->ReadsAfresh())
            Guarded([doc] { doc->ReadAfresh(); });
    }
}

void TfrmMainForm::closeEvent(QCloseEvent* event)
{
    bool closed = false;
    Guarded([&] { closed = CloseDocuments(); });
    if (!closed) {
        event->ignore();
        return;
    }
    Guarded([this] { WriteExitLine(); });
    event->accept();
}

void TfrmMainForm::N8Click()
{
    Guarded([this] {
        if (!CloseDocuments())
            return;
        WriteExitLine();
        QApplication::quit();
    });
}

bool TfrmMainForm::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        Guarded([this] { FormActivate(); });
    return result;
}

// --- Document windows ---------------------------------------------------------------------

bool TfrmMainForm::FindChildWindow(const QString& caption, bool activate)
{
    for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        const QString title = w->widget() ? w->widget()->windowTitle() : w->windowTitle();
        if (title != caption)
            continue;
        if (activate)
            BringForward(w);
        return true;
    }
    return false;
}

void TfrmMainForm::BringForward(QMdiSubWindow* w)
{
    // A minimised child comes back maximised. Maximised straight from minimised, the frame
    // keeps its icon's geometry under its new state, so it is restored on the way.
    const bool minimised = w->isMinimized();
    MdiArea->setActiveSubWindow(w);
    if (minimised) {
        w->showNormal();
        w->showMaximized();
    }
}

QMdiSubWindow* TfrmMainForm::ShowDocument(TDocumentWindow* window)
{
    // Every document window opens maximised; its design size is what "restore" gives back.
    const QSize restored = window->size();
    QMdiSubWindow* w = MdiArea->addSubWindow(window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(this);
    window->installEventFilter(this);
    w->resize(restored);
    window->show();
    w->showMaximized();
    MdiArea->setActiveSubWindow(w);
    return w;
}

TDocumentWindow* TfrmMainForm::ActiveDocument() const
{
    TDocumentWindow* doc = d->Active.data();
    if (!doc)
        return nullptr;
    // Still an open child of this frame.
    for (QMdiSubWindow* w : MdiArea->subWindowList())
        if (w->widget() == doc)
            return doc;
    return nullptr;
}

void TfrmMainForm::SubWindowActivated(QMdiSubWindow* window)
{
    // Null while another top-level window (a modal dialog) has the focus: the document
    // window stays the active one.
    if (!window)
        return;
    auto* doc = qobject_cast<TDocumentWindow*>(window->widget());
    if (doc == d->Active.data())
        return;
    QPointer<TDocumentWindow> old = d->Active;
    d->Active = doc;
    if (old)
        Guarded([&old] { old->FormDeactivate(); });
    if (doc)
        Guarded([doc] { doc->FormActivate(); });
}

bool TfrmMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Close)
        return QMainWindow::eventFilter(watched, event);
    d->Closing.removeAll(nullptr);
    if (auto* doc = qobject_cast<TDocumentWindow*>(watched)) {
        // The frame closes its document as part of its own close; a document that closes
        // itself closes its frame instead, so it goes the same way as the frame's close button.
        auto* frame = qobject_cast<QMdiSubWindow*>(doc->parentWidget());
        if (frame && !d->Closing.contains(frame)) {
            event->ignore();
            frame->close();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    auto* frame = qobject_cast<QMdiSubWindow*>(watched);
    auto* doc = frame ? qobject_cast<TDocumentWindow*>(frame->widget()) : nullptr;
    if (doc && !d->Closing.contains(frame)) {
        bool allowed = false;
        Guarded([&] {
            allowed = doc->FormClose();
            if (allowed && d->Active.data() == doc) {
                d->Active = nullptr;
                doc->FormDeactivate();
            }
        });
        if (!allowed) {
            event->ignore();
            return true;
        }
        d->Closing << frame;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMainForm::OpenDocument(const QString& file, const QString& warning, const QString& caption,
                                const Creator& creator)
{
    if (!FileExists(file)) {
        Dialogs::Warning(warning);
        return;
    }
    if (FindChildWindow(caption, true))
        return;
    if (!creator)
        return;
    TDocumentWindow* window = creator(this);
    if (!window)
        return;
    window->setWindowTitle(caption);
    try {
        const QString line = QStringLiteral("Меню - ") + caption;
        if (window->LogBeforeLoad()) {
            WriteLog(line);
            window->Load();
        } else {
            window->Load();
            WriteLog(line);
        }
    } catch (...) {
        // The window exists already; it is shown like any other, and the error goes on to
        // the unhandled-error handler.
        ShowDocument(window);
        throw;
    }
    ShowDocument(window);
}

static QString MissingDataFile(const QString& name)
{
    return QStringLiteral("Не найден файл ") + name + QStringLiteral("! Укажите путь к базе данных!") +
           QLatin1Char('\n') + DatabaseHint;
}

static QString MissingMap()
{
    return QStringLiteral("Укажите путь к файлу с картой!") + QLatin1Char('\n') + MapHint;
}

void TfrmMainForm::RegionsExecute()
{
    Guarded([this] {
        OpenDocument(DataFiles::PathOf(DataFiles::RegionsFile), MissingDataFile(DataFiles::RegionsFile),
                     QStringLiteral("Регионы"), DocumentCreators().Regions);
    });
}

void TfrmMainForm::N11Click()
{
    Guarded([this] {
        OpenDocument(DataFiles::PathOf(DataFiles::FederalPartsFile), MissingDataFile(DataFiles::FederalPartsFile),
                     QStringLiteral("Федеральные округа"), DocumentCreators().FederalParts);
    });
}

void TfrmMainForm::AnalisisExecute()
{
    Guarded([this] {
        OpenDocument(DataFiles::PathOf(DataFiles::ResearchRegisterFile),
                     MissingDataFile(DataFiles::ResearchRegisterFile), QStringLiteral("Исследования"),
                     DocumentCreators().Researches);
    });
}

void TfrmMainForm::GraphicsExecute()
{
    Guarded([this] {
        OpenDocument(AppConfig->MapFile, MissingMap(), QStringLiteral("Графика"), DocumentCreators().Graphics);
    });
}

void TfrmMainForm::N13Click()
{
    Guarded([this] {
        OpenDocument(AppConfig->MapFile, MissingMap(), QStringLiteral("Привязка объектов к карте"),
                     DocumentCreators().LinkToMap);
    });
}

// --- Shared command routing -----------------------------------------------------------------

// The five shared commands on or off, in the order of the activation protocol.
static void EnableSharedCommands(TfrmMainForm& form, bool enabled)
{
    for (QAction* a : {form.ExportToFile, form.PrintPreview, form.CopyToClipBoard, form.Print, form.MenuPrintEx})
        a->setEnabled(enabled);
}

void TfrmMainForm::ActivateMenu(int code)
{
    EnableSharedCommands(*this, true);
    WhatToDo->Print = code;
    WhatToDo->PrintPreview = code;
    WhatToDo->CopyToClipBoard = code;
    WhatToDo->ExportToFile = code;
}

void TfrmMainForm::DeActivateMenu()
{
    EnableSharedCommands(*this, false);
}

void TfrmMainForm::Dispatch(int code, QAction* command, const std::function<void(TDocumentWindow*)>& operation)
{
    if (code < wkMap || code > wkResearches) {
        command->setEnabled(false);
        return;
    }
    TDocumentWindow* doc = ActiveDocument();
    if (!doc)
        return;
    if (doc->WindowKind() != code)
        throw EInvalidCast();
    operation(doc);
}

void TfrmMainForm::PrintPreviewExecute()
{
    Guarded([this] { Dispatch(WhatToDo->PrintPreview, PrintPreview, [](TDocumentWindow* w) { w->PrintPreview(); }); });
}

void TfrmMainForm::CopyToClipBoardExecute()
{
    Guarded([this] {
        Dispatch(WhatToDo->CopyToClipBoard, CopyToClipBoard, [](TDocumentWindow* w) { w->CopyToClipBrd(); });
    });
}

void TfrmMainForm::ExportToFileExecute()
{
    Guarded([this] { Dispatch(WhatToDo->ExportToFile, ExportToFile, [](TDocumentWindow* w) { w->SaveToFile(); }); });
}

void TfrmMainForm::PrintExecute()
{
    Guarded([this] { Dispatch(WhatToDo->Print, Print, [](TDocumentWindow* w) { w->Print(1); }); });
}

void TfrmMainForm::MenuPrintExClick()
{
    Guarded([this] { Dispatch(WhatToDo->Print, MenuPrintEx, [](TDocumentWindow* w) { w->PrintEx(); }); });
}

// --- Window menu ------------------------------------------------------------------------------

void TfrmMainForm::FillWindowList()
{
    for (QAction* a : d->WindowListItems)
        delete a;
    d->WindowListItems.clear();
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    d->WindowListItems << d->WindowMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow* w : windows) {
        ++n;
        const QString title = w->widget() ? w->widget()->windowTitle() : w->windowTitle();
        QAction* a = d->WindowMenu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title);
        a->setCheckable(true);
        a->setChecked(w == MdiArea->activeSubWindow() || (w->widget() && w->widget() == d->Active.data()));
        QPointer<QMdiSubWindow> target = w;
        connect(a, &QAction::triggered, this, [this, target] {
            Guarded([this, target] {
                if (target)
                    BringForward(target);
            });
        });
        d->WindowListItems << a;
    }
}

void TfrmMainForm::N28Click()
{
    Guarded([this] { MdiArea->cascadeSubWindows(); });
}

void TfrmMainForm::N29Click()
{
    Guarded([this] {
        d->TileVertical = !d->TileVertical;
        Tile(d->TileVertical);
    });
}

void TfrmMainForm::Tile(bool vertical)
{
    QList<QMdiSubWindow*> shown;
    int iconRow = 0;
    for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (w->isHidden())
            continue;
        if (w->isMinimized())
            iconRow = qMax(iconRow, w->height());
        else
            shown << w;
    }
    if (shown.isEmpty())
        return;
    const QRect area = MdiArea->viewport()->rect().adjusted(0, 0, 0, -iconRow);
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = shown[i];
        if (w->isMaximized())
            w->showNormal();
        QRect r;
        if (vertical) {
            // Side by side: one column each.
            const int x0 = area.left() + area.width() * i / n;
            const int x1 = area.left() + area.width() * (i + 1) / n;
            r = QRect(x0, area.top(), x1 - x0, area.height());
        } else {
            // One above the other: one row each.
            const int y0 = area.top() + area.height() * i / n;
            const int y1 = area.top() + area.height() * (i + 1) / n;
            r = QRect(area.left(), y0, area.width(), y1 - y0);
        }
        w->setGeometry(r);
    }
}

void TfrmMainForm::N30Click()
{
    Guarded([this] {
        // The minimised children in a row along the bottom, left to right, rows growing upward.
        const QRect area = MdiArea->viewport()->rect();
        int x = area.left();
        int y = area.bottom() + 1;
        int rowHeight = 0;
        for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
            if (!w->isMinimized() || w->isHidden())
                continue;
            const QSize s = w->size();
            if (rowHeight == 0) {
                rowHeight = s.height();
                y -= rowHeight;
            }
            if (x > area.left() && x + s.width() > area.right() + 1) {
                x = area.left();
                y -= rowHeight;
            }
            w->move(x, y);
            x += s.width();
        }
    });
}

void TfrmMainForm::N32Click()
{
    Guarded([this] {
        const QList<QMdiSubWindow*> windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
        for (auto it = windows.crbegin(); it != windows.crend(); ++it)
            (*it)->showMinimized();
    });
}

void TfrmMainForm::N33Click()
{
    Guarded([this] {
        for (QMdiSubWindow* w : MdiArea->subWindowList(QMdiArea::CreationOrder))
            w->showNormal();
    });
}

// --- Other commands ---------------------------------------------------------------------------

void TfrmMainForm::N4Click()
{
    Guarded([] {
        TPrinter& printer = Printer();
        Dialogs::PrinterSetupRequest request;
        request.Printers = printer.Printers();
        request.PrinterIndex = printer.PrinterIndex();
        request.PaperSize = printer.PaperSize();
        request.Orientation = printer.Orientation();
        if (!Dialogs::ShowPrinterSetup(request))
            return;
        printer.SetPrinterIndex(request.PrinterIndex);
        printer.SetPaperSize(request.PaperSize);
        printer.SetOrientation(request.Orientation);
    });
}

void TfrmMainForm::N20Click()
{
    Guarded([] {
        if (!Env::OpenWithDesktop(QStringLiteral("Kestrova.chm")))
            Dialogs::Warning(QStringLiteral("Возникла ошибка при открытии файла помощи"));
    });
}

void TfrmMainForm::N24Click()
{
    // Whether a calculator started is not looked at.
    Guarded([] { Env::StartCalculator(); });
}

void TfrmMainForm::N22Click()
{
    Guarded([this] {
        TfrmAbout box(this);
        box.exec();
    });
}

void TfrmMainForm::N26Click()
{
    Guarded([this] {
        bool stored = false;
        const QString database = AppConfig->DBPath;
        {
            TfrmConnect dialog(this);
            // A window writes only the files it read: what it holds goes to the old folder first.
            dialog.DatabaseChanging = [this] { return LeaveDatabase(); };
            WriteLog(QStringLiteral("Меню - Параметры"));
            stored = dialog.exec() == QDialog::Accepted;
        }
        if (stored && AppConfig->DBPath != database)
            ReadDatabaseAfresh();
        // The active window takes the new settings as on its next activation: now.
        if (stored)
            if (TDocumentWindow* doc = ActiveDocument())
                doc->FormActivate();
    });
}
