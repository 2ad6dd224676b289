// The settings dialog: every setting of tvk.ini on six pages; OK stores them all at once.
#include "ConnParams.h"

#include "AppConfig.h"
#include "ColorBox.h"
#include "DataFiles.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "DrawnIcon.h"
#include "Exceptions.h"
#include "MainForm.h"
#include "ProfileFile.h"
#include "Regional.h"
#include "ScreenPlacement.h"
#include "SpinEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QValidator>

#include <algorithm>

TfrmConnect* frmConnect = nullptr;

namespace {

// The colour pickers' defaults of "По умолчанию", ColorBox1 to ColorBox11 (the chart
// gradient's two are grey here, unlike the defaults of a missing key).
constexpr quint32 DefaultColors[11] = {15780518, 16444382, 15335378, 12303359, 16316664, 15335378,
                                       11599871, 16711680, 255,      16316664, 16316664};

const QStringList DelimiterEntries{QStringLiteral("#"), QStringLiteral("|"), QStringLiteral(":"),
                                   QStringLiteral(";"), QStringLiteral("Tab"), QStringLiteral("Space")};

// The delimiter field takes an entry whole, or one typed character.
class DelimiterValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        if (input.size() <= 1 || DelimiterEntries.contains(input)) return Acceptable;
        for (const QString& entry : DelimiterEntries)
            if (entry.startsWith(input)) return Intermediate;  // on the way back from an entry
        return Invalid;
    }
};

// The delimiter as the program uses it: the words stand for TAB and a blank.
QString DelimiterOf(const QString& text)
{
    if (text == QLatin1String("Tab")) return QStringLiteral("\t");
    if (text == QLatin1String("Space")) return QStringLiteral(" ");
    return text;
}

// And back, as the field shows it.
QString DelimiterText(const QString& delimiter)
{
    if (delimiter == QLatin1String("\t")) return QStringLiteral("Tab");
    if (delimiter == QLatin1String(" ")) return QStringLiteral("Space");
    return delimiter;
}

QIcon FolderIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(140, 110, 30), 0.8));
        p.setBrush(QColor(250, 215, 110));
        QPainterPath path;
        path.moveTo(1.5, 3.5);
        path.lineTo(6, 3.5);
        path.lineTo(7.5, 5);
        path.lineTo(14.5, 5);
        path.lineTo(14.5, 13.5);
        path.lineTo(1.5, 13.5);
        path.closeSubpath();
        p.drawPath(path);
    });
}

