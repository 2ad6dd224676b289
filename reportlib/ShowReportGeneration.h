// The progress window the report library shows while it builds a report.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class TfrmShowProcess : public QDialog {
    Q_OBJECT
public:
    explicit TfrmShowProcess(QWidget* parent = nullptr);

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QLabel* Label3;
    QLabel* Label2;
};

// The one progress window of a call; empty when none is open.
extern TfrmShowProcess* frmShowProcess;

// Closes and releases the progress window if it is open.
void CloseProgressWindow();
