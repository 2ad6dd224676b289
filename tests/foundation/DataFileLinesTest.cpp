// The rules every data file shares: line rules, key-field errors, the delimiter check, safe rewrites.
#include "DataFilesFixture.h"
#include "Exceptions.h"
#include "../platform/Faults.h"

#include <QDir>

using namespace DataFiles;
using namespace Qt::StringLiterals;

namespace {

class DataFileLinesTest : public DataFilesFixture {};

TEST_F(DataFileLinesTest, LineRulesAndTheKeyFieldError)
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

// A read-only database directory, and a write that the file-size limit stops halfway.
TEST_F(DataFileLinesTest, FailedSavesKeepTheOldFile)
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

TEST_F(DataFileLinesTest, DelimiterOfOtherLengthIsRefused)
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

}  // namespace

// A delimiter the program writes inside a field would split numbers, dates or times on the way
// back: it is refused by the predicate, by every reader and writer, and by CheckDelimiter.
TEST_F(DataFileLinesTest, DelimiterWrittenInsideFieldsIsRefused)
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
