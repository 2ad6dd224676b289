// The data-file readers and writers: line rules, key-field errors, layouts and safe rewrites.
#include "AnsiCodec.h"
#include "DataFiles.h"
#include "DefFun.h"
#include "DatabaseFixture.h"
#include "Exceptions.h"
#include "../platform/Faults.h"

#include <QFile>

#include <cmath>

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

// A list holding the placeholder record that the windows keep at index 0.
template <class List>
struct WithPlaceholder : List { WithPlaceholder() { this->Add(); } };

class DataFilesTest : public DatabaseFixture {
protected:
    void Put(const QString& name, const QByteArray& bytes) { TestSupport::WriteBytes(DataPath(name), bytes); }
    QByteArray Bytes(const QString& name) const { return TestSupport::ReadBytes(DataPath(name)); }
    static QByteArray Ansi(const QString& text) { return AnsiCodec::Encode(text); }
    // The file's bytes after a load into a list with its placeholder and a save of that list.
    template <class List>
    QByteArray RoundTrip(const QString& name, const QByteArray& bytes, LoadResult (*load)(const QString&, List&),
                         void (*save)(const QString&, const List&))
    {
        Put(name, bytes);
        WithPlaceholder<List> list;
        EXPECT_TRUE(load(DataPath(name), list).Complete);
        save(DataPath(name), list);
        return Bytes(name);
    }
};

TEST_F(DataFilesTest, LineRulesAndTheKeyFieldError)
{
    WithPlaceholder<TORegions> list;  // the placeholder stays alone when there is no file
    EXPECT_TRUE(LoadRegions(DataPath(RegionsFile), list).Complete);
    EXPECT_EQ(list.Count(), 1);

    // " #2" is a record line whose key does not convert; LF and no line end at the last line.
    Put(RegionsFile, Ansi(u"\r\n;9;skipped\r\n#1;comment\r\n #2;read\r\nabc;Плохая;X\r\n17;Б\n9;В"_s));
    const LoadResult r = LoadRegions(DataPath(RegionsFile), list);
    EXPECT_TRUE(r.Complete && r.Records == 4) << r.Records;
    ASSERT_EQ(list.Count(), 5);
    EXPECT_TRUE(list.Items(1).ID == 0 && list.Items(1).Name == u"read"_s);
    EXPECT_TRUE(list.Items(2).ID == 0 && list.Items(2).Name == u"Плохая"_s && list.Items(2).Capital == u"X"_s);
    EXPECT_TRUE(list.Items(4).ID == 9 && list.Items(4).Name == u"В"_s);
    // The highest identifier, whatever the gaps and the order.
    EXPECT_EQ(list.MaxID, 17);
    ASSERT_EQ(dialogs_->Count(Dialogs::Box::Error), 2);
    EXPECT_EQ(dialogs_->Messages[1].Text, u"Ошибка доступа к файлу!\n'abc' is not a valid integer value"_s);
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_TRUE(LogLines()[1].contains(u", ОШИБКА! 'abc' is not a valid integer value, "_s));
}

TEST_F(DataFilesTest, TablesAreRewrittenInTheirLayouts)
{
    EXPECT_EQ(RoundTrip(RegionsFile, Ansi(u"5;Тверская область\r\n6;А;Б;1;2;3;4;5;лишнее"_s), LoadRegions, SaveRegions),
              Ansi(u"5;Тверская область;;;;;;\r\n6;А;Б;1;2;3;4;5\r\n"_s));
    // Districts and the register keep four fields; a table without records is an empty file.
    EXPECT_EQ(RoundTrip(FederalPartsFile, Ansi(u"1;Центр;Москва;ЦФО;x\n"_s), LoadFederalParts, SaveFederalParts),
              Ansi(u"1;Центр;Москва;ЦФО\r\n"_s));
    EXPECT_EQ(RoundTrip(ResearchRegisterFile, Ansi(u"3;Доход;1;0;x"_s), LoadResearches, SaveResearches),
              Ansi(u"3;Доход;1;0\r\n"_s));
    EXPECT_EQ(RoundTrip(FederalPartsFile, "# note\r\n", LoadFederalParts, SaveFederalParts), QByteArray());
    EXPECT_TRUE(QFile::exists(DataPath(FederalPartsFile)));

    // Every high byte survives a rewrite.
    QByteArray name;
    for (int b = 0x80; b <= 0xFF; ++b) name += char(b);
    const QByteArray bytes = "1;" + name + ";Capital;;;;;\r\n2;x;;;;;;\r\n";
    EXPECT_EQ(RoundTrip(RegionsFile, bytes, LoadRegions, SaveRegions), bytes);
}

