// Reading tvk.ini into AppConfig: defaults, value rules and the error path.
#include "AppConfig.h"
#include "Dialogs.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AppConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = EnsureAppConfig();
        *AppConfig = TAppConfig();
        AppConfig->AppDir = dir_.path() + QLatin1Char('/');
        AppConfig->CommentChar = QStringLiteral("#");
        Regional::Set(Regional::Neutral());
    }
    void TearDown() override
    {
        *AppConfig = saved_;
        Regional::Set(Regional::Neutral());
    }
    void WriteIni(const QStringList& lines) { TestSupport::WriteAnsiLines(ConfigFileName(), lines); }

    QTemporaryDir dir_;
    TAppConfig saved_;
    Dialogs::ScriptedHandler dialogs_;
};

TEST_F(AppConfigTest, MissingFileGivesEveryDefaultAndIsNotCreated)
{
    LoadConfig(QStringLiteral("DejaVu Sans"));
    const TAppConfig& c = *AppConfig;
    EXPECT_FALSE(QFile::exists(ConfigFileName()));
    EXPECT_EQ(ConfigFileName(), dir_.path() + QStringLiteral("/tvk.ini"));
    EXPECT_TRUE(dialogs_.Messages.isEmpty());
    const quint32 colors[] = {c.Bgc1, c.Bgc2, c.Bgc3, c.Bgc4, c.Bgc5, c.Bgc6, c.Bgc7, c.Bgc8, c.Bgc9, c.Fc1, c.Fc2};
    const quint32 expected[] = {15780518, 16444382, 15335378, 12303359, 16316664, 15335378,
                                11599871, 11599871, 11599871, 16711680, 255};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(colors[i], expected[i]) << i;
    EXPECT_EQ(c.TaxRate, 18.0);
    EXPECT_EQ(c.RotateAngle, 1.56999);
    EXPECT_EQ(c.FAUsagePeriod, 5);
    EXPECT_EQ(c.Delimiter, QStringLiteral(";"));
    EXPECT_TRUE(c.AutoSave && c.AutoBackup && c.WordWrap && c.AutoSum && c.ReplaceValues && c.LinesColor &&
                c.GraphBg && c.SaveBlankRows && c.VLines && c.PrintPageNum && c.PrintLegend && c.PrintSubtitle &&
                c.PrintGrid);
    EXPECT_FALSE(c.GLines);
    EXPECT_EQ(c.RowHeight, 20);
    EXPECT_EQ(c.DetLevel, 1);
    EXPECT_EQ(c.DecCount, 1);
    EXPECT_TRUE(c.DBPath.isEmpty());
    EXPECT_TRUE(c.MapFile.isEmpty());
    EXPECT_EQ(c.TopMargin, 1);
    EXPECT_EQ(c.BottomMargin, 1);
    EXPECT_EQ(c.LeftMargin, 1);
    EXPECT_EQ(c.RightMargin, 1);
    EXPECT_EQ(c.BoldLine, 2);
    EXPECT_EQ(c.RegLine, 1);
    EXPECT_EQ(c.Scale, 100);
    EXPECT_EQ(c.FontName, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(c.AppDir, dir_.path() + QLatin1Char('/'));
    EXPECT_EQ(c.CommentChar, QStringLiteral("#"));
}

TEST_F(AppConfigTest, ValueRules)
{
    WriteIni({QStringLiteral("[COLORS]"), QStringLiteral("BGC1=0xFF"), QStringLiteral("bgc2=$FF"),
              QStringLiteral("bgc3=-1"), QStringLiteral("bgc4=12abc"),
              QStringLiteral("[tables]"), QStringLiteral("rowheight=300"), QStringLiteral("detlevel=x"),
              QStringLiteral("glines="), QStringLiteral("vlines=0"),
              QStringLiteral("[print]"), QStringLiteral("printgrid=2"), QStringLiteral("printlegend=x"),
              QStringLiteral("scale=  150  "), QStringLiteral("fontname=\"Arial\""),
              QStringLiteral("[Server]"), QStringLiteral("AdoSource= /data/база "), QStringLiteral("mapfile="),
              QStringLiteral("[constants]"), QStringLiteral("delimeterstring="), QStringLiteral("taxrate=20.5")});
    LoadConfig();
    const TAppConfig& c = *AppConfig;
    EXPECT_EQ(c.Bgc1, 255u);
    EXPECT_EQ(c.Bgc2, 255u);
    EXPECT_EQ(c.Bgc3, 0xFFFFFFFFu);
    EXPECT_EQ(c.Bgc4, 12303359u);
    EXPECT_EQ(c.RowHeight, 44);
    EXPECT_EQ(c.DetLevel, 1);
    EXPECT_FALSE(c.GLines);
    EXPECT_FALSE(c.VLines);
    EXPECT_TRUE(c.PrintGrid);
    EXPECT_TRUE(c.PrintLegend);
    EXPECT_EQ(c.Scale, 150);
    EXPECT_EQ(c.FontName, QStringLiteral("Arial"));
    EXPECT_EQ(c.DBPath, QStringLiteral("/data/база"));
    EXPECT_TRUE(c.MapFile.isEmpty());
    // Present but empty: an empty delimiter, not the default.
    EXPECT_TRUE(c.Delimiter.isEmpty());
    EXPECT_EQ(c.TaxRate, 20.5);
    EXPECT_TRUE(dialogs_.Messages.isEmpty());
}

TEST_F(AppConfigTest, DelimiterWordsInExactCaseOnly)
{
    const struct {
        const char* value;
        QString expected;
    } cases[] = {{"Tab", QStringLiteral("\t")}, {"Space", QStringLiteral(" ")}, {"tab", QStringLiteral("tab")},
                 {"SPACE", QStringLiteral("SPACE")}, {"|", QStringLiteral("|")}};
    for (const auto& t : cases) {
        WriteIni({QStringLiteral("[constants]"), QStringLiteral("delimeterstring=") + QLatin1String(t.value)});
        LoadConfig();
        EXPECT_EQ(AppConfig->Delimiter, t.expected) << t.value;
    }
}

TEST_F(AppConfigTest, FloatsFollowTheRegionalDecimalSeparator)
{
    Regional::Set(Regional::Russian());
    WriteIni({QStringLiteral("[constants]"), QStringLiteral("rotateangle=1.5"), QStringLiteral("taxrate=12,25")});
    LoadConfig();
    EXPECT_EQ(AppConfig->RotateAngle, 1.56999);
    EXPECT_EQ(AppConfig->TaxRate, 12.25);
}

TEST_F(AppConfigTest, LongValuesAreCutTo2047)
{
    WriteIni({QStringLiteral("[server]"), QStringLiteral("adosource=") + QString(3000, QLatin1Char('a'))});
    LoadConfig();
    EXPECT_EQ(AppConfig->DBPath.size(), 2047);
}

TEST_F(AppConfigTest, UnreadableFileIsLoggedAndShown)
{
    AppConfig->Bgc1 = 7;
    AppConfig->Delimiter = QStringLiteral("|");
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("tvk.ini")));
    LoadConfig();
    ASSERT_EQ(dialogs_.Messages.size(), 1);
    EXPECT_EQ(dialogs_.Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_.Messages[0].Text.startsWith(QStringLiteral("Ошибка чтения файла конфигурации.\n")));
    EXPECT_TRUE(dialogs_.Messages[0].Text.contains(QStringLiteral("tvk.ini")));
    const QStringList log = TestSupport::ReadAnsiLines(dir_.path() + QStringLiteral("/tvk.log"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QStringLiteral(", ОШИБКА! ")));
    // Nothing was read: the fields keep what they held.
    EXPECT_EQ(AppConfig->Bgc1, 7u);
    EXPECT_EQ(AppConfig->Delimiter, QStringLiteral("|"));
}

}  // namespace
