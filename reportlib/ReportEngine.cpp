// The report layer of the library: a report of bands laid out on paper in tenths of a
// millimetre and rendered into page pictures, one QPicture per page.
#include "ReportEngine.h"

#include "Exceptions.h"
#include "Pictures.h"

#include <QPainter>
#include <cmath>

int TenthsToPixels(double tenths)
{
    return int(std::trunc(tenths * ReportPixelsPerInch / 254.0));
}

void TReportImage::LoadFromFile(const QString& fileName)
{
    Picture = Pictures::LoadFromFile(fileName);
}

void TReportImage::Paint(QPainter& painter, const QPoint& origin, const QRect& printable) const
{
    if (Picture.isNull()) return;
    // Margins that leave less room than the design box shrink the box: the whole picture is
    // scaled into what the paper can show instead of being cut at the margins.
    const QRect box = Bounds.translated(origin) & printable;
    if (box.isEmpty()) return;
    if (Stretch)
        painter.drawImage(box, Picture);
    else
        painter.drawImage(box.topLeft(), Picture, QRect(QPoint(0, 0), box.size()));
}

void TReportLabel::Paint(QPainter& painter, const QPoint& origin) const
{
    const QRect box = Bounds.translated(origin);
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    if (!Transparent) painter.fillRect(box, Color);
    painter.setFont(Font);
    painter.setPen(Qt::black);
    int flags = int(Alignment);
    if (WordWrap) flags |= Qt::TextWordWrap;
    painter.drawText(box, flags, Caption);
    painter.restore();
}

void TReport::Prepare()
{
    pages_.clear();
    const bool landscape = Page.Orientation != 1;
    const int width = TenthsToPixels(landscape ? Page.Length : Page.Width);
    const int height = TenthsToPixels(landscape ? Page.Width : Page.Length);
    const QRect printable(QPoint(TenthsToPixels(Page.LeftMargin), TenthsToPixels(Page.TopMargin)),
                          QPoint(width - TenthsToPixels(Page.RightMargin) - 1,
                                 height - TenthsToPixels(Page.BottomMargin) - 1));

    QPicture page;
    page.setBoundingRect(QRect(0, 0, width, height));
    {
        QPainter painter(&page);
        if (TitleBand && printable.isValid()) {
            const QRect band(printable.topLeft(), QSize(printable.width(), TitleBand->Height));
            painter.setClipRect(band.intersected(printable));
            painter.fillRect(band, TitleBand->Color);
            for (const TReportImage* image : TitleBand->Images) image->Paint(painter, band.topLeft(), printable);
            for (const TReportLabel* label : TitleBand->Labels) label->Paint(painter, band.topLeft());
        }
    }
    pages_.append(page);
}

const QPicture& TReport::Pages(int i) const
{
    if (i < 1 || i > pages_.size()) throw EListError::OutOfBounds(i);
    return pages_[i - 1];
}
