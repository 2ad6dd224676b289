// The MDI child contract between the main window and its document windows (regions, districts,
// register, map, linking): their kind code, load steps, lifecycle events and shared commands, and
// the narrow host interface the windows see of the main window. It lies below both, so neither
// side's folder reaches up into the other's.
#pragma once

#include "Dialogs.h"

#include <QWidget>

// Window-kind codes of TWhatToDo.
enum TWindowKind : int { wkNone = 0, wkMap = 1, wkRegions = 2, wkFederalParts = 3, wkResearches = 4 };

// What a document window may ask of the main window that hosts it. The main window implements
// it; the windows know only this, never the main window itself.
class TDocumentHost {
public:
    // The activation protocol of the five shared commands: enable them and leave the window's
    // kind code for their routing, or disable them.
    virtual void ActivateMenu(int code) = 0;
    virtual void DeActivateMenu() = 0;
    // The print dialog of the run (PrintDialog1), which the windows fill and read.
    virtual Dialogs::PrintRequest& PrintDialog() = 0;
    // The main window's caption, given to the printer as the print job's title.
    virtual QString PrintJobTitle() const = 0;

    // The host of the run; null while none exists (a window tested on its own).
    static TDocumentHost* Current() { return current_; }

protected:
    ~TDocumentHost() = default;
    static void SetCurrent(TDocumentHost* host) { current_ = host; }

private:
    static inline TDocumentHost* current_ = nullptr;
};

class TDocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit TDocumentWindow(QWidget* parent = nullptr) : QWidget(parent) {}

    // The kind code the window answers to in the routing (its class, in the original's terms).
    virtual int WindowKind() const = 0;

    // The load steps an opener runs once, after creating the window and setting its caption
    // and before showing it: the table windows run PreFillRec; the map window LoadMap,
    // FillCoordinates, FillList; the linking window LoadMap, FillCapitals(0), FillCoordinates.
    // Each step reports its own errors.
    virtual void Load() {}
    // Where the opener's "Меню - " + caption log line goes: before Load (true, the table
    // windows) or after it (false, the map and linking windows).
    virtual bool LogBeforeLoad() const { return true; }

    // Lifecycle, called by the main window: activation and deactivation of the MDI child
    // (the old child is deactivated before the new one is activated), and its closing.
    // FormClose may refuse by returning false; after it agrees, the main window deactivates
    // the child (FormDeactivate) when it was the active one, then closes it. A window that
    // closes itself (close()) goes the same way: its MDI frame is closed instead.
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    virtual bool FormClose() { return true; }

    // A change of the database folder: a window writes only the files it read. One that reads
    // afresh saves what it holds before the change, to the folder it read (false, the reason
    // shown, stops the change), and reads the new folder after it. Any other window is closed
    // before the change, through its close step, as at exit.
    virtual bool ReadsAfresh() const { return false; }
    virtual bool SaveHeld() { return true; }
    virtual void ReadAfresh() {}

    // The shared commands (Print takes the copy count; the main window passes 1).
    virtual void PrintPreview() {}
    virtual void Print(int copies) { Q_UNUSED(copies); }
    virtual void PrintEx() {}
    virtual void CopyToClipBrd() {}
    virtual void SaveToFile() {}

protected:
    // The main window hosting this window, or null.
    static TDocumentHost* Host() { return TDocumentHost::Current(); }
};
