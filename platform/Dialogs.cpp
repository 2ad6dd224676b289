// The dialog service: the installed handler kept on the application object, the Qt dialogs,
// and the scripted handler that tests install.
#include "Dialogs.h"

#include "Pictures.h"
#include "Printer.h"

#include <QApplication>
#include <QButtonGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Dialogs {

namespace {

// The property of qApp that holds the handler; the program and the report library read the same one.
constexpr char HandlerProperty[] = "kestrovaDialogsHandler";

// Used only while there is no application object.
Handler* handlerWithoutApp = nullptr;

Handler* Installed()
{
    if (!qApp) return handlerWithoutApp;
    return static_cast<Handler*>(qApp->property(HandlerProperty).value<void*>());
}

QWidget* Owner()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
}

// "Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*" in Qt's form. A Windows "*.*" means every
// file, which on this system is "*".
QStringList QtFilters(const QString& windowsFilter)
{
    QStringList filters;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        // Qt takes the patterns from the parentheses at the end of the text, so put the real ones there.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0) description = description.left(open).trimmed();
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QString RunFileDialog(const FileRequest& request, bool save)
{
    QFileDialog dialog(Owner(), request.Title, request.InitialDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.FilterIndex - 1;
        if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    if (!request.DefaultExt.isEmpty()) dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    QString name = dialog.selectedFiles().constFirst();
    if (!request.DefaultExt.isEmpty() && QFileInfo(name).suffix().isEmpty()) name += QLatin1Char('.') + request.DefaultExt;
    return name;
}

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// What both printing dialogs start with: the title, a column layout, and on top a form whose
// first row chooses the printer.
struct PrinterDialog {
    PrinterDialog(const QString& title, const QStringList& printers, int index)
        : dialog(Owner()), layout(new QVBoxLayout(&dialog)), form(new QFormLayout), printer(new QComboBox(&dialog))
    {
        dialog.setWindowTitle(title);
        layout->addLayout(form);
        printer->addItems(printers);
        if (index >= 0 && index < printers.size()) printer->setCurrentIndex(index);
        form->addRow(QStringLiteral("Принтер:"), printer);
    }
    QDialog dialog;
    QVBoxLayout* layout;
    QFormLayout* form;
    QComboBox* printer;
};

// A titled group of two choices side by side; more widgets may follow in its layout.
struct TwoChoices {
    TwoChoices(QWidget* parent, const QString& title, const QString& firstText, const QString& secondText)
        : box(new QGroupBox(title, parent)), layout(new QHBoxLayout(box)),
          first(new QRadioButton(firstText, box)), second(new QRadioButton(secondText, box))
    {
        layout->addWidget(first);
        layout->addWidget(second);
    }
    QGroupBox* box;
    QHBoxLayout* layout;
    QRadioButton* first;
    QRadioButton* second;
};

struct Paper {
    int code;
    const char* name;
};
constexpr Paper Papers[] = {{9, "A4"}, {8, "A3"}, {11, "A5"}, {1, "Letter"}, {5, "Legal"}};

}  // namespace

void SetHandler(Handler* handler)
{
    if (!qApp) {
        handlerWithoutApp = handler;
        return;
    }
    qApp->setProperty(HandlerProperty, QVariant::fromValue(static_cast<void*>(handler)));
}

Handler& Current()
{
    if (Handler* h = Installed()) return *h;
    static QtHandler qtDialogs;
    return qtDialogs;
}

void Warning(const QString& text)
{
    Current().MessageBox(Box::Warning, QStringLiteral("Предупреждение"), text);
}

void Error(const QString& text)
{
    Current().MessageBox(Box::Error, QStringLiteral("Ошибка"), text);
}

bool Confirm(const QString& text)
{
    return Current().MessageBox(Box::Confirmation, QStringLiteral("Подтверждение"), text);
}

Answer Ask(const QString& text)
{
    return Current().Ask(QStringLiteral("Подтверждение"), text);
}

void Information(const QString& text)
{
    Current().MessageBox(Box::Information, QStringLiteral("Информация"), text);
}

QString OpenFileName(const FileRequest& request) { return Current().OpenFile(request); }
QString SaveFileName(const FileRequest& request) { return Current().SaveFile(request); }
QString FolderName(const FileRequest& request) { return Current().ChooseFolder(request); }
bool PickColor(quint32& color) { return Current().ChooseColor(color); }
bool ShowPrint(PrintRequest& request) { return Current().Print(request); }
bool ShowPrinterSetup(PrinterSetupRequest& request) { return Current().PrinterSetup(request); }

bool ExecutePrintDialog(PrintRequest& request)
{
    TPrinter& printer = Printer();
    request.Printers = printer.Printers();
    request.PrinterIndex = printer.PrinterIndex();
    if (!ShowPrint(request)) return false;
    printer.SetPrinterIndex(request.PrinterIndex);
    return true;
}

// ---- The Qt dialogs ----

bool QtHandler::MessageBox(Box kind, const QString& caption, const QString& text)
{
    QMessageBox box(Owner());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case Box::Warning: box.setIcon(QMessageBox::Warning); break;
    case Box::Error: box.setIcon(QMessageBox::Critical); break;
    case Box::Confirmation:
    case Box::Question: box.setIcon(QMessageBox::Question); break;
    case Box::Information: box.setIcon(QMessageBox::Information); break;
    }
    if (kind == Box::Confirmation) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return true;
}