// A read-only database directory, and a write that the file-size limit stops halfway.
TEST_F(DataFilesTest, FailedSavesKeepTheOldFile)
{
    const QByteArray old = "1;old;;;;;;\r\n";
    Put(RegionsFile, old);
    WithPlaceholder<TORegions> list;
    for (int i = 1; i <= 500; ++i) {
        list.Add();
        list.Items(i).ID = i;
        list.Items(i).Name = u"Регион номер %1"_s.arg(i);
    }
    const auto save = [&] { SaveRegions(DataPath(RegionsFile), list); };
    EXPECT_TRUE(MessageInReadOnlyDirectory(db_, save).startsWith(u"Unable to write to "_s + DataPath(RegionsFile)));
    EXPECT_EQ(Bytes(RegionsFile), old);
    const QString message = MessageUnderFileSizeLimit(4096, save);
    EXPECT_TRUE(message.contains(RegionsFile)) << message.toStdString();
    EXPECT_EQ(Bytes(RegionsFile), old);
    EXPECT_EQ(QDir(db_).entryList(QDir::Files), QStringList({RegionsFile}));

    // A database directory that is gone: an error, nothing written.
    AppConfig->DBPath = dir_.path() + u"/gone"_s;
    EXPECT_THROW(SaveRegions(PathOf(RegionsFile), list), EInOutError);
    // Text the code page lacks stops before writing.
    list.Items(1).Name = u"\u4e2d"_s;
    EXPECT_THROW(SaveRegions(DataPath(RegionsFile), list), EConvertError);
    EXPECT_EQ(Bytes(RegionsFile), old);
}

TEST_F(DataFilesTest, DelimiterOfOtherLengthIsRefused)
{
    const QByteArray old = "1;a;;;;;;\r\n";
    Put(RegionsFile, old);
    for (const QString& d : {QString(), u";;"_s}) {
        AppConfig->Delimiter = d;
        EXPECT_FALSE(DelimiterUsable() || CheckDelimiter());
        WithPlaceholder<TORegions> list;
        const LoadResult r = LoadRegions(DataPath(RegionsFile), list);
        EXPECT_TRUE(!r.Complete && r.Error == DelimiterWarning) << r.Error.toStdString();
        EXPECT_EQ(list.Count(), 1);
        EXPECT_THROW(SaveRegions(DataPath(RegionsFile), list), EInOutError);
        EXPECT_THROW(HasMeasurements(DataPath(MeasurementsFile), 1), EInOutError);
    }
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Warning), 2);
    EXPECT_EQ(dialogs_->Messages[0].Text, DelimiterWarning);
    EXPECT_EQ(Bytes(RegionsFile), old);
}

TEST_F(DataFilesTest, RegisterLoadWithTabAndWithABadLevel)
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

TEST_F(DataFilesTest, LoadMeasurementsOfOneResearch)
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

TEST_F(DataFilesTest, SaveMeasurementsKeepsOtherLinesByteForByte)
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
TEST_F(DataFilesTest, MeasurementFormatsAgreeWithTheRegionalConversions)
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
TEST_F(DataFilesTest, EveryMeasurementLineReadsAsItsFieldsConvert)
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

TEST_F(DataFilesTest, PlaceIndexFindsWhatAReadingFromTheTopFinds)
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

