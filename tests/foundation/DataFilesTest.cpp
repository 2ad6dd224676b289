// The data-file readers and writers: line rules, key-field errors, layouts and safe rewrites.
#include "AnsiCodec.h"
#include "AppConfig.h"
#include "DataFiles.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace DataFiles;
using TestSupport::ReadBytes;
using TestSupport::WriteBytes;

namespace {

class DataFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = EnsureAppConfig();
        AppConfig->AppDir = dir_.path() + QLatin1Char('/');
        AppConfig->DBPath = dir_.path();
        AppConfig->Delimiter = QStringLiteral(";");
        AppConfig->CommentChar = QStringLiteral("#");
        Regional::Set(Regional::Neutral());
    }
    void TearDown() override
    {
        *AppConfig = saved_;
        Regional::Set(Regional::Neutral());
    }
    QString Path(const QString& name) const { return PathOf(name); }
    QStringList Log() const { return TestSupport::ReadAnsiLines(dir_.path() + QStringLiteral("/tvk.log")); }
    static QByteArray Ansi(const QString& text) { return AnsiCodec::Encode(text); }

    QTemporaryDir dir_;
    TAppConfig saved_;
    Dialogs::ScriptedHandler dialogs_;
};

TEST_F(DataFilesTest, SkipRulesAndMissingFile)
{
    TORegions list;
    list.Add();  // the placeholder stays alone when there is no file
    LoadResult r = LoadRegions(Path(RegionsFile), list);
    EXPECT_TRUE(r.Complete);
    EXPECT_EQ(list.Count(), 1);

    WriteBytes(Path(RegionsFile), Ansi(QStringLiteral("\r\n;9;skipped\r\n#1;comment\r\n #2;read\r\n3;Три\n4;Четыре")));
    r = LoadRegions(Path(RegionsFile), list);
    EXPECT_TRUE(r.Complete);
    EXPECT_EQ(r.Records, 3);
    ASSERT_EQ(list.Count(), 4);
    // " #2" is a record line whose key does not convert.
    EXPECT_EQ(list.Items(1).ID, 0);
    EXPECT_EQ(list.Items(1).Name, QStringLiteral("read"));
    EXPECT_EQ(list.Items(2).Name, QStringLiteral("Три"));
    EXPECT_EQ(list.Items(3).ID, 4);
    EXPECT_EQ(list.Items(3).Name, QStringLiteral("Четыре"));
    EXPECT_EQ(dialogs_.Count(Dialogs::Box::Error), 1);

    EXPECT_TRUE(DataFiles::IsSkipped(u""));
    EXPECT_TRUE(DataFiles::IsSkipped(u";x"));
    EXPECT_TRUE(DataFiles::IsSkipped(u"#x"));
    EXPECT_FALSE(DataFiles::IsSkipped(u" #x"));
    EXPECT_EQ(ReadLines(Path(RegionsFile)).size(), 6);
}

TEST_F(DataFilesTest, BadKeyFieldIsReportedOnceAndReadingGoesOn)
{
    TestSupport::WriteAnsiLines(Path(RegionsFile), {QStringLiteral("3;Тверская область;Тверь"),
                                                    QStringLiteral("abc;Плохая;X"), QStringLiteral("17;Б"),
                                                    QStringLiteral("9;В")});
    TORegions list;
    list.Add();
    const LoadResult r = LoadRegions(Path(RegionsFile), list);
    EXPECT_TRUE(r.Complete);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Items(2).ID, 0);
    EXPECT_EQ(list.Items(2).Name, QStringLiteral("Плохая"));
    EXPECT_EQ(list.Items(2).Capital, QStringLiteral("X"));
    EXPECT_EQ(list.Items(3).ID, 17);
    // The highest identifier, whatever the gaps and the order.
    EXPECT_EQ(list.MaxID, 17);
    ASSERT_EQ(dialogs_.Messages.size(), 1);
    EXPECT_EQ(dialogs_.Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_EQ(dialogs_.Messages[0].Text, QStringLiteral("Ошибка доступа к файлу!\n'abc' is not a valid integer value"));
    const QStringList log = Log();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QStringLiteral(", ОШИБКА! 'abc' is not a valid integer value, ")));
}

