// The link points file of the map.
#include "DataFilesFixture.h"

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class LinkFilesTest : public DataFilesFixture {};

TEST_F(LinkFilesTest, LinksKeepWhatWasReadBeforeABadField)
{
    WriteData(LinksToMapFile, {u"0;5;10;20"_s, u"1;7;x;30"_s, u"1;8;-3;4"_s});
    TOCoordinates points;
    EXPECT_TRUE(LoadLinks(DataPath(LinksToMapFile), points).Complete);
    ASSERT_EQ(points.Count(), 3);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    // The four fields are guarded together: the bad line keeps what was read before its error.
    SaveLinks(DataPath(LinksToMapFile), points);
    EXPECT_EQ(ReadData(LinksToMapFile), QStringList({u"0;5;10;20"_s, u"1;7;0;0"_s, u"1;8;-3;4"_s}));
}

}  // namespace
