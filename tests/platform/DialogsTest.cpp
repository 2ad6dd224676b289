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
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, f] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            f(w);
        }
    });
    timer->start();
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

TEST(Dialogs, MessagesAreRecordedWithTheirCaptionsAndAnswered)
{
    ScriptedHandler script;
    script.ConfirmAnswers = {false};
    int seen = 0;
    script.OnMessage = [&](const ScriptedHandler::Shown& m) {
        ++seen;
        EXPECT_FALSE(m.Text.isEmpty());
    };
    Warning(QStringLiteral("w"));
    Error(QStringLiteral("e"));
    EXPECT_FALSE(Confirm(QStringLiteral("c1")));
    EXPECT_TRUE(Confirm(QStringLiteral("c2")));  // the empty queue answers Yes
    Information(QStringLiteral("i"));
    ASSERT_EQ(script.Messages.size(), 5);
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(script.Messages[0].Caption, QStringLiteral("Предупреждение"));
    EXPECT_EQ(script.Messages[1].Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(script.Messages[2].Caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(script.Messages[4].Caption, QStringLiteral("Информация"));
    EXPECT_EQ(script.Texts(), QStringList({"w", "e", "c1", "c2", "i"}));
    EXPECT_EQ(script.Count(Box::Confirmation), 2);
    EXPECT_EQ(script.Count(Box::Error), 1);
}

TEST(Dialogs, ScriptedQueuesAnswerInOrderThenCancel)
{
    ScriptedHandler script;
    script.FileAnswers = {QStringLiteral("/tmp/a.txt")};
    script.ColorAnswers = {0x0000FF};
    script.PrintAnswers.append([](PrintRequest& r) {
        r.AllPages = false;
        r.FromPage = 2;
        r.ToPage = 3;
        return true;
    });
    FileRequest fr;
    fr.Filter = QStringLiteral("Текстовый файл (*.txt)|*.txt");
    EXPECT_EQ(SaveFileName(fr), QStringLiteral("/tmp/a.txt"));
    EXPECT_TRUE(OpenFileName(fr).isEmpty());
    ASSERT_EQ(script.FileRequests.size(), 2);
    EXPECT_EQ(script.FileRequests[0].Filter, fr.Filter);

    quint32 color = 0;
    EXPECT_TRUE(PickColor(color));
    EXPECT_EQ(color, 0x0000FFu);
    EXPECT_FALSE(PickColor(color));
    EXPECT_EQ(color, 0x0000FFu);

    PrintRequest pr;
    pr.MaxPage = 5;
    EXPECT_TRUE(ShowPrint(pr));
    EXPECT_FALSE(pr.AllPages);
    EXPECT_EQ(pr.FromPage, 2);
    EXPECT_FALSE(ShowPrint(pr));
    EXPECT_EQ(script.PrintRequests.size(), 2);
    PrinterSetupRequest sr;
    EXPECT_FALSE(ShowPrinterSetup(sr));
}

TEST(Dialogs, QtMessageBoxShowsTextAndAnswersNo)
{
    QString title, text;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(QtHandler().MessageBox(Box::Confirmation, QStringLiteral("Подтверждение"), QStringLiteral("Удалить?")));
    EXPECT_EQ(title, QStringLiteral("Подтверждение"));
    EXPECT_EQ(text, QStringLiteral("Удалить?"));
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
    FileRequest r;
    r.Title = QStringLiteral("Сохранить");
    r.Filter = QStringLiteral("Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*|Рисунки|*.bmp;*.jpg");
    r.FilterIndex = 2;
    r.DefaultExt = QStringLiteral("txt");
    r.InitialDir = dir.path();
    const QString chosen = QtHandler().SaveFile(r);
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
        for (QRadioButton* r : w->findChildren<QRadioButton*>())
            if (r->text() == QStringLiteral("Страницы с")) r->setChecked(true);
        spins[0]->setValue(4);  // from and to given the wrong way round
        spins[1]->setValue(2);
        spins[2]->setValue(3);
        w->findChild<QComboBox*>()->setCurrentIndex(1);
        static_cast<QDialog*>(w)->accept();
    });
    PrintRequest r;
    r.MinPage = 1;
    r.MaxPage = 5;
    r.Printers = QStringList({QStringLiteral("Office"), QStringLiteral("PDF")});
    ASSERT_TRUE(QtHandler().Print(r));
    EXPECT_FALSE(r.AllPages);
    EXPECT_EQ(r.FromPage, 2);
    EXPECT_EQ(r.ToPage, 4);
    EXPECT_EQ(r.Copies, 3);
    EXPECT_EQ(r.PrinterIndex, 1);
}

TEST(Dialogs, QtPrinterSetupKeepsAnUnlistedPaperAndSetsOrientation)
{
    WhenModal([](QWidget* w) {
        for (QRadioButton* r : w->findChildren<QRadioButton*>())
            if (r->text() == QStringLiteral("Альбомная")) r->setChecked(true);
        static_cast<QDialog*>(w)->accept();
    });
    PrinterSetupRequest r;
    r.Printers = QStringList({QStringLiteral("PDF")});
    r.PaperSize = 70;
    ASSERT_TRUE(QtHandler().PrinterSetup(r));
    EXPECT_EQ(r.PaperSize, 70);
    EXPECT_EQ(r.Orientation, 2);
    EXPECT_EQ(r.PrinterIndex, 0);
}
