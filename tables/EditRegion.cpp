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

    auto label = [this](const QString& name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(name);
        l->move(x, y);
        return l;
    };
    auto edit = [this](const QString& name, int x, int y, int width) {
        auto* e = new QLineEdit(Panel1);
        e->setObjectName(name);
        e->setGeometry(x, y, width, 21);
        return e;
    };
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Наименование"), 8, 8);
    Edit1 = edit(QStringLiteral("Edit1"), 8, 24, 313);
    Label4 = label(QStringLiteral("Label4"), QStringLiteral("Код МВД"), 8, 56);
    Edit2 = edit(QStringLiteral("Edit2"), 8, 72, 57);
    Label8 = label(QStringLiteral("Label8"), QStringLiteral("Код МСХ"), 72, 56);
    Edit3 = edit(QStringLiteral("Edit3"), 72, 72, 57);
    Label9 = label(QStringLiteral("Label9"), QStringLiteral("Код бук."), 136, 56);
    Edit4 = edit(QStringLiteral("Edit4"), 136, 72, 57);
    Label10 = label(QStringLiteral("Label10"), QStringLiteral("Код лат."), 200, 56);
    Edit5 = edit(QStringLiteral("Edit5"), 200, 72, 57);
    Label11 = label(QStringLiteral("Label11"), QStringLiteral("Код б.-л."), 264, 56);
    Edit6 = edit(QStringLiteral("Edit6"), 264, 72, 57);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Столица"), 8, 104);
    Edit7 = edit(QStringLiteral("Edit7"), 8, 120, 313);
    CreateButtons(Panel2);

    AddTextField(Edit1, Label1->text());
    AddTextField(Edit2, Label4->text());
    AddTextField(Edit3, Label8->text());
    AddTextField(Edit4, Label9->text());
    AddTextField(Edit5, Label10->text());
    AddTextField(Edit6, Label11->text());
    AddTextField(Edit7, Label2->text());

    const QList<QWidget*> order{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Button1, Button2};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
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
