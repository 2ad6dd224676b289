// The map window: loading, colouring by a research, intervals, the legend command.
#include "DatabaseFixture.h"
#include "EditLegend.h"
#include "Exceptions.h"
#include "Pictures.h"
#include "DragScroll.h"
#include "Printer.h"
#include "ViewOnMap.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QProcess>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace ViewOnMap;

namespace {

constexpr TColor Bgc3 = 15335378;
constexpr TColor Bgc4 = 12303359;

// A 700 x 420 map: six areas in the top-left block, the rest a white sea that holds the legend.
//   A1 (0..99, 0..99)    B1 (101..199, 0..99)    C: right cell above the diagonal
//   A2 (0..99, 101..199) B2 (101..199, 101..199) D: right cell below the diagonal
// The one-pixel diagonal's two sides touch only at corners, which a 4-connected fill must not cross.
QImage TestMap(const QVector<QLine>& extra = {})
{
    QImage map(700, 420, QImage::Format_RGB32);
    map.fill(Qt::white);
    QPainter(&map).drawLines(QVector<QLine>{{100, 0, 100, 200}, {200, 0, 200, 200}, {300, 0, 300, 200},
                                            {0, 100, 200, 100}, {0, 200, 300, 200}, {201, 0, 299, 98}} + extra);
    return map;
}

// Region 1 in A1, 2 in B1, 3 in A2 and B2, 4 in C, district 1 in D, region 5 on the A1/B1 border.
const QStringList Links = {"0;1;50;50", "0;2;150;50", "0;3;50;150", "0;3;150;150", "0;4;290;20", "1;1;210;150", "0;5;100;50"};

// 1 numeric of regions, 2 logical of regions, 3 numeric of federal districts, 4 numeric with a negative value.
const QStringList Register = {"1;Численность населения;0;1", "2;Наличие вуза;0;0", "3;Объём производства;1;1", "4;Прирост;0;1"};

const QStringList Measurements = {
    // Place 2 first has 2 (first interval: stays white), then 10 paints it; place 5 is the border seed.
    "1;1;1;01.02.2005;10:00:00;10", "2;1;2;01.02.2005;10:00:00;2", "3;1;2;01.02.2005;10:00:00;10",
    "4;1;3;01.02.2005;10:00:00;7.9", "5;1;4;01.02.2005;10:00:00;5.3", "6;1;5;01.02.2005;10:00:00;10",
    // Logical: 0 is true, 1 and 2 both false. Research 4's -3 lies in no interval.
    "1;2;1;01.02.2005;10:00:00;0", "2;2;2;01.02.2005;10:00:00;1", "3;2;3;01.02.2005;10:00:00;2",
    "1;3;1;01.02.2005;10:00:00;40", "1;4;1;01.02.2005;10:00:00;8", "2;4;4;01.02.2005;10:00:00;-3",
};

using Answer = std::function<void(TfrmEditForm4&)>;

class MapWindow : public DatabaseFixture {
protected:
    void SetUp() override
    {
        DatabaseFixture::SetUp();
        AppConfig->MapFile = DataPath(QStringLiteral("map.bmp"));
        AppConfig->Bgc3 = Bgc3;
        AppConfig->Bgc4 = Bgc4;
        AppConfig->Bgc5 = 0x80FF80;
        Pictures::SaveBitmap(TestMap(), AppConfig->MapFile);
        WriteData(QStringLiteral("ksLinksToMap.txt"), Links);
        WriteData(QStringLiteral("ksResearchRegister.txt"), Register);
        WriteData(QStringLiteral("ksMesurements.txt"), Measurements);
    }

    // As the program's writers do it: a new file renamed over the old one.
    void ReplaceMeasurements(const QStringList& lines)
    {
        WriteData(QStringLiteral("ksMesurements.new"), lines);
        QFile::remove(DataPath(QStringLiteral("ksMesurements.txt")));
        ASSERT_TRUE(QFile::rename(DataPath(QStringLiteral("ksMesurements.new")), DataPath(QStringLiteral("ksMesurements.txt"))));
    }

    TfrmGraphForm& Open() { form = std::make_unique<TfrmGraphForm>(); form->Load(); return *form; }
    static void Choose(TfrmGraphForm& w, int index) { w.ComboBox1->setCurrentIndex(index); w.ComboBox1Change(); }
    void Choose(int index) { Choose(*form, index); }
    TColor At(int x, int y) const { return Pictures::PixelColor(form->Image1->Picture, x, y); }

    // The legend command through its button, its dialog answered by answer.
    static void LegendCommand(TfrmGraphForm& w, const Answer& answer)
    {
        QTimer::singleShot(0, [answer] { ASSERT_NE(frmEditForm4, nullptr); answer(*frmEditForm4); });
        w.SpeedButton1->click();
    }
    void LegendCommand(const Answer& answer) { LegendCommand(*form, answer); }

