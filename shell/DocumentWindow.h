// What the main window knows of its document windows (regions, districts, register, map,
// linking): their kind code, their load steps, their lifecycle events and the shared commands.
#pragma once

#include <QWidget>

// Window-kind codes of TWhatToDo.
enum TWindowKind : int { wkNone = 0, wkMap = 1, wkRegions = 2, wkFederalParts = 3, wkResearches = 4 };

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

    // The shared commands (Print takes the copy count; the main window passes 1).
    virtual void PrintPreview() {}
    virtual void Print(int copies) { Q_UNUSED(copies); }
    virtual void PrintEx() {}
    virtual void CopyToClipBrd() {}
    virtual void SaveToFile() {}
};
