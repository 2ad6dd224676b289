// The measurement dialog: the place, date, time and value of one measurement.
#pragma once

#include "DataFiles.h"
#include "RecordDialog.h"

#include <QList>

class DateTimePicker;
class QComboBox;
class QLabel;
class QWidget;
class TResearchChoice;

class TfrmEditForm3 : public TRecordDialog {
    Q_OBJECT
public:
    // choice gives the research's kind, read when FillRec lays out the value box.
    explicit TfrmEditForm3(TResearchChoice* choice, QWidget* owner = nullptr);
    ~TfrmEditForm3() override;

    QWidget* Panel5 = nullptr;  // the fields
    QWidget* Panel4 = nullptr;  // the bottom strip with the buttons
    QLabel* Label2 = nullptr;
    QComboBox* ComboBox2 = nullptr;  // place list
    QLabel* Label1 = nullptr;
    DateTimePicker* DateTimePicker1 = nullptr;  // date
    QLabel* Label3 = nullptr;
    DateTimePicker* DateTimePicker2 = nullptr;  // time
    QLabel* Label4 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // value box

    // The chosen place's ID once OK was accepted; 0 before.
    int SelectedID = 0;
    // The place IDs, entry k for item k of ComboBox2.
    QList<int> IDs;

    // Modified := Mark, then the value box laid out by the research's kind.
    void FillRec(bool Mark) override;
    // Kind 0: a fixed list "Истина", "Ложь" with "Истина" selected; else an empty free-text box.
    void FillParam(int Kind);
    // The place list from the regions or districts file, ID preselected (the last line whose
    // field 1 reads as ID in decimal). A missing file leaves it empty; a line whose field 1 is
    // not an integer throws EConvertError.
    void FillRegions(int ID);
    void FillFOs(int ID);

    // The value box's value: its text as a number for a numeric research, its item index for a
    // logical one; false when the text does not convert.
    bool TryValue(double& value) const;

protected:
    // OK refuses to close while no place is chosen or the value is no number.
    bool CheckValues() override;

private:
    void FillPlaces(const QString& fileName, int ID);
    void BindValueBox();

    TResearchChoice* choice_;
    int kind_ = 0;
};

// The measurement dialog while it exists.
extern TfrmEditForm3* frmEditForm3;