    // Chooses research i as the user does; returns the message of an error left unhandled.
    QString Activate(int i) { form->ComboBox1->setCurrentIndex(i); return Unhandled([&] { emit form->ComboBox1->activated(i); }); }

    // The message that reaches the unhandled-error handler while step runs.
    static QString Unhandled(const std::function<void()>& step)
    {
        QString shown;
        SetUnhandledExceptionHandler([&](const QString& m) { shown = m; });
        Guarded(step);
        SetUnhandledExceptionHandler(nullptr);
        return shown;
    }

    std::unique_ptr<TfrmGraphForm> form;
};

TEST_F(MapWindow, LoadsWithNothingSelectedAndStopsAtABadRegisterOrDelimiter)
{
    TfrmGraphForm& w = Open();
    ASSERT_EQ(w.ComboBox1->count(), 4);
    EXPECT_EQ(w.ComboBox1->itemText(1), QStringLiteral("Наличие вуза"));
    EXPECT_EQ(w.ComboBox1->currentIndex(), -1);
    EXPECT_TRUE(w.Legend->AutoIntervals && !w.Legend->AddLegend && w.Legend->IntervalCount == 4 && w.Legend->Color == clGreen);
    w.FormActivate();
    EXPECT_EQ(QColorToColor(w.StaticText1->palette().color(QPalette::Window)), TColor(0x80FF80));
    w.CheckBox1->click();  // nothing selected: changes nothing
    EXPECT_EQ(w.StaticText1->text(), QStringLiteral("ГРАФИКА"));
    EXPECT_TRUE(dialogs_->Messages.isEmpty());

    // A level that is not a number is left unhandled, after the names read before it.
    WriteData(QStringLiteral("ksResearchRegister.txt"), {"1;Первое;0;1", "2;Второе;x;1", "3;Третье;0;1"});
    EXPECT_THROW(Open(), EConvertError);
    EXPECT_TRUE(form->ComboBox1->count() == form->Researches->Count() && form->ComboBox1->count() >= 1);

    AppConfig->Delimiter = QStringLiteral("Tab;");
    Open();
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 1);
    EXPECT_EQ(form->Points->Count() + form->ComboBox1->count(), 0);
}

TEST_F(MapWindow, NumericResearchPaintsEachAreaInItsIntervalColour)
{
    Open();
    Choose(0);
    EXPECT_EQ(form->StaticText1->text(), QStringLiteral("ЧИСЛЕННОСТЬ НАСЕЛЕНИЯ"));
    // Maximum 10, four intervals 0-2.5-5-7.5-10; with "Интервалы интенсивности" on the colours
    // are white, clGreen lightened 67 %, clMaroon 34 %, clRed.
    struct Pixel { int X, Y; TColor Off, On; };
    const Pixel pixels[] = {
        {50, 50, clGreen, clRed},                                // 10: the last interval
        {150, 50, clGreen, clRed},                               // 2 (white) first, then 10 paints it
        // 7.9 floors to 7, in both areas of the place.
        {50, 150, Lighten(clGreen, 34), Lighten(clMaroon, 34)}, {150, 150, Lighten(clGreen, 34), Lighten(clMaroon, 34)},
        {290, 20, Lighten(clGreen, 67), Lighten(clGreen, 67)},   // 5.3: the lower interval wins the shared bound
        {298, 1, Lighten(clGreen, 67), Lighten(clGreen, 67)},    // C filled into its corner
        {210, 150, clWhite, clWhite}, {202, 2, clWhite, clWhite}, // D: the diagonal holds, other level untouched
        {100, 50, clBlack, clBlack}, {500, 300, clWhite, clWhite}, // the border seed is skipped; the sea
    };
    for (const Pixel& p : pixels) EXPECT_EQ(At(p.X, p.Y), p.Off) << p.X << "," << p.Y;
    form->CheckBox1->click();
    for (const Pixel& p : pixels) EXPECT_EQ(At(p.X, p.Y), p.On) << p.X << "," << p.Y;
    EXPECT_TRUE(dialogs_->Messages.isEmpty());

    // Clearing from the border seed would have turned the whole connected outline white.
    form->ClearMap();
    EXPECT_EQ(At(100, 150), clBlack);
    EXPECT_EQ(At(50, 50), clWhite);
}

