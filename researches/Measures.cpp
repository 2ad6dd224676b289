// The measurements window: loading one research's lines, the grid, the edit commands and the save.
#include "Measures.h"

#include "AppConfig.h"
#include "DataFiles.h"
#include "Dialogs.h"
#include "DrawnIcon.h"
#include "EditMeasur.h"
#include "DateTimePicker.h"
#include "Exceptions.h"
#include "Pictures.h"
#include "RecordDialog.h"
#include "Regional.h"
#include "ResearchChoice.h"
#include "ScreenPlacement.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

TfrmEditStUnit41* frmEditStUnit41 = nullptr;

namespace {

const QList<double> kWidthFactors{0.02, 0.02, 0.1, 0.3, 0.3};
const QString kSection = QStringLiteral("sg4");

QWidget* NamedPanel(const QString& name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    return w;
}

// The tool strip's pictures.
QIcon AddIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.fillRect(QRectF(7, 2, 2, 12), QColor(0, 128, 0));
        p.fillRect(QRectF(2, 7, 12, 2), QColor(0, 128, 0));
    });
}
QIcon EditIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 160), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 12), QPointF(12, 4));
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.drawLine(QPointF(2, 14), QPointF(5, 13));
    });
}
QIcon DeleteIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(192, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    });
}
QIcon AutoFillIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        for (int y = 3; y <= 12; y += 3) p.drawLine(QPointF(2, y), QPointF(9, y));
        p.setPen(QPen(QColor(0, 128, 0), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 2), QPointF(12, 13));
        p.drawLine(QPointF(10, 11), QPointF(12, 13));
        p.drawLine(QPointF(14, 11), QPointF(12, 13));
    });
}
QIcon ClearIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 2.5, 9, 11));
        p.setPen(QPen(QColor(192, 0, 0), 1.5));
        p.drawLine(QPointF(5, 12), QPointF(11, 4));
    });
}

}  // namespace

TfrmEditStUnit41::TfrmEditStUnit41(TResearchChoice* choice, QWidget* owner) : QDialog(owner), choice_(choice)
{
    setObjectName(QStringLiteral("frmEditStUnit41"));
    setWindowTitle(QStringLiteral("Измерения"));
    // A sizeable tool window without border icons: it closes by OK or Cancel only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    resize(597, 490);
    CreateControls();
    qApp->installEventFilter(this);
    frmEditStUnit41 = this;

    // FormCreate.
    StaticText2->setParent(StringGrid1);
    MesList = new TOResearches(this);
    MesList->MaxID = 0;
    MesList->Modified = false;
    SetGridParams();
}

TfrmEditStUnit41::~TfrmEditStUnit41()
{
    qApp->removeEventFilter(this);
    if (frmEditStUnit41 == this) frmEditStUnit41 = nullptr;
}

