// Plugs the document windows into the main window's openers: one line per window.
#include "MainForm.h"

void InstallDocumentWindows()
{
    TfrmMainForm::Creators& c = TfrmMainForm::DocumentCreators();
    Q_UNUSED(c);
}