TEST_F(MapWindow, LogicalOtherLevelAndValuesInNoInterval)
{
    Open();
    Choose(2);  // federal: district 1 in D; 40 lies in the last interval
    EXPECT_EQ(At(210, 150), clGreen);
    Choose(1);  // logical, regional: clears only the region points' areas
    EXPECT_EQ(At(210, 150), clGreen);
    EXPECT_EQ(At(50, 50), Bgc4);    // 0 is true
    EXPECT_EQ(At(150, 50), Bgc3);   // 1 is false
    EXPECT_EQ(At(150, 150), Bgc3);  // 2 counts as false too
    EXPECT_EQ(At(290, 20), clWhite);
    // A negative value lies in no interval: its area is left white, not painted with the value taken for a colour.
    Choose(3);
    EXPECT_EQ(At(50, 50), clGreen);
    EXPECT_EQ(At(290, 20), clWhite);
}

TEST_F(MapWindow, ChangedOrMissingMeasurementsFile)
{
    Open();
    Choose(0);
    ReplaceMeasurements(QStringList{"1;1;1;01.02.2005;10:00:00;00"} + Measurements.mid(1));  // same size, new content
    Choose(0);
    EXPECT_EQ(At(50, 50), clWhite);

    // Without the file only the caption changes (intervals from a maximum of 0).
    QFile::remove(DataPath(QStringLiteral("ksMesurements.txt")));
    Choose(1);
    EXPECT_EQ(form->StaticText1->text(), QStringLiteral("НАЛИЧИЕ ВУЗА"));
    EXPECT_EQ(At(150, 50), clGreen);
    EXPECT_EQ(form->Legend->Items(3).High, 0.0);
}

TEST_F(MapWindow, BadNumberRaisesBeforeTheMapIsTouched)
{
    Open();
    Choose(1);
    ReplaceMeasurements(Measurements + QStringList{"7;1;2;01.02.2005;10:00:00;abc"});
    // A bad value of another research does not matter; only field 2 is read of its lines.
    EXPECT_NO_THROW(form->ComboBox1Change());
    EXPECT_EQ(Activate(0), QStringLiteral("'abc' is not a valid floating point value"));
    EXPECT_EQ(At(50, 50), Bgc4);  // as it was
    EXPECT_EQ(form->StaticText1->text(), QStringLiteral("НАЛИЧИЕ ВУЗА"));

    // A field 2 that is not a number stops every research, wherever the line stands.
    ReplaceMeasurements(Measurements + QStringList{"8;x;2;01.02.2005;10:00:00;1"});
    EXPECT_EQ(Activate(1), QStringLiteral("'x' is not a valid integer value"));
    EXPECT_DOUBLE_EQ(form->GetMesValue(1, 1), 10.0);  // found before the bad line
}

// Recolouring area by area gives the picture that clearing and painting give, and falls back
// to them when a legend lies over a linked area.
TEST_F(MapWindow, AreaByAreaRecolouringMatchesClearingAndPainting)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), Links + QStringList{"0;4;600;400"});  // under the legend
    Open();
    std::unique_ptr<TfrmGraphForm> fast = std::move(form);
    Open();  // form: the one that clears and paints, as a seed outside the picture leaves it no model
    form->Points->Add();
    form->Points->Items(form->Points->Count() - 1) = {0, 99, -5, -5};

    auto both = [&](const std::function<void(TfrmGraphForm&)>& step) {
        for (TfrmGraphForm* w : {fast.get(), form.get()}) step(*w);
        ASSERT_EQ(fast->Image1->Picture, form->Image1->Picture);
    };
    auto choose = [&](std::initializer_list<int> list) { for (int i : list) both([i](TfrmGraphForm& w) { Choose(w, i); }); };
    choose({0, 2, 1, 3, 0, 1});
    for (int i = 0; i < 2; ++i) both([](TfrmGraphForm& w) { w.CheckBox1->click(); });
    // Black, the colour of the borders: clearing a black area stays inside it, the borders stay.
    both([](TfrmGraphForm& w) { w.Legend->Color = clBlack; });
    choose({0});
    ASSERT_EQ(At(50, 50), clBlack);
    choose({1});
    for (QPoint border : {QPoint(100, 150), QPoint(150, 100), QPoint(300, 150), QPoint(250, 200), QPoint(250, 49)})
        EXPECT_EQ(At(border.x(), border.y()), clBlack) << border.x();
    EXPECT_EQ(At(150, 50), Bgc3);
    choose({2, 0});
    both([](TfrmGraphForm& w) {
        LegendCommand(w, [](TfrmEditForm4& d) { d.CheckBox1->setChecked(true); d.ColorBox1->SetSelected(clGreen); d.Button1->click(); });
    });
    choose({3, 1, 0});
}

