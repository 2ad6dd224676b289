// The measurement dialog: place list from the reference file, date and time pickers, value box.
#include "EditMeasur.h"

#include "DateTimePicker.h"
#include "Dialogs.h"
#include "Regional.h"
#include "ResearchChoice.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmEditForm3* frmEditForm3 = nullptr;

TfrmEditForm3::TfrmEditForm3(TResearchChoice* choice, QWidget* owner) : TRecordDialog(owner), choice_(choice)
{
    setObjectName(QStringLiteral("frmEditForm3"));
    setWindowTitle(QStringLiteral("Регион"));
    setFixedSize(351, 186);

    Panel5 = new QWidget(this);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setGeometry(6, 6, 339, 134);
    Panel4 = new QWidget(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(0, 146, 351, 40);

    auto label = [this](const QString& name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, Panel5);
        l->setObjectName(name);
        l->move(x, y);
        return l;
    };
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Наименование"), 8, 8);
    ComboBox2 = new QComboBox(Panel5);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(8, 24, 313, 21);
    ComboBox2->setMaxVisibleItems(16);
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Дата"), 8, 56);
    DateTimePicker1 = new DateTimePicker(DateTimePicker::dtkDate, Panel5);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(8, 72, 97, 21);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("Время"), 112, 56);
    DateTimePicker2 = new DateTimePicker(DateTimePicker::dtkTime, Panel5);
    DateTimePicker2->setObjectName(QStringLiteral("DateTimePicker2"));
    DateTimePicker2->setGeometry(112, 72, 97, 21);
    Label4 = label(QStringLiteral("Label4"), QStringLiteral("Значение"), 216, 56);
    ComboBox1 = new QComboBox(Panel5);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(216, 72, 105, 21);
    CreateButtons(Panel4);

    // Only the user's changes count: activated and textEdited are not raised by the program.
    connect(ComboBox2, &QComboBox::activated, this, &TRecordDialog::MarkToSave);
    connect(ComboBox1, &QComboBox::activated, this, &TRecordDialog::MarkToSave);
    connect(DateTimePicker1, &DateTimePicker::Changed, this, &TRecordDialog::MarkToSave);
    connect(DateTimePicker2, &DateTimePicker::Changed, this, &TRecordDialog::MarkToSave);

    const QList<QWidget*> order{ComboBox2, DateTimePicker1, DateTimePicker2, ComboBox1, Button1, Button2};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    ComboBox2->setFocus();
    frmEditForm3 = this;
}

TfrmEditForm3::~TfrmEditForm3()
{
    if (frmEditForm3 == this) frmEditForm3 = nullptr;
}

void TfrmEditForm3::FillRec(bool Mark)
{
    Modified = Mark;
    FillParam(choice_->ChosenKind());
}

void TfrmEditForm3::FillParam(int Kind)
{
    kind_ = Kind;
    ComboBox1->clear();
    if (Kind == 0) {
        ComboBox1->setEditable(false);
        ComboBox1->addItems({QStringLiteral("Истина"), QStringLiteral("Ложь")});
        ComboBox1->setCurrentIndex(0);
    } else {
        ComboBox1->setEditable(true);
        ComboBox1->setInsertPolicy(QComboBox::NoInsert);
        ComboBox1->setEditText(QString());
        BindValueBox();
    }
}

void TfrmEditForm3::BindValueBox()
{
    // An editable box gets a new line edit each time it becomes editable.
    if (QLineEdit* edit = ComboBox1->lineEdit())
        connect(edit, &QLineEdit::textEdited, this, &TRecordDialog::MarkToSave, Qt::UniqueConnection);
}

void TfrmEditForm3::FillRegions(int ID)
{
    FillPlaces(DataFiles::RegionsFile, ID);
}

void TfrmEditForm3::FillFOs(int ID)
{
    FillPlaces(DataFiles::FederalPartsFile, ID);
}

void TfrmEditForm3::FillPlaces(const QString& fileName, int ID)
{
    ComboBox2->clear();
    const DataFiles::PlaceIndex places = DataFiles::ReadPlaces(DataFiles::PathOf(fileName));
    if (!places.Exists()) return;
    const QString wanted = QString::number(ID);
    int preselect = -1;
    QStringList names;
    for (const DataFiles::PlaceIndex::Line& l : places.Lines()) {
        if (l.IdText == wanted) preselect = int(names.size());
        names.append(l.Name);
    }
    ComboBox2->addItems(names);
    ComboBox2->setCurrentIndex(preselect);
    IDs = places.IDs();
}

bool TfrmEditForm3::TryValue(double& value) const
{
    if (kind_ == 0) {
        value = ComboBox1->currentIndex();
        return true;
    }
    return Regional::TryStrToFloat(ComboBox1->currentText(), value);
}

bool TfrmEditForm3::CheckValues()
{
    const int place = ComboBox2->currentIndex();
    if (place < 0 || place >= IDs.size()) {
        Dialogs::Warning(QStringLiteral("Не выбрано наименование: выберите место измерения в списке."));
        ComboBox2->setFocus();
        return false;
    }
    double value = 0;
    if (!TryValue(value)) {
        Dialogs::Warning(QStringLiteral("Значение «") + ComboBox1->currentText() +
                         QStringLiteral("» не является числом."));
        ComboBox1->setFocus();
        return false;
    }
    SelectedID = IDs[place];
    return true;
}
