// The MDI main window: menus, toolbar, actions, start-up checks, unhandled errors,
// window openers and the routing of the shared commands to the active document window.
#pragma once

#include "Dialogs.h"
#include "DocumentWindow.h"

#include <QMainWindow>
#include <cstdint>
#include <functional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// Which window serves each shared command (window-kind codes).
class TWhatToDo {
public:
    int32_t Print = wkNone;
    int32_t PrintPreview = wkNone;
    int32_t CopyToClipBoard = wkNone;
    int32_t ExportToFile = wkNone;
};

class TfrmMainForm : public QMainWindow, public TDocumentHost {
    Q_OBJECT
public:
    // Runs FormCreate. appDir: the program directory ending with "/" (empty: the executable's).
    explicit TfrmMainForm(const QString& appDir = QString(), QWidget* parent = nullptr);
    ~TfrmMainForm() override;

    // Creators of the document windows, plugged in by the program (one line each).
    // Each creates the window with the main window as owner and returns it (not yet shown).
    using Creator = std::function<TDocumentWindow*(TfrmMainForm* owner)>;
    struct Creators {
        Creator Regions;       // TfrmTableForm, "Регионы"
        Creator FederalParts;  // TfrmTableForm1, "Федеральные округа"
        Creator Researches;    // TfrmTableForm2, "Исследования"
        Creator Graphics;      // TfrmGraphForm, "Графика"
        Creator LinkToMap;     // TfrmGraphForm1, "Привязка объектов к карте"
    };
    static Creators& DocumentCreators();

    TWhatToDo* WhatToDo = nullptr;
    QMdiArea* MdiArea = nullptr;

    // Shared commands and the other actions, named as their objectName.
    QAction* ExportToFile = nullptr;
    QAction* PrintPreview = nullptr;
    QAction* Print = nullptr;
    QAction* Regions = nullptr;
    QAction* Analisis = nullptr;
    QAction* Graphics = nullptr;
    QAction* CopyToClipBoard = nullptr;
    QAction* MenuPrintEx = nullptr;

    // The print dialog the table windows fill and read (page numbers allowed, no print to file).
    Dialogs::PrintRequest PrintDialog1;

    // The activation protocol: enable the five shared commands in order, then write code into
    // the four fields of WhatToDo; or disable the five and leave the codes alone.
    void ActivateMenu(int code) override;
    void DeActivateMenu() override;
    Dialogs::PrintRequest& PrintDialog() override { return PrintDialog1; }
    QString PrintJobTitle() const override { return windowTitle(); }

    bool FindChildWindow(const QString& caption, bool activate);
    // Adds a document window as an MDI child and shows it.
    QMdiSubWindow* ShowDocument(TDocumentWindow* window);
    // The document window last activated and still open (Qt's active child is null while
    // a modal dialog has the focus).
    TDocumentWindow* ActiveDocument() const;

    void LogException(const QString& message);

public slots:
    void FormActivate();
    void ExportToFileExecute();
    void PrintPreviewExecute();
    void PrintExecute();
    void CopyToClipBoardExecute();
    void MenuPrintExClick();
    void RegionsExecute();
    void N11Click();
    void AnalisisExecute();
    void GraphicsExecute();
    void N13Click();
    void N4Click();
    void N8Click();
    void N20Click();
    void N22Click();
    void N24Click();
    void N26Click();
    void N28Click();
    void N29Click();
    void N30Click();
    void N32Click();
    void N33Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Closing of the MDI children: FormClose first, then their deactivation.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenu();
    void BuildToolBar();
    void FormCreate(const QString& appDir);
    void WriteExitLine();
    // Runs every document window's close step at exit; false when one keeps its window open.
    bool CloseDocuments();
    // Before the database folder changes: windows that read afresh save what they hold, the
    // others close as at exit; false when one could not, and the folder stays.
    bool LeaveDatabase();
    // After it changed: the windows left open read the new folder.
    void ReadDatabaseAfresh();
    // Makes the child the active one, maximised when it was minimised.
    void BringForward(QMdiSubWindow* w);
    void SubWindowActivated(QMdiSubWindow* window);
    void OpenDocument(const QString& file, const QString& warning, const QString& caption, const Creator& creator);
    void Dispatch(int code, QAction* command, const std::function<void(TDocumentWindow*)>& operation);
    void FillWindowList();
    void Tile(bool vertical);

    struct Impl;
    Impl* d = nullptr;
};

// The main window of the run.
extern TfrmMainForm* frmMainForm;

// The default of the grid printouts' font (LoadConfig): the family that the main window's font
// really is here (its design name, "MS Sans Serif", is a Windows font the system stands in for),
// so the default names the font the printouts use and the settings dialog can show it.
// Without a main window, the design font's.
QString DefaultFontName(const QWidget* mainWindow);