// A legend label laid over a border whitens a gap in it; painting the area behind the border
// stays inside that area instead of running out through the gap into the sea.
TEST_F(MapWindow, PaintingStaysInsideTheAreaAsLoaded)
{
    Pictures::SaveBitmap(TestMap({{620, 330, 620, 419}, {620, 330, 699, 330}}), AppConfig->MapFile);
    WriteData(QStringLiteral("ksLinksToMap.txt"), Links + QStringList{"0;1;660;400"});
    Open();
    Choose(0);
    LegendCommand([](TfrmEditForm4& d) { d.CheckBox1->setChecked(true); d.Button1->click(); });
    ASSERT_EQ(At(620, 340), clWhite);  // the gap
    EXPECT_EQ(At(660, 400), clGreen);
    EXPECT_EQ(At(500, 300), clWhite);
}

TEST(MapIntervals, MaximumTenInFourIntervals)
{
    TOLegend legend;
    legend.Color = clGreen;
    legend.IntervalCount = 4;
    struct Interval { double Low, High; const char* Label; TColor Plain, Intensity; };
    const Interval expected[] = {{0, 2.5, "0-2", clWhite, clWhite}, {2.5, 5, "2-5", Lighten(clGreen, 67), Lighten(clGreen, 67)},
                                 {5, 7.5, "5-8", Lighten(clGreen, 34), Lighten(clMaroon, 34)}, {7.5, 10, "8-10", clGreen, clRed}};
    for (bool on : {false, true}) {
        BuildIntervals(legend, 10, on);
        ASSERT_EQ(legend.Count(), 4);
        for (int i = 0; i < 4; ++i) {
            const OLegend::TUnits& it = legend.Items(i);
            EXPECT_TRUE(it.Low == expected[i].Low && it.High == expected[i].High) << i;
            EXPECT_EQ(it.Label.Str(), QLatin1String(expected[i].Label));
            EXPECT_EQ(it.Color, on ? expected[i].Intensity : expected[i].Plain) << i;
        }
    }
    // The lookup takes no more intervals than IntervalCount says.
    legend.IntervalCount = 2;
    TColor c = 1;
    EXPECT_FALSE(FindIntervalColor(legend, 9, c) || FindIntervalColor(legend, -1, c));
}

TEST(MapIntervals, EveryWholeValueLandsInTheIntervalThatHoldsIt)
{
    TOLegend legend;
    legend.Color = clGreen;
    for (int n = 4; n <= 16; ++n) {
        legend.IntervalCount = n;
        for (int max = 0; max <= 5000; ++max) {
            BuildIntervals(legend, max, false);
            ASSERT_EQ(legend.Count(), n);
            ASSERT_TRUE(legend.Items(0).Low == 0.0 && legend.Items(n - 1).High == double(max)) << max << " " << n;
            for (int b = 1; b < n; ++b) ASSERT_EQ(legend.Items(b).Low, legend.Items(b - 1).High) << max << " " << n;
            // The first interval holding v is the lowest e with v * n <= max * (e + 1).
            for (int v = 0; v <= max; ++v) {
                const int e = max == 0 ? 0 : std::max(0, (v * n + max - 1) / max - 1);
                const OLegend::TUnits& it = legend.Items(e);
                ASSERT_TRUE(it.Low <= v && v <= it.High && (e == 0 || v > legend.Items(e - 1).High))
                    << v << " of " << max << " in " << n;
            }
        }
    }
}

TEST(MapIntervals, LightenRoundsHalfUpAndStaysInRange)
{
    EXPECT_EQ(Lighten(clGreen, 67), RGBToColor(171, 213, 171));               // 170.85, 213.09
    EXPECT_EQ(Lighten(RGBToColor(1, 2, 3), 50), RGBToColor(128, 129, 129));  // 128, 128.5, 129
    EXPECT_EQ(Lighten(clMaroon, 100), clWhite);
    EXPECT_EQ(Lighten(clMaroon, -400), clMaroon);
    TColor base = 0;
    EXPECT_FALSE(IntervalBase(true, clGreen, 166, base));  // f above 100 keeps the colour
    const std::pair<int, TColor> steps[] = {{20, clYellow}, {21, clGreen}, {50, clGreen},
                                            {51, clMaroon}, {80, clMaroon}, {81, clRed}};
    for (const auto& [f, expected] : steps) EXPECT_TRUE(IntervalBase(true, 0, f, base) && base == expected) << f;
}

// The width of a legend column: its longest label in the legend's font.
int LegendTextWidth()
{
    QFont font(QStringLiteral("Arial"), -1, QFont::Bold);
    font.setPixelSize(9);
    QImage probe(10, 10, QImage::Format_RGB32);
    return QFontMetrics(font, &probe).horizontalAdvance(QStringLiteral("название программы"));
}

