// The legend dialog: edits the map window's legend settings.
#include "EditLegend.h"

#include "DrawnIcon.h"

#include <algorithm>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QPainter>
#include <QToolButton>
#include <QWidget>

TfrmEditForm4* frmEditForm4 = nullptr;

TfrmEditForm4::TfrmEditForm4(QWidget* owner) : TRecordDialog(owner)
{
    frmEditForm4 = this;
    FormCreate();
}

TfrmEditForm4::~TfrmEditForm4()
{
    if (frmEditForm4 == this) frmEditForm4 = nullptr;
}

void TfrmEditForm4::FormCreate()
{
    setObjectName(QStringLiteral("frmEditForm4"));
    setWindowTitle(QStringLiteral("Легенда"));
    setFixedSize(363, 358);
    Legend = new TOLegend(this);

    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    Label11 = new QLabel(QStringLiteral("Канал цвета"), this);
    named(Label11, "Label11")->setGeometry(12, 12, 120, 16);
    ColorBox1 = new ColorBox(this);
    named(ColorBox1, "ColorBox1")->setGeometry(12, 30, 200, 22);
    ColorBox1->SetSelected(0x008000);

    CheckBox1 = new QCheckBox(QStringLiteral("Добавить легенду"), this);
    // As wide as its caption needs in the desktop's font, within the dialog's width: the colour
    // list gives up what the caption needs beyond its design room.
    const int boxWidth = std::min(std::max(130, CheckBox1->sizeHint().width()), width() - 6 - 120);
    const int boxLeft = std::min(222, width() - 6 - boxWidth);
    named(CheckBox1, "CheckBox1")->setGeometry(boxLeft, 32, boxWidth, 18);
    ColorBox1->setFixedWidth(std::min(200, boxLeft - 10 - 12));

    Label2 = new QLabel(QStringLiteral("Параметры"), this);
    named(Label2, "Label2")->setGeometry(12, 62, 80, 16);
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    named(Bevel1, "Bevel1")->setGeometry(92, 70, 259, 2);

    RadioButton1 = new QRadioButton(QStringLiteral("Автоматически установить цвета и интервалы"), this);
    named(RadioButton1, "RadioButton1")->setGeometry(12, 84, 340, 18);
    RadioButton1->setChecked(true);
    RadioButton1->setEnabled(false);

    Label1 = new QLabel(QStringLiteral("Число интервалов"), this);
    named(Label1, "Label1")->setGeometry(32, 110, 120, 16);
    Label1->setEnabled(false);
    SpinEdit1 = new QSpinBox(this);
    named(SpinEdit1, "SpinEdit1")->setGeometry(160, 106, 60, 22);
    SpinEdit1->setRange(4, 16);
    SpinEdit1->setValue(4);
    SpinEdit1->setEnabled(false);

    RadioButton2 = new QRadioButton(QStringLiteral("Задать цвета и интервалы вручную"), this);
    named(RadioButton2, "RadioButton2")->setGeometry(12, 138, 340, 18);
    RadioButton2->setEnabled(false);

    ListBox1 = new QListWidget(this);
    named(ListBox1, "ListBox1")->setGeometry(32, 162, 290, 140);
    ListBox1->setEnabled(false);

    auto speed = [this](const char* name, const QString& hint, int y, const std::function<void(QPainter&)>& glyph) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setIcon(DrawnIcon(glyph));
        b->setIconSize(QSize(16, 16));
        b->setAutoRaise(true);
        b->setGeometry(328, y, 24, 24);
        b->setEnabled(false);
        return b;
    };
    // A green plus, a pencil, a red cross.
    SpeedButton11 = speed("SpeedButton11", QStringLiteral("Добавить (Ins)"), 162, [](QPainter& p) {
        p.fillRect(QRectF(7, 3, 2, 10), QColor(0, 128, 0));
        p.fillRect(QRectF(3, 7, 10, 2), QColor(0, 128, 0));
    });
    SpeedButton1 = speed("SpeedButton1", QStringLiteral("Изменить"), 190, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 0, 128), 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(4.5, 11.5), QPointF(12, 4));
        p.setPen(QPen(QColor(64, 64, 64), 1));
        p.drawLine(QPointF(3, 13), QPointF(4.5, 11.5));
    });
    SpeedButton5 = speed("SpeedButton5", QStringLiteral("Удалить"), 218, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(192, 0, 0), 2.2));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setGeometry(0, 310, width(), 48);
    CreateButtons(strip);
    // OK writes the settings before the protocol accepts.
    disconnect(Button1, &QPushButton::clicked, this, nullptr);
    connect(Button1, &QPushButton::clicked, this, &TfrmEditForm4::Button1Click);

    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TRecordDialog::MarkToSave);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { Guarded([this] { CheckBox1Click(); }); });
    for (QRadioButton* rb : {RadioButton1, RadioButton2}) {
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on) Guarded([this] { RadioButton1Click(); });
        });
        // A click on the button already checked still counts.
        connect(rb, &QRadioButton::clicked, this, [this, rb] {
            if (rb->isChecked()) Guarded([this] { RadioButton1Click(); });
        });
    }
}

void TfrmEditForm4::FillRec(bool Flag)
{
    Modified = Flag;
    SpinEdit1->setValue(Legend->IntervalCount);
    CheckBox1->setChecked(Legend->AddLegend);
    RadioButton1->setChecked(Legend->AutoIntervals);
    RadioButton2->setChecked(!Legend->AutoIntervals);
    ColorBox1->SetSelected(Legend->Color);
    for (int i = 0; i < Legend->Count(); ++i) ListBox1->addItem(Legend->Items(i).Label);
}

void TfrmEditForm4::CheckBox1Click()
{
    const bool on = CheckBox1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{RadioButton1, RadioButton2, SpinEdit1, ColorBox1, Label1, Label11,
                                                      ListBox1, SpeedButton1, SpeedButton11, SpeedButton5})
        w->setEnabled(on);
    if (on) RadioButton1Click();
    MarkToSave();
}

void TfrmEditForm4::RadioButton1Click()
{
    const bool automatic = RadioButton1->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{SpinEdit1, ColorBox1, Label1, Label11}) w->setEnabled(automatic);
    const bool manual = RadioButton2->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ListBox1, SpeedButton11, SpeedButton1, SpeedButton5})
        w->setEnabled(manual);
    MarkToSave();
}

void TfrmEditForm4::Button1Click()
{
    Legend->SetAddLegend(CheckBox1->isChecked());
    Legend->SetIntervalCount(SpinEdit1->value());
    Legend->SetAutoIntervals(RadioButton1->isChecked());
    Legend->SetColor(ColorBox1->Selected());
    TRecordDialog::Button1Click();
}
