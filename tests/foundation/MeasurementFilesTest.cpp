// The measurements file: one research among the others, every line, and the regional forms.
#include "DataFilesFixture.h"
#include "DefFun.h"
#include "Exceptions.h"

#include <QFile>

#include <cmath>

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class MeasurementFilesTest : public DataFilesFixture {};

TEST_F(MeasurementFilesTest, LoadMeasurementsOfOneResearch)
{
    // Lines of other researches are looked at only in field 2.
    WriteData(MeasurementsFile, {u"1;2;5;01.02.2005;10:00:00;1.5"_s, u"7;1;3;bad;bad;bad"_s, u"# comment"_s,
                                 u"4;2;6;31.12.2004;23:59:59;-2"_s, u"x;2;7;01.01.2000;00:00:00;0"_s});
    WithPlaceholder<TOResearches> list;
    LoadResult r = LoadMeasurements(DataPath(MeasurementsFile), 2, list);
    EXPECT_TRUE(r.Complete);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.MaxID, 4);
    const OResearches::TUnits& m = list.Items(2);
    EXPECT_TRUE(m.ID == 4 && m.Ref1 == 2 && m.Ref2 == 6 && m.Value == -2.0);
    EXPECT_TRUE(m.Date == Regional::StrToDate(u"31.12.2004") && m.Time == Regional::StrToTime(u"23:59:59"));
    EXPECT_EQ(list.Items(3).ID, 0);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    EXPECT_TRUE(HasMeasurements(DataPath(MeasurementsFile), 1));
    EXPECT_FALSE(HasMeasurements(DataPath(u"none.txt"_s), 1));

    // A bad date in the research's own line, or a bad field 2 anywhere, stops the load.
    TOResearches first;
    EXPECT_EQ(LoadMeasurements(DataPath(MeasurementsFile), 1, first).Error, u"'bad' is not a valid date"_s);
    WriteData(MeasurementsFile, {u"1;q;5;01.02.2005;10:00:00;1"_s});
    TOResearches none;
    EXPECT_FALSE(LoadMeasurements(DataPath(MeasurementsFile), 2, none).Complete);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_THROW(HasMeasurements(DataPath(MeasurementsFile), 2), EConvertError);
}

TEST_F(MeasurementFilesTest, SaveMeasurementsKeepsOtherLinesByteForByte)
{
    // Another research's bad line, a comment and a last line without its line end.
    Put(MeasurementsFile, Ansi(u"1;1;5;01.02.2005;10:00:00;1.5\r\n1;2;5;01.02.2005;10:00:00;7\r\n# заметка\r\n"
                               "2;3;6;31.02.2005;10:00:00;1,5\r\n2;02;6;01.02.2005;10:00:00;8\r\n"
                               "3;1;007;01.02.2005;10:00:00;2"_s));
    WithPlaceholder<TOResearches> list;
    ASSERT_TRUE(LoadMeasurements(DataPath(MeasurementsFile), 2, list).Complete);
    ASSERT_EQ(list.Count(), 3);
    list.Delete(1);
    list.Items(1).Value = 0.25;
    list.Add();
    list.Items(2) = {list.MaxID + 1, 2, 9, Regional::StrToDate(u"15.06.2006"), Regional::StrToTime(u"08:05:00"), 100, {}};
    SaveMeasurements(DataPath(MeasurementsFile), 2, list);
    EXPECT_EQ(Bytes(MeasurementsFile),
              Ansi(u"1;1;5;01.02.2005;10:00:00;1.5\r\n# заметка\r\n2;3;6;31.02.2005;10:00:00;1,5\r\n"
                   "3;1;007;01.02.2005;10:00:00;2\r\n2;2;6;01.02.2005;10:00:00;0.25\r\n"
                   "3;2;9;15.06.2006;08:05:00;100\r\n"_s));
    // A missing file is created with the research's lines.
    QFile::remove(DataPath(MeasurementsFile));
    SaveMeasurements(DataPath(MeasurementsFile), 2, list);
    EXPECT_EQ(ReadData(MeasurementsFile).size(), 2);

    // A delimiter that the numbers or dates use is refused before anything is written.
    Regional::Set(Regional::Russian());
    AppConfig->Delimiter = u","_s;
    const QByteArray before = Bytes(MeasurementsFile);
    EXPECT_THROW(SaveMeasurements(DataPath(MeasurementsFile), 2, list), EInOutError);
    EXPECT_EQ(Bytes(MeasurementsFile), before);
}