TEST_F(MapWindow, LegendCommandPaintsSquaresInColumnsOfFour)
{
    Open();
    Choose(0);
    LegendCommand([](TfrmEditForm4& d) { d.CheckBox1->setChecked(true); d.SpinEdit1->setValue(5); d.Button1->click(); });
    EXPECT_TRUE(form->Legend->AddLegend && form->SpeedButton1->isChecked());
    ASSERT_EQ(form->Legend->Count(), 5);
    const int w = LegendTextWidth();
    ASSERT_GT(w, 40);
    // Intervals 0..3 in column 1, the fifth at the top of column 2.
    for (int c = 0; c < 5; ++c) {
        const int x = 630 - (c / 4 + 1) * w, y = 335 + 15 * (c % 4);
        EXPECT_EQ(At(x + 9, y + 9), clBlack) << c;
        EXPECT_EQ(At(x + 10, y + 10), clWhite) << c;  // right and bottom edges excluded
        EXPECT_EQ(At(x + 5, y + 5), Lighten(clGreen, 100 - c * 100 / 4)) << c;
    }
    EXPECT_EQ(At(50, 50), clGreen);            // recoloured with the five intervals
    EXPECT_EQ(At(630 - 2, 335 + 8), clWhite);  // a label box on the sea has a white background

    // Choosing a research again does not remove the legend.
    Choose(1);
    EXPECT_EQ(At(630 - 2 * w + 5, 335 + 5), clGreen);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MapWindow, LegendCommandWithoutChangeOrSwitchedOffOrCancelled)
{
    Open();
    Choose(0);
    const int w = LegendTextWidth();
    // Only the colour changed: written, the map recoloured with it, no legend painted.
    LegendCommand([](TfrmEditForm4& d) { d.ColorBox1->SetSelected(clRed); d.Button1->click(); });
    EXPECT_EQ(At(50, 50), clRed);
    EXPECT_FALSE(form->SpeedButton1->isChecked());
    EXPECT_EQ(At(630 - w + 5, 340), clWhite);

    // Legend switched on then off in one visit: the command ends before recolouring.
    form->ComboBox1->setCurrentIndex(1);
    LegendCommand([](TfrmEditForm4& d) { d.CheckBox1->setChecked(true); d.CheckBox1->setChecked(false); d.Button1->click(); });
    EXPECT_EQ(At(50, 50), clRed);

    // Cancel leaves the settings alone and recolours the map with the selected research.
    LegendCommand([](TfrmEditForm4& d) { d.CheckBox1->setChecked(true); d.SpinEdit1->setValue(12); d.Button2->click(); });
    EXPECT_EQ(At(50, 50), Bgc4);
    EXPECT_EQ(At(630 - w + 5, 340), clWhite);
    EXPECT_TRUE(!form->Legend->AddLegend && form->Legend->IntervalCount == 4);
}

TEST_F(MapWindow, LegendCommandWithNoResearchChosenOnlyEditsSettings)
{
    Open();
    const QImage before = form->Image1->Picture.copy();
    LegendCommand([](TfrmEditForm4& d) {  // no "List index out of bounds (-1)"
        d.CheckBox1->setChecked(true); d.SpinEdit1->setValue(6); d.RadioButton2->setChecked(true); d.Button1->click();
    });
    EXPECT_TRUE(form->Legend->IntervalCount == 6 && form->Legend->AddLegend && !form->Legend->AutoIntervals);
    EXPECT_EQ(form->Legend->Count(), 0);
    EXPECT_EQ(form->Image1->Picture, before);

    // An empty research list: the command does nothing at all.
    WriteData(QStringLiteral("ksResearchRegister.txt"), {});
    Open();
    form->SpeedButton1Click();
    EXPECT_EQ(frmEditForm4, nullptr);
}

TEST_F(MapWindow, JpegMapLoadsAndBrokenJpegReportsItsErrorNumber)
{
    const QString jpeg = DataPath(QStringLiteral("map.jpg"));
    ASSERT_TRUE(TestMap().save(jpeg, "JPG", 100));
    AppConfig->MapFile = jpeg;
    Open();
    EXPECT_EQ(form->Image1->Picture.size(), QSize(700, 420));
    EXPECT_EQ(form->ComboBox1->count(), 4);

    TestSupport::WriteBytes(jpeg, QByteArray("\xFF\xD8\xFF\xE0 this is not a picture"));
    const QString shown = Unhandled([&] { Open(); });
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^JPEG error #\\d+$")).match(shown).hasMatch()) << qPrintable(shown);
}

// A bitmap map cut in half is refused as a corrupt JPEG is, before anything is shown.
TEST_F(MapWindow, BitmapMapCutInHalfIsRefused)
{
    const QString bmp = DataPath(QStringLiteral("half.bmp"));
    Pictures::SaveBitmap(TestMap(), bmp);
    const QByteArray whole = TestSupport::ReadBytes(bmp);
    TestSupport::WriteBytes(bmp, whole.left(whole.size() / 2));
    AppConfig->MapFile = bmp;
    EXPECT_EQ(Unhandled([&] { Open(); }), QStringLiteral("Bitmap image is not valid"));
}

}  // namespace

