// The place lookups over a regions or districts file.
#include "DataFilesFixture.h"
#include "Exceptions.h"
#include "../platform/Faults.h"

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class PlaceFilesTest : public DataFilesFixture {};

TEST_F(PlaceFilesTest, PlaceIndexFindsWhatAReadingFromTheTopFinds)
{
    const PlaceIndex none = ReadPlaces(DataPath(RegionsFile));
    EXPECT_FALSE(none.Exists());
    EXPECT_EQ(none.Name(1), QString());
    WriteData(RegionsFile, {u"# регионы"_s, u"2;Тыва"_s, u"1;Алтай"_s, u"2;Другая Тыва"_s, u"x;Плохо"_s, u"007;Бурятия"_s});
    const PlaceIndex index = ReadPlaces(DataPath(RegionsFile));
    EXPECT_TRUE(index.Exists());
    ASSERT_EQ(index.Lines().size(), 5);
    EXPECT_EQ(index.Lines()[4].IdText, u"007"_s);
    // The first line wins; a bad line stops only the lookups that reach it.
    EXPECT_EQ(index.Name(2), u"Тыва"_s);
    EXPECT_EQ(index.Name(1), u"Алтай"_s);
    EXPECT_EQ(MessageOf<EConvertError>([&] { index.Name(7); }), u"'x' is not a valid integer value"_s);
    EXPECT_EQ(MessageOf<EConvertError>([&] { index.Name(5); }), u"'x' is not a valid integer value"_s);
    EXPECT_THROW(index.IDs(), EConvertError);
    WriteData(RegionsFile, {u"2;Тыва"_s, u"007;Бурятия"_s});
    EXPECT_EQ(ReadPlaces(DataPath(RegionsFile)).IDs(), QList<int>({2, 7}));
    EXPECT_EQ(ReadPlaces(DataPath(RegionsFile)).Name(5), QString());
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(PlaceFilesTest, PlaceNamesReportABadIdentifier)
{
    WriteData(RegionsFile, {u"1;Москва"_s, u"#2;нет"_s, u"q;Плохо"_s, u"3; Тверь "_s});
    EXPECT_EQ(ReadPlaceNames(DataPath(RegionsFile)),
              (QList<QPair<int, QString>>{{1, u"Москва"_s}, {0, u"Плохо"_s}, {3, u"Тверь"_s}}));
    // The bad identifier is reported as the loaders report it, not dropped in silence.
    EXPECT_EQ(dialogs_->Texts().last(), u"Ошибка доступа к файлу!\n'q' is not a valid integer value"_s);
    EXPECT_EQ(CountLog(u"ОШИБКА! 'q' is not a valid integer value"_s), 1);
}

}  // namespace
