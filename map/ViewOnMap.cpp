// The map window: shows the map picture and colours the linked areas by one research.
#include "ViewOnMap.h"

#include "AppConfig.h"
#include "DataFiles.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "DragScroll.h"
#include "EditLegend.h"
#include "Exceptions.h"
#include "FileCache.h"
#include "Printer.h"
#include "Regional.h"
#include "ReportProp.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScrollArea>
#include <QToolButton>


#include <algorithm>
#include <utility>
#include <climits>
#include <cmath>

TfrmGraphForm* frmGraphForm = nullptr;

namespace ViewOnMap {

TColor Lighten(TColor Color, int Percent)
{
    const int p = qBound(0, Percent, 100);
    auto channel = [p](int c) { return c + ((255 - c) * p + 50) / 100; };
    return RGBToColor(channel(int(Color & 255)), channel(int((Color >> 8) & 255)), channel(int((Color >> 16) & 255)));
}

int IntervalStep(int c, int count)
{
    // A single interval has no step to divide by; it is the first, white one.
    return count > 1 ? c * 100 / (count - 1) : 0;
}

bool IntervalBase(bool intensity, TColor legendColor, int f, TColor& base)
{
    if (!intensity) {
        base = legendColor;
        return true;
    }
    if (f > 100) return false;
    base = f <= 20 ? clYellow : f <= 50 ? clGreen : f <= 80 ? clMaroon : clRed;
    return true;
}

void BuildIntervals(TOLegend& legend, int max, bool intensity)
{
    for (int i = legend.Count() - 1; i >= 0; --i) legend.Delete(i);
    const int n = legend.IntervalCount;
    if (n < 1) return;
    // Extended precision, so that neighbouring bounds meet on the same double and every
    // whole value from 0 to max lies in an interval.
    const long double step = static_cast<long double>(max) / n;
    for (int b = 0; b < n; ++b) {
        legend.Add();
        OLegend::TUnits& it = legend.Items(legend.Count() - 1);
        const long double low = step * b;
        it.Low = static_cast<double>(low);
        it.High = static_cast<double>(low + step);
        const int f = IntervalStep(b, n);
        TColor base = 0;
        IntervalBase(intensity, legend.Color, f, base);
        it.Color = Lighten(base, 100 - f);
        it.Label = Regional::FloatToStr(std::rint(it.Low)) + QLatin1Char('-') + Regional::FloatToStr(std::rint(it.High));
    }
}

bool FindIntervalColor(const TOLegend& legend, double value, TColor& color)
{
    const int n = qMin(legend.IntervalCount, legend.Count());
    for (int i = 0; i < n; ++i) {
        const OLegend::TUnits& it = legend.Items(i);
        if (it.Low <= value && value <= it.High) {
            color = it.Color;
            return true;
        }
    }
    return false;
}

}  // namespace ViewOnMap

using namespace ViewOnMap;

using MeasuredResearch = DataFiles::MeasurementIndex::Research;

// The linked areas of the map as loaded: each run of white pixels that holds a usable link
// point. Every fill from a link point stays inside its area (Fills), so clearing never runs over
// a border of the area's colour, and painting never through a gap that a legend's white made in
// a border. While Valid, each area shows one colour (Color), so that a
// recolouring can take each area straight from its old colour to its new one: one fill per
// changed area instead of a clearing fill and a painting fill, with the same result. A legend
// painted over an area, or other link points, turn that off for good, and the window clears and
// paints as usual.
class TfrmGraphForm::AreaModel {
public:
    struct Run {
        int Y, X, Length;
    };
    struct Area {
        int X = 0;  // a seed inside it
        int Y = 0;
        TColor Color = clWhite;
        std::vector<Run> Runs;  // its pixels, row by row
    };