QString Flag(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

TfrmConnect::TfrmConnect(QWidget* owner) : QDialog(owner)
{
    frmConnect = this;
    setObjectName(QStringLiteral("frmConnect"));
    setWindowTitle(QStringLiteral("Параметры"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(526, 313);
    BuildPages();
    FormCreate();
}

TfrmConnect::~TfrmConnect()
{
    if (frmConnect == this) frmConnect = nullptr;
}

void TfrmConnect::BuildPages()
{
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto label = [](QWidget* parent, const QString& text, int x, int y, int w = 160) {
        auto* l = new QLabel(text, parent);
        l->setGeometry(x, y, w, 20);
        return l;
    };
    auto check = [&named](QWidget* parent, const char* name, const QString& text, int x, int y, int w = 220) {
        auto* c = named(new QCheckBox(text, parent), name);
        c->setGeometry(x, y, w, 20);
        return c;
    };
    auto spin = [&named](QWidget* parent, const char* name, int x, int y, int min, int max, int chars, int w = 56) {
        auto* s = named(new SpinEdit(parent), name);
        s->SetRange(min, max);
        if (chars > 0) s->SetMaxLength(chars);
        s->setGeometry(x, y, w, 22);
        return s;
    };
    auto group = [](QWidget* parent, const QString& title, int x, int y, int w, int h) {
        auto* g = new QGroupBox(title, parent);
        g->setGeometry(x, y, w, h);
        return g;
    };

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->setGeometry(4, 4, 518, 266);
    auto page = [this](const char* name, const QString& caption) {
        auto* p = new QWidget();
        p->setObjectName(QLatin1String(name));
        PageControl1->addTab(p, caption);
        return p;
    };

    // "Таблицы"
    QWidget* tables = page("TabSheet1", QStringLiteral("Таблицы"));
    label(tables, QStringLiteral("Высота строки в таблице"), 12, 14);
    SpinEdit2 = spin(tables, "SpinEdit2", 180, 12, 15, 70, 2);
    SpinEdit2->setToolTip(QStringLiteral("Пикселы"));
    QGroupBox* lines = group(tables, QStringLiteral("Линии"), 12, 44, 236, 72);
    CheckBox3 = check(lines, "CheckBox3", QStringLiteral("Вертикальные"), 12, 20, 200);
    CheckBox4 = check(lines, "CheckBox4", QStringLiteral("Горизонтальные"), 12, 44, 200);
    CheckBox1 = check(tables, "CheckBox1", QStringLiteral("Переносить по словам"), 12, 126);
    // Settings of the original that nothing reads: kept, filled and stored, never shown.
    QLabel* decimals = label(tables, QStringLiteral("Число десятичных знаков"), 264, 14);
    SpinEdit1 = spin(tables, "SpinEdit1", 430, 12, 0, 4, 1);
    SpinEdit1->setToolTip(QStringLiteral("Количество знаков после запятой"));
    QLabel* detail = label(tables, QStringLiteral("Уровень детализации"), 264, 44);
    ComboBox1 = named(new QComboBox(tables), "ComboBox1");
    ComboBox1->addItems({QStringLiteral("за месяц"), QStringLiteral("за квартал"), QStringLiteral("за год")});
    ComboBox1->setGeometry(264, 64, 160, 22);
    QGroupBox* sums = group(tables, QStringLiteral("Вычисления"), 264, 96, 236, 72);
    RadioButton1 = named(new QRadioButton(QStringLiteral("Автоматически"), sums), "RadioButton1");
    RadioButton1->setGeometry(12, 20, 200, 20);
    RadioButton2 = named(new QRadioButton(QStringLiteral("Вручную"), sums), "RadioButton2");
    RadioButton2->setGeometry(12, 44, 200, 20);
    CheckBox6 = check(tables, "CheckBox6", QStringLiteral("Автозамена значений"), 264, 176);
    CheckBox8 = check(tables, "CheckBox8", QStringLiteral("Сохранять строки с нулевым итогом"), 264, 200, 240);
    for (QWidget* w : std::initializer_list<QWidget*>{decimals, SpinEdit1, detail, ComboBox1, sums, CheckBox6, CheckBox8})
        w->hide();

    // "Константы"
    QWidget* constants = page("TabSheet2", QStringLiteral("Константы"));
    label(constants, QStringLiteral("Разделитель"), 12, 14, 100);
    ComboBox3 = named(new QComboBox(constants), "ComboBox3");
    ComboBox3->setEditable(true);
    ComboBox3->setInsertPolicy(QComboBox::NoInsert);
    ComboBox3->addItems(DelimiterEntries);
    ComboBox3->setValidator(new DelimiterValidator(ComboBox3));
    ComboBox3->setGeometry(120, 12, 90, 22);
    QLabel* tax = label(constants, QStringLiteral("Ставка НДС"), 12, 48, 100);
    Edit2 = named(new QLineEdit(constants), "Edit2");
    Edit2->setGeometry(120, 46, 90, 22);
    QLabel* period = label(constants, QStringLiteral("Срок эксплуатации ОС"), 12, 80, 150);
    SpinEdit10 = spin(constants, "SpinEdit10", 170, 78, 0, 254, 1);
    SpinEdit10->setToolTip(QStringLiteral("Количество знаков после запятой"));
    QLabel* years = label(constants, QStringLiteral("лет"), 232, 80, 40);
    QLabel* angle = label(constants, QStringLiteral("Угол поворота"), 12, 112, 100);
    Edit3 = named(new QLineEdit(constants), "Edit3");
    Edit3->setGeometry(120, 110, 90, 22);
    for (QWidget* w : std::initializer_list<QWidget*>{tax, Edit2, period, SpinEdit10, years, angle, Edit3}) w->hide();

    // "Цвета"
    QWidget* colors = page("TabSheet3", QStringLiteral("Цвета"));
    static const char* const boxNames[11] = {"ColorBox1", "ColorBox2", "ColorBox3", "ColorBox4",
                                             "ColorBox5", "ColorBox6", "ColorBox7", "ColorBox8",
                                             "ColorBox9", "ColorBox10", "ColorBox11"};
    for (int i = 0; i < 11; ++i) {
        ColorBoxes[i] = named(new ColorBox(colors), boxNames[i]);
        ColorBoxes[i]->AddCustomEntry();
    }
    for (int i = 0; i < 7; ++i) {
        label(colors, QStringLiteral("Цвет фона № %1").arg(i + 1), 12, 12 + 28 * i, 110);
        ColorBoxes[i]->setGeometry(124, 10 + 28 * i, 130, 22);
    }
    for (int i = 0; i < 2; ++i) {
        label(colors, QStringLiteral("Цвет текста № %1").arg(i + 1), 268, 12 + 28 * i, 110);
        ColorBoxes[7 + i]->setGeometry(376, 10 + 28 * i, 130, 22);
    }
    label(colors, QStringLiteral("Фон диаграмм"), 268, 68, 110);
    ColorBoxes[9]->setGeometry(376, 66, 130, 22);
    ColorBoxes[9]->setToolTip(QStringLiteral("Начало градиента"));
    ColorBoxes[10]->setGeometry(376, 94, 130, 22);
    ColorBoxes[10]->setToolTip(QStringLiteral("Конец градиента"));
    CheckBox7 = check(colors, "CheckBox7", QStringLiteral("Чередовать цвет строк"), 268, 134);
    Button4 = named(new QPushButton(QStringLiteral("По умолчанию"), colors), "Button4");
    Button4->setGeometry(376, 206, 130, 25);

    // "Печать"
    QWidget* print = page("TabSheet4", QStringLiteral("Печать"));
    QGroupBox* margins = group(print, QStringLiteral("Поля"), 12, 8, 236, 84);
    label(margins, QStringLiteral("Верхнее:"), 12, 22, 60);
    SpinEdit3 = spin(margins, "SpinEdit3", 72, 20, 0, 0, 0, 48);
    label(margins, QStringLiteral("Левое:"), 126, 22, 50);
    SpinEdit4 = spin(margins, "SpinEdit4", 176, 20, 0, 0, 0, 48);
    label(margins, QStringLiteral("Нижнее:"), 12, 52, 60);
    SpinEdit5 = spin(margins, "SpinEdit5", 72, 50, 0, 0, 0, 48);
    label(margins, QStringLiteral("Правое:"), 126, 52, 50);
    SpinEdit6 = spin(margins, "SpinEdit6", 176, 50, 0, 0, 0, 48);
    QGroupBox* grid = group(print, QStringLiteral("Линии сетки"), 12, 98, 236, 84);
    CheckBox9 = check(grid, "CheckBox9", QStringLiteral("Печатать линии сетки"), 12, 20, 210);
    Label28 = named(label(grid, QStringLiteral("Тонкая:"), 12, 52, 54), "Label28");
    SpinEdit8 = spin(grid, "SpinEdit8", 66, 50, 1, 50, 2, 48);
    Label27 = named(label(grid, QStringLiteral("Жирная:"), 124, 52, 54), "Label27");
    SpinEdit7 = spin(grid, "SpinEdit7", 178, 50, 1, 50, 2, 48);
    QGroupBox* font = group(print, QStringLiteral("Шрифт"), 264, 8, 242, 84);
    label(font, QStringLiteral("Мастшаб:"), 12, 22, 66);
    SpinEdit9 = spin(font, "SpinEdit9", 80, 20, 1, 999, 3, 56);
    label(font, QStringLiteral("%"), 140, 22, 20);
    ComboBox2 = named(new QComboBox(font), "ComboBox2");
    ComboBox2->setToolTip(QStringLiteral("Шрифт"));
    ComboBox2->setGeometry(12, 50, 218, 22);
    CheckBox10 = check(print, "CheckBox10", QStringLiteral("Номера страниц"), 276, 104);
    CheckBox11 = check(print, "CheckBox11", QStringLiteral("Дата печати"), 276, 128);
    CheckBox13 = check(print, "CheckBox13", QStringLiteral("Легенда"), 276, 152);
    CheckBox12 = check(print, "CheckBox12", QStringLiteral("Фон на диаграммах"), 276, 176);

    // "Подключение"
    QWidget* connection = page("TabSheet5", QStringLiteral("Подключение"));
    // A path: its caption, the edit box and the chooser button beside it.
    auto path = [&](const QString& caption, int y, const char* editName, QLineEdit*& edit, const char* buttonName,
                    QToolButton*& button) {
        label(connection, caption, 12, y, 200);
        edit = named(new QLineEdit(connection), editName);
        edit->setGeometry(12, y + 20, 462, 22);
        button = named(new QToolButton(connection), buttonName);
        button->setAutoRaise(true);
        button->setIcon(FolderIcon());
        button->setToolTip(QStringLiteral("Выбрать"));
        button->setGeometry(478, y + 20, 22, 22);
    };
    path(QStringLiteral("Расположение БД"), 12, "Edit1", Edit1, "SpeedButton4", SpeedButton4);
    path(QStringLiteral("Карта"), 64, "Edit4", Edit4, "SpeedButton5", SpeedButton5);

    // "Сохранение"
    QWidget* saving = page("TabSheet6", QStringLiteral("Сохранение"));
    QGroupBox* user = group(saving, QStringLiteral("Пользовательские настройки"), 12, 8, 488, 56);
    CheckBox2 = check(user, "CheckBox2", QStringLiteral("Автоматическое сохраниение настроек пользователя"), 12, 22, 460);
    CheckBox5 = check(saving, "CheckBox5",
                      QStringLiteral("Делать резервную копию БД при выходе из программы (экспресс архив)"), 12, 74, 488);
    CheckBox5->hide();

    Button1 = named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    Button1->setGeometry(362, 280, 75, 25);
    Button1->setDefault(true);
    Button2 = named(new QPushButton(QStringLiteral("Отмена"), this), "Button2");
    Button2->setGeometry(444, 280, 75, 25);
    PageControl1->setCurrentIndex(0);

    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
    connect(Button4, &QPushButton::clicked, this, [this] { Guarded([this] { Button4Click(); }); });
    connect(CheckBox9, &QCheckBox::toggled, this, [this] { Guarded([this] { CheckBox9Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton4Click(); }); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton5Click(); }); });
}

void TfrmConnect::FormCreate()
{
    // What the file holds now: changes in memory since the last write are dropped.
    LoadConfig(DefaultFontName(parentWidget()));

    // By family name alone: a family that several foundries make is listed once.
    QStringList fonts;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(QStringLiteral(" ["));
        if (foundry > 0 && family.endsWith(QLatin1Char(']'))) family.truncate(foundry);
        fonts << family;
    }
    fonts << QStringLiteral("Default");
    fonts.removeDuplicates();
    std::sort(fonts.begin(), fonts.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    ComboBox2->addItems(fonts);

    ShowConfig(*AppConfig);
}

void TfrmConnect::ShowConfig(const TAppConfig& c)
{
    Edit2->setText(Regional::FloatToStr(c.TaxRate));
    Edit3->setText(Regional::FloatToStr(c.RotateAngle));
    ComboBox3->setEditText(DelimiterText(c.Delimiter));

    const quint32 colors[11] = {c.Bgc1, c.Bgc2, c.Bgc3, c.Bgc4, c.Bgc5, c.Bgc6, c.Bgc7, c.Fc1, c.Fc2, c.Bgc8, c.Bgc9};
    for (int i = 0; i < 11; ++i) ColorBoxes[i]->SetSelected(colors[i]);
    Edit1->setText(c.DBPath);
    Edit4->setText(c.MapFile);

    const std::pair<QCheckBox*, bool> checks[] = {
        {CheckBox3, c.VLines},       {CheckBox4, c.GLines},        {CheckBox1, c.WordWrap},
        {CheckBox6, c.ReplaceValues}, {CheckBox8, c.SaveBlankRows}, {CheckBox7, c.LinesColor},
        {CheckBox10, c.PrintPageNum}, {CheckBox11, c.PrintSubtitle}, {CheckBox13, c.PrintLegend},
        {CheckBox12, c.GraphBg},     {CheckBox2, c.AutoSave},      {CheckBox5, c.AutoBackup}};
    for (const auto& [box, value] : checks) box->setChecked(value);
    const std::pair<SpinEdit*, int> spins[] = {
        {SpinEdit2, c.RowHeight},    {SpinEdit1, c.DecCount},   {SpinEdit10, c.FAUsagePeriod},
        {SpinEdit3, c.TopMargin},    {SpinEdit4, c.LeftMargin}, {SpinEdit5, c.BottomMargin},
        {SpinEdit6, c.RightMargin},  {SpinEdit8, c.RegLine},    {SpinEdit7, c.BoldLine},
        {SpinEdit9, c.Scale}};
    for (const auto& [spin, value] : spins) spin->SetValue(value);
    (c.AutoSum ? RadioButton1 : RadioButton2)->setChecked(true);
    ComboBox1->setCurrentIndex(c.DetLevel >= 1 && c.DetLevel <= 3 ? c.DetLevel - 1 : -1);

    const int font = ComboBox2->findText(c.FontName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ComboBox2->setCurrentIndex(font >= 0 ? font : 0);

    CheckBox9->setChecked(c.PrintGrid);
    CheckBox9Click();
}

bool TfrmConnect::TakeConfig(TAppConfig& c, QString& delimiterText)
{
    double taxRate = 0, rotateAngle = 0;
    const std::tuple<QLineEdit*, double*, const char*> numbers[] = {
        {Edit2, &taxRate, "Введенная ставка НДС не является числом"},
        {Edit3, &rotateAngle, "Введенный угол поворота изображения не является числом"}};
    for (const auto& [edit, value, warning] : numbers)
        if (!Regional::TryStrToFloat(edit->text(), *value)) {
            Dialogs::Warning(QString::fromUtf8(warning));
            if (edit->isVisible() && edit->isEnabled()) edit->setFocus();
            return false;
        }

    // A blank cannot be stored (a value loses its blanks): it goes in as the word.
    delimiterText = ComboBox3->currentText();
    if (delimiterText == QLatin1String(" ")) delimiterText = QStringLiteral("Space");
    const QString problem = DataFiles::DelimiterProblem(DelimiterOf(delimiterText));
    if (!problem.isEmpty()) {
        Dialogs::Warning(problem);
        PageControl1->setCurrentIndex(1);
        ComboBox3->setFocus();
        return false;
    }

    c.TaxRate = taxRate;
    c.RotateAngle = rotateAngle;
    c.Delimiter = DelimiterOf(delimiterText);
    quint32* colors[11] = {&c.Bgc1, &c.Bgc2, &c.Bgc3, &c.Bgc4, &c.Bgc5, &c.Bgc6, &c.Bgc7, &c.Fc1, &c.Fc2, &c.Bgc8, &c.Bgc9};
    for (int i = 0; i < 11; ++i) *colors[i] = ColorBoxes[i]->Selected();
    c.DBPath = Edit1->text();
    c.MapFile = Edit4->text();
    const std::pair<QCheckBox*, bool*> checks[] = {
        {CheckBox3, &c.VLines},       {CheckBox4, &c.GLines},        {CheckBox1, &c.WordWrap},
        {CheckBox6, &c.ReplaceValues}, {CheckBox8, &c.SaveBlankRows}, {CheckBox7, &c.LinesColor},
        {CheckBox10, &c.PrintPageNum}, {CheckBox11, &c.PrintSubtitle}, {CheckBox13, &c.PrintLegend},
        {CheckBox12, &c.GraphBg},     {CheckBox2, &c.AutoSave},      {CheckBox5, &c.AutoBackup},
        {CheckBox9, &c.PrintGrid}};
    for (const auto& [box, field] : checks) *field = box->isChecked();
    c.RowHeight = uint8_t(SpinEdit2->Value());
    c.DecCount = uint8_t(SpinEdit1->Value());
    c.FAUsagePeriod = uint8_t(SpinEdit10->Value());
    c.TopMargin = SpinEdit3->Value();
    c.LeftMargin = SpinEdit4->Value();
    c.BottomMargin = SpinEdit5->Value();
    c.RightMargin = SpinEdit6->Value();
    // No grid lines printed: the printing code reads widths of 0.
    c.RegLine = c.PrintGrid ? SpinEdit8->Value() : 0;
    c.BoldLine = c.PrintGrid ? SpinEdit7->Value() : 0;
    c.Scale = SpinEdit9->Value();
    c.AutoSum = RadioButton1->isChecked();
    c.DetLevel = uint8_t(ComboBox1->currentIndex() + 1);
    c.FontName = ComboBox2->currentText();
    return true;
}

void TfrmConnect::Button1Click()
{
    TAppConfig c = *AppConfig;
    QString delimiterText;
    if (!TakeConfig(c, delimiterText)) return;
    if (c.DBPath != AppConfig->DBPath && DatabaseChanging && !DatabaseChanging()) return;

    const QString server = QStringLiteral("server"), colors = QStringLiteral("colors"),
                  options = QStringLiteral("options"), tables = QStringLiteral("tables"),
                  print = QStringLiteral("print"), constants = QStringLiteral("constants");
    auto number = [](qint64 v) { return QString::number(v); };
    const QList<TIniFile::Entry> entries{
        {server, QStringLiteral("adosource"), c.DBPath},
        {server, QStringLiteral("mapfile"), c.MapFile},
        {colors, QStringLiteral("bgc1"), number(qint32(c.Bgc1))},
        {colors, QStringLiteral("bgc2"), number(qint32(c.Bgc2))},
        {colors, QStringLiteral("bgc3"), number(qint32(c.Bgc3))},
        {colors, QStringLiteral("bgc4"), number(qint32(c.Bgc4))},
        {colors, QStringLiteral("bgc5"), number(qint32(c.Bgc5))},
        {colors, QStringLiteral("bgc6"), number(qint32(c.Bgc6))},
        {colors, QStringLiteral("bgc7"), number(qint32(c.Bgc7))},
        {colors, QStringLiteral("bgc8"), number(qint32(c.Bgc8))},
        {colors, QStringLiteral("bgc9"), number(qint32(c.Bgc9))},
        {colors, QStringLiteral("fc1"), number(qint32(c.Fc1))},
        {colors, QStringLiteral("fc2"), number(qint32(c.Fc2))},
        {options, QStringLiteral("autosave"), Flag(c.AutoSave)},
        {options, QStringLiteral("autobackup"), Flag(c.AutoBackup)},
        {tables, QStringLiteral("rowheight"), number(c.RowHeight)},
        {tables, QStringLiteral("detlevel"), number(c.DetLevel)},
        {tables, QStringLiteral("deccount"), number(c.DecCount)},
        {tables, QStringLiteral("wordwrap"), Flag(c.WordWrap)},
        {tables, QStringLiteral("autosum"), Flag(c.AutoSum)},
        {tables, QStringLiteral("replacevalues"), Flag(c.ReplaceValues)},
        {tables, QStringLiteral("linescolor"), Flag(c.LinesColor)},
        {tables, QStringLiteral("graphbg"), Flag(c.GraphBg)},
        {tables, QStringLiteral("saveblankrows"), Flag(c.SaveBlankRows)},
        {tables, QStringLiteral("glines"), Flag(c.GLines)},
        {tables, QStringLiteral("vlines"), Flag(c.VLines)},
        {print, QStringLiteral("topmargin"), number(c.TopMargin)},
        {print, QStringLiteral("bottommargin"), number(c.BottomMargin)},
        {print, QStringLiteral("leftmargin"), number(c.LeftMargin)},
        {print, QStringLiteral("rightmargin"), number(c.RightMargin)},
        {print, QStringLiteral("boldline"), number(c.BoldLine)},
        {print, QStringLiteral("regline"), number(c.RegLine)},
        {print, QStringLiteral("scale"), number(c.Scale)},
        {print, QStringLiteral("printpagenum"), Flag(c.PrintPageNum)},
        {print, QStringLiteral("printsubtitle"), Flag(c.PrintSubtitle)},
        {print, QStringLiteral("printgrid"), Flag(c.PrintGrid)},
        {print, QStringLiteral("printlegend"), Flag(c.PrintLegend)},
        {print, QStringLiteral("fontname"), c.FontName},
        {constants, QStringLiteral("taxrate"), Regional::FloatToStr(c.TaxRate)},
        {constants, QStringLiteral("rotateangle"), Regional::FloatToStr(c.RotateAngle)},
        {constants, QStringLiteral("fausageperiod"), number(c.FAUsagePeriod)},
        // The words "Tab" and "Space" go in as words.
        {constants, QStringLiteral("delimeterstring"), delimiterText},
    };
    // One replace of the file: it holds all the new values or, on failure, all the old ones,
    // and so do the settings of the run.
    try {
        TIniFile(ConfigFileName()).WriteValues(entries);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Ошибка записи файла конфигурации"), ExceptionMessage(e),
                    QStringLiteral("ОШИБКА! № "));
        reject();
        return;
    }
    *AppConfig = c;
    accept();
}

void TfrmConnect::Button2Click()
{
    reject();
}

void TfrmConnect::Button4Click()
{
    // Only the pickers: the colours take effect with OK, as every other setting does.
    for (int i = 0; i < 11; ++i) ColorBoxes[i]->SetSelected(DefaultColors[i]);
}

void TfrmConnect::CheckBox9Click()
{
    const bool on = CheckBox9->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{Label27, Label28, SpinEdit7, SpinEdit8}) w->setEnabled(on);
}