void TfrmEditStUnit41::CreateControls()
{
    auto* form = TableGrid::TightColumn(this);
    Panel2 = NamedPanel(QStringLiteral("Panel2"), this);
    Panel2->setFixedHeight(6);
    form->addWidget(Panel2);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    Panel1 = NamedPanel(QStringLiteral("Panel1"), this);
    Panel1->setFixedWidth(6);
    Panel5 = NamedPanel(QStringLiteral("Panel5"), this);
    Panel3 = NamedPanel(QStringLiteral("Panel3"), this);
    Panel3->setFixedWidth(6);
    middle->addWidget(Panel1);
    middle->addWidget(Panel5, 1);
    middle->addWidget(Panel3);
    form->addLayout(middle, 1);
    Panel4 = NamedPanel(QStringLiteral("Panel4"), this);
    Panel4->setFixedHeight(40);
    form->addWidget(Panel4);

    TRecordDialog::CreateOkCancel(Panel4, Button1, Button2);

    auto* column = TableGrid::TightColumn(Panel5);
    Panel8 = NamedPanel(QStringLiteral("Panel8"), Panel5);
    Panel8->setFixedHeight(31);
    column->addWidget(Panel8);
    int x = 0;
    auto tool = [this, &x](const QString& name, const QString& hint, const QIcon& icon) {
        auto* b = new QToolButton(Panel8);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setIcon(icon);
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(x, 5, 21, 21);
        x += 23;
        return b;
    };
    SpeedButton18 = tool(QStringLiteral("SpeedButton18"), QStringLiteral("Добавить (Ins)"), AddIcon());
    SpeedButton7 = tool(QStringLiteral("SpeedButton7"), QStringLiteral("Изменить"), EditIcon());
    SpeedButton12 = tool(QStringLiteral("SpeedButton12"), QStringLiteral("Удалить"), DeleteIcon());
    SpeedButton19 = tool(QStringLiteral("SpeedButton19"), QStringLiteral("Автозаполнение"), AutoFillIcon());
    SpeedButton47 = tool(QStringLiteral("SpeedButton47"), QStringLiteral("Очистить"), ClearIcon());

    // Row numbers in the text colour like every other column.
    StringGrid1 = TableGrid::CreateGrid(Panel5, [this](QPainter& p, int c, int r, const QRect& rect, StringGrid::CellState s) {
        TableGrid::DrawCell(p, *StringGrid1, *Memo1, c, r, rect, s, false);
    });
    StringGrid1->SetColor(ColorToQColor(16316664));
    column->addWidget(StringGrid1, 1);
    StaticText2 = TableGrid::CreateNotice(Panel5);
    Memo1 = new TMeasureBox(Panel5);

    PopupMenu1 = TableGrid::CreatePopupMenu(this, *StringGrid1, QStringLiteral("PopupMenu1"));
    auto item = [this](const QString& name, const QString& text, const QKeySequence& key) {
        return TableGrid::AddMenuItem(*PopupMenu1, *StringGrid1, name, text, key);
    };
    N2 = item(QStringLiteral("N2"), QStringLiteral("Новая строка"), QKeySequence(Qt::Key_Insert));
    N1 = item(QStringLiteral("N1"), QStringLiteral("Изменить..."), QKeySequence());
    PopupMenu1->addSeparator();
    N3 = item(QStringLiteral("N3"), QStringLiteral("Удалить..."), QKeySequence(Qt::CTRL | Qt::Key_Delete));

    connect(Button1, &QPushButton::clicked, this, &TfrmEditStUnit41::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmEditStUnit41::Button2Click);
    connect(SpeedButton18, &QToolButton::clicked, this, &TfrmEditStUnit41::SpeedButton18Click);
    connect(SpeedButton7, &QToolButton::clicked, this, &TfrmEditStUnit41::SpeedButton7Click);
    connect(SpeedButton12, &QToolButton::clicked, this, &TfrmEditStUnit41::SpeedButton12Click);
    connect(SpeedButton19, &QToolButton::clicked, this, &TfrmEditStUnit41::SpeedButton19Click);
    connect(SpeedButton47, &QToolButton::clicked, this, &TfrmEditStUnit41::SpeedButton47Click);
    connect(N2, &QAction::triggered, this, &TfrmEditStUnit41::SpeedButton18Click);
    connect(N1, &QAction::triggered, this, &TfrmEditStUnit41::SpeedButton7Click);
    connect(N3, &QAction::triggered, this, &TfrmEditStUnit41::SpeedButton12Click);
    connect(StringGrid1, &StringGrid::CellDoubleClicked, this, [this](int, int) {
        if (SpeedButton7->isEnabled()) SpeedButton7Click();
    });
    connect(StringGrid1, &StringGrid::ColumnResized, this, [this](int, int) { rowsMeasured_ = false; });
    connect(StringGrid1, &StringGrid::KeyPressed, this, [this](int key, Qt::KeyboardModifiers mods, bool& handled) {
        Guarded([&] { handled = StringGrid1KeyDown(key, mods); });
    });

    // Lay the hidden window out now, so the grid's client width is known to the column widths.
    TableGrid::LayOutNow(*form);
    TableGrid::LayOutNow(*column);
}

// --- Level, kind and places ------------------------------------------------------------------

int TfrmEditStUnit41::Level() const
{
    return choice_->ChosenLevel();
}

int TfrmEditStUnit41::Kind() const
{
    return choice_->ChosenKind();
}

