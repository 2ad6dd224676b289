// The map window: shows the map picture and colours the linked areas by one research.
#pragma once

#include "DataFiles.h"
#include "HoverIndex.h"
#include "MapPicture.h"
#include "OCoordinates.h"
#include "OLegend.h"
#include "OResearches.h"
#include "Pictures.h"
#include "ReportProp.h"
#include "WhiteAreas.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class TMeasurementCache;

namespace ViewOnMap {

inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clRed = 0x0000FF;

// Each channel moved Percent per cent of the way to 255 (rounded half up); Percent is kept
// within 0..100, so 100 gives white and 0 the colour itself.
TColor Lighten(TColor Color, int Percent);
// The step f of interval c of count: c * 100 div (count - 1).
int IntervalStep(int c, int count);
// The base colour of an interval with step f: the legend's colour, or with intensity on the
// four intensity colours. False (keep the interval's colour) with intensity on and f above 100.
bool IntervalBase(bool intensity, TColor legendColor, int f, TColor& base);
// Rebuilds the intervals of legend for the largest value max (what FillIntervals does once
// the maximum is known).
void BuildIntervals(TOLegend& legend, int max, bool intensity);
// The colour of the first of at most IntervalCount intervals holding value; false for none.
bool FindIntervalColor(const TOLegend& legend, double value, TColor& color);

}  // namespace ViewOnMap

class TfrmGraphForm : public TMapPictureWindow {
    Q_OBJECT
public:
    explicit TfrmGraphForm(QWidget* owner = nullptr);
    ~TfrmGraphForm() override;

    int WindowKind() const override { return wkMap; }
    // LoadMap, FillCoordinates (and the linked areas of the fresh picture), FillList.
    void Load() override;

    void FormActivate() override;
    void FormDeactivate() override;
    bool FormClose() override;

    void LoadMap();
    void FillCoordinates();
    void FillList();
    void FillIntervals();
    int GetMaxValue(int ResearchID);
    double GetMesValue(int ResearchID, int PlaceID);
    void ClearMap();
    // Kind 0 (logical): Value 0 paints Bgc4, any other Bgc3; else Value is the colour.
    void FillSelected(int Kind, qint64 Value, int Level, int PlaceID);
    QString GetFieldNo(int FieldNo, QStringView Line) const;

    // The hover: the region under picture pixel X, Y of the map file's own picture (0 for
    // none), the name of a region (FieldNo 2, the only field the hover asks for), the hint.
    int GetRegion(int X, int Y);
    QString GetRegionName(int ID, int FieldNo);
    void Image2MouseMove(int X, int Y);
    void ShowMapHint(const QString& Text);

    // The main window's shared commands.
    void CopyToClipBrd() override;
    void SaveToFile() override;
    void PrintPreview() override;
    void Print(int copies) override;
    void PrintEx() override;

    // The printer properties the report hand-off gives the library: the current printer's
    // paper, orientation and index, and the margins of the settings.
    TReportProp FillReportProp() const;

    // True when the seed lies on a white pixel of the map as loaded.
    bool SeedUsable(int X, int Y) const;

    TOResearches* Researches = nullptr;
    TOLegend* Legend = nullptr;

    QLabel* StaticText1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QWidget* Image2 = nullptr;
    QLabel* HintWindow = nullptr;  // made on each activation, hidden on deactivation

public slots:
    void ComboBox1Change();
    void SpeedButton1Click();
    void ScrollBox2Resize();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class AreaModel;

    void FormCreate();
    // The selected research, or null when none is selected.
    const OResearches::TUnits* Selected() const;
    // Fills the point's area with color when it is still white.
    void FillPoint(int index, TColor color);
    QHash<int, std::vector<int>> PointsByPlace(int Level) const;
    // The research's lines of the measurements file (null when it has none; exists false when
    // there is no file). Throws the first conversion error the colouring would meet.
    const DataFiles::MeasurementIndex::Research* CheckedLines(int ResearchID, bool& exists);
    void BuildAreas();
    // Works the areas out again when the points are not those they were worked out for.
    void EnsureAreas();
    // Recolours area by area; false, with nothing done, when the area model cannot.
    bool RecolourAreas(const OResearches::TUnits& r);
    void PaintLegend();
    THoverIndex::Sources HoverSources() const;
    // The picture to the report library with the output mode (0 preview, 1 print, 3 dialog).
    void HandOff(int mode);

    std::unique_ptr<AreaModel> areas_;
    std::unique_ptr<TMeasurementCache> cache_;
    std::unique_ptr<THoverIndex> hover_;
    TFileStamp mapStamp_;  // of the map file as loaded
    // The white areas of the map as loaded.
    std::shared_ptr<const TWhiteAreas> white_;
    bool legendLatched_ = false;
};

extern TfrmGraphForm* frmGraphForm;
