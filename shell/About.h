// The about box: the program's title and version, the share of free memory, a web and a mail link.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* owner = nullptr);
    ~TfrmAbout() override;

    // The web page and the support address the links lead to.
    static const QString WebAddress;
    static const QString SupportAddress;
    // The mail link: a new message to support with its subject and first line.
    static QString MailLink();
    // The free share for a memory load of loadPercent: "37 %" for 63.
    static QString FreeMemoryText(int loadPercent);

    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* Button1 = nullptr;

    void FormCreate();
    void Button1Click();
    void Label6MouseEnter();
    void Label6MouseLeave();
    void Label6Click();
    void Image3Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

// The box while it is open.
extern TfrmAbout* frmAbout;
