// The table-window family: form, loading and saving, grid, search, copy, export and printing.
#include "TableForm.h"

#include "AppConfig.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "GridPrintJob.h"
#include "Pictures.h"
#include "Regional.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSize kDesignSize(1016, 660);

QIcon SearchIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(210, 235, 255));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(QColor(40, 40, 40), 2.2));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.end();
    return QIcon(pm);
}

QWidget* MarginPanel(const QString& name, QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    return w;
}

// Frees the print job on every way out of a command.
struct JobGuard {
    ~JobGuard() { GridPrintJob::Free(); }
};

}  // namespace

TTableForm::TTableForm(const TTableParams& params, QWidget* owner) : TDocumentWindow(owner), params_(params)
{
    setWindowTitle(params_.Caption);
    CreateControls();
    qApp->installEventFilter(this);
}

void TTableForm::FormCreate()
{
    SearchRestart = true;
    path_ = DataFiles::PathOf(params_.FileName);
    NewList();
    SetGridParams();
}

TTableForm::~TTableForm()
{
    qApp->removeEventFilter(this);
}

void TTableForm::CreateControls()
{
    resize(kDesignSize);
    auto* formLayout = new QVBoxLayout(this);
    formLayout->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFocusPolicy(Qt::NoFocus);  // the keys belong to the grid and the search box
    formLayout->addWidget(ScrollBox1);

    auto* inside = new QWidget;
    auto* grid = new QGridLayout(inside);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    Panel2 = MarginPanel(QStringLiteral("Panel2"), inside);
    Panel3 = MarginPanel(QStringLiteral("Panel3"), inside);
    Panel4 = MarginPanel(QStringLiteral("Panel4"), inside);
    Panel2->setFixedWidth(6);
    Panel3->setFixedHeight(6);
    Panel4->setFixedWidth(6);
    Panel5 = MarginPanel(QStringLiteral("Panel5"), inside);
    Panel1 = MarginPanel(QStringLiteral("Panel1"), inside);
    Panel1->setFixedHeight(35);
    grid->addWidget(Panel3, 0, 0, 1, 3);
    grid->addWidget(Panel2, 1, 0);
    grid->addWidget(Panel5, 1, 1);
    grid->addWidget(Panel4, 1, 2);
    grid->addWidget(Panel1, 2, 0, 1, 3);

    // The bottom strip: edit buttons, a bevel, the search box and its button.
    auto makeButton = [this](const QString& name, const QString& text, int x) {
        auto* b = new QPushButton(text, Panel1);
        b->setObjectName(name);
        b->setGeometry(x, 5, 75, 25);
        b->setFocusPolicy(Qt::NoFocus);  // speed buttons take no focus
        return b;
    };
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Добавить"), 6);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("Изменить"), 89);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("Удалить"), 172);
    Bevel1 = new QFrame(Panel1);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::VLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(254, 4, 4, 27);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(264, 7, 113, 21);
    SpeedButton2 = new QToolButton(Panel1);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(SearchIcon());
    SpeedButton2->setToolTip(QStringLiteral("Поиск"));
    SpeedButton2->setGeometry(380, 5, 25, 25);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    StaticText3 = new QLabel(QStringLiteral("Только просмотр: файл прочитан не целиком. F5 — прочитать снова"), Panel1);
    StaticText3->setObjectName(QStringLiteral("StaticText3"));
    StaticText3->setGeometry(414, 5, 560, 25);
    StaticText3->hide();

    // Title strip, grid, notice and measuring box.
    auto* column = TableGrid::TightColumn(Panel5);
    StaticText1 = new QLabel(params_.Title, Panel5);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setFixedHeight(31);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setAutoFillBackground(true);
    QFont titleFont = StaticText1->font();
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    StaticText1->setFont(titleFont);
    column->addWidget(StaticText1);
    StringGrid1 = TableGrid::CreateGrid(Panel5, [this](QPainter& p, int c, int r, const QRect& rect,
                                                       StringGrid::CellState s) { StringGrid1DrawCell(p, c, r, rect, s); });
    StringGrid1->setMaximumHeight(580);
    column->addWidget(StringGrid1, 1);
    column->addStretch(0);
    StaticText2 = TableGrid::CreateNotice(Panel5);
    Memo1 = new TMeasureBox(Panel5);
    ScrollBox1->setWidget(inside);

    // The grid's pop-up menu; its shortcuts act while the grid has the focus.
    PopupMenu4 = TableGrid::CreatePopupMenu(this, *StringGrid1, QStringLiteral("PopupMenu4"));
    auto makeItem = [this](const QString& name, const QString& text, const QKeySequence& key) {
        return TableGrid::AddMenuItem(*PopupMenu4, *StringGrid1, name, text, key);
    };
    MenuItem5 = makeItem(QStringLiteral("MenuItem5"), QStringLiteral("Новая строка"), QKeySequence(Qt::Key_Insert));
    N3 = makeItem(QStringLiteral("N3"), QStringLiteral("Изменить"), QKeySequence());
    N4 = PopupMenu4->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    MenuItem6 = makeItem(QStringLiteral("MenuItem6"), QStringLiteral("Удалить..."),
                         QKeySequence(Qt::CTRL | Qt::Key_Delete));

    connect(Button1, &QPushButton::clicked, this, &TTableForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTableForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TTableForm::Button3Click);
    connect(MenuItem5, &QAction::triggered, this, &TTableForm::Button1Click);
    connect(N3, &QAction::triggered, this, &TTableForm::Button2Click);
    connect(MenuItem6, &QAction::triggered, this, &TTableForm::Button3Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TTableForm::SpeedButton2Click);
    // Only a data row is edited by a double click: the heading is not a record.
    connect(StringGrid1, &StringGrid::CellDoubleClicked, this, [this](int, int row) {
        if (row >= StringGrid1->FixedRows() && row > 0) Button2Click();
    });
    connect(StringGrid1, &StringGrid::KeyPressed, this,
            [this](int key, Qt::KeyboardModifiers mods, bool& handled) {
                Guarded([&] { handled = StringGrid1KeyPress(key, mods); });
            });

    // Lay the hidden form out now, level by level (the scroll box's inside takes its size between).
    TableGrid::LayOutNow(*formLayout);
    ScrollBox1->widget()->resize(ScrollBox1->size());
    TableGrid::LayOutNow(*grid);
    TableGrid::LayOutNow(*column);
    StaticText2->setParent(StringGrid1);  // FormCreate: the notice lies over the grid
}

