// One service for every message box, file, colour, print and printer set-up dialog.
// The Qt dialogs by default; tests install a scripted handler that records and answers.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace Dialogs {

enum class Box { Warning, Error, Confirmation, Information, Question };
// The answers of a question with Yes, No and Cancel.
enum class Answer { Yes, No, Cancel };

struct FileRequest {
    QString Title;
    QString Filter;      // Windows style: "Текстовый файл (*.txt)|*.txt|..."
    int FilterIndex = 1;
    QString DefaultExt;  // without the dot
    QString InitialDir;
    QString FileName;    // proposed name
    bool Picture = false;  // an open/save picture dialog
};

struct PrintRequest {
    int MinPage = 0;
    int MaxPage = 0;
    bool AllPages = true;  // false: the range FromPage..ToPage
    int FromPage = 0;
    int ToPage = 0;
    int Copies = 1;
    int PrinterIndex = 0;
    QStringList Printers;

    // The pages chosen, counted from 1: MinPage .. MaxPage for all, else FromPage .. ToPage.
    int FirstPage() const { return AllPages ? MinPage : FromPage; }
    int LastPage() const { return AllPages ? MaxPage : ToPage; }
};

struct PrinterSetupRequest {
    QStringList Printers;
    int PrinterIndex = 0;
    int PaperSize = 9;    // Windows paper code
    int Orientation = 1;  // 1 portrait, 2 landscape
};

class Handler {
public:
    virtual ~Handler() = default;
    // Warning, error and information: one OK button, result true.
    // Confirmation: Yes (true) or No (false).
    virtual bool MessageBox(Box kind, const QString& caption, const QString& text) = 0;
    // A question with Yes, No and Cancel (Escape and the close box cancel).
    virtual Answer Ask(const QString& caption, const QString& text) = 0;
    // The chosen path, or empty when cancelled.
    virtual QString OpenFile(const FileRequest& request) = 0;
    virtual QString SaveFile(const FileRequest& request) = 0;
    // A folder (request's Title and InitialDir); empty when cancelled, as a handler that
    // shows no folder dialog answers.
    virtual QString ChooseFolder(const FileRequest& request) { Q_UNUSED(request); return QString(); }
    // Colours in the Windows layout (red in the lowest byte).
    virtual bool ChooseColor(quint32& color) = 0;
    // The request is filled in place; false when cancelled.
    virtual bool Print(PrintRequest& request) = 0;
    virtual bool PrinterSetup(PrinterSetupRequest& request) = 0;
};

// Kept on the application object, so the program and the report library share it.
void SetHandler(Handler* handler);  // nullptr: back to the Qt dialogs
Handler& Current();

// Captions by kind: "Предупреждение", "Ошибка", "Подтверждение", "Информация".
void Warning(const QString& text);
void Error(const QString& text);
bool Confirm(const QString& text);
// The Yes/No/Cancel question, captioned as a confirmation.
Answer Ask(const QString& text);
void Information(const QString& text);

QString OpenFileName(const FileRequest& request);
QString SaveFileName(const FileRequest& request);
QString FolderName(const FileRequest& request);
bool PickColor(quint32& color);
bool ShowPrint(PrintRequest& request);
// The print dialog of the program and the report library alike: the printer list of the
// current printer object, its printer preselected, and on OK the printer chosen made current
// (paper and orientation carry over), so the document that follows goes there. The caller
// prints the chosen pages and copies. False when cancelled.
bool ExecutePrintDialog(PrintRequest& request);
bool ShowPrinterSetup(PrinterSetupRequest& request);

// The Qt dialogs.
class QtHandler : public Handler {
public:
    bool MessageBox(Box kind, const QString& caption, const QString& text) override;
    Answer Ask(const QString& caption, const QString& text) override;
    QString OpenFile(const FileRequest& request) override;
    QString SaveFile(const FileRequest& request) override;
    QString ChooseFolder(const FileRequest& request) override;
    bool ChooseColor(quint32& color) override;
    bool Print(PrintRequest& request) override;
    bool PrinterSetup(PrinterSetupRequest& request) override;
};

// For tests: records everything shown and answers from queues.
// With an empty queue: confirmations and questions answer Yes, file dialogs cancel, colour and print
// dialogs cancel, printer set-up cancels.
class ScriptedHandler : public Handler {
public:
    struct Shown {
        Box Kind;
        QString Caption;
        QString Text;
    };
    ScriptedHandler();   // installs itself
    ~ScriptedHandler() override;  // uninstalls itself

    QList<Shown> Messages;
    QList<FileRequest> FileRequests;
    QList<PrintRequest> PrintRequests;

    QList<bool> ConfirmAnswers;
    QList<Answer> AskAnswers;  // recorded as Box::Question
    QStringList FileAnswers;
    QList<quint32> ColorAnswers;
    // Each answer edits the request and returns OK (true) or Cancel (false).
    QList<std::function<bool(PrintRequest&)>> PrintAnswers;
    QList<std::function<bool(PrinterSetupRequest&)>> PrinterSetupAnswers;
    // Called after each message is recorded (a test may act while a box is "open").
    std::function<void(const Shown&)> OnMessage;

    QStringList Texts() const;
    int Count(Box kind) const;

    bool MessageBox(Box kind, const QString& caption, const QString& text) override;
    Answer Ask(const QString& caption, const QString& text) override;
    QString OpenFile(const FileRequest& request) override;
    QString SaveFile(const FileRequest& request) override;
    QString ChooseFolder(const FileRequest& request) override;
    bool ChooseColor(quint32& color) override;
    bool Print(PrintRequest& request) override;
    bool PrinterSetup(PrinterSetupRequest& request) override;

private:
    Handler* previous_ = nullptr;
};

}  // namespace Dialogs
