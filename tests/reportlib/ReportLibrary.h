// What the report library's tests share: the library loaded with dlopen, a hand-off folder
// with a picture and 00Korvel.tmp, and readers of the printed PDF.
#pragma once

#include "Dialogs.h"
#include "ReportProp.h"

#include <QImage>
#include <QSizeF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace ReportLibrary {

// Standard output of a tool; empty when it fails.
QByteArray RunTool(const QString& program, const QStringList& arguments);
// Page count and the first page's size in points, from pdfinfo.
int PdfPages(const QString& pdf, QSizeF* size = nullptr);
QString PdfText(const QString& pdf);
QImage PdfPageImage(const QString& pdf, int page, int dpi);
// The box of every pixel within 60 of the colour in each channel.
QRect ColourBounds(const QImage& image, QColor colour);

// The map picture: red, with a green block in its top-left corner.
const QSize PictureSize(400, 200);
const QRect GreenBlock(0, 0, 80, 40);
const QColor Red(255, 0, 0), Green(0, 255, 0);

class ReportTest : public ::testing::Test {
protected:
    ReportTest();
    ~ReportTest() override;
    void WriteHandOff(const QStringList& lines);
    QString File(const QString& name) const { return Dir.filePath(name); }
    QStringList PdfFiles() const;  // written into the folder
    bool Print(int outputMode, int scale = 100) { return PrintReport(0, 0, outputMode, scale, &Prop); }

    const QString Caption = QStringLiteral("Численность населения, тыс. чел.");
    QTemporaryDir Dir;
    Dialogs::ScriptedHandler Dialogs;
    TReportProp Prop{};
    TPrintReportFn PrintReport = nullptr;
};

}  // namespace ReportLibrary
