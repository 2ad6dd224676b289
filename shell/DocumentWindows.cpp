// Plugs the document windows into the main window's openers: one line per window, of the form
//     c.Regions = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmTableForm = new TfrmTableForm(owner); };
// The creator keeps the window in its global; the opener sets the caption, runs Load and shows it.
#include "FederalParts.h"
#include "LinkToMap.h"
#include "MainForm.h"
#include "Regions.h"
#include "ResRegister.h"
#include "ViewOnMap.h"

void InstallDocumentWindows()
{
    TfrmMainForm::Creators& c = TfrmMainForm::DocumentCreators();
    c.Regions = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmTableForm = new TfrmTableForm(owner); };
    c.FederalParts = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmTableForm1 = new TfrmTableForm1(owner); };
    c.Researches = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmTableForm2 = new TfrmTableForm2(owner); };
    c.Graphics = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmGraphForm = new TfrmGraphForm(owner); };
    c.LinkToMap = [](TfrmMainForm* owner) -> TDocumentWindow* { return frmGraphForm1 = new TfrmGraphForm1(owner); };
}
