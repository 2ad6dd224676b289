// The pages of one print job and the page-replay helper.
#include "MetaPages.h"

#include "Exceptions.h"
#include "Printer.h"

#include <QPainter>
#include <QPaintDevice>

TMetaPages* CurrentPages = nullptr;

TMetaPages::TMetaPages(QObject* Owner) : QObject(Owner) {}

TMetaPages::~TMetaPages()
{
    qDeleteAll(FList);
    if (CurrentPages == this) CurrentPages = nullptr;
}

QPicture* TMetaPages::AddPage()
{
    FList.append(new QPicture);
    return FList.last();
}

int TMetaPages::Count() const
{
    return int(FList.size());
}

QPicture* TMetaPages::Pages(int Index) const
{
    if (Index < 0 || Index >= FList.size()) throw EListError::OutOfBounds(Index);
    return FList.at(Index);
}

void ReplayPage(QPainter& painter, const QPicture& page)
{
    const QPaintDevice* device = painter.device();
    painter.save();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter.scale(double(page.logicalDpiX()) / device->logicalDpiX(),
                      double(page.logicalDpiY()) / device->logicalDpiY());
    painter.drawPicture(0, 0, page);
    painter.restore();
}

bool PrintMetaPages(const TMetaPages& pages, int first, int last, int copies)
{
    TPrinter& printer = Printer();
    printer.BeginDoc();
    if (printer.Aborted()) {
        printer.EndDoc();
        return false;
    }
    try {
        bool firstSheet = true;
        for (int copy = 0; copy < copies; ++copy) {
            for (int i = first; i <= last; ++i) {
                if (!firstSheet) printer.NewPage();
                firstSheet = false;
                ReplayPage(*printer.Canvas(), *pages.Pages(i));
            }
        }
        printer.EndDoc();
    } catch (...) {
        printer.Abort();
        throw;
    }
    return true;
}
