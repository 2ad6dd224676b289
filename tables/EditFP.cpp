// The federal district dialog: name, code and centre of one federal district.
#include "EditFP.h"

#include "DataFiles.h"
#include "ORegions.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

TfrmEditForm1* frmEditForm1 = nullptr;

TfrmEditForm1::TfrmEditForm1(QWidget* owner) : TRecordDialog(owner)
{
    setObjectName(QStringLiteral("frmEditForm1"));
    setWindowTitle(QStringLiteral("Федеральный округ"));
    setFixedSize(351, 185);

    auto panel = [this](const QString& name, const QRect& geometry) {
        auto* w = new QWidget(this);
        w->setObjectName(name);
        w->setGeometry(geometry);
        return w;
    };
    Panel1 = panel(QStringLiteral("Panel1"), QRect(0, 6, 6, 139));
    Panel2 = panel(QStringLiteral("Panel2"), QRect(0, 0, 351, 6));
    Panel3 = panel(QStringLiteral("Panel3"), QRect(345, 6, 6, 139));
    Panel4 = panel(QStringLiteral("Panel4"), QRect(0, 145, 351, 40));
    Panel5 = panel(QStringLiteral("Panel5"), QRect(6, 6, 339, 139));

    AddCaptionedField(Panel5, Label1, 1, Edit1, 1, QStringLiteral("Наименование"), 8, 8, 313);
    AddCaptionedField(Panel5, Label8, 8, Edit3, 3, QStringLiteral("Код МСХ"), 8, 56, 57);
    const QString centre = QStringLiteral("Центр федерального округа");
    Label2 = AddLabel(Panel5, 2, centre, 80, 56);
    ComboBox2 = new QComboBox(Panel5);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);  // the list only proposes; typing adds nothing
    ComboBox2->setGeometry(80, 72, 241, 21);
    AddTextField(ComboBox2->lineEdit(), centre);
    CreateButtons(Panel4);

    SetTabOrder({Edit1, Edit3, ComboBox2, Button1, Button2});
    Edit1->setFocus();
    frmEditForm1 = this;
}

TfrmEditForm1::~TfrmEditForm1()
{
    if (frmEditForm1 == this) frmEditForm1 = nullptr;
}

void TfrmEditForm1::FillCapitals()
{
    ComboBox2->clear();
    ComboBox2->clearEditText();
    QStringList capitals = DataFiles::ReadCapitals(DataFiles::PathOf(DataFiles::RegionsFile));
    // Sorted as the combo box of the system sorts: alphabetically by the user's locale, ignoring case.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(capitals.begin(), capitals.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    ComboBox2->addItems(capitals);
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->clearEditText();
}

void TfrmEditForm1::SetRecord(const ORegions::TUnits& r)
{
    Edit1->setText(r.Name);
    Edit3->setText(r.CodeMSH);
    ComboBox2->setEditText(r.Capital);
}

void TfrmEditForm1::GetRecord(ORegions::TUnits& r) const
{
    r.Name = Edit1->text();
    r.Capital = ComboBox2->currentText();
    r.CodeMSH = Edit3->text();
}