Answer QtHandler::Ask(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

QString QtHandler::OpenFile(const FileRequest& request)
{
    return RunFileDialog(request, false);
}

QString QtHandler::SaveFile(const FileRequest& request)
{
    return RunFileDialog(request, true);
}

QString QtHandler::ChooseFolder(const FileRequest& request)
{
    return QFileDialog::getExistingDirectory(Owner(), request.Title, request.InitialDir);
}

bool QtHandler::ChooseColor(quint32& color)
{
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color), Owner());
    if (!chosen.isValid()) return false;
    color = QColorToColor(chosen);
    return true;
}

bool QtHandler::Print(PrintRequest& request)
{
    PrinterDialog frame(QStringLiteral("Печать"), request.Printers, request.PrinterIndex);
    QDialog& dialog = frame.dialog;
    QVBoxLayout* layout = frame.layout;

    const TwoChoices range(&dialog, QStringLiteral("Печатать"), QStringLiteral("Все"), QStringLiteral("Страницы с"));
    QRadioButton* all = range.first;
    QRadioButton* pages = range.second;
    auto* from = new QSpinBox(range.box);
    auto* to = new QSpinBox(range.box);
    const int minPage = qMax(1, request.MinPage);
    const int maxPage = qMax(minPage, request.MaxPage);
    from->setRange(minPage, maxPage);
    to->setRange(minPage, maxPage);
    from->setValue(request.FromPage > 0 ? request.FromPage : minPage);
    to->setValue(request.ToPage > 0 ? request.ToPage : maxPage);
    range.layout->addWidget(from);
    range.layout->addWidget(new QLabel(QStringLiteral("по"), range.box));
    range.layout->addWidget(to);
    // Without a known page count there is no range to choose.
    const bool rangeKnown = request.MaxPage > 0;
    pages->setEnabled(rangeKnown);
    (request.AllPages || !rangeKnown ? all : pages)->setChecked(true);
    auto syncRange = [&] {
        from->setEnabled(pages->isChecked());
        to->setEnabled(pages->isChecked());
    };
    QObject::connect(pages, &QRadioButton::toggled, &dialog, syncRange);
    syncRange();
    layout->addWidget(range.box);

    auto* copiesForm = new QFormLayout;
    auto* copies = new QSpinBox(&dialog);
    copies->setRange(1, 999);
    copies->setValue(qMax(1, request.Copies));
    copiesForm->addRow(QStringLiteral("Число копий:"), copies);
    layout->addLayout(copiesForm);
    layout->addWidget(OkCancel(&dialog));

    if (dialog.exec() != QDialog::Accepted) return false;
    request.PrinterIndex = frame.printer->currentIndex();
    request.AllPages = all->isChecked();
    if (!request.AllPages) {
        request.FromPage = qMin(from->value(), to->value());
        request.ToPage = qMax(from->value(), to->value());
    }
    request.Copies = copies->value();
    return true;
}