// --- Loading, filling and saving ---------------------------------------------------------

void TTableForm::PreFillRec()
{
    AddPlaceholder();
    loadedWhole_ = false;
    path_ = DataFiles::PathOf(params_.FileName);
    if (!DataFiles::CheckDelimiter()) {
        // Neither read nor, later, written.
        FillRec();
        return;
    }
    // Only a missing file counts as empty; one that is there but cannot be read is an error.
    if (!QFileInfo::exists(path_)) {
        loadedWhole_ = true;  // a missing file is created again by the next save
        FillRec();
        return;
    }
    DataFiles::LoadResult result;
    try {
        result = LoadRecords(path_);
    } catch (...) {
        FillRec();
        throw;
    }
    // An identifier that did not read would be written back as 0: such a file is not whole either.
    loadedWhole_ = result.Complete && result.BadKeys == 0;
    // The line that stopped the load holds values the file does not: only whole lines are shown.
    if (!result.Complete && result.Records > 0) DeleteRecord(RecordCount() - 1);
    FillRec();
    // A load stopped part-way is a read error of the file: the application's handler logs and
    // shows it. The window shows what was read and stays read-only until F5 reads it whole.
    if (!result.Complete) throw EConvertError(result.Error);
}

void TTableForm::FillRec()
{
    TableGrid::ClearRows(*StringGrid1, *StaticText2, width());
    const int count = RecordCount();
    if (count <= 1) {
        DeActivateMenu();
        TableGrid::ShowNotice(*StaticText2);
        SetEditControls(false);
        return;
    }
    StringGrid1->SetRowCount(count);
    for (int i = 1; i < count; ++i) {
        StringGrid1->SetCell(0, i, QString::number(i));
        const QStringList cells = RecordCells(i);
        for (int c = 0; c < cells.size(); ++c) StringGrid1->SetCell(c + 1, i, cells[c]);
    }
    SetEditControls(true);
    StringGrid1->SetFixedRows(1);
    ActivateMenu();
    StringGrid1->SetRow(1);
    StringGrid1->SetCol(1);
    if (AppConfig->WordWrap) GridResize();
}