bool TfrmConnect::FormKeyDown(int key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key != Qt::Key_End || held != Qt::ControlModifier) return false;
    Button1Click();
    return true;
}

void TfrmConnect::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    Guarded([&] { handled = FormKeyDown(event->key(), event->modifiers()); });
    if (handled) event->accept();
    else QDialog::keyPressEvent(event);
}

void TfrmConnect::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the desktop, not over the main window.
    CentreOnScreen(*this, event);
}

void TfrmConnect::SpeedButton4Click()
{
    Dialogs::FileRequest request;
    request.Title = QStringLiteral("Расположение БД");
    request.InitialDir = Edit1->text();
    const QString chosen = Dialogs::FolderName(request);
    // Stored without a trailing slash, as every data-file path adds one.
    if (!chosen.isEmpty()) Edit1->setText(QDir::cleanPath(QFileInfo(chosen).absoluteFilePath()));
}

void TfrmConnect::SpeedButton5Click()
{
    Dialogs::FileRequest request;
    request.Title = QStringLiteral("Открыть файл...");
    request.Filter = QStringLiteral(
        "Все изображения (*.jpg;*.jpeg;*.bmp)|*.jpg;*.jpeg;*.bmp|Изображения JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|"
        "Точечные рисунки (*.bmp)|*.bmp");
    request.FileName = Edit4->text();
    request.Picture = true;
    const QString chosen = Dialogs::OpenFileName(request);
    if (!chosen.isEmpty()) Edit4->setText(QFileInfo(chosen).absoluteFilePath());
}