QString TfrmEditStUnit41::PlaceName(int placeID) const
{
    const QString file = Level() == 0 ? DataFiles::RegionsFile : DataFiles::FederalPartsFile;
    return DataFiles::ReadPlaces(DataFiles::PathOf(file)).Name(placeID);
}

// --- Loading, filling and saving ----------------------------------------------------------------

void TfrmEditStUnit41::PreFillRec(int ResearchID)
{
    this->ResearchID = ResearchID;
    MesList->Add();
    loadedWhole_ = DataFiles::CheckDelimiter();
    if (loadedWhole_) {
        const DataFiles::LoadResult r =
            DataFiles::LoadMeasurements(DataFiles::PathOf(DataFiles::MeasurementsFile), ResearchID, *MesList);
        if (!r.Complete) throw EConvertError(r.Error);
        // One reading of the reference file names every measurement.
        if (MesList->Count() > 1) {
            const QString file = Level() == 0 ? DataFiles::RegionsFile : DataFiles::FederalPartsFile;
            const DataFiles::PlaceIndex places = DataFiles::ReadPlaces(DataFiles::PathOf(file));
            for (int i = 1; i < MesList->Count(); ++i) {
                OResearches::TUnits& m = MesList->Items(i);
                m.Name = places.Name(m.Ref2);
            }
        }
    }
    FillRec();
}

void TfrmEditStUnit41::FillRec()
{
    rowsMeasured_ = false;
    TableGrid::ClearRows(*StringGrid1, *StaticText2, width());
    const int count = MesList->Count();
    if (count <= 1) {
        TableGrid::ShowNotice(*StaticText2);
        SetEditControls(false);
        return;
    }
    StringGrid1->SetRowCount(count);
    const bool numeric = Kind() != 0;
    const QString yes = QStringLiteral("Истина"), no = QStringLiteral("Ложь");
    // The texts as the file writes them, which are the regional forms.
    const QList<DataFiles::MeasurementTexts> texts = DataFiles::FormatMeasurements(*MesList);
    for (int i = 1; i < count; ++i) {
        const OResearches::TUnits& m = MesList->Items(i);
        const DataFiles::MeasurementTexts& t = texts[i - 1];
        StringGrid1->SetCell(0, i, QString::number(i));
        StringGrid1->SetCell(1, i, m.Name);
        StringGrid1->SetCell(2, i, t.Date);
        StringGrid1->SetCell(3, i, t.Time);
        StringGrid1->SetCell(4, i, numeric ? t.Value : m.Value == 0 ? yes : no);
    }
    SetEditControls(true);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetRow(1);
    StringGrid1->SetCol(1);
    if (AppConfig->WordWrap) GridResize();
}

void TfrmEditStUnit41::SetEditControls(bool hasRecords)
{
    for (QToolButton* b : {SpeedButton18, SpeedButton19, SpeedButton47}) b->setEnabled(loadedWhole_);
    N2->setEnabled(loadedWhole_);
    for (QToolButton* b : {SpeedButton7, SpeedButton12}) b->setEnabled(loadedWhole_ && hasRecords);
    N1->setEnabled(loadedWhole_ && hasRecords);
    N3->setEnabled(loadedWhole_ && hasRecords);
}

bool TfrmEditStUnit41::SaveRecs()
{
    if (!loadedWhole_ || !DataFiles::CheckDelimiter()) return false;
    const int level = Level(), kind = Kind();
    try {
        DataFiles::SaveMeasurements(DataFiles::PathOf(DataFiles::MeasurementsFile), ResearchID, *MesList);
    } catch (const std::exception& e) {
        // The old file is as it was and the list stays modified, so OK can try again.
        DataFiles::ReportSaveError(ExceptionMessage(e));
        return false;
    }
    MesList->Modified = false;
    choice_->MeasurementsSaved(level, kind);
    return true;
}

// --- Grid set-up and widths ----------------------------------------------------------------------

void TfrmEditStUnit41::SetGridParams()
{
    StringGrid1->SetColCount(5);
    ReadUserSettings();
    if (AppConfig->WordWrap) GridResize();
    const QStringList headings{QStringLiteral("№"), QStringLiteral("Наименование"), QStringLiteral("Дата"),
                               QStringLiteral("Время"), QStringLiteral("Значение")};
    for (int c = 0; c < headings.size(); ++c) StringGrid1->SetCell(c, 0, headings[c]);
}

