// The progress window the report library shows while it builds a report.
#include "ShowReportGeneration.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

TfrmShowProcess* frmShowProcess = nullptr;

TfrmShowProcess::TfrmShowProcess(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmShowProcess"));
    setWindowTitle(QStringLiteral("Идет формирование отчета..."));
    setFixedSize(310, 81);
    setCursor(Qt::WaitCursor);

    Label1 = new QLabel(QStringLiteral("Формирование отчета..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 294, 16);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 32, 263, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    Label3 = new QLabel(QStringLiteral("100%"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(280, 36, 30, 16);

    Label2 = new QLabel(QStringLiteral("Пожалуйста подождите!"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(88, 64, 214, 16);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void CloseProgressWindow()
{
    if (!frmShowProcess) return;
    TfrmShowProcess* window = frmShowProcess;
    frmShowProcess = nullptr;
    window->close();
    delete window;
}
