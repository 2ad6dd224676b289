// The region dialog: name, five codes and capital of one region.
#include "EditRegion.h"

#include "ORegions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmEditForm* frmEditForm = nullptr;

TfrmEditForm::TfrmEditForm(QWidget* owner) : TRecordDialog(owner)
{
    setObjectName(QStringLiteral("frmEditForm"));
    setWindowTitle(QStringLiteral("Регион"));
    setFixedSize(358, 234);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(6, 6, 346, 182);
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(0, 194, 358, 40);

    AddCaptionedField(Panel1, Label1, 1, Edit1, 1, QStringLiteral("Наименование"), 8, 8, 313);
    AddCaptionedField(Panel1, Label4, 4, Edit2, 2, QStringLiteral("Код МВД"), 8, 56, 57);
    AddCaptionedField(Panel1, Label8, 8, Edit3, 3, QStringLiteral("Код МСХ"), 72, 56, 57);
    AddCaptionedField(Panel1, Label9, 9, Edit4, 4, QStringLiteral("Код бук."), 136, 56, 57);
    AddCaptionedField(Panel1, Label10, 10, Edit5, 5, QStringLiteral("Код лат."), 200, 56, 57);
    AddCaptionedField(Panel1, Label11, 11, Edit6, 6, QStringLiteral("Код б.-л."), 264, 56, 57);
    AddCaptionedField(Panel1, Label2, 2, Edit7, 7, QStringLiteral("Столица"), 8, 104, 313);
    CreateButtons(Panel2);

    SetTabOrder({Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Button1, Button2});
    Edit1->setFocus();
    frmEditForm = this;
}

TfrmEditForm::~TfrmEditForm()
{
    if (frmEditForm == this) frmEditForm = nullptr;
}

void TfrmEditForm::SetRecord(const ORegions::TUnits& r)
{
    Edit1->setText(r.Name);
    Edit2->setText(r.CodeMVD);
    Edit3->setText(r.CodeMSH);
    Edit4->setText(r.CodeAlpha);
    Edit5->setText(r.CodeLatin);
    Edit6->setText(r.CodeAlphaNum);
    Edit7->setText(r.Capital);
}

void TfrmEditForm::GetRecord(ORegions::TUnits& r) const
{
    r.Name = Edit1->text();
    r.Capital = Edit7->text();
    r.CodeMVD = Edit2->text();
    r.CodeMSH = Edit3->text();
    r.CodeAlpha = Edit4->text();
    r.CodeLatin = Edit5->text();
    r.CodeAlphaNum = Edit6->text();
}