void TfrmEditStUnit41::ReadUserSettings()
{
    rowsMeasured_ = false;
    if (!TableGrid::ReadColumnWidths(*StringGrid1, kSection, kWidthFactors).isEmpty())
        Dialogs::Error(QStringLiteral("Ошибка чтения файла конфигурации."));
}

void TfrmEditStUnit41::SaveUserSettings()
{
    if (!TableGrid::SaveColumnWidths(*StringGrid1, kSection).isEmpty())
        Dialogs::Error(QStringLiteral("Ошибка записи файла конфигурации."));
}

void TfrmEditStUnit41::GridResize()
{
    // The last column, the value, is measured too.
    TableGrid::GridResize(*StringGrid1, *Memo1, StringGrid1->ColCount() - 1);
    rowsMeasured_ = true;
}

void TfrmEditStUnit41::FormActivate()
{
    TableGrid::ApplyBackground(*StaticText2);
    if (AppConfig->WordWrap && rowsMeasured_ && StringGrid1->DefaultRowHeight() == AppConfig->RowHeight) {
        // Nothing the heights depend on has changed since they were measured (measuring thousands
        // of rows takes a while), so they stay: only the colours and lines are set.
        StringGrid1->SetColor(ColorToQColor(AppConfig->Bgc5));
        StringGrid1->SetGridLines(AppConfig->GLines, AppConfig->VLines);
        return;
    }
    TableGrid::ApplySettings(*StringGrid1);
    if (AppConfig->WordWrap) GridResize();
}

// --- Commands ----------------------------------------------------------------------------------------

void TfrmEditStUnit41::EditMeasurement(bool isNew, int row)
{
    const bool regional = Level() == 0;
    TfrmEditForm3 dialog(choice_, this);
    dialog.setWindowTitle(QString(regional ? QStringLiteral("Регион") : QStringLiteral("Федеральный округ")) +
                          (isNew ? QStringLiteral(" (добавление)") : QString()));
    dialog.FillRec(isNew);
    const bool numeric = Kind() != 0;
    int placeID = 0;
    TDateTime date = 0, time = 0;
    bool fromCells = false;
    if (row >= 1 && row < StringGrid1->RowCount()) {
        const QString value = StringGrid1->Cell(4, row);
        if (numeric) dialog.ComboBox1->setEditText(value);
        else if (!isNew) dialog.ComboBox1->setCurrentIndex(value == QStringLiteral("Истина") ? 0 : 1);
        fromCells = Regional::TryStrToDate(StringGrid1->Cell(2, row), date) &&
                    Regional::TryStrToTime(StringGrid1->Cell(3, row), time);
        placeID = MesList->Items(row).Ref2;
    }
    if (!fromCells) {
        const TDateTime now = Regional::Now();
        date = std::floor(now);
        time = now - date;
    }
    dialog.DateTimePicker1->SetDate(date);
    dialog.DateTimePicker2->SetTime(time);
    if (regional) dialog.FillRegions(placeID);
    else dialog.FillFOs(placeID);
    if (dialog.Execute() != erChanged) return;

    // Everything is worked out before the list changes, so a failure changes nothing.
    double value = 0;
    if (!dialog.TryValue(value)) return;  // OK has refused such a value already
    const QString name = PlaceName(dialog.SelectedID);
    if (isNew) {
        MesList->MaxID = MesList->MaxID + 1;
        MesList->Add();
        row = MesList->Count() - 1;
    }
    OResearches::TUnits& m = MesList->Items(row);
    if (isNew) {
        m.ID = MesList->MaxID;
        m.Ref1 = ResearchID;
    }
    m.Name = name;
    m.Ref2 = dialog.SelectedID;
    m.Date = dialog.DateTimePicker1->Date();
    m.Time = dialog.DateTimePicker2->Time();
    m.Value = value;
    MesList->Modified = true;
    FillRec();
}

