// The table files' loaders: what a LoadResult tells a window of a load it must not write back.
#include "DataFiles.h"
#include "DatabaseFixture.h"

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

using TableLoadTest = DatabaseFixture;

TEST_F(TableLoadTest, IdentifiersThatDoNotReadAreCountedAndTheRestIsRead)
{
    // A "|" setting over ";" files makes every line one field, its identifier included.
    WriteData(FederalPartsFile, {u"1;Центральный;Москва;01"_s, u"# comment"_s, u"2;Южный;Ростов-на-Дону;02"_s});
    for (const auto& [delimiter, bad] : {std::pair{u";"_s, 0}, std::pair{u"|"_s, 2}}) {
        AppConfig->Delimiter = delimiter;
        TORegions list;
        const LoadResult r = LoadFederalParts(DataPath(FederalPartsFile), list);
        EXPECT_TRUE(r.Complete);
        EXPECT_EQ(r.Records, 2);
        EXPECT_EQ(r.BadKeys, bad) << delimiter.toStdString();
    }
    AppConfig->Delimiter = u";"_s;
    WriteData(RegionsFile, {u"12a;Тыва;Кызыл"_s, u"7;Коми"_s});
    TORegions regions;
    EXPECT_EQ(LoadRegions(DataPath(RegionsFile), regions).BadKeys, 1);
    EXPECT_EQ(regions.MaxID, 7);
    WriteData(ResearchRegisterFile, {u"x;Первое;0;1"_s, u"2;Второе;1;1"_s});
    TOResearches researches;
    EXPECT_EQ(LoadResearches(DataPath(ResearchRegisterFile), researches).BadKeys, 1);
}

TEST_F(TableLoadTest, TheLineThatStopsALoadIsTheLastRecordAppended)
{
    WriteData(ResearchRegisterFile, {u"1;Первое;0;1"_s, u"2;Второе;1;x"_s, u"3;Третье;1;1"_s});
    TOResearches list;
    list.Add();
    const LoadResult r = LoadResearches(DataPath(ResearchRegisterFile), list);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(r.Records, 2);
    EXPECT_EQ(r.BadKeys, 0);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(2).Name, u"Второе"_s);
}

}  // namespace