void TTableForm::SetEditControls(bool hasRecords)
{
    // A file not read whole is never written, so nothing may change the list.
    const bool editable = loadedWhole_;
    StaticText3->setVisible(!editable);
    Button1->setEnabled(editable);
    MenuItem5->setEnabled(editable);
    Button2->setEnabled(editable && hasRecords);
    Button3->setEnabled(editable && hasRecords);
    N3->setEnabled(editable && hasRecords);
    MenuItem6->setEnabled(editable && hasRecords);
}

bool TTableForm::SaveRecs()
{
    if (!loadedWhole_) return false;
    if (!DataFiles::CheckDelimiter()) return false;
    try {
        SaveRecords(path_);
    } catch (const std::exception& e) {
        // The old file is intact and the list stays modified, so the next save tries again.
        DataFiles::ReportSaveError(ExceptionMessage(e));
        return false;
    }
    SetListModified(false);
    return true;
}

// --- Grid set-up, widths and painting ----------------------------------------------------------

void TTableForm::SetGridParams()
{
    const int cols = int(params_.Headings.size());
    StringGrid1->SetColCount(cols);
    for (int c = 0; c < cols && c < params_.ProvisionalFactors.size(); ++c)
        StringGrid1->SetColWidth(c, int(std::trunc(StringGrid1->ClientWidth() * params_.ProvisionalFactors[c])));
    ReadUserSettings();
    if (AppConfig->WordWrap) GridResize();
    for (int c = 0; c < cols; ++c) StringGrid1->SetCell(c, 0, params_.Headings[c]);
}

void TTableForm::ReadUserSettings()
{
    const QString error = TableGrid::ReadColumnWidths(*StringGrid1, params_.Section, params_.DefaultFactors);
    if (error.isEmpty()) return;
    ReportError(QStringLiteral("Ошибка чтения файла конфигурации."), error);
}

void TTableForm::SaveUserSettings()
{
    const QString error = TableGrid::SaveColumnWidths(*StringGrid1, params_.Section);
    if (error.isEmpty()) return;
    ReportError(QStringLiteral("Ошибка записи файла конфигурации."), error);
}

void TTableForm::GridResize()
{
    TableGrid::GridResize(*StringGrid1, *Memo1, LastCandidateColumn());
}

void TTableForm::StringGrid1DrawCell(QPainter& painter, int ACol, int ARow, const QRect& Rect,
                                     StringGrid::CellState State)
{
    TableGrid::DrawCell(painter, *StringGrid1, *Memo1, ACol, ARow, Rect, State, true);
}

void TTableForm::DrawHeaderCell(QPainter& painter, int ACol, int ARow, const QRect& Rect)
{
    TableGrid::DrawHeaderCell(painter, *StringGrid1, ACol, ARow, Rect);
}

void TTableForm::DrawDataCell(QPainter& painter, int ACol, int ARow, const QRect& Rect, int Mode)
{
    TableGrid::DrawDataCell(painter, *StringGrid1, *Memo1, ACol, ARow, Rect, Mode, true);
}

// --- Activation and closing -----------------------------------------------------------------------

void TTableForm::ActivateMenu()
{
    if (TDocumentHost* host = Host()) host->ActivateMenu(params_.Kind);
    for (QLabel* label : {StaticText1, StaticText2}) TableGrid::ApplyBackground(*label);
    TableGrid::ApplySettings(*StringGrid1);
}

void TTableForm::DeActivateMenu()
{
    if (TDocumentHost* host = Host()) host->DeActivateMenu();
}

void TTableForm::FormActivate()
{
    ActivateMenu();
    if (AppConfig->WordWrap) GridResize();
    // Opened or brought forward, the window takes the keys in its grid; a click that activated
    // it on the search box leaves the focus there.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus)) FocusGrid();
}

