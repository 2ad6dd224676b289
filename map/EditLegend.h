// The legend dialog: edits the map window's legend settings.
#pragma once

#include "OLegend.h"
#include "RecordDialog.h"

#include <QComboBox>

class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QToolButton;

// The colour list of the legend: the standard and extended colours by name, with swatches.
class LegendColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit LegendColorBox(QWidget* parent = nullptr);
    // The selected colour (Windows layout); black when none is selected.
    quint32 Selected() const;
    // Selects the colour; no selection when the list lacks it.
    void SetSelected(quint32 color);
};

class TfrmEditForm4 : public TRecordDialog {
    Q_OBJECT
public:
    explicit TfrmEditForm4(QWidget* owner = nullptr);
    ~TfrmEditForm4() override;

    // The legend being edited; the map window puts its own in before FillRec.
    TOLegend* Legend = nullptr;

    void FillRec(bool Flag) override;

    QLabel* Label11 = nullptr;
    LegendColorBox* ColorBox1 = nullptr;
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
    void Button2Click();

private:
    void FormCreate();
};

extern TfrmEditForm4* frmEditForm4;