TEST_F(DataFilesTest, RegionsAreWrittenWithEightFields)
{
    TestSupport::WriteAnsiLines(Path(RegionsFile), {QStringLiteral("5;Тверская область"),
                                                    QStringLiteral("6;А;Б;1;2;3;4;5;лишнее")});
    TORegions list;
    list.Add();
    LoadRegions(Path(RegionsFile), list);
    SaveRegions(Path(RegionsFile), list);
    EXPECT_EQ(TestSupport::ReadAnsiLines(Path(RegionsFile)),
              QStringList({QStringLiteral("5;Тверская область;;;;;;"), QStringLiteral("6;А;Б;1;2;3;4;5")}));

    // Districts keep four fields; a table without records is an empty file.
    TestSupport::WriteAnsiLines(Path(FederalPartsFile), {QStringLiteral("1;Центральный;Москва;ЦФО;extra")});
    TORegions districts;
    districts.Add();
    LoadFederalParts(Path(FederalPartsFile), districts);
    EXPECT_EQ(districts.Items(1).CodeMSH, QStringLiteral("ЦФО"));
    EXPECT_TRUE(districts.Items(1).CodeMVD.IsEmpty());
    SaveFederalParts(Path(FederalPartsFile), districts);
    EXPECT_EQ(TestSupport::ReadAnsiLines(Path(FederalPartsFile)), QStringList({QStringLiteral("1;Центральный;Москва;ЦФО")}));
    districts.Delete(1);
    SaveFederalParts(Path(FederalPartsFile), districts);
    EXPECT_TRUE(QFile::exists(Path(FederalPartsFile)));
    EXPECT_EQ(ReadBytes(Path(FederalPartsFile)).size(), 0);
}

TEST_F(DataFilesTest, EveryHighByteSurvivesARewrite)
{
    QByteArray name;
    for (int b = 0x80; b <= 0xFF; ++b) name += char(b);
    const QByteArray bytes = "1;" + name + ";Capital;;;;;\r\n2;x;;;;;;\r\n";
    WriteBytes(Path(RegionsFile), bytes);
    TORegions list;
    list.Add();
    LoadRegions(Path(RegionsFile), list);
    EXPECT_EQ(list.Items(1).Name.Str().size(), 128);
    SaveRegions(Path(RegionsFile), list);
    EXPECT_EQ(ReadBytes(Path(RegionsFile)), bytes);
}

TEST_F(DataFilesTest, LongFieldsAreCut)
{
    const QString longText = QString(300, QChar(0x0416));
    TestSupport::WriteAnsiLines(Path(RegionsFile), {QStringLiteral("1;") + longText + QStringLiteral(";c;") + longText});
    TORegions list;
    LoadRegions(Path(RegionsFile), list);
    EXPECT_EQ(list.Items(0).Name.Str().size(), 255);
    EXPECT_EQ(list.Items(0).CodeMVD.Str().size(), 50);
}

