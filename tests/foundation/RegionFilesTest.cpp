// The reference tables: the regions and federal districts files in their layouts.
#include "DataFilesFixture.h"

#include <QFile>

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class RegionFilesTest : public DataFilesFixture {};

TEST_F(RegionFilesTest, TablesAreRewrittenInTheirLayouts)
{
    EXPECT_EQ(RoundTrip(RegionsFile, Ansi(u"5;Тверская область\r\n6;А;Б;1;2;3;4;5;лишнее"_s), LoadRegions, SaveRegions),
              Ansi(u"5;Тверская область;;;;;;\r\n6;А;Б;1;2;3;4;5\r\n"_s));
    // Districts keep four fields; a table without records is an empty file.
    EXPECT_EQ(RoundTrip(FederalPartsFile, Ansi(u"1;Центр;Москва;ЦФО;x\n"_s), LoadFederalParts, SaveFederalParts),
              Ansi(u"1;Центр;Москва;ЦФО\r\n"_s));
    EXPECT_EQ(RoundTrip(FederalPartsFile, "# note\r\n", LoadFederalParts, SaveFederalParts), QByteArray());
    EXPECT_TRUE(QFile::exists(DataPath(FederalPartsFile)));

    // Every high byte survives a rewrite.
    QByteArray name;
    for (int b = 0x80; b <= 0xFF; ++b) name += char(b);
    const QByteArray bytes = "1;" + name + ";Capital;;;;;\r\n2;x;;;;;;\r\n";
    EXPECT_EQ(RoundTrip(RegionsFile, bytes, LoadRegions, SaveRegions), bytes);
}

}  // namespace