// ---- The hover hint, copy, save and the report hand-off

namespace {

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The box of the pixels of a colour (within 40 per channel) on the PDF's first page.
QRect ColourOnPage(const QString& pdf, QColor colour)
{
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-singlefile"),
                                         pdf, pdf + QStringLiteral("-page")});
    const QImage page = QImage(pdf + QStringLiteral("-page.png")).convertToFormat(QImage::Format_RGB32);
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qAbs(qRed(p) - colour.red()) <= 40 && qAbs(qGreen(p) - colour.green()) <= 40 && qAbs(qBlue(p) - colour.blue()) <= 40)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

class MapTools : public MapWindow {
protected:
    void SetUp() override
    {
        MapWindow::SetUp();
        WriteData(QStringLiteral("ksRegions.txt"), {"1;Первый", "2;Второй", "3;Третий", "5;Пятый"});
        AppConfig->Scale = 100;  // the settings defaults
        AppConfig->TopMargin = AppConfig->LeftMargin = AppConfig->BottomMargin = AppConfig->RightMargin = 1;
        temp = dir_.path() + QStringLiteral("/temp");
        QDir().mkpath(temp);
        qputenv("TEMP", QFile::encodeName(temp));
        qputenv("KESTROVA_PDF", QFile::encodeName(temp + QStringLiteral("/out.pdf")));
        Printer().SetPrinterIndex(Printer().Printers().indexOf(QStringLiteral("PDF")));
        Open();
        form->FormActivate();
    }
    void TearDown() override
    {
        form.reset();
        qunsetenv("TEMP");
        qunsetenv("KESTROVA_PDF");
        MapWindow::TearDown();
    }
    // The hint after a move to x, y.
    QString Hover(int x, int y)
    {
        form->Image2MouseMove(x, y);
        return form->HintWindow->isVisible() ? form->HintWindow->text() : QString();
    }
    QStringList TempFiles() const { return QDir(temp).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot); }

    QString temp;
};

TEST_F(MapTools, HoverNamesTheRegionUnderTheMouseWithItsValue)
{
    EXPECT_EQ(Hover(10, 10), QStringLiteral("Первый"));  // no research: the name alone
    EXPECT_EQ(Hover(100, 60), QStringLiteral("Первый"));  // a border: no new hint
    EXPECT_EQ(Hover(500, 300), QStringLiteral("Первый"));  // an area without a link
    EXPECT_EQ(Hover(210, 150), QStringLiteral("Первый"));  // a district's area: regions only
    EXPECT_EQ(Hover(190, 190), QStringLiteral("Третий"));  // linked in two areas
    EXPECT_EQ(Hover(10, 190), QStringLiteral("Третий"));

    Choose(0);  // A1 is painted now; the hover reads the file's picture
    EXPECT_EQ(Hover(10, 10), QStringLiteral("Первый: 10"));
    EXPECT_EQ(Hover(150, 50), QStringLiteral("Второй: 2"));  // the first line of the place
    EXPECT_EQ(Hover(150, 150), QStringLiteral("Третий: 7.9"));
    EXPECT_EQ(Hover(290, 20), QStringLiteral(": 5.3"));  // region 4 has no name
    // A legend painted over an area changes nothing.
    QPainter(&form->Image1->Picture).fillRect(20, 20, 40, 40, Qt::black);
    EXPECT_EQ(Hover(30, 30), QStringLiteral("Первый: 10"));
    Choose(3);
    EXPECT_EQ(Hover(150, 50), QStringLiteral("Второй: 0"));  // no measurement of the region

    // Above and to the right of the cursor, its bottom 5 pixels above it; hidden on deactivation.
    const QRect g = form->HintWindow->geometry();
    EXPECT_EQ(g.left(), QCursor::pos().x() + 2);
    EXPECT_EQ(g.top() + g.height(), QCursor::pos().y() - 5);
    form->FormDeactivate();
    EXPECT_FALSE(form->HintWindow->isVisible());

    // Without ksRegions.txt: the value alone, and with no research no hint at all.
    QFile::remove(DataPath(QStringLiteral("ksRegions.txt")));
    form->FormActivate();
    EXPECT_EQ(Hover(10, 10), QStringLiteral(": 8"));
    form->ComboBox1->setCurrentIndex(-1);
    form->FormActivate();
    EXPECT_EQ(Hover(10, 10), QString());
}

