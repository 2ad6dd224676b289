// The research dialog: name, level and kind of one research and the lock while it has measurements.
#include "EditResearch.h"

#include "DataFiles.h"
#include "DrawnIcon.h"
#include "Exceptions.h"
#include "Measures.h"
#include "OResearches.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <memory>

TfrmEditForm2* frmEditForm2 = nullptr;

namespace {

QIcon MeasuresIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 0.8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        const QColor bars[] = {QColor(90, 150, 220), QColor(230, 150, 60), QColor(110, 180, 90)};
        const qreal heights[] = {5, 9, 7};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bars[i]);
            p.drawRect(QRectF(3.5 + i * 3.5, 13.5 - heights[i], 2.5, heights[i]));
        }
    });
}

// The list position of a stored level or kind: 0 and 1 are items, anything else no choice.
int PositionOf(int value)
{
    return value == 0 || value == 1 ? value : -1;
}

}  // namespace

TfrmEditForm2::TfrmEditForm2(QWidget* owner) : TRecordDialog(owner)
{
    setObjectName(QStringLiteral("frmEditForm2"));
    setWindowTitle(QStringLiteral("Исследование"));
    setFixedSize(351, 212);

    auto panel = [this](QWidget*& w, const char* name, const QRect& r) {
        w = new QWidget(this);
        w->setObjectName(QLatin1String(name));
        w->setGeometry(r);
    };
    panel(Panel1, "Panel1", QRect(0, 6, 6, 166));
    panel(Panel2, "Panel2", QRect(0, 0, 351, 6));
    panel(Panel3, "Panel3", QRect(345, 6, 6, 166));
    panel(Panel4, "Panel4", QRect(0, 172, 351, 40));
    panel(Panel5, "Panel5", QRect(6, 6, 339, 166));

    auto label = [this](QLabel*& l, const char* name, const QString& text, int x, int y) {
        l = new QLabel(text, Panel5);
        l->setObjectName(QLatin1String(name));
        l->move(x, y);
    };
    label(Label1, "Label1", QStringLiteral("Наименование"), 8, 8);
    Edit1 = new QLineEdit(Panel5);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 24, 313, 21);
    AddTextField(Edit1, QStringLiteral("Наименование"));

    // Fixed lists in their sorted order: the list position is the stored value.
    auto combo = [this](QComboBox*& c, const char* name, const QStringList& items, int x) {
        c = new QComboBox(Panel5);
        c->setObjectName(QLatin1String(name));
        c->setEditable(false);
        c->addItems(items);
        c->setCurrentIndex(0);
        c->setGeometry(x, 72, 153, 21);
        connect(c, &QComboBox::currentIndexChanged, this, &TRecordDialog::MarkToSave);
    };
    label(Label8, "Label8", QStringLiteral("Уровень"), 8, 56);
    combo(ComboBox1, "ComboBox1", {QStringLiteral("Региональный"), QStringLiteral("Федеральный")}, 8);
    label(Label2, "Label2", QStringLiteral("Вид исследования"), 168, 56);
    combo(ComboBox2, "ComboBox2", {QStringLiteral("Логический"), QStringLiteral("Числовой")}, 168);

    SpeedButton2 = new QToolButton(Panel5);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("Измерения"));
    SpeedButton2->setToolTip(QStringLiteral("Регионы"));
    SpeedButton2->setIcon(MeasuresIcon());
    SpeedButton2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    // Its right edge stays at the design's; a wider font widens it leftwards so the caption shows whole.
    const int width = std::max(89, SpeedButton2->sizeHint().width());
    SpeedButton2->setGeometry(232 + 89 - width, 105, width, 21);
    connect(SpeedButton2, &QToolButton::clicked, this, &TfrmEditForm2::SpeedButton2Click);

    CreateButtons(Panel4);
    const QList<QWidget*> order{Edit1, ComboBox1, ComboBox2, Button1, Button2};
    for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
    Edit1->setFocus();
    frmEditForm2 = this;
}

TfrmEditForm2::~TfrmEditForm2()
{
    if (frmEditForm2 == this) frmEditForm2 = nullptr;
}

void TfrmEditForm2::FillRec(bool Mark, int ID)
{
    Modified = false;
    ResearchID = ID;
    SetLock();
    if (Mark) Modified = true;
}

void TfrmEditForm2::FillRec(bool Mark)
{
    FillRec(Mark, ResearchID);
}

bool TfrmEditForm2::CheckMes() const
{
    return DataFiles::HasMeasurements(DataFiles::PathOf(DataFiles::MeasurementsFile), ResearchID);
}

void TfrmEditForm2::SetLock()
{
    hasMeasurements_ = CheckMes();
    ComboBox1->setEnabled(!hasMeasurements_);
    ComboBox2->setEnabled(ComboBox1->isEnabled());
}

void TfrmEditForm2::SetRecord(const OResearches::TUnits& r)
{
    ResearchID = r.ID;
    Edit1->setText(r.Name);
    ComboBox1->setCurrentIndex(PositionOf(r.Ref1));
    ComboBox2->setCurrentIndex(PositionOf(r.Ref2));
}

void TfrmEditForm2::GetRecord(OResearches::TUnits& r) const
{
    r.Name = Edit1->text();
    r.Ref1 = ComboBox1->currentIndex();
    r.Ref2 = ComboBox2->currentIndex();
}

int TfrmEditForm2::ChosenLevel() const
{
    return ComboBox1->currentIndex();
}

int TfrmEditForm2::ChosenKind() const
{
    return ComboBox2->currentIndex();
}

void TfrmEditForm2::MeasurementsSaved(int level, int kind)
{
    savedUnder_ = std::make_pair(level, kind);
}

bool TfrmEditForm2::SavedUnderOtherChoice(const OResearches::TUnits& r, int& level, int& kind) const
{
    if (!savedUnder_ || !hasMeasurements_) return false;
    // Readers take 0 as the first meaning and any other value as the second.
    const auto same = [](int a, int b) { return (a == 0) == (b == 0); };
    if (same(savedUnder_->first, r.Ref1) && same(savedUnder_->second, r.Ref2)) return false;
    level = savedUnder_->first;
    kind = savedUnder_->second;
    return true;
}

void TfrmEditForm2::SpeedButton2Click()
{
    Guarded([this] {
        // The window reads the choice through this dialog and reports its saves to
        // MeasurementsSaved; its result is not looked at, as it saves its own changes.
        std::unique_ptr<TfrmEditStUnit41> window(new TfrmEditStUnit41(this, this));
        window->setWindowTitle(window->windowTitle() + QStringLiteral(": ") + Edit1->text());
        window->PreFillRec(ResearchID);
        window->exec();
        window.reset();
        SetLock();
    });
}