// The direct readings and writings of numbers, dates and times must agree with the regional ones.
TEST_F(MeasurementFilesTest, MeasurementFormatsAgreeWithTheRegionalConversions)
{
    const double values[] = {0, 1, -1, 0.1, 1.5, 123456.789, 1e-4, 9.99999e-5, 1e14, 999999999999999.0, 1e15,
                             -2.5e-7, 1.0 / 3, 2.0 / 3 * 1000, 3.14159265358979, 1e300};
    const double dates[] = {0, 1, -1, 38384, 2958465, -693593, 36525, 38384.5};
    const double times[] = {0, 0.5, 1.0 / 86400, 86399.0 / 86400, 0.123456, 37230.0 / 86400};
    Regional::Settings usa = Regional::Neutral();
    usa.ShortDateFormat = u"M/d/yyyy"_s;
    usa.LongTimeFormat = u"H:mm:ss"_s;
    for (const Regional::Settings& settings : {Regional::Neutral(), Regional::Russian(), usa}) {
        Regional::Set(settings);
        WithPlaceholder<TOResearches> list;
        QStringList expected;
        for (double v : values)
            for (double d : dates)
                for (double t : times) {
                    const int id = list.Count();
                    list.Add();
                    list.Items(id) = {id, -id, 7, d, t, v, {}};
                    expected << u"%1;%2;7;%3;%4;%5"_s.arg(Regional::IntToStr(id), Regional::IntToStr(-id), Regional::DateToStr(d),
                                                          Regional::TimeToStr(t), Regional::FloatToStr(v));
                }
        EXPECT_EQ(MeasurementLine(list.Items(1)), expected[0]);
        const QList<MeasurementTexts> texts = FormatMeasurements(list);
        ASSERT_EQ(texts.size(), expected.size());
        for (int i = 0; i < texts.size(); ++i)
            ASSERT_EQ(QStringList({texts[i].Date, texts[i].Time, texts[i].Value}).join(u';'), expected[i].section(u';', 3))
                << i;
        SaveAllMeasurements(DataPath(MeasurementsFile), list);
        ASSERT_EQ(ReadData(MeasurementsFile), expected);

        WithPlaceholder<TOResearches> back;
        ASSERT_TRUE(LoadAllMeasurements(DataPath(MeasurementsFile), back).Complete);
        ASSERT_EQ(back.Count(), list.Count());
        for (int i = 1; i < back.Count(); ++i) {
            const QStringList f = expected[i - 1].split(u';');
            const OResearches::TUnits& m = back.Items(i);
            ASSERT_EQ(m.Ref1, Regional::StrToInt(f[1]));
            ASSERT_EQ(m.Date, Regional::StrToDate(f[3])) << f[3].toStdString();
            ASSERT_EQ(m.Time, Regional::StrToTime(f[4])) << f[4].toStdString();
            ASSERT_EQ(m.Value, Regional::StrToFloat(f[5])) << f[5].toStdString();
        }
        EXPECT_EQ(back.MaxID, list.Count() - 1);
    }
}

// Lines in the writer's plain form are read in one pass, all others field by field; whatever
// the road, a line gives what the field splitter and the regional conversions give.
TEST_F(MeasurementFilesTest, EveryMeasurementLineReadsAsItsFieldsConvert)
{
    const QStringList lines{
        u"1;2;3;01.02.2005;10:00:00;1.5"_s,
        u" 4 ; 2 ;3; 01.02.2005 ;10:00:00 ; 2.5 "_s,
        u"5;2;3;1.2.2005;1:02:03;7"_s,
        u"6;2;3;01.02.2005;10:00:00;1.5;extra;fields"_s,
        u"007;-2;0003;29.02.2004;23:59:59;-0.001"_s,
        u"8;2;3;01.02.2005;10:00:00;-0"_s,
        u"9;2;3;01.02.2005;10:00:00;0.1234567890123456789"_s,
        u"10;2;3;01.02.2005;10:00:00;12345678901234567890"_s,
        u"11;2;3;01.02.2005;10:00:00;1E5"_s,
        u"12;2;3;01.02.2005;10:00:00;9007199254740993"_s,
        u"1234567890;2;3;01.02.2005;10:00:00;1"_s,
        u"14;2;3;01.02.2005;10:00:00;00012.50"_s,
        u"15;2;3;01.02.2005;10:00:00;1.5\t"_s,
        u"16;2;3;01.02.2005;10:00:00;.5"_s,
        u"17;2;3;01.02.2005;10:00:00;1,5"_s,
    };
    WriteData(MeasurementsFile, lines);
    WithPlaceholder<TOResearches> list;
    const LoadResult r = LoadAllMeasurements(DataPath(MeasurementsFile), list);
    // The last line stops the load, as the regional reading refuses its value.
    EXPECT_EQ(r.Error, u"'1,5' is not a valid floating point value"_s);
    ASSERT_EQ(list.Count(), lines.size() + 1);
    for (int i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i - 1];
        const OResearches::TUnits& m = list.Items(i);
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(m.ID, Regional::StrToInt(GetFieldNo(1, line)));
        EXPECT_EQ(m.Ref1, Regional::StrToInt(GetFieldNo(2, line)));
        EXPECT_EQ(m.Ref2, Regional::StrToInt(GetFieldNo(3, line)));
        EXPECT_EQ(m.Date, Regional::StrToDate(GetFieldNo(4, line)));
        EXPECT_EQ(m.Time, Regional::StrToTime(GetFieldNo(5, line)));
        const double value = Regional::StrToFloat(GetFieldNo(6, line));
        EXPECT_TRUE(m.Value == value && std::signbit(m.Value) == std::signbit(value)) << m.Value;
    }
}

}  // namespace