void TTableForm::FocusGrid()
{
    if (StringGrid1->isEnabled()) StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TTableForm::FormDeactivate()
{
    SaveHeld();
    DeActivateMenu();
}

bool TTableForm::SaveHeld()
{
    return !ListModified() || SaveRecs();
}

bool TTableForm::FormClose()
{
    // A change that could not be saved keeps the window open (the error box has said why),
    // so it is not lost with the list; the next close or deactivation tries again.
    if (!SaveHeld()) return false;
    if (AppConfig->AutoSave) SaveUserSettings();
    DeActivateMenu();
    return true;
}

void TTableForm::FormResize()
{
    if (AppConfig->WordWrap) GridResize();
}

void TTableForm::resizeEvent(QResizeEvent* event)
{
    TDocumentWindow::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

// --- Keys ----------------------------------------------------------------------------------------

bool TTableForm::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_F9 && held == Qt::ShiftModifier) {
        if (Dialogs::Confirm(QStringLiteral("Сохранить текущие настройки?"))) SaveUserSettings();
        return true;
    }
    if (key == Qt::Key_F5) {
        // The grid takes the keys again, also when the reload stops at an error.
        FocusGrid();
        Reload();
    }
    return false;
}

void TTableForm::Reload()
{
    // A change whose save failed is not dropped unasked: it is saved first, and while that
    // fails (the error box says why) the window keeps it.
    if (!SaveHeld()) return;
    ReadAfresh();
}

void TTableForm::ReadAfresh()
{
    NewList();
    PreFillRec();
}

bool TTableForm::StringGrid1KeyPress(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (StringGrid1->RowCount() > 1 && Button2->isEnabled()) Button2->click();
    return true;
}

bool TTableForm::Edit1KeyDown(int key)
{
    const int row = StringGrid1->Row();
    if (key == Qt::Key_Down && row < StringGrid1->RowCount() - 1) {
        StringGrid1->SetRow(row + 1);
        return true;
    }
    if (key == Qt::Key_Up && row > 1) {
        StringGrid1->SetRow(row - 1);
        return true;
    }
    return false;
}

bool TTableForm::Edit1KeyPress(int key, const QString& text)
{
    if (key == Qt::Key_Escape) {
        if (StringGrid1->isEnabled() && StringGrid1->isVisible()) StringGrid1->setFocus();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        SpeedButton2Click();
        Edit1->selectAll();
        return true;
    }
    // Only characters typed into the box count: Tab moves on and Delete is no character.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Delete) return false;
    if (!text.isEmpty() || key == Qt::Key_Backspace) SearchRestart = true;
    return false;
}

bool TTableForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    // Key preview: the window sees its controls' keys first, once per key: an ignored key that
    // travels on to the parents of its control is the same event again.
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (w != this && !isAncestorOf(w))) return false;
    if (event == previewEvent_ && previewTarget_ && w != previewTarget_ && w->isAncestorOf(previewTarget_))
        return false;
    previewEvent_ = event;
    previewTarget_ = w;
    bool consumed = false;
    Guarded([&] {
        consumed = FormKeyDown(ke->key(), ke->modifiers());
        if (!consumed && w == Edit1) consumed = Edit1KeyDown(ke->key()) || Edit1KeyPress(ke->key(), ke->text());
    });
    return consumed;
}

// --- Edit commands ---------------------------------------------------------------------------------

void TTableForm::Button1Click()
{
    Guarded([this] {
        if (!loadedWhole_) return;
        if (!AddRecord()) return;
        SetListModified(true);
        SaveRecs();
        FillRec();
    });
}

void TTableForm::Button2Click()
{
    Guarded([this] {
        if (!loadedWhole_ || StringGrid1->RowCount() < 2) return;
        const int row = StringGrid1->Row();
        if (!ChangeRecord(row)) return;
        SetListModified(true);
        SaveRecs();
        FillRec();
        StringGrid1->SetRow(row);
    });
}