void TfrmEditStUnit41::SpeedButton18Click()
{
    Guarded([this] {
        if (!loadedWhole_) return;
        // The current row is the template of the new measurement.
        EditMeasurement(true, StringGrid1->RowCount() < 2 ? 0 : StringGrid1->Row());
    });
}

void TfrmEditStUnit41::SpeedButton7Click()
{
    Guarded([this] {
        if (!loadedWhole_ || StringGrid1->RowCount() < 2) return;
        EditMeasurement(false, StringGrid1->Row());
    });
}

void TfrmEditStUnit41::SpeedButton12Click()
{
    Guarded([this] {
        if (!loadedWhole_ || StringGrid1->RowCount() < 2) return;
        if (!TableGrid::ConfirmDelete()) return;
        MesList->Delete(StringGrid1->Row());
        FillRec();
        if (AppConfig->WordWrap && !rowsMeasured_) GridResize();  // FillRec has measured them
        MesList->Modified = true;
    });
}

void TfrmEditStUnit41::SpeedButton19Click()
{
    Guarded([this] {
        if (!loadedWhole_ || Level() != 0) return;
        const DataFiles::PlaceIndex places = DataFiles::ReadPlaces(DataFiles::PathOf(DataFiles::RegionsFile));
        if (!places.Exists()) return;
        const TDateTime now = Regional::Now();
        const TDateTime date = std::floor(now);
        int k = 0;
        for (const DataFiles::PlaceIndex::Line& l : places.Lines()) {
            // A bad ID stops here; the measurements added so far stay in the list.
            const int placeID = l.IdOk ? l.ID : Regional::StrToInt(l.IdText);
            MesList->MaxID = MesList->MaxID + 1;
            MesList->Modified = true;
            MesList->Add();
            OResearches::TUnits& m = MesList->Items(MesList->Count() - 1);
            m.Name = l.Name;
            m.ID = MesList->MaxID;
            m.Ref1 = ResearchID;
            m.Ref2 = placeID;
            m.Date = date;
            m.Time = now - date;
            m.Value = 100 + 20 * k++;
        }
        FillRec();
    });
}

void TfrmEditStUnit41::SpeedButton47Click()
{
    Guarded([this] {
        if (!loadedWhole_) return;
        for (int i = MesList->Count() - 1; i >= 1; --i) MesList->Delete(i);
        MesList->Modified = true;
        FillRec();
    });
}

void TfrmEditStUnit41::Button1Click()
{
    Guarded([this] {
        if (MesList->Modified && !SaveRecs()) return;  // the window stays open
        done(2);
    });
}

void TfrmEditStUnit41::Button2Click()
{
    done(3);
}

// --- Keys, activation and closing ----------------------------------------------------------------

bool TfrmEditStUnit41::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held = TRecordDialog::HeldModifiers(shift);
    if (key == Qt::Key_End && held == Qt::ControlModifier) {
        Button1Click();
        return true;
    }
    if (key == Qt::Key_Escape) {
        Button2Click();
        return true;
    }
    return false;
}

bool TfrmEditStUnit41::StringGrid1KeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const Qt::KeyboardModifiers held = TRecordDialog::HeldModifiers(shift);
    if (held != Qt::ControlModifier) return false;
    if (StringGrid1->RowCount() > 1 && SpeedButton7->isEnabled()) SpeedButton7Click();
    return true;
}

void TfrmEditStUnit41::done(int result)
{
    // FormClose: the measurements are saved by OK only.
    if (AppConfig->AutoSave) SaveUserSettings();
    QDialog::done(result);
}

void TfrmEditStUnit41::reject()
{
    Button2Click();
}

void TfrmEditStUnit41::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnScreen(*this, event);
    // The grid's keys (Ins, Ctrl+Enter, Ctrl+Del) work from the start, not OK's Enter.
    if (!event->spontaneous()) StringGrid1->setFocus();
}

void TfrmEditStUnit41::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Guarded([this] { FormActivate(); });
}

bool TfrmEditStUnit41::eventFilter(QObject* watched, QEvent* event)
{
    return TRecordDialog::PreviewKey(*this, watched, event,
                                     [this](const QKeyEvent& ke) { return FormKeyDown(ke.key(), ke.modifiers()); });
}
