// The record lists: Items, Add, Delete and the fixed-capacity texts.
#include "OCoordinates.h"
#include "OLegend.h"
#include "ORegions.h"
#include "OResearches.h"
#include "../platform/Faults.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordListsTest, ItemsAddDeleteAndCapacities)
{
    TORegions list;
    for (int i = 0; i < 3; ++i) {
        list.Add();
        list.Items(i).ID = 10 + i;
    }
    for (int bad : {-1, 3}) list.Delete(bad);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(MessageOf<EListError>([&] { list.Items(3); }), QStringLiteral("List index out of bounds (3)"));
    EXPECT_THROW(list.Items(-1), EListError);
    list.Delete(1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(QList<int>({list.Items(0).ID, list.Items(1).ID}), QList<int>({10, 12}));

    // A new record is zero-filled; texts are cut to their capacity.
    TOResearches researches;
    researches.Add();
    const OResearches::TUnits& r = researches.Items(0);
    EXPECT_TRUE(r.ID == 0 && r.Ref1 == 0 && r.Ref2 == 0 && r.Date == 0.0 && r.Time == 0.0 && r.Value == 0.0 &&
                r.Name.IsEmpty());
    TOCoordinates points;
    points.Add();
    EXPECT_EQ(points.Items(0).Level | points.Items(0).PlaceID | points.Items(0).X | points.Items(0).Y, 0);

    ORegions::TUnits& region = list.Items(0);
    region.Name = QString(300, u'n');
    region.CodeMVD = QString(60, u'c');
    EXPECT_EQ(region.Name.Str().size(), 255);
    EXPECT_EQ(region.CodeMVD.Str().size(), 50);
    OLegend::TUnits interval;
    interval.Label = QString(256, u'l');
    EXPECT_EQ(interval.Label.Str().size(), 255);
}

}  // namespace
