// The program's entry: the application, its title, the main window, the message loop.
#include "Application.h"
#include "Exceptions.h"
#include "MainForm.h"
#include "Regional.h"

#include <QApplication>

void InstallDocumentWindows();

namespace {

// Every event is delivered inside the guard, so an exception that escapes a handler reaches
// the main window's LogException and the program goes on with the next message.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        bool result = false;
        Guarded([&] { result = QApplication::notify(receiver, event); });
        return result;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    SetUpApplication();
    Regional::InitFromSystem();
    InstallDocumentWindows();
    frmMainForm = new TfrmMainForm();
    // Closing the main window frees it, and that ends the program.
    frmMainForm->setAttribute(Qt::WA_DeleteOnClose);
    frmMainForm->showMaximized();
    return app.exec();
}
