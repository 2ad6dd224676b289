// The layout of the map report: one title band with the map picture and its caption.
#include "RepGraph.h"

#include "ExportFunctions.h"
#include "ReportEngine.h"

TForm21* Form21 = nullptr;

TForm21::TForm21(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form21"));
    setWindowTitle(QStringLiteral("Диаграмма"));

    Enterprise = new TReport(this);
    Enterprise->setObjectName(QStringLiteral("Enterprise"));

    TitleBand1 = new TReportBand(Enterprise);
    TitleBand1->setObjectName(QStringLiteral("TitleBand1"));
    TitleBand1->Height = 609;
    TitleBand1->Color = Qt::white;
    Enterprise->TitleBand = TitleBand1;

    QRImage1 = new TReportImage(TitleBand1);
    QRImage1->setObjectName(QStringLiteral("QRImage1"));
    QRImage1->Bounds = QRect(0, 0, 761, 513);
    QRImage1->Stretch = true;
    TitleBand1->Images.append(QRImage1);

    QRLabel1 = new TReportLabel(TitleBand1);
    QRLabel1->setObjectName(QStringLiteral("QRLabel1"));
    QRLabel1->Bounds = QRect(0, 520, 761, 23);
    QRLabel1->Caption = QStringLiteral("Data");
    QRLabel1->Alignment = Qt::AlignHCenter | Qt::AlignTop;
    QRLabel1->WordWrap = true;
    QRLabel1->Transparent = false;
    QRLabel1->Color = Qt::white;
    // Arial 12 points at the layout's 96 pixels per inch.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12 * ReportPixelsPerInch / 72);
    QRLabel1->Font = font;
    TitleBand1->Labels.append(QRLabel1);
}

void LoadReportData(int ReportKind)
{
    if (ReportKind != 0 || !Form21) return;
    QString line;
    ReadTempLine(ReportKind, 0, line);
    Form21->QRImage1->LoadFromFile(line);
    ReadTempLine(ReportKind, 1, line);
    Form21->QRLabel1->Caption = line;
}