TEST_F(MapTools, CopyPutsThePictureOnTheClipboardAndSaveWritesABitmapWhateverTheName)
{
    Choose(0);
    form->CopyToClipBrd();
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), form->Image1->Picture);

    const QString jpg = dir_.path() + QStringLiteral("/map.jpg");
    dialogs_->FileAnswers << jpg;
    form->SaveToFile();
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_TRUE(dialogs_->FileRequests[0].Picture);
    EXPECT_TRUE(dialogs_->FileRequests[0].Filter.contains(QStringLiteral("*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf")));
    EXPECT_TRUE(TestSupport::ReadBytes(jpg).startsWith("BM"));
    EXPECT_EQ(QImage(jpg, "BMP").convertToFormat(QImage::Format_RGB32), form->Image1->Picture);
    // Cancelled: nothing, and the hint is not left over the dialog.
    EXPECT_FALSE(Hover(10, 10).isEmpty());
    form->SaveToFile();
    EXPECT_FALSE(form->HintWindow->isVisible());
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MapTools, PrintHandsThePictureToTheLibraryAndLeavesNothingBehind)
{
    Choose(0);  // A1 and B1 in clGreen
    form->Print(1);
    const QString pdf = temp + QStringLiteral("/out.pdf");
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("Численность населения")));
    // A1 and B1 are 200 x 100 of the 700 x 420 picture, stretched into the 761 x 513 box.
    const QRect green = ColourOnPage(pdf, QColor(0, 128, 0));
    ASSERT_FALSE(green.isEmpty());
    EXPECT_NEAR(double(green.width()) / green.height(), (200 / 700.0 * 761) / (100 / 420.0 * 513), 0.1);
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован внешний отчет № 0. Графика")), 1);

    // The print dialog (cancelled: nothing printed, no error), then a second print in a row.
    form->PrintEx();
    EXPECT_EQ(dialogs_->PrintRequests.size(), 1);
    form->Print(1);
    EXPECT_TRUE(QFile::exists(temp + QStringLiteral("/out-2.pdf")));
    EXPECT_EQ(TempFiles(), (QStringList{QStringLiteral("out-2.pdf"), QStringLiteral("out.pdf"), QStringLiteral("out.pdf-page.png")}));
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован внешний отчет № 0. Графика")), 3);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MapTools, PreviewRunsTheLibrarysPreviewToItsEnd)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmPreview") && w->isVisible()) {
                shown = true;
                w->findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
            }
    });
    form->PrintPreview();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(TempFiles().isEmpty());
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован внешний отчет № 0. Графика")), 1);
}

TEST_F(MapTools, AFailedReportIsLoggedAsAnErrorAndAPlantedLinkIsNotFollowed)
{
    // Links planted where the hand-off files go.
    const QString victim = dir_.path() + QStringLiteral("/victim.txt");
    TestSupport::WriteBytes(victim, "keep");
    ASSERT_TRUE(QFile::link(victim, temp + QStringLiteral("/00Korvel.tmp")));
    ASSERT_TRUE(QFile::link(victim, temp + QStringLiteral("/00RepGraph.bmp")));
    // The PDF cannot be written: the library fails.
    qputenv("KESTROVA_PDF", QFile::encodeName(temp + QStringLiteral("/missing/out.pdf")));
    form->Print(1);
    EXPECT_EQ(TestSupport::ReadBytes(victim), QByteArray("keep"));
    EXPECT_TRUE(TempFiles().isEmpty());
    EXPECT_EQ(CountLog(QStringLiteral("Сформирован внешний отчет")), 0);
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! При попытке печати возникла непредвиденная ошибка!")), 1);
    ASSERT_EQ(dialogs_->Messages.size(), 2);  // the library's box, then the window's
    EXPECT_EQ(dialogs_->Messages[1].Text, QStringLiteral("При попытке печати возникла непредвиденная ошибка!"));

    // No hand-off directory: the picture cannot be written, the library is not called.
    qputenv("TEMP", QFile::encodeName(temp + QStringLiteral("/none")));
    qputenv("KESTROVA_PDF", QFile::encodeName(temp + QStringLiteral("/out.pdf")));
    EXPECT_FALSE(Unhandled([&] { form->Print(1); }).isEmpty());
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/out.pdf")));
}

