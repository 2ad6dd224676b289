// The dialog service: the scripted handler's queues and installation, and the Qt dialogs driven headless.
#include "Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace Dialogs;

namespace {

// Runs f on the next modal dialog once it is shown.
void WhenModal(std::function<void(QWidget*)> f)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            f(w);
        }
    });
    timer->start(10);
}

// Checks the radio button with this text and accepts the dialog.
void ChooseAndAccept(QWidget* w, const QString& radio)
{
    for (QRadioButton* r : w->findChildren<QRadioButton*>()) if (r->text() == radio) r->setChecked(true);
    static_cast<QDialog*>(w)->accept();
}

}  // namespace

TEST(Dialogs, ScriptedHandlerInstallsOnTheApplicationAndRestoresThePrevious)
{
    Handler* before = &Current();
    {
        ScriptedHandler outer;
        EXPECT_EQ(&Current(), &outer);
        EXPECT_TRUE(qApp->property("kestrovaDialogsHandler").isValid());
        {
            ScriptedHandler inner;
            EXPECT_EQ(&Current(), &inner);
        }
        EXPECT_EQ(&Current(), &outer);
    }
    EXPECT_EQ(&Current(), before);
    EXPECT_NE(dynamic_cast<QtHandler*>(&Current()), nullptr);
}

TEST(Dialogs, ScriptedHandlerRecordsMessagesAndAnswersFromItsQueuesThenCancels)
{
    ScriptedHandler script;
    script.ConfirmAnswers = {false};
    script.FileAnswers = {QStringLiteral("/tmp/a.txt")};
    script.ColorAnswers = {0x0000FF};
    script.PrintAnswers.append([](PrintRequest& r) { r.AllPages = false; r.FromPage = 2; return true; });
    int seen = 0;
    script.OnMessage = [&](const ScriptedHandler::Shown& m) { seen += !m.Text.isEmpty(); };
    Warning(QStringLiteral("w"));
    Error(QStringLiteral("e"));
    EXPECT_FALSE(Confirm(QStringLiteral("c1")));
    EXPECT_TRUE(Confirm(QStringLiteral("c2")));  // the empty queue answers Yes
    Information(QStringLiteral("i"));
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(script.Texts(), QStringList({"w", "e", "c1", "c2", "i"}));
    QStringList captions;
    for (const auto& m : script.Messages) captions << m.Caption;
    EXPECT_EQ(captions, QStringList({"Предупреждение", "Ошибка", "Подтверждение", "Подтверждение", "Информация"}));
    EXPECT_EQ(QList<int>({script.Count(Box::Confirmation), script.Count(Box::Error)}), QList<int>({2, 1}));

    FileRequest fr;
    fr.Filter = QStringLiteral("Текстовый файл (*.txt)|*.txt");
    EXPECT_EQ(SaveFileName(fr), QStringLiteral("/tmp/a.txt"));
    EXPECT_TRUE(OpenFileName(fr).isEmpty());
    ASSERT_EQ(script.FileRequests.size(), 2);
    EXPECT_EQ(script.FileRequests[0].Filter, fr.Filter);
    quint32 color = 0;
    EXPECT_TRUE(PickColor(color));
    EXPECT_FALSE(PickColor(color));
    EXPECT_EQ(color, 0x0000FFu);
    PrintRequest pr;
    EXPECT_TRUE(ShowPrint(pr));
    EXPECT_TRUE(!pr.AllPages && pr.FromPage == 2);
    EXPECT_FALSE(ShowPrint(pr));
    EXPECT_EQ(script.PrintRequests.size(), 2);
    PrinterSetupRequest sr;
    EXPECT_FALSE(ShowPrinterSetup(sr));
}

TEST(Dialogs, QtMessageBoxShowsTextAndAnswersNo)
{
    QString shown;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box && box->button(QMessageBox::Yes));
        shown = box->windowTitle() + QLatin1Char('|') + box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(QtHandler().MessageBox(Box::Confirmation, QStringLiteral("Подтверждение"), QStringLiteral("Удалить?")));
    EXPECT_EQ(shown, QStringLiteral("Подтверждение|Удалить?"));
}

TEST(Dialogs, QtQuestionAnswersYesNoOrCancel)
{
    const std::pair<QMessageBox::StandardButton, Answer> cases[] = {
        {QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}, {QMessageBox::Cancel, Answer::Cancel}};
    for (const auto& [button, answer] : cases) {
        WhenModal([button = button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_TRUE(box && box->button(QMessageBox::Cancel) && box->escapeButton() == box->button(QMessageBox::Cancel));
            box->button(button)->click();
        });
        EXPECT_EQ(QtHandler().Ask(QStringLiteral("Подтверждение"), QStringLiteral("Сохранить?")), answer);
    }
    ScriptedHandler script;
    script.AskAnswers = {Answer::No};
    EXPECT_EQ(Ask(QStringLiteral("Сохранить?")), Answer::No);
    EXPECT_EQ(Ask(QStringLiteral("Сохранить?")), Answer::Yes);
    EXPECT_EQ(script.Count(Box::Question), 2);
}

TEST(Dialogs, QtFileDialogTakesTheWindowsFilterAndDefaultExtension)
{
    QTemporaryDir dir;
    QStringList filters;
    QString selected;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        selected = dialog->selectedNameFilter();
        dialog->selectFile(dir.path() + QStringLiteral("/export"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString chosen = QtHandler().SaveFile({.Title = QStringLiteral("Сохранить"),
                                                 .Filter = QStringLiteral("Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*|Рисунки|*.bmp;*.jpg"),
                                                 .FilterIndex = 2, .DefaultExt = QStringLiteral("txt"), .InitialDir = dir.path(), .FileName = {}});
    EXPECT_EQ(filters, QStringList({QStringLiteral("Текстовый файл (*.txt)"), QStringLiteral("Все файлы (*)"),
                                    QStringLiteral("Рисунки (*.bmp *.jpg)")}));
    EXPECT_EQ(selected, QStringLiteral("Все файлы (*)"));
    EXPECT_EQ(chosen, dir.path() + QStringLiteral("/export.txt"));
}

TEST(Dialogs, QtPrintDialogFillsTheRequest)
{
    WhenModal([](QWidget* w) {
        const auto spins = w->findChildren<QSpinBox*>();
        ASSERT_EQ(spins.size(), 3);
        for (int i = 0; i < 3; ++i) spins[i]->setValue(QList<int>{4, 2, 3}[i]);  // from 4 to 2 (the wrong way round), 3 copies
        w->findChild<QComboBox*>()->setCurrentIndex(1);
        ChooseAndAccept(w, QStringLiteral("Страницы с"));
    });
    PrintRequest r{.MinPage = 1, .MaxPage = 5, .Printers = {QStringLiteral("Office"), QStringLiteral("PDF")}};
    ASSERT_TRUE(QtHandler().Print(r));
    EXPECT_EQ(QList<int>({r.AllPages, r.FromPage, r.ToPage, r.Copies, r.PrinterIndex}), QList<int>({false, 2, 4, 3, 1}));
}

TEST(Dialogs, QtPrinterSetupKeepsAnUnlistedPaperAndSetsOrientation)
{
    WhenModal([](QWidget* w) { ChooseAndAccept(w, QStringLiteral("Альбомная")); });
    PrinterSetupRequest r{.Printers = {QStringLiteral("PDF")}, .PaperSize = 70};
    ASSERT_TRUE(QtHandler().PrinterSetup(r));
    EXPECT_EQ(QList<int>({r.PaperSize, r.Orientation, r.PrinterIndex}), QList<int>({70, 2, 0}));
}
