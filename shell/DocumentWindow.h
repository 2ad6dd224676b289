// What the main window knows of its document windows (regions, districts, register, map,
// linking): their kind code, their lifecycle events and the shared commands they serve.
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

    // Lifecycle, called by the main window: activation and deactivation of the MDI child
    // (the old child is deactivated before the new one is activated), and its closing.
    // FormClose may refuse by returning false.
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