TEST_F(MapTools, EachBadLinkLineIsReportedOnceAtOpeningAndNeverOnAHover)
{
    WriteData(QStringLiteral("ksLinksToMap.txt"), Links + QStringList{"0;x;10;10", "0;2;y;5"});
    dialogs_->Messages.clear();
    Open();
    form->FormActivate();
    ASSERT_EQ(dialogs_->Messages.size(), 2);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("Ошибка доступа к файлу!\n")));
    EXPECT_TRUE(dialogs_->Messages[0].Text.contains(QStringLiteral("'x'")));
    EXPECT_TRUE(dialogs_->Messages[1].Text.contains(QStringLiteral("'y'")));
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! ")), 2);
    EXPECT_EQ(Hover(10, 10), QStringLiteral("Первый"));

    // Rewritten with a bad line while the window is open: the hover follows it without a box.
    WriteData(QStringLiteral("ksLinksToMap.txt"), {"0;2;50;50", "0;z;1;1"});
    EXPECT_EQ(Hover(10, 10), QStringLiteral("Второй"));
    EXPECT_EQ(dialogs_->Messages.size(), 2);
    EXPECT_EQ(CountLog(QStringLiteral("ОШИБКА! ")), 2);
}

TEST_F(MapTools, TheReportRecordCarriesThePrintersPaperAndIndexAndTheSettingsMargins)
{
    TPrinter& printer = Printer();
    printer.SetPaperSize(DMPAPER_LETTER);
    printer.SetOrientation(DMORIENT_LANDSCAPE);
    AppConfig->TopMargin = 70;
    AppConfig->LeftMargin = 110;
    AppConfig->BottomMargin = 130;
    AppConfig->RightMargin = 170;
    const TReportProp prop = form->FillReportProp();
    EXPECT_EQ(prop.PaperSize, DMPAPER_LETTER);
    EXPECT_EQ(prop.Orientation, DMORIENT_LANDSCAPE);
    // The numbers of the settings as they stand, which the library reads as tenths of a millimetre.
    EXPECT_EQ(QList<int>({prop.TopMargin, prop.LeftMargin, prop.BottomMargin, prop.RightMargin}), QList<int>({70, 110, 130, 170}));
    EXPECT_EQ(prop.PrinterIndex, printer.Printers().indexOf(QStringLiteral("PDF")));
    EXPECT_EQ(prop.PrinterIndex, printer.PrinterIndex());

    // What the library receives: a landscape Letter page, the picture 11 mm from its left edge
    // and 7 mm from its top (60 dots per inch: 26 and 17 pixels).
    Choose(0);  // A1, the picture's top left corner, in clGreen
    form->Print(1);
    const QString pdf = temp + QStringLiteral("/out.pdf");
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("792 x 612 pts")));
    const QRect green = ColourOnPage(pdf, QColor(0, 128, 0));
    EXPECT_NEAR(green.left(), 26, 2);
    EXPECT_NEAR(green.top(), 17, 2);
    printer.SetPaperSize(DMPAPER_A4);
    printer.SetOrientation(DMORIENT_PORTRAIT);
}

TEST_F(MapTools, AFailedReportDeletesTheHandOffTextBeforeItsBoxAndThePictureAfterIt)
{
    // The PDF cannot be written: the library fails.
    qputenv("KESTROVA_PDF", QFile::encodeName(temp + QStringLiteral("/missing/out.pdf")));
    QStringList atBox;
    dialogs_->OnMessage = [&](const Dialogs::ScriptedHandler::Shown& shown) {
        if (shown.Text == QStringLiteral("При попытке печати возникла непредвиденная ошибка!")) atBox = TempFiles();
    };
    form->Print(1);
    EXPECT_EQ(atBox, QStringList{QStringLiteral("00RepGraph.bmp")});
    EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(MapTools, TheLibrarysPreviewBelongsToTheMainWindow)
{
    // The map window inside the program's main window, as an MDI child is.
    QWidget main;
    main.setObjectName(QStringLiteral("frmMainForm"));
    form->setParent(&main);
    main.show();
    bool owned = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmPreview") && w->isVisible()) {
                owned = w->parentWidget() == &main && w->windowHandle() &&
                        w->windowHandle()->transientParent() == main.windowHandle();
                w->findChild<QToolButton*>(QStringLiteral("SpeedButton1"))->click();
            }
    });
    form->PrintPreview();
    form->setParent(nullptr);
    EXPECT_TRUE(owned);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(MapTools, DraggingThePictureScrollsItWithoutAHintAndAResizeStartsAgainAtTheCorner)
{
    form->resize(300, 200);
    form->show();
    QCoreApplication::processEvents();
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, form->Image2->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Image2, &e);
    };
    send(QEvent::MouseButtonPress, {200, 150}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {170, 130}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(QPoint(form->ScrollBox2->horizontalScrollBar()->value(), form->ScrollBox2->verticalScrollBar()->value()), QPoint(30, 20));
    EXPECT_FALSE(form->HintWindow->isVisible());  // no hint while dragging
    send(QEvent::MouseButtonRelease, {200, 150}, Qt::RightButton, Qt::NoButton);
    EXPECT_FALSE(form->Drag->Dragging);
    form->resize(320, 220);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->ScrollBox2->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(form->Panel20->size(), QSize(700, 420));
}

}  // namespace
