// The four record lists: Items, Add, Delete and the fixed-capacity texts.
#include "OCoordinates.h"
#include "OLegend.h"
#include "ORegions.h"
#include "OResearches.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

TEST(RecordListsTest, ItemsAddDeleteEdges)
{
    TORegions list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.MaxID, 0);
    EXPECT_FALSE(list.Modified);
    for (int i = 0; i < 3; ++i) {
        list.Add();
        list.Items(i).ID = 10 + i;
    }
    list.Delete(-1);
    list.Delete(3);
    EXPECT_EQ(list.Count(), 3);
    try {
        list.Items(3);
        FAIL() << "no list error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, QStringLiteral("List index out of bounds (3)"));
    }
    EXPECT_THROW(list.Items(-1), EListError);
    list.Delete(1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).ID, 10);
    EXPECT_EQ(list.Items(1).ID, 12);
    list.SetMaxID(12);
    list.SetModified(true);
    EXPECT_EQ(list.MaxID, 12);
    EXPECT_TRUE(list.Modified);
}

TEST(RecordListsTest, AddGivesZeroFilledRecords)
{
    TOResearches researches;
    researches.Add();
    const OResearches::TUnits& r = researches.Items(0);
    EXPECT_EQ(r.ID, 0);
    EXPECT_EQ(r.Ref1, 0);
    EXPECT_EQ(r.Ref2, 0);
    EXPECT_EQ(r.Date, 0.0);
    EXPECT_EQ(r.Time, 0.0);
    EXPECT_EQ(r.Value, 0.0);
    EXPECT_TRUE(r.Name.IsEmpty());

    TOCoordinates points;
    points.Add();
    EXPECT_EQ(points.Items(0).Level + points.Items(0).PlaceID + points.Items(0).X + points.Items(0).Y, 0);

    TOLegend legend;
    EXPECT_FALSE(legend.AddLegend || legend.AutoIntervals);
    EXPECT_EQ(legend.Color, 0u);
    EXPECT_EQ(legend.IntervalCount, 0);
    legend.SetAddLegend(true);
    legend.SetAutoIntervals(true);
    legend.SetColor(255);
    legend.SetIntervalCount(16);
    EXPECT_TRUE(legend.AddLegend && legend.AutoIntervals);
    EXPECT_EQ(legend.Color, 255u);
    EXPECT_EQ(legend.IntervalCount, 16);
}

TEST(RecordListsTest, TextsAreCutToCapacity)
{
    TORegions list;
    list.Add();
    ORegions::TUnits& r = list.Items(0);
    r.Name = QString(300, QLatin1Char('n'));
    r.CodeMVD = QString(60, QLatin1Char('c'));
    EXPECT_EQ(r.Name.Str().size(), 255);
    EXPECT_EQ(r.CodeMVD.Str().size(), 50);
    OLegend::TUnits interval;
    interval.Label = QString(256, QLatin1Char('l'));
    EXPECT_EQ(interval.Label.Str().size(), 255);
}

TEST(RecordListsTest, OwnerFreesTheList)
{
    auto* owner = new QObject;
    QPointer<TOCoordinates> points = new TOCoordinates(owner);
    points->Add();
    delete owner;
    EXPECT_TRUE(points.isNull());
}

}  // namespace
