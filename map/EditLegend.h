// The legend dialog: edits the map window's legend settings.
#pragma once

#include "ColorBox.h"
#include "OLegend.h"
#include "RecordDialog.h"

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QToolButton;

class TfrmEditForm4 : public TRecordDialog {
    Q_OBJECT
public:
    explicit TfrmEditForm4(QWidget* owner = nullptr);
    ~TfrmEditForm4() override;

    // The legend being edited; the map window puts its own in before FillRec.
    TOLegend* Legend = nullptr;

    void FillRec(bool Flag) override;

    QLabel* Label11 = nullptr;
    ColorBox* ColorBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QLabel* Label1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton5 = nullptr;

public slots:
    void CheckBox1Click();
    void RadioButton1Click();
    // Writes the settings into Legend, then accepts.
    void Button1Click();

private:
    void FormCreate();
};

extern TfrmEditForm4* frmEditForm4;
