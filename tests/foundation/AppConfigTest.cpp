// Reading tvk.ini into AppConfig: defaults, value rules and the error path.
#include "DatabaseFixture.h"

#include <QFile>

namespace {

class AppConfigTest : public DatabaseFixture {
protected:
    // tvk.ini after the fixture's [server] section: lines separated by "|".
    void Ini(const char* lines) { WriteIni(QString::fromUtf8(lines).split(QLatin1Char('|'))); }
};

TEST_F(AppConfigTest, MissingFileGivesEveryDefaultAndIsNotCreated)
{
    LoadConfig(QStringLiteral("DejaVu Sans"));
    const TAppConfig& c = *AppConfig;
    EXPECT_EQ(ConfigFileName(), appDir_ + QStringLiteral("tvk.ini"));
    EXPECT_FALSE(QFile::exists(ConfigFileName()));
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
    EXPECT_EQ(QList<quint32>({c.Bgc1, c.Bgc2, c.Bgc3, c.Bgc4, c.Bgc5, c.Bgc6, c.Bgc7, c.Bgc8, c.Bgc9, c.Fc1, c.Fc2}),
              QList<quint32>({15780518, 16444382, 15335378, 12303359, 16316664, 15335378, 11599871, 11599871, 11599871,
                              16711680, 255}));
    EXPECT_EQ(QList<int>({c.FAUsagePeriod, c.RowHeight, c.DetLevel, c.DecCount, c.TopMargin, c.BottomMargin,
                          c.LeftMargin, c.RightMargin, c.BoldLine, c.RegLine, c.Scale}),
              QList<int>({5, 20, 1, 1, 1, 1, 1, 1, 2, 1, 100}));
    EXPECT_TRUE(c.AutoSave && c.AutoBackup && c.WordWrap && c.AutoSum && c.ReplaceValues && c.LinesColor &&
                c.GraphBg && c.SaveBlankRows && c.VLines && c.PrintPageNum && c.PrintLegend && c.PrintSubtitle &&
                c.PrintGrid);
    EXPECT_FALSE(c.GLines);
    EXPECT_TRUE(c.TaxRate == 18.0 && c.RotateAngle == 1.56999);
    EXPECT_EQ(QStringList({c.Delimiter, c.DBPath, c.MapFile, c.FontName, c.AppDir, c.CommentChar}),
              QStringList({QStringLiteral(";"), QString(), QString(), QStringLiteral("DejaVu Sans"), appDir_,
                           QStringLiteral("#")}));
}

TEST_F(AppConfigTest, ValueRules)
{
    Ini("[COLORS]|BGC1=0xFF|bgc2=$FF|bgc3=-1|bgc4=12abc|[tables]|rowheight=300|detlevel=x|glines=|vlines=0|"
        "[print]|printgrid=2|printlegend=x|scale=  150  |fontname=\"Arial\"|[constants]|delimeterstring=|"
        "taxrate=20.5");
    LoadConfig();
    const TAppConfig& c = *AppConfig;
    EXPECT_EQ(QList<quint32>({c.Bgc1, c.Bgc2, c.Bgc3, c.Bgc4}), QList<quint32>({255, 255, 0xFFFFFFFFu, 12303359}));
    EXPECT_EQ(QList<int>({c.RowHeight, c.DetLevel, c.Scale}), QList<int>({44, 1, 150}));
    EXPECT_FALSE(c.GLines || c.VLines);
    EXPECT_TRUE(c.PrintGrid && c.PrintLegend);
    // A delimiter present but empty is empty, not the default.
    EXPECT_EQ(QStringList({c.FontName, c.DBPath, c.Delimiter}), QStringList({QStringLiteral("Arial"), db_, QString()}));
    EXPECT_EQ(c.TaxRate, 20.5);
    EXPECT_TRUE(dialogs_->Messages.isEmpty());

    const std::pair<const char*, const char*> words[] = {{"Tab", "\t"}, {"Space", " "}, {"tab", "tab"}, {"SPACE", "SPACE"}, {"|", "|"}};
    for (const auto& [value, expected] : words) {
        WriteIni({QStringLiteral("[constants]"), QStringLiteral("delimeterstring=") + QLatin1String(value)});
        LoadConfig();
        EXPECT_EQ(AppConfig->Delimiter, QLatin1String(expected)) << value;
    }
}

TEST_F(AppConfigTest, LongValuesAndRegionalFloats)
{
    WriteIni({QStringLiteral("mapfile=") + QString(3000, u'a')});
    LoadConfig();
    EXPECT_EQ(AppConfig->MapFile.size(), 2047);

    // Floats follow the regional decimal separator.
    Regional::Set(Regional::Russian());
    Ini("[constants]|rotateangle=1.5|taxrate=12,25");
    LoadConfig();
    EXPECT_EQ(AppConfig->RotateAngle, 1.56999);
    EXPECT_EQ(AppConfig->TaxRate, 12.25);
}

TEST_F(AppConfigTest, UnreadableFileIsLoggedAndShownAndLeavesTheDefaults)
{
    // Read once with values of its own, as the settings dialog reads again later.
    Ini("[colors]|bgc1=7|[print]|scale=150");
    LoadConfig();
    ASSERT_EQ(AppConfig->Bgc1, 7u);
    // As created for a run: every field zero until the read.
    const QString appDir = AppConfig->AppDir;
    for (bool fresh : {false, true}) {
        if (fresh) {
            *AppConfig = TAppConfig();
            AppConfig->AppDir = appDir;
        }
        dialogs_->Messages.clear();
        QFile::remove(ConfigFileName());
        QDir().rmdir(ConfigFileName());
        ASSERT_TRUE(QDir().mkdir(ConfigFileName()));
        LoadConfig(QStringLiteral("DejaVu Sans"));
        ASSERT_EQ(dialogs_->Messages.size(), 1);
        EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
        EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(QStringLiteral("Ошибка чтения файла конфигурации.\n")));
        EXPECT_TRUE(dialogs_->Messages[0].Text.contains(QStringLiteral("tvk.ini")));
        EXPECT_TRUE(LogLines().last().contains(QStringLiteral(", ОШИБКА! ")));
        // Nothing was read: the defaults are in force, not zeros nor the earlier values.
        const TAppConfig& c = *AppConfig;
        EXPECT_EQ(QList<quint32>({c.Bgc1, c.Bgc5, c.Fc2}), QList<quint32>({15780518, 16316664, 255})) << fresh;
        EXPECT_EQ(QList<int>({c.RowHeight, c.Scale, c.LeftMargin, c.BoldLine}), QList<int>({20, 100, 1, 2})) << fresh;
        EXPECT_TRUE(c.AutoSave && c.WordWrap && c.PrintGrid && !c.GLines) << fresh;
        EXPECT_EQ(c.RotateAngle, 1.56999);
        EXPECT_EQ(QStringList({c.Delimiter, c.FontName, c.DBPath}),
                  QStringList({QStringLiteral(";"), QStringLiteral("DejaVu Sans"), QString()}));
        QDir().rmdir(ConfigFileName());
    }
}

}  // namespace