TEST_F(DataFilesTest, LinksAndPlaceNames)
{
    WriteData(LinksToMapFile, {u"0;5;10;20"_s, u"1;7;x;30"_s, u"1;8;-3;4"_s});
    TOCoordinates points;
    EXPECT_TRUE(LoadLinks(DataPath(LinksToMapFile), points).Complete);
    ASSERT_EQ(points.Count(), 3);
    EXPECT_EQ(dialogs_->Count(Dialogs::Box::Error), 1);
    // The four fields are guarded together: the bad line keeps what was read before its error.
    SaveLinks(DataPath(LinksToMapFile), points);
    EXPECT_EQ(ReadData(LinksToMapFile), QStringList({u"0;5;10;20"_s, u"1;7;0;0"_s, u"1;8;-3;4"_s}));

    WriteData(RegionsFile, {u"1;Москва"_s, u"#2;нет"_s, u"q;Плохо"_s, u"3; Тверь "_s});
    EXPECT_EQ(ReadPlaceNames(DataPath(RegionsFile)),
              (QList<QPair<int, QString>>{{1, u"Москва"_s}, {0, u"Плохо"_s}, {3, u"Тверь"_s}}));
    // The bad identifier is reported as the loaders report it, not dropped in silence.
    EXPECT_EQ(dialogs_->Texts().last(), u"Ошибка доступа к файлу!\n'q' is not a valid integer value"_s);
    EXPECT_EQ(CountLog(u"ОШИБКА! 'q' is not a valid integer value"_s), 1);
}

}  // namespace

// A delimiter the program writes inside a field would split numbers, dates or times on the way
// back: it is refused by the predicate, by every reader and writer, and by CheckDelimiter.
TEST_F(DataFilesTest, DelimiterWrittenInsideFieldsIsRefused)
{
    const QByteArray old = "1;a;;;;;;\r\n";
    Put(RegionsFile, old);
    Regional::Settings s = Regional::Russian();
    s.ShortDateFormat = u"yyyy/MM/dd"_s;
    s.LongTimeFormat = u"h.mm.ss AP"_s;
    Regional::Set(s);
    const std::pair<QString, bool> cases[] = {
        {u";"_s, true},   {u"\t"_s, true},  {u" "_s, false}, {u"|"_s, true},  {u"x"_s, true},  {u"0"_s, false},
        {u"7"_s, false},  {u"+"_s, false},  {u"-"_s, false}, {u"E"_s, false}, {u"e"_s, false}, {u","_s, false},
        {u"/"_s, false},  {u"."_s, false},  {u"P"_s, false}, {u"m"_s, false}, {u"Ж"_s, true},  {u"日"_s, false},
        {QString(), false}, {u";;"_s, false}};
    for (const auto& [d, usable] : cases) {
        const QString problem = DelimiterProblem(d);
        EXPECT_EQ(problem.isEmpty(), usable) << d.toStdString();
        if (usable) continue;
        if (d.size() == 1) {
            EXPECT_TRUE(problem.contains(u'"' + d + u'"')) << problem.toStdString();
        }
        AppConfig->Delimiter = d;
        EXPECT_FALSE(DelimiterUsable());
        WithPlaceholder<TORegions> list;
        const LoadResult r = LoadRegions(DataPath(RegionsFile), list);
        EXPECT_TRUE(!r.Complete && r.Error == problem) << d.toStdString();
        EXPECT_EQ(MessageOf<EInOutError>([&] { SaveRegions(DataPath(RegionsFile), list); }), problem);
        EXPECT_EQ(MessageOf<EInOutError>([&] { HasMeasurements(DataPath(MeasurementsFile), 1); }), problem);
    }
    AppConfig->Delimiter = u","_s;
    EXPECT_FALSE(CheckDelimiter());
    EXPECT_EQ(dialogs_->Messages.back().Text, DelimiterProblem(u","_s));
    Regional::Set(Regional::Neutral());
    EXPECT_TRUE(DelimiterProblem(u","_s).isEmpty());
    EXPECT_EQ(Bytes(RegionsFile), old);
}