void TTableForm::Button3Click()
{
    Guarded([this] {
        if (!loadedWhole_ || StringGrid1->RowCount() < 2) return;
        if (!TableGrid::ConfirmDelete()) return;
        DeleteRecord(StringGrid1->Row());
        FillRec();
        if (AppConfig->WordWrap) GridResize();
        SetListModified(true);
        SaveRecs();
    });
}

// --- Search ------------------------------------------------------------------------------------------

void TTableForm::SpeedButton2Click()
{
    Guarded([this] {
        const QString text = Edit1->text();
        if (text.isEmpty()) return;
        if (SearchRestart) SearchStartRow = 1;
        const QChar thousands = Regional::Current().ThousandSeparator;
        const int last = StringGrid1->RowCount() - 1;
        for (int r = SearchStartRow; r <= last; ++r) {
            for (int c = 0; c < StringGrid1->ColCount(); ++c) {
                QString cell = StringGrid1->Cell(c, r);
                cell.remove(thousands);
                if (!cell.contains(text, Qt::CaseInsensitive)) continue;
                StringGrid1->SetRow(r);
                SearchStartRow = (r == last) ? 1 : r + 1;
                SearchRestart = false;
                return;
            }
        }
        Dialogs::Information(QStringLiteral("Достигнут конец списка."));
        SearchRestart = true;
    });
}

// --- Copy and export --------------------------------------------------------------------------------

QStringList TTableForm::GridLines(bool quoteFirstColumn) const
{
    QStringList lines;
    for (int r = 0; r < StringGrid1->RowCount(); ++r) {
        QString line = StringGrid1->Cell(0, r);
        if (quoteFirstColumn) line = QLatin1Char('"') + line + QLatin1Char('"');
        for (int c = 1; c < StringGrid1->ColCount(); ++c) line += QLatin1Char('\t') + StringGrid1->Cell(c, r);
        lines.append(line);
    }
    return lines;
}

void TTableForm::CopyToClipBrd()
{
    const QStringList lines = GridLines(true);
    try {
        QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
        WriteLog(QStringLiteral("Данные скопированы в буфер обмена: ") + windowTitle());
        Dialogs::Information(QStringLiteral("Данные скопированы в буфер обмена."));
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("При копировании данных произошла ошибка!"), ExceptionMessage(e));
    }
}

void TTableForm::SaveToFile()
{
    Dialogs::FileRequest request;
    request.Filter = QStringLiteral("Текстовый файл (*.txt)|*.txt");
    request.DefaultExt = QStringLiteral("txt");
    const QString path = Dialogs::SaveFileName(request);
    if (path.isEmpty()) return;
    DataFiles::WriteLinesAtomic(path, GridLines(false));
    WriteLog(QStringLiteral("Данные сохранены во внешний файл: ") + windowTitle() + QStringLiteral(". Имя файла: ") +
             QFileInfo(path).absoluteFilePath());
}

// --- Printing ----------------------------------------------------------------------------------------

int TTableForm::BuildPrintJob(int mode)
{
    GridPrintJob::Options options;
    options.Title = StaticText1->text();
    if (AppConfig->PrintSubtitle)
        options.Subtitle = QStringLiteral("Дата распечатки ") + Regional::DateTimeToStr(Regional::Now());
    options.DocumentTitle = Host() ? Host()->PrintJobTitle() : QStringLiteral("Кестрова");
    options.Mode = mode;
    options.Owner = this;
    return GridPrintJob::Build(*StringGrid1, options);
}

void TTableForm::Print(int copies)
{
    JobGuard job;
    BuildPrintJob(3);
    GridPrintJob::PrintPages(copies);
}

void TTableForm::PrintEx()
{
    JobGuard job;
    const int pages = BuildPrintJob(3);
    Dialogs::PrintRequest local;
    Dialogs::PrintRequest& dialog = Host() ? Host()->PrintDialog() : local;
    dialog.MinPage = 1;
    dialog.MaxPage = pages;
    if (!Dialogs::ExecutePrintDialog(dialog)) return;
    GridPrintJob::PrintPages(dialog.Copies, dialog.FirstPage(), dialog.LastPage());
}

void TTableForm::PrintPreview()
{
    JobGuard job;
    BuildPrintJob(1);
    GridPrintJob::Preview(this);
}
