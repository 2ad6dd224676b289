// The layout of the map report: one title band with the map picture and its caption.
#pragma once

#include <QWidget>

class TReport;
class TReportBand;
class TReportImage;
class TReportLabel;

// Never shown: it only holds the report layout.
class TForm21 : public QWidget {
    Q_OBJECT
public:
    explicit TForm21(QWidget* parent = nullptr);

    TReport* Enterprise;
    TReportBand* TitleBand1;
    TReportImage* QRImage1;
    TReportLabel* QRLabel1;
};

extern TForm21* Form21;

// Kind 0: the picture named by line 1 of the hand-off file and the caption of line 2.
// Other kinds load nothing.
void LoadReportData(int ReportKind);