    // white: the white areas of the picture as loaded; usable: the points on white.
    void Build(std::shared_ptr<const TWhiteAreas> white, const TOCoordinates& points, const std::vector<int>& usable)
    {
        Fills = TConfinedFill(std::move(white));
        const TWhiteAreas& w = Fills.White();
        Areas.clear();
        PointArea.assign(size_t(points.Count()), -1);
        Seen.clear();
        for (int i = 0; i < points.Count(); ++i) Seen.push_back(points.Items(i));
        std::vector<int> areaOf(size_t(w.AreaCount()), -1);  // white area -> index in Areas
        for (int i : usable) {
            const OCoordinates::TUnits& p = points.Items(i);
            const int a = w.AreaAt(p.X, p.Y);
            if (areaOf[size_t(a)] < 0) {
                areaOf[size_t(a)] = int(Areas.size());
                Areas.push_back({p.X, p.Y, clWhite, {}});
            }
            PointArea[size_t(i)] = areaOf[size_t(a)];
        }
        width_ = w.Width();
        height_ = w.Height();
        for (int y = 0; y < height_; ++y)
            for (const TWhiteAreas::Run* r = w.RowBegin(y); r != w.RowEnd(y); ++r)
                if (const int k = areaOf[size_t(r->Area)]; k >= 0) Areas[size_t(k)].Runs.push_back({y, r->X, r->Length});
        Valid = true;
    }

    // Built for these very points.
    bool Matches(const TOCoordinates& points) const
    {
        if (int(Seen.size()) != points.Count()) return false;
        for (int i = 0; i < points.Count(); ++i) {
            const OCoordinates::TUnits& a = Seen[size_t(i)];
            const OCoordinates::TUnits& b = points.Items(i);
            if (a.Level != b.Level || a.PlaceID != b.PlaceID || a.X != b.X || a.Y != b.Y) return false;
        }
        return true;
    }

    // Area k, which shows one colour all over (Valid), painted in fill: what the confined fill
    // does then, without its search.
    void Paint(QImage& picture, int k, TColor fill) const
    {
        const QRgb c = ColorToQRgb(fill);
        for (const Run& r : Areas[size_t(k)].Runs) {
            QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(r.Y)) + r.X;
            std::fill(row, row + r.Length, c);
        }
    }

    // A legend was painted within the rectangle: an area under it no longer shows one colour,
    // and the pixels around an area there may have any colour.
    void LegendPainted(const QRect& r)
    {
        const QRect in = r & QRect(0, 0, width_, height_);
        for (const Area& a : Areas)
            for (const Run& run : a.Runs)
                if (run.Y >= in.top() && run.Y <= in.bottom() && run.X <= in.right() && run.X + run.Length - 1 >= in.left())
                    Valid = false;
        Fills.Painted(in);
    }

    bool Valid = false;  // each area shows its Color all over
    // The fills from the link points, each kept inside its area as loaded.
    TConfinedFill Fills;
    std::vector<Area> Areas;
    std::vector<int> PointArea;  // per point: its area, -1 for an unusable seed

private:
    std::vector<OCoordinates::TUnits> Seen;
    int width_ = 0;
    int height_ = 0;
};

