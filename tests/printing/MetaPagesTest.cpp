#include "MetaPages.h"

#include "Exceptions.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

TEST(MetaPages, PagesAreIndexedFromZeroAndCheckTheirIndex)
{
    TMetaPages pages;
    EXPECT_EQ(pages.Count(), 0);
    QPicture* first = pages.AddPage();
    QPicture* second = pages.AddPage();
    EXPECT_EQ(pages.Count(), 2);
    EXPECT_EQ(pages.Pages(0), first);
    EXPECT_EQ(pages.Pages(1), second);
    try {
        pages.Pages(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, QStringLiteral("List index out of bounds (2)"));
    }
    EXPECT_THROW(pages.Pages(-1), EListError);
}

TEST(MetaPages, JobFreedWithItsOwnerLeavesNoDanglingCurrentPages)
{
    auto* owner = new QObject;
    CurrentPages = new TMetaPages(owner);
    delete owner;
    EXPECT_EQ(CurrentPages, nullptr);
}

// A page recorded in device pixels lands on the same pixels whatever the device's resolution.
TEST(MetaPages, ReplayIsOneUnitPerDevicePixelAtAnyResolution)
{
    QPicture page;
    QPainter recorder(&page);
    recorder.fillRect(QRect(100, 50, 200, 80), Qt::black);
    recorder.end();
    for (int dpi : {96, 300, 600, 1200}) {
        QImage image(400, 200, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        ReplayPage(painter, page);
        painter.end();
        EXPECT_EQ(qGray(image.pixel(100, 50)), 0) << dpi;
        EXPECT_EQ(qGray(image.pixel(299, 129)), 0) << dpi;
        EXPECT_EQ(qGray(image.pixel(99, 50)), 255) << dpi;
        EXPECT_EQ(qGray(image.pixel(300, 129)), 255) << dpi;
        EXPECT_EQ(qGray(image.pixel(299, 130)), 255) << dpi;
    }
}