// A write that the file-size limit stops halfway (root ignores permissions, not this).
TEST_F(DataFilesTest, FailedRewriteKeepsTheOldFile)
{
    const QByteArray old = "1;old;;;;;;\r\n";
    WriteBytes(Path(RegionsFile), old);
    TORegions list;
    list.Add();
    for (int i = 1; i <= 500; ++i) {
        list.Add();
        list.Items(i).ID = i;
        list.Items(i).Name = QStringLiteral("Регион номер %1").arg(i);
    }
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    QString message;
    try {
        SaveRegions(Path(RegionsFile), list);
    } catch (const EInOutError& e) {
        threw = true;
        message = e.Message;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_TRUE(message.contains(RegionsFile)) << message.toStdString();
    EXPECT_EQ(ReadBytes(Path(RegionsFile)), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList({RegionsFile}));

    // A database directory that is gone: an error, nothing written.
    AppConfig->DBPath = dir_.path() + QStringLiteral("/gone");
    EXPECT_THROW(SaveRegions(Path(RegionsFile), list), EInOutError);
}

TEST_F(DataFilesTest, UnencodableTextStopsBeforeWriting)
{
    const QByteArray old = "1;old;;;;;;\r\n";
    WriteBytes(Path(RegionsFile), old);
    TORegions list;
    list.Add();
    list.Add();
    list.Items(1).Name = QStringLiteral("\u4e2d");
    EXPECT_THROW(SaveRegions(Path(RegionsFile), list), EConvertError);
    EXPECT_EQ(ReadBytes(Path(RegionsFile)), old);
}

TEST_F(DataFilesTest, DelimiterOfOtherLengthIsRefused)
{
    const QByteArray old = "1;a;;;;;;\r\n";
    WriteBytes(Path(RegionsFile), old);
    for (const QString& d : {QString(), QStringLiteral(";;")}) {
        AppConfig->Delimiter = d;
        EXPECT_FALSE(DelimiterUsable());
        EXPECT_FALSE(CheckDelimiter());
        TORegions list;
        list.Add();
        const LoadResult r = LoadRegions(Path(RegionsFile), list);
        EXPECT_FALSE(r.Complete);
        EXPECT_EQ(r.Error, DelimiterWarning);
        EXPECT_EQ(list.Count(), 1);
        EXPECT_THROW(SaveRegions(Path(RegionsFile), list), EInOutError);
        EXPECT_THROW(HasMeasurements(Path(MeasurementsFile), 1), EInOutError);
    }
    EXPECT_EQ(dialogs_.Count(Dialogs::Box::Warning), 2);
    EXPECT_EQ(dialogs_.Messages[0].Text, DelimiterWarning);
    EXPECT_EQ(ReadBytes(Path(RegionsFile)), old);
}

TEST_F(DataFilesTest, TabDelimiterKeepsSemicolons)
{
    AppConfig->Delimiter = QStringLiteral("\t");
    TestSupport::WriteAnsiLines(Path(ResearchRegisterFile), {QStringLiteral("1\tДоля; в %\t0\t1")});
    TOResearches list;
    LoadResearches(Path(ResearchRegisterFile), list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).Name, QStringLiteral("Доля; в %"));
    EXPECT_EQ(list.Items(0).Ref2, 1);
    EXPECT_EQ(ResearchLine(list.Items(0)), QStringLiteral("1\tДоля; в %\t0\t1"));
}

TEST_F(DataFilesTest, BadLevelStopsTheRegisterLoad)
{
    TestSupport::WriteAnsiLines(Path(ResearchRegisterFile),
                                {QStringLiteral("1;Население;0;1"), QStringLiteral("2;Доход;x;1"),
                                 QStringLiteral("3;Потом;0;0")});
    TOResearches list;
    list.Add();
    LoadResult r = LoadResearches(Path(ResearchRegisterFile), list);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(r.Error, QStringLiteral("'x' is not a valid integer value"));
    // The failing line's record stays with its identifier and name; nothing after it is read.
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(2).ID, 2);
    EXPECT_EQ(list.Items(2).Name, QStringLiteral("Доход"));
    EXPECT_EQ(list.MaxID, 2);
    EXPECT_TRUE(dialogs_.Messages.isEmpty());

    // A line of two fields stops it too.
    TestSupport::WriteAnsiLines(Path(ResearchRegisterFile), {QStringLiteral("1;Население")});
    TOResearches other;
    r = LoadResearches(Path(ResearchRegisterFile), other);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(r.Error, QStringLiteral("'' is not a valid integer value"));
}

TEST_F(DataFilesTest, LoadMeasurementsOfOneResearch)
{
    // Lines of other researches are looked at only in field 2.
    TestSupport::WriteAnsiLines(Path(MeasurementsFile),
                                {QStringLiteral("1;2;5;01.02.2005;10:00:00;1.5"), QStringLiteral("7;1;3;bad;bad;bad"),
                                 QStringLiteral("# comment"), QStringLiteral("4;2;6;31.12.2004;23:59:59;-2"),
                                 QStringLiteral("x;2;7;01.01.2000;00:00:00;0")});
    TOResearches list;
    list.Add();
    LoadResult r = LoadMeasurements(Path(MeasurementsFile), 2, list);
    EXPECT_TRUE(r.Complete);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.MaxID, 4);
    const OResearches::TUnits& m = list.Items(2);
    EXPECT_EQ(m.ID, 4);
    EXPECT_EQ(m.Ref1, 2);
    EXPECT_EQ(m.Ref2, 6);
    EXPECT_EQ(m.Date, Regional::StrToDate(u"31.12.2004"));
    EXPECT_EQ(m.Time, Regional::StrToTime(u"23:59:59"));
    EXPECT_EQ(m.Value, -2.0);
    EXPECT_EQ(list.Items(3).ID, 0);
    EXPECT_EQ(dialogs_.Count(Dialogs::Box::Error), 1);
    EXPECT_TRUE(HasMeasurements(Path(MeasurementsFile), 1));
    EXPECT_FALSE(HasMeasurements(Path(MeasurementsFile + QStringLiteral(".none")), 1));

    // A bad date in the research's own line, or a bad field 2 anywhere, stops the load.
    TOResearches first;
    r = LoadMeasurements(Path(MeasurementsFile), 1, first);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(r.Error, QStringLiteral("'bad' is not a valid date"));
    TestSupport::WriteAnsiLines(Path(MeasurementsFile), {QStringLiteral("1;q;5;01.02.2005;10:00:00;1")});
    TOResearches none;
    r = LoadMeasurements(Path(MeasurementsFile), 2, none);
    EXPECT_FALSE(r.Complete);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_THROW(HasMeasurements(Path(MeasurementsFile), 2), EConvertError);
}

