// The report layer of the library: a report of bands laid out on paper in tenths of a
// millimetre and rendered into page pictures, one QPicture per page.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPicture>
#include <QRect>
#include <QString>

// Design pixels of the layout: 96 per inch.
constexpr int ReportPixelsPerInch = 96;

// The page set-up of a report; sizes and margins in tenths of a millimetre.
struct TReportPage {
    int Orientation = 1;  // 1 portrait, 2 landscape
    double Width = 2100;  // paper width and length as for portrait (A4)
    double Length = 2970;
    double TopMargin = 0;
    double RightMargin = 0;
    double BottomMargin = 0;
    double LeftMargin = 0;
};

struct TReportPrinterSettings {
    int Orientation = 1;
};

// A picture stretched over its box.
class TReportImage : public QObject {
    Q_OBJECT
public:
    explicit TReportImage(QObject* parent = nullptr) : QObject(parent) {}
    QRect Bounds;  // in the band, design pixels
    bool Stretch = true;
    QImage Picture;
    // Loads the picture by the file's extension; throws on failure.
    void LoadFromFile(const QString& fileName);
    // Paints within the part of its box that lies in printable.
    void Paint(QPainter& painter, const QPoint& origin, const QRect& printable) const;
};

// A one-box text.
class TReportLabel : public QObject {
    Q_OBJECT
public:
    explicit TReportLabel(QObject* parent = nullptr) : QObject(parent) {}
    QRect Bounds;
    QString Caption;
    Qt::Alignment Alignment = Qt::AlignLeft;
    bool WordWrap = false;
    bool Transparent = false;
    QColor Color = Qt::white;
    QFont Font;
    void Paint(QPainter& painter, const QPoint& origin) const;
};

// A title band: printed once, at the top of the first page, as wide as the printable area.
class TReportBand : public QObject {
    Q_OBJECT
public:
    explicit TReportBand(QObject* parent = nullptr) : QObject(parent) {}
    int Height = 0;
    QColor Color = Qt::white;
    QList<TReportImage*> Images;
    QList<TReportLabel*> Labels;
};

class TReport : public QObject {
    Q_OBJECT
public:
    explicit TReport(QObject* parent = nullptr) : QObject(parent) {}

    TReportPage Page;
    TReportPrinterSettings PrinterSettings;
    TReportBand* TitleBand = nullptr;

    // Renders the report into page pictures; a report without bands gives one empty page.
    void Prepare();
    int PageCount() const { return int(pages_.size()); }
    // Page i, counted from 1; throws EListError outside 1..PageCount.
    const QPicture& Pages(int i) const;
    // The paper as for portrait, in tenths of a millimetre.
    double PaperWidth() const { return Page.Width; }
    double PaperLength() const { return Page.Length; }

private:
    QList<QPicture> pages_;
};

// Tenths of a millimetre to design pixels, truncated.
int TenthsToPixels(double tenths);
