// The program's entry: the application, its title, the main window, the message loop.
#include "MainForm.h"

#include <QApplication>

void InstallDocumentWindows();

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Кестрова"));
    QApplication::setApplicationDisplayName(QStringLiteral("Кестрова"));
    InstallDocumentWindows();
    frmMainForm = new TfrmMainForm();
    frmMainForm->showMaximized();
    return app.exec();
}