TEST_F(DataFilesTest, SaveMeasurementsKeepsOtherLinesByteForByte)
{
    // Another research's bad line, a comment and a last line without its line end.
    const QByteArray before = Ansi(QStringLiteral(
        "1;1;5;01.02.2005;10:00:00;1.5\r\n"
        "1;2;5;01.02.2005;10:00:00;7\r\n"
        "# заметка\r\n"
        "2;3;6;31.02.2005;10:00:00;1,5\r\n"
        "2;02;6;01.02.2005;10:00:00;8\r\n"
        "3;1;007;01.02.2005;10:00:00;2"));
    WriteBytes(Path(MeasurementsFile), before);
    TOResearches list;
    list.Add();
    ASSERT_TRUE(LoadMeasurements(Path(MeasurementsFile), 2, list).Complete);
    ASSERT_EQ(list.Count(), 3);
    list.Delete(1);
    list.Items(1).Value = 0.25;
    list.Add();
    OResearches::TUnits& added = list.Items(2);
    added.ID = list.MaxID + 1;
    added.Ref1 = 2;
    added.Ref2 = 9;
    added.Date = Regional::StrToDate(u"15.06.2006");
    added.Time = Regional::StrToTime(u"08:05:00");
    added.Value = 100;
    SaveMeasurements(Path(MeasurementsFile), 2, list);
    const QByteArray expected = Ansi(QStringLiteral(
        "1;1;5;01.02.2005;10:00:00;1.5\r\n"
        "# заметка\r\n"
        "2;3;6;31.02.2005;10:00:00;1,5\r\n"
        "3;1;007;01.02.2005;10:00:00;2\r\n"
        "2;2;6;01.02.2005;10:00:00;0.25\r\n"
        "3;2;9;15.06.2006;08:05:00;100\r\n"));
    EXPECT_EQ(ReadBytes(Path(MeasurementsFile)), expected);

    // A missing file is created with the research's lines.
    QFile::remove(Path(MeasurementsFile));
    SaveMeasurements(Path(MeasurementsFile), 2, list);
    EXPECT_EQ(TestSupport::ReadAnsiLines(Path(MeasurementsFile)).size(), 2);
}

TEST_F(DataFilesTest, MeasurementSaveRefusesClashingSeparators)
{
    Regional::Set(Regional::Russian());
    AppConfig->Delimiter = QStringLiteral(",");
    const QByteArray old = "1,1,5,01.02.2005,10:00:00,1\r\n";
    WriteBytes(Path(MeasurementsFile), old);
    TOResearches list;
    list.Add();
    EXPECT_THROW(SaveMeasurements(Path(MeasurementsFile), 1, list), EConvertError);
    EXPECT_EQ(ReadBytes(Path(MeasurementsFile)), old);
}