TfrmGraphForm::TfrmGraphForm(QWidget* owner)
    : TMapPictureWindow(owner),
      areas_(std::make_unique<AreaModel>()),
      cache_(std::make_unique<TMeasurementCache>()),
      hover_(std::make_unique<THoverIndex>())
{
    frmGraphForm = this;
    setObjectName(QStringLiteral("frmGraphForm"));
    setWindowTitle(QStringLiteral("Графика"));

    StaticText1 = new QLabel(QStringLiteral("ГРАФИКА"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setAutoFillBackground(true);
    QFont titleFont = StaticText1->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(19);
    StaticText1->setFont(titleFont);
    Column->addWidget(StaticText1);

    BuildPicture(this);
    Image2 = new QWidget(Panel20);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setMouseTracking(true);
    Drag = TDragScroll::Install(this, ScrollBox2, Image1, {Image2});
    Drag->OnMove = [this](QPoint at, bool dragging) {
        // The hint is the picture's: moves over the box around it only scroll.
        if (!dragging && Image2->rect().contains(at)) Guarded([&] { Image2MouseMove(at.x(), at.y()); });
    };
    // The hint goes with the mouse when it leaves the picture.
    Image2->installEventFilter(this);
    Column->addWidget(ScrollBox2, 1);

    QHBoxLayout* bar = BuildBottomBar(QStringLiteral("Легенда"));
    CheckBox1 = new QCheckBox(QStringLiteral("Интервалы интенсивности"), bar->parentWidget());
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    bar->addWidget(CheckBox1);
    bar->addStretch(1);
    Column->addWidget(bar->parentWidget());

    connect(ComboBox1, &QComboBox::activated, this, [this] { Guarded([this] { ComboBox1Change(); }); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { Guarded([this] { ComboBox1Change(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { Guarded([this] { SpeedButton1Click(); }); });

    FormCreate();
}

TfrmGraphForm::~TfrmGraphForm()
{
    if (frmGraphForm == this) frmGraphForm = nullptr;
}

void TfrmGraphForm::FormCreate()
{
    Points = new TOCoordinates(this);
    Researches = new TOResearches(this);
    Legend = new TOLegend(this);
    Legend->SetAutoIntervals(true);
    Legend->SetAddLegend(false);
    Legend->SetColor(clGreen);
    Legend->SetIntervalCount(4);
}

void TfrmGraphForm::Load()
{
    LoadMap();
    // One warning for both readers when the delimiter is unusable.
    if (!DataFiles::CheckDelimiter()) return;
    FillCoordinates();
    BuildAreas();
    // The hover starts from the picture just loaded instead of decoding the file again.
    if (!mapStamp_.Exists || mapStamp_ == TFileStamp::Of(EnsureAppConfig().MapFile))
        hover_->Prime(HoverSources(), Image1->Picture, mapStamp_, white_);
    FillList();
}

void TfrmGraphForm::BuildAreas()
{
    std::vector<int> usable;
    for (int i = 0; i < Points->Count(); ++i)
        if (SeedUsable(Points->Items(i).X, Points->Items(i).Y)) usable.push_back(i);
    areas_->Build(white_, *Points, usable);
}

void TfrmGraphForm::EnsureAreas()
{
    if (areas_->Matches(*Points)) return;
    // Points changed after loading: the picture may be coloured, so its colours are unknown.
    BuildAreas();
    areas_->Valid = false;
}

void TfrmGraphForm::FormActivate()
{
    delete HintWindow;
    HintWindow = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
    HintWindow->setObjectName(QStringLiteral("HintWindow"));
    HintWindow->setWordWrap(true);
    HintWindow->setMargin(2);
    HintWindow->setFrameShape(QFrame::Box);
    HintWindow->setAutoFillBackground(true);
    QPalette hint = HintWindow->palette();
    hint.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::ToolTipBase));  // clInfoBk
    hint.setColor(QPalette::WindowText, QGuiApplication::palette().color(QPalette::ToolTipText));
    HintWindow->setPalette(hint);
    if (TDocumentHost* host = Host()) host->ActivateMenu(wkMap);
    QPalette pal = StaticText1->palette();
    pal.setColor(QPalette::Window, ColorToQColor(EnsureAppConfig().Bgc5));
    StaticText1->setPalette(pal);
}

void TfrmGraphForm::FormDeactivate()
{
    if (HintWindow) HintWindow->hide();
    DeActivateMenu();
}

bool TfrmGraphForm::FormClose()
{
    if (HintWindow) HintWindow->hide();
    DeActivateMenu();
    return true;
}

QString TfrmGraphForm::GetFieldNo(int FieldNo, QStringView Line) const
{
    return ::GetFieldNo(FieldNo, Line);
}

void TfrmGraphForm::LoadMap()
{
    white_ = std::make_shared<const TWhiteAreas>();
    *areas_ = AreaModel();
    mapStamp_ = TFileStamp::Of(EnsureAppConfig().MapFile);
    LoadPicture();
    white_ = std::make_shared<const TWhiteAreas>(Image1->Picture);
    Image2->resize(Image1->size());
    ScrollBox2Resize();
}

bool TfrmGraphForm::SeedUsable(int X, int Y) const
{
    return white_->AreaAt(X, Y) >= 0;
}

void TfrmGraphForm::FillCoordinates()
{
    if (!DataFiles::DelimiterUsable()) return;
    DataFiles::LoadLinks(DataFiles::PathOf(DataFiles::LinksToMapFile), *Points);
}

void TfrmGraphForm::FillList()
{
    ComboBox1->clear();
    if (!DataFiles::DelimiterUsable()) return;
    const int before = Researches->Count();
    const DataFiles::LoadResult result =
        DataFiles::LoadResearches(DataFiles::PathOf(DataFiles::ResearchRegisterFile), *Researches);
    for (int i = before; i < Researches->Count(); ++i) ComboBox1->addItem(Researches->Items(i).Name);
    ComboBox1->setCurrentIndex(-1);
    // A level or kind that is not a number is an error the window does not handle itself.
    if (!result.Complete) throw EConvertError(result.Error);
}

const OResearches::TUnits* TfrmGraphForm::Selected() const
{
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i >= Researches->Count()) return nullptr;
    return &Researches->Items(i);
}

void TfrmGraphForm::ClearMap()
{
    const OResearches::TUnits* r = Selected();
    if (!r) return;
    EnsureAreas();
    QImage& pic = Image1->Picture;
    for (int i = 0; i < Points->Count(); ++i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        // A seed on a border line would whiten the border and merge the areas around it.
        if (p.Level != r->Ref1 || !SeedUsable(p.X, p.Y)) continue;
        const TColor c = Pictures::PixelColor(pic, p.X, p.Y);
        if (c == clWhite) continue;
        // Kept inside the seed's area: a border of the area's colour stays as it is.
        const int k = areas_->PointArea[size_t(i)];
        areas_->Fills.Fill(pic, p.X, p.Y, clWhite);
        AreaModel::Area& a = areas_->Areas[size_t(k)];
        if (a.Color != c) areas_->Valid = false;
        else a.Color = clWhite;
    }
}

int TfrmGraphForm::GetMaxValue(int ResearchID)
{
    if (!cache_->Refresh(DataFiles::PathOf(DataFiles::MeasurementsFile))) return 0;
    const MeasuredResearch* r = cache_->Index().Find(ResearchID);
    // A bad number raises before the map is touched.
    const int bad = cache_->Index().BadOrdinal;
    if (r && r->MaxError < bad) throw EConvertError(r->MaxMessage);
    if (bad != INT_MAX) throw EConvertError(cache_->Index().BadMessage);
    ClearMap();
    return r ? r->Max : 0;
}

double TfrmGraphForm::GetMesValue(int ResearchID, int PlaceID)
{
    if (!cache_->Refresh(DataFiles::PathOf(DataFiles::MeasurementsFile))) return 0;
    const int bad = cache_->Index().BadOrdinal;
    if (const MeasuredResearch* r = cache_->Index().Find(ResearchID)) {
        for (const DataFiles::MeasurementIndex::Line& l : r->Lines) {
            if (l.Ordinal > bad) break;
            if (l.Error3 >= 0) throw EConvertError(cache_->Index().Errors[l.Error3]);
            if (l.Place != PlaceID) continue;
            if (l.Error6 >= 0) throw EConvertError(cache_->Index().Errors[l.Error6]);
            return l.Value;
        }
    }
    if (bad != INT_MAX) throw EConvertError(cache_->Index().BadMessage);
    return 0;
}

void TfrmGraphForm::FillIntervals()
{
    const OResearches::TUnits* r = Selected();
    if (!r) return;
    const int max = GetMaxValue(r->ID);
    BuildIntervals(*Legend, max, CheckBox1->isChecked());
}

void TfrmGraphForm::FillSelected(int Kind, qint64 Value, int Level, int PlaceID)
{
    TColor color = TColor(Value);
    if (Kind == 0) color = Value == 0 ? EnsureAppConfig().Bgc4 : EnsureAppConfig().Bgc3;
    EnsureAreas();
    for (int i = 0; i < Points->Count(); ++i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        if (p.Level == Level && p.PlaceID == PlaceID) FillPoint(i, color);
    }
}

void TfrmGraphForm::FillPoint(int index, TColor color)
{
    // Only an area still white takes a colour: the first line of a place decides. The fill
    // stays inside the area as loaded.
    const OCoordinates::TUnits& p = Points->Items(index);
    QImage& pic = Image1->Picture;
    if (!SeedUsable(p.X, p.Y) || Pictures::PixelColor(pic, p.X, p.Y) != clWhite) return;
    const int k = areas_->PointArea[size_t(index)];
    areas_->Fills.Fill(pic, p.X, p.Y, color);
    AreaModel::Area& a = areas_->Areas[size_t(k)];
    if (a.Color != clWhite) areas_->Valid = false;
    else a.Color = color & 0xFFFFFF;
}

const MeasuredResearch* TfrmGraphForm::CheckedLines(int ResearchID, bool& exists)
{
    exists = cache_->Refresh(DataFiles::PathOf(DataFiles::MeasurementsFile));
    if (!exists) return nullptr;
    const MeasuredResearch* lines = cache_->Index().Find(ResearchID);
    const int bad = cache_->Index().BadOrdinal;
    if (lines && lines->PassError < bad) throw EConvertError(lines->PassMessage);
    if (bad != INT_MAX) throw EConvertError(cache_->Index().BadMessage);
    return lines;
}

QHash<int, std::vector<int>> TfrmGraphForm::PointsByPlace(int Level) const
{
    QHash<int, std::vector<int>> byPlace;
    for (int i = 0; i < Points->Count(); ++i) {
        const OCoordinates::TUnits& p = Points->Items(i);
        if (p.Level == Level) byPlace[p.PlaceID].push_back(i);
    }
    return byPlace;
}

// The colour a line of the research paints its place's white areas with.
static TColor LineColor(const OResearches::TUnits& r, const TOLegend& legend, double value)
{
    const double v = std::floor(value);
    if (r.Ref2 == 0) return (v == 0 ? EnsureAppConfig().Bgc4 : EnsureAppConfig().Bgc3) & 0xFFFFFF;  // any value but 0 is false
    TColor color = clWhite;  // a value in no interval leaves its area white
    FindIntervalColor(legend, v, color);
    return color & 0xFFFFFF;
}

// Calls paint(point, colour) for every point linked to each line's place, in the file's order.
template <typename Lines, typename Paint>
static void ForEachLinePoint(const OResearches::TUnits& r, const TOLegend& legend, const Lines& lines,
                             const QHash<int, std::vector<int>>& byPlace, Paint paint)
{
    for (const auto& l : lines) {
        auto it = byPlace.constFind(l.Place);
        if (it == byPlace.constEnd()) continue;
        const TColor color = LineColor(r, legend, l.Value);
        for (int i : it.value()) paint(i, color);
    }
}

void TfrmGraphForm::ComboBox1Change()
{
    const OResearches::TUnits* sel = Selected();
    if (!sel) return;
    const OResearches::TUnits r = *sel;
    if (!DataFiles::CheckDelimiter()) return;
    bool exists = false;
    // A number that does not convert ends the command before anything changes, so the map
    // is never left half painted.
    CheckedLines(r.ID, exists);
    if (RecolourAreas(r)) return;
    if (Legend->AutoIntervals) FillIntervals();
    StaticText1->setText(QLocale().toUpper(ComboBox1->currentText()));
    const MeasuredResearch* lines = CheckedLines(r.ID, exists);
    if (!exists) return;
    ClearMap();
    if (lines)
        ForEachLinePoint(r, *Legend, lines->Lines, PointsByPlace(r.Ref1), [this](int i, TColor c) { FillPoint(i, c); });
    Image1->update();
}

bool TfrmGraphForm::RecolourAreas(const OResearches::TUnits& r)
{
    EnsureAreas();
    if (!areas_->Valid) return false;
    std::vector<AreaModel::Area>& areas = areas_->Areas;
    const QImage& pic = Image1->Picture;
    std::vector<TColor> colors(areas.size());
    for (size_t k = 0; k < areas.size(); ++k) {
        colors[k] = areas[k].Color;
        if (Pictures::PixelColor(pic, areas[k].X, areas[k].Y) != areas[k].Color) {
            areas_->Valid = false;  // the picture was changed behind the model
            return false;
        }
    }
    // The clearing, on paper.
    for (int i = 0; i < Points->Count(); ++i) {
        const int k = areas_->PointArea[size_t(i)];
        if (k >= 0 && Points->Items(i).Level == r.Ref1) colors[size_t(k)] = clWhite;
    }
    bool exists = false;
    const MeasuredResearch* lines = CheckedLines(r.ID, exists);
    if (Legend->AutoIntervals) BuildIntervals(*Legend, lines ? lines->Max : 0, CheckBox1->isChecked());
    StaticText1->setText(QLocale().toUpper(ComboBox1->currentText()));
    if (!exists) return true;  // without the file nothing is cleared
    if (lines) {
        ForEachLinePoint(r, *Legend, lines->Lines, PointsByPlace(r.Ref1), [&](int i, TColor color) {
            const int k = areas_->PointArea[size_t(i)];
            if (k >= 0 && colors[size_t(k)] == clWhite) colors[size_t(k)] = color;
        });
    }
    for (size_t k = 0; k < areas.size(); ++k) {
        if (colors[k] == areas[k].Color) continue;
        areas_->Paint(Image1->Picture, int(k), colors[k]);
        areas[k].Color = colors[k];
    }
    Image1->update();
    return true;
}

void TfrmGraphForm::SpeedButton1Click()
{
    // The button latches only through this command; a click alone does not change it.
    SpeedButton1->setChecked(legendLatched_);
    if (ComboBox1->count() == 0) return;
    std::unique_ptr<TfrmEditForm4> dialog(new TfrmEditForm4(this));
    dialog->Legend = Legend;
    dialog->FillRec(false);
    const int result = dialog->Execute();
    // With no research chosen there is nothing to build intervals for: only the settings change.
    if (!Selected()) return;
    if (result == erChanged) {
        if (!dialog->CheckBox1->isChecked()) return;
        if (Legend->AutoIntervals) FillIntervals();
        PaintLegend();
    }
    ComboBox1Change();
    if (Legend->AddLegend) {
        legendLatched_ = true;
        SpeedButton1->setCheckable(true);
        SpeedButton1->setChecked(true);
    }
}

void TfrmGraphForm::PaintLegend()
{
    QImage& pic = Image1->Picture;
    if (pic.isNull()) return;
    QPainter p(&pic);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(9);  // 7 points on a 96-dpi canvas
    font.setBold(true);
    p.setFont(font);
    p.setPen(QGuiApplication::palette().color(QPalette::Text));  // clWindowText
    const int w = p.fontMetrics().horizontalAdvance(QStringLiteral("название программы"));
    const bool intensity = CheckBox1->isChecked();
    int a = 1;
    int r = 0;
    for (int c = 0; c < Legend->Count(); ++c) {
        OLegend::TUnits& it = Legend->Items(c);
        const int f = IntervalStep(c, Legend->IntervalCount);
        TColor base = 0;
        if (IntervalBase(intensity, Legend->Color, f, base)) it.Color = Lighten(base, 100 - f);
        const int x = 630 - a * w;
        const int y = 335 + 15 * r;
        p.fillRect(QRect(x, y, 10, 10), QColor(Qt::black));
        p.fillRect(QRect(x + 1, y + 1, 8, 8), ColorToQColor(it.Color));
        const QRect box(QPoint(645 - a * w, y), QPoint(630 - a * w + w - 1, y + 9));
        TColor back = Pictures::PixelColor(pic, box.left() - 1, box.top() - 1);
        if (back == 0xFFFFFFFF) back = clWhite;  // outside the picture
        if (box.width() > 0) {
            p.fillRect(box, ColorToQColor(back));
            p.setClipRect(box);
            p.drawText(QRect(box.left(), box.top() - 1, w, 30), Qt::AlignLeft | Qt::AlignTop, it.Label);
            p.setClipping(false);
        }
        if (++r == 4) {
            r = 0;
            ++a;
        }
    }
    p.end();
    const int columns = (Legend->Count() + 3) / 4;
    if (columns > 0) areas_->LegendPainted(QRect(QPoint(630 - columns * w, 335), QPoint(629, 389)));
    Image1->update();
}

void TfrmGraphForm::ScrollBox2Resize()
{
    Drag->ScrollBox2Resize();
}

// ---- Hover hint

bool TfrmGraphForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image2 && event->type() == QEvent::Leave && HintWindow) HintWindow->hide();
    return TMapPictureWindow::eventFilter(watched, event);
}

THoverIndex::Sources TfrmGraphForm::HoverSources() const
{
    return {EnsureAppConfig().MapFile, DataFiles::PathOf(DataFiles::LinksToMapFile),
            DataFiles::PathOf(DataFiles::RegionsFile), EnsureAppConfig().Bgc4};
}

int TfrmGraphForm::GetRegion(int X, int Y)
{
    return hover_->RegionAt(HoverSources(), X, Y);
}

QString TfrmGraphForm::GetRegionName(int ID, int FieldNo)
{
    return FieldNo == 2 ? hover_->RegionName(HoverSources(), ID) : QString();
}

void TfrmGraphForm::Image2MouseMove(int X, int Y)
{
    const int id = GetRegion(X, Y);
    if (id == 0) return;  // the hint shown last stays
    QString text = GetRegionName(id, 2);
    if (const OResearches::TUnits* r = Selected()) {
        const int research = r->ID;
        text += QStringLiteral(": ") + Regional::FloatToStr(GetMesValue(research, id));
    }
    ShowMapHint(text);
}

void TfrmGraphForm::ShowMapHint(const QString& Text)
{
    if (Text.isEmpty() || !HintWindow) return;
    const QFontMetrics fm(HintWindow->font());
    const int m = 2 * (HintWindow->margin() + HintWindow->frameWidth());
    const QRect text = fm.boundingRect(QRect(0, 0, qMax(1, Image2->width() - m), 100000), Qt::TextWordWrap, Text);
    const int w = text.width() + m + 4;
    const int h = text.height() + m;
    const QPoint at = QCursor::pos();
    HintWindow->setText(Text);
    HintWindow->setGeometry(at.x() + 2, at.y() - h - 5, w, h);
    HintWindow->show();
}

// ---- Copy, save and the report hand-off

void TfrmGraphForm::CopyToClipBrd()
{
    QGuiApplication::clipboard()->setImage(Image1->Picture);
}

void TfrmGraphForm::SaveToFile()
{
    if (HintWindow) HintWindow->hide();  // not over the dialog
    Dialogs::FileRequest request;
    request.Picture = true;
    request.Filter = QStringLiteral(
        "Все (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|Рисунок JPEG (*.jpg)|*.jpg|"
        "Рисунок JPEG (*.jpeg)|*.jpeg|Точечные рисунки (*.bmp)|*.bmp|Значки (*.ico)|*.ico|"
        "Расширенные метафайлы (*.emf)|*.emf|Метафайлы (*.wmf)|*.wmf");
    const QString file = Dialogs::SaveFileName(request);
    if (file.isEmpty()) return;
    // The picture's own format, whatever the extension.
    Pictures::SaveBitmap(Image1->Picture, file);
}

void TfrmGraphForm::PrintPreview()
{
    HandOff(0);
}

void TfrmGraphForm::Print(int copies)
{
    Q_UNUSED(copies);  // the report library prints one copy at once
    HandOff(1);
}

void TfrmGraphForm::PrintEx()
{
    HandOff(3);
}

TReportProp TfrmGraphForm::FillReportProp() const
{
    TReportProp prop{};
    GetPrinterPaper(prop.Orientation, prop.PaperSize);
    prop.PrinterIndex = Printer().PrinterIndex();
    // The settings' numbers as they stand: the library takes them as tenths of a millimetre.
    const TAppConfig& config = EnsureAppConfig();
    prop.TopMargin = config.TopMargin;
    prop.LeftMargin = config.LeftMargin;
    prop.BottomMargin = config.BottomMargin;
    prop.RightMargin = config.RightMargin;
    return prop;
}

void TfrmGraphForm::HandOff(int mode)
{
    if (HintWindow) HintWindow->hide();  // not over the library's windows
    const QString picture = QStringLiteral("00RepGraph.bmp");
    const QString handOff = QStringLiteral("00Korvel.tmp");
    // Both files go on every path, the error paths included.
    struct Cleanup {
        QString Picture, HandOff;
        ~Cleanup()
        {
            WriteTempFile(false, HandOff, {});
            WriteTempFile(false, Picture, {});
        }
    } cleanup{picture, handOff};
    // A picture that cannot be written stops here, before the library is called.
    const QByteArray bytes = Pictures::BitmapBytes(Image1->Picture);
    if (bytes.isEmpty()) throw EInOutError(QStringLiteral("Cannot create file %1: the picture cannot be encoded").arg(picture));
    WriteTempBytes(picture, bytes);
    WriteTempFile(true, handOff, {TempFilePath(picture), ComboBox1->currentText()});

    const TReportProp prop = FillReportProp();
    // The library finds the program's main window by its native window id and makes it the
    // owner of its progress and preview windows.
    const bool ok = PrintReport(intptr_t(window()->winId()), 0, mode, EnsureAppConfig().Scale, &prop);
    if (ok) {
        WriteLog(QStringLiteral("Сформирован внешний отчет № 0. ") + windowTitle());
        return;
    }
    const QString message = QStringLiteral("При попытке печати возникла непредвиденная ошибка!");
    WriteLog(QStringLiteral("ОШИБКА! ") + message);
    // The hand-off text goes before the box, the picture after it.
    WriteTempFile(false, handOff, {});
    Dialogs::Error(message);
}