bool QtHandler::PrinterSetup(PrinterSetupRequest& request)
{
    PrinterDialog frame(QStringLiteral("Настройка печати"), request.Printers, request.PrinterIndex);
    QDialog& dialog = frame.dialog;
    QVBoxLayout* layout = frame.layout;
    auto* paper = new QComboBox(&dialog);
    for (const Paper& p : Papers) paper->addItem(QString::fromLatin1(p.name), p.code);
    int paperIndex = paper->findData(request.PaperSize);
    if (paperIndex < 0) {  // keep a size the list does not name rather than change it unasked
        paper->addItem(QStringLiteral("Размер %1").arg(request.PaperSize), request.PaperSize);
        paperIndex = paper->count() - 1;
    }
    paper->setCurrentIndex(paperIndex);
    frame.form->addRow(QStringLiteral("Размер бумаги:"), paper);

    const TwoChoices orientation(&dialog, QStringLiteral("Ориентация"), QStringLiteral("Книжная"), QStringLiteral("Альбомная"));
    QRadioButton* landscape = orientation.second;
    (request.Orientation == 2 ? landscape : orientation.first)->setChecked(true);
    layout->addWidget(orientation.box);
    layout->addWidget(OkCancel(&dialog));

    if (dialog.exec() != QDialog::Accepted) return false;
    request.PrinterIndex = frame.printer->currentIndex();
    request.PaperSize = paper->currentData().toInt();
    request.Orientation = landscape->isChecked() ? 2 : 1;
    return true;
}

// ---- The scripted handler ----

ScriptedHandler::ScriptedHandler() : previous_(Installed())
{
    SetHandler(this);
}

ScriptedHandler::~ScriptedHandler()
{
    if (Installed() == this) SetHandler(previous_);
}

QStringList ScriptedHandler::Texts() const
{
    QStringList texts;
    for (const Shown& m : Messages) texts << m.Text;
    return texts;
}

int ScriptedHandler::Count(Box kind) const
{
    int n = 0;
    for (const Shown& m : Messages)
        if (m.Kind == kind) ++n;
    return n;
}

bool ScriptedHandler::MessageBox(Box kind, const QString& caption, const QString& text)
{
    Messages.append({kind, caption, text});
    if (OnMessage) OnMessage(Messages.constLast());
    if (kind != Box::Confirmation) return true;
    return ConfirmAnswers.isEmpty() ? true : ConfirmAnswers.takeFirst();
}

Answer ScriptedHandler::Ask(const QString& caption, const QString& text)
{
    Messages.append({Box::Question, caption, text});
    if (OnMessage) OnMessage(Messages.constLast());
    return AskAnswers.isEmpty() ? Answer::Yes : AskAnswers.takeFirst();
}

QString ScriptedHandler::OpenFile(const FileRequest& request)
{
    FileRequests.append(request);
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

QString ScriptedHandler::SaveFile(const FileRequest& request)
{
    FileRequests.append(request);
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

QString ScriptedHandler::ChooseFolder(const FileRequest& request)
{
    FileRequests.append(request);
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

bool ScriptedHandler::ChooseColor(quint32& color)
{
    if (ColorAnswers.isEmpty()) return false;
    color = ColorAnswers.takeFirst();
    return true;
}

bool ScriptedHandler::Print(PrintRequest& request)
{
    PrintRequests.append(request);
    if (PrintAnswers.isEmpty()) return false;
    return PrintAnswers.takeFirst()(request);
}

bool ScriptedHandler::PrinterSetup(PrinterSetupRequest& request)
{
    if (PrinterSetupAnswers.isEmpty()) return false;
    return PrinterSetupAnswers.takeFirst()(request);
}

}  // namespace Dialogs