// The direct readings and writings of numbers, dates and times must agree with the regional ones.
TEST_F(DataFilesTest, MeasurementFormatsAgreeWithTheRegionalConversions)
{
    const double values[] = {0, 1, -1, 0.1, 1.5, 123456.789, 1e-4, 9.99999e-5, 1e14, 999999999999999.0, 1e15,
                             -2.5e-7, 1.0 / 3, 2.0 / 3 * 1000, 3.14159265358979, 1e300};
    const double dates[] = {0, 1, -1, 38384, 2958465, -693593, 36525, 38384.5};
    const double times[] = {0, 0.5, 1.0 / 86400, 86399.0 / 86400, 0.123456, 37230.0 / 86400};
    Regional::Settings usa = Regional::Neutral();
    usa.ShortDateFormat = QStringLiteral("M/d/yyyy");
    usa.LongTimeFormat = QStringLiteral("H:mm:ss");
    for (const Regional::Settings& settings : {Regional::Neutral(), Regional::Russian(), usa}) {
        Regional::Set(settings);
        TOResearches list;
        list.Add();
        QStringList expected;
        int id = 0;
        for (double v : values)
            for (double d : dates)
                for (double t : times) {
                    list.Add();
                    OResearches::TUnits& m = list.Items(list.Count() - 1);
                    m.ID = ++id;
                    m.Ref1 = -id;
                    m.Ref2 = 7;
                    m.Date = d;
                    m.Time = t;
                    m.Value = v;
                    expected << QStringList({Regional::IntToStr(m.ID), Regional::IntToStr(m.Ref1), QStringLiteral("7"),
                                             Regional::DateToStr(d), Regional::TimeToStr(t), Regional::FloatToStr(v)})
                                    .join(QLatin1Char(';'));
                }
        EXPECT_EQ(MeasurementLine(list.Items(1)), expected[0]);
        SaveAllMeasurements(Path(MeasurementsFile), list);
        const QStringList written = TestSupport::ReadAnsiLines(Path(MeasurementsFile));
        ASSERT_EQ(written.size(), expected.size());
        for (int i = 0; i < written.size(); ++i) ASSERT_EQ(written[i], expected[i]) << i;

        TOResearches back;
        back.Add();
        ASSERT_TRUE(LoadAllMeasurements(Path(MeasurementsFile), back).Complete);
        ASSERT_EQ(back.Count(), list.Count());
        for (int i = 1; i < back.Count(); ++i) {
            const QStringList f = written[i - 1].split(QLatin1Char(';'));
            const OResearches::TUnits& m = back.Items(i);
            ASSERT_EQ(m.Ref1, Regional::StrToInt(f[1]));
            ASSERT_EQ(m.Date, Regional::StrToDate(f[3])) << f[3].toStdString();
            ASSERT_EQ(m.Time, Regional::StrToTime(f[4])) << f[4].toStdString();
            ASSERT_EQ(m.Value, Regional::StrToFloat(f[5])) << f[5].toStdString();
        }
        EXPECT_EQ(back.MaxID, id);
    }
}

TEST_F(DataFilesTest, LinksAreGuardedTogether)
{
    TestSupport::WriteAnsiLines(Path(LinksToMapFile),
                                {QStringLiteral("0;5;10;20"), QStringLiteral("1;7;x;30"), QStringLiteral("1;8;-3;4")});
    TOCoordinates points;
    EXPECT_TRUE(LoadLinks(Path(LinksToMapFile), points).Complete);
    ASSERT_EQ(points.Count(), 3);
    EXPECT_EQ(points.Items(1).Level, 1);
    EXPECT_EQ(points.Items(1).PlaceID, 7);
    EXPECT_EQ(points.Items(1).X, 0);
    EXPECT_EQ(points.Items(1).Y, 0);
    EXPECT_EQ(dialogs_.Count(Dialogs::Box::Error), 1);
    SaveLinks(Path(LinksToMapFile), points);
    EXPECT_EQ(TestSupport::ReadAnsiLines(Path(LinksToMapFile)),
              QStringList({QStringLiteral("0;5;10;20"), QStringLiteral("1;7;0;0"), QStringLiteral("1;8;-3;4")}));
}

TEST_F(DataFilesTest, PlaceNamesLeaveOutBadIdentifiers)
{
    TestSupport::WriteAnsiLines(Path(RegionsFile),
                                {QStringLiteral("1;Москва"), QStringLiteral("#2;нет"), QStringLiteral("q;Плохо"),
                                 QStringLiteral("3; Тверь ")});
    const QList<QPair<int, QString>> names = ReadPlaceNames(Path(RegionsFile));
    ASSERT_EQ(names.size(), 2);
    EXPECT_EQ(names[0], qMakePair(1, QStringLiteral("Москва")));
    EXPECT_EQ(names[1], qMakePair(3, QStringLiteral("Тверь")));
    EXPECT_TRUE(dialogs_.Messages.isEmpty());
}

}  // namespace
