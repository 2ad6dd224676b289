// The research register file in its layout.
#include "DataFilesFixture.h"

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class RegisterFilesTest : public DataFilesFixture {};

TEST_F(RegisterFilesTest, RegisterIsRewrittenInItsLayout)
{
    // The register keeps four fields.
    EXPECT_EQ(RoundTrip(ResearchRegisterFile, Ansi(u"3;Доход;1;0;x"_s), LoadResearches, SaveResearches),
              Ansi(u"3;Доход;1;0\r\n"_s));
}

TEST_F(RegisterFilesTest, RegisterLoadWithTabAndWithABadLevel)
{
    AppConfig->Delimiter = u"\t"_s;
    const QByteArray tab = Ansi(u"1\tДоля; в %\t0\t1\r\n"_s);
    EXPECT_EQ(RoundTrip(ResearchRegisterFile, tab, LoadResearches, SaveResearches), tab);

    AppConfig->Delimiter = u";"_s;
    WriteData(ResearchRegisterFile, {u"1;Население;0;1"_s, u"2;Доход;x;1"_s, u"3;Потом;0;0"_s});
    WithPlaceholder<TOResearches> list;
    LoadResult r = LoadResearches(DataPath(ResearchRegisterFile), list);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(r.Error, u"'x' is not a valid integer value"_s);
    // The failing line's record stays with its identifier and name; nothing after it is read.
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Items(2).ID == 2 && list.Items(2).Name == u"Доход"_s);
    EXPECT_EQ(list.MaxID, 2);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    // A line of two fields stops it too.
    WriteData(ResearchRegisterFile, {u"1;Население"_s});
    r = LoadResearches(DataPath(ResearchRegisterFile), list);
    EXPECT_EQ(r.Error, u"'' is not a valid integer value"_s);
}

}  // namespace
