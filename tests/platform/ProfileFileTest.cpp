// tvk.ini rules: names without regard to case, trimmed and unquoted values, integer forms,
// in-place replacement, appended keys and sections, and writes that fail without harm.
#include "Faults.h"
#include "ProfileFile.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

using TestSupport::ReadBytes;
using TestSupport::WriteBytes;
using namespace Qt::StringLiterals;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void TearDown() override { Regional::Set(Regional::Neutral()); }
    QString Path() const { return dir.path() + QStringLiteral("/tvk.ini"); }
    QString Refusal() const { return QStringLiteral("Unable to write to ") + Path(); }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ProfileFileTest, MissingFileGivesDefaultsAndIsNotCreated)
{
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("adosource"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("tables"), QStringLiteral("rowheight"), 20), 20);
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("print"), QStringLiteral("printgrid"), true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("constants"), QStringLiteral("taxrate"), 18), 18);
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("server")));
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndValuesAreTrimmedUnquotedAndCut)
{
    WriteBytes(Path(), "[COLORS]\r\nBGC1=0xFF\r\nBgc2 = $FF\r\n bgc3\t=\t 12 \t\r\n"
                       "[Server]\r\nadosource=  \"C:\\Data base\"  \r\nmapfile=\"half\r\nempty=\r\n"
                       "quoted=\"\"\r\nsingle='C:\\x'\r\nname=\xCC\xEE\xF1\xEA\xE2\xE0\r\nlong=" + QByteArray(3000, 'v') + "\r\n");
    TIniFile ini(Path());
    for (const auto& [key, value] : {std::pair(u"bgc1"_s, 255), {u"bgc2"_s, 255}, {u"bgc3"_s, 12}})
        EXPECT_EQ(ini.ReadInteger(u"colors"_s, key, 0), value) << key.toStdString();
    // Present but empty is an empty text, not the default; a key of another section is not found.
    const QString none = u"<default>"_s;
    const std::pair<QString, QString> server[] = {
        {u"ADOSOURCE"_s, u"C:\\Data base"_s}, {u"mapfile"_s, u"\"half"_s}, {u"empty"_s, QString()}, {u"quoted"_s, QString()},
        {u"single"_s, u"C:\\x"_s}, {u"name"_s, u"Москва"_s}, {u"long"_s, QString(2047, u'v')}, {u"bgc1"_s, none}};
    for (const auto& [key, value] : server) EXPECT_EQ(ini.ReadString(u"server"_s, key, none), value) << key.toStdString();
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("SERVER")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("server"), QStringLiteral("Empty")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("server"), QStringLiteral("missing")));
}

TEST_F(ProfileFileTest, IntegerBoolAndFloatRules)
{
    WriteBytes(Path(), "[t]\r\nbig=2147483648\r\nneg=-12\r\nword=abc\r\nempty=\r\nx=0x\r\nrow=300\r\n"
                       "two=2\r\nzero=0\r\npoint=1.5\r\ncomma=1,5\r\nhexneg=0xFFFFFFFF\r\n");
    TIniFile ini(Path());
    const QString t = QStringLiteral("t");
    // The 8-bit cut of a row height is the caller's.
    const std::pair<const char*, int> integers[] = {{"big", 7},  {"neg", -12}, {"word", 7},
                                                    {"empty", 7}, {"x", 7},     {"row", 300}, {"hexneg", -1}};
    for (const auto& [key, expected] : integers) EXPECT_EQ(ini.ReadInteger(t, QString::fromLatin1(key), 7), expected) << key;
    // Boolean: any whole number but 0 is true; what is none gives the default.
    for (const auto& [key, def, expected] :
         {std::tuple(u"two"_s, false, true), {u"zero"_s, true, false}, {u"word"_s, true, true}, {u"empty"_s, false, false}})
        EXPECT_EQ(ini.ReadBool(t, key, def), expected) << key.toStdString();
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("point"), 9), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("comma"), 9), 9);
    Regional::Set(Regional::Russian());
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("point"), 1.56999), 1.56999);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("comma"), 1.56999), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("empty"), 1.56999), 1.56999);
}

TEST_F(ProfileFileTest, WritesReplaceInPlaceAndAppendKeysAndSections)
{
    WriteBytes(Path(), "; my settings\r\n[colors]\r\nbgc1=1\r\nBGC2=2\r\n\r\n[Tables]\r\nrowheight=20\r\n");
    TIniFile ini(Path());
    ini.WriteInteger(QStringLiteral("COLORS"), QStringLiteral("bgc2"), -5);
    EXPECT_EQ(ReadBytes(Path()), QByteArray("; my settings\r\n[colors]\r\nbgc1=1\r\nBGC2=-5\r\n\r\n[Tables]\r\nrowheight=20\r\n"));
    // A new key goes after the last entry of its section, before the blank line.
    ini.WriteBool(QStringLiteral("colors"), QStringLiteral("bgc3"), true);
    ini.WriteString(QStringLiteral("tables"), QStringLiteral("wordwrap"), QStringLiteral("0"));
    ini.WriteString(QStringLiteral("server"), QStringLiteral("adosource"), QStringLiteral("/data/Москва"));
    EXPECT_EQ(ReadBytes(Path()), QByteArray("; my settings\r\n[colors]\r\nbgc1=1\r\nBGC2=-5\r\nbgc3=1\r\n\r\n"
                                            "[Tables]\r\nrowheight=20\r\nwordwrap=0\r\n"
                                            "[server]\r\nadosource=/data/\xCC\xEE\xF1\xEA\xE2\xE0\r\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("adosource"), QString()), QStringLiteral("/data/Москва"));
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFileAndALineBreakCannotSplitIt)
{
    TIniFile ini(Path());
    Regional::Set(Regional::Russian());
    ini.WriteFloat(QStringLiteral("constants"), QStringLiteral("rotateangle"), 1.56999);
    ini.WriteFloat(QStringLiteral("constants"), QStringLiteral("taxrate"), 18);
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[constants]\r\nrotateangle=1,56999\r\ntaxrate=18\r\n"));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("constants"), QStringLiteral("rotateangle"), 0), 1.56999);
    ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("a\r\n[x]\nb=c"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("x")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k"), QString()), QStringLiteral("a  [x] b=c"));
}

// Failed writes leave the old file whole: a character the code page lacks, a missing
// directory, and the file-size limit reached half way.
TEST_F(ProfileFileTest, FailedWritesLeaveTheFileAlone)
{
    const QByteArray before("[s]\r\nk=1\r\n");
    WriteBytes(Path(), before);
    EXPECT_THROW(TIniFile(Path()).WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("日本")), EConvertError);
    EXPECT_EQ(ReadBytes(Path()), before);

    const QString missing = dir.path() + u"/none/tvk.ini"_s;
    EXPECT_EQ(MessageOf([&] { TIniFile(missing).WriteInteger(u"s"_s, u"k"_s, 2); }), u"Unable to write to "_s + missing);

    EXPECT_EQ(MessageUnderFileSizeLimit(1024, [&] { TIniFile(Path()).WriteString(u"s"_s, u"k"_s, QString(1500, u'x')); }), Refusal());
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("tvk.ini")});
}

TEST_F(ProfileFileTest, ReadOnlyDirectoryOrUnreadableFileRefusesTheWrite)
{
    const QByteArray before("[s]\r\nk=1\r\n");
    WriteBytes(Path(), before);
    const auto write = [&] { TIniFile(Path()).WriteInteger(QStringLiteral("s"), QStringLiteral("k"), 2); };
    EXPECT_EQ(MessageInReadOnlyDirectory(dir.path(), write), Refusal());
    EXPECT_EQ(ReadBytes(Path()), before);
    // A file that cannot be read is not replaced by one holding only the key written (the
    // superuser reads it all the same).
    if (geteuid() == 0) return;
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::WriteOwner));
    const QString unreadable = MessageOf(write);
    QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(unreadable, Refusal());
    EXPECT_EQ(ReadBytes(Path()), before);
}

// Several values go in one replace that keeps every other line; values already stored leave the
// file untouched (not even rewritten); a failure leaves the file as it was.
TEST_F(ProfileFileTest, WriteValuesReplacesOnceAndKeepsEveryOtherLine)
{
    const QByteArray before("; mine\r\n[colors]\r\nbgc1=1\r\nbgc2 = \"2\"\r\n\r\n[other]\r\nx=y\r\n");
    WriteBytes(Path(), before);
    TIniFile ini(Path());
    const QList<TIniFile::Entry> same = {{u"colors"_s, u"BGC1"_s, u"1"_s}, {u"Colors"_s, u"bgc2"_s, u"2"_s}};
    ini.WriteValues(same);
    EXPECT_EQ(ReadBytes(Path()), before);
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner));
    ini.WriteValues(same);  // nothing to write, so a read-only file is no error
    ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    ini.WriteValues({{u"colors"_s, u"bgc1"_s, u"5"_s}, {u"colors"_s, u"bgc3"_s, u"3"_s}, {u"new"_s, u"k"_s, u"v"_s}, {u"colors"_s, u"bgc2"_s, u"2"_s}});
    EXPECT_EQ(ReadBytes(Path()), QByteArray("; mine\r\n[colors]\r\nbgc1=5\r\nbgc2 = \"2\"\r\nbgc3=3\r\n\r\n[other]\r\nx=y\r\n[new]\r\nk=v\r\n"));

    const QByteArray after = ReadBytes(Path());
    EXPECT_THROW(ini.WriteValues({{u"colors"_s, u"bgc1"_s, u"6"_s}, {u"colors"_s, u"bgc2"_s, u"日本"_s}}), EConvertError);
    EXPECT_EQ(ReadBytes(Path()), after);
    EXPECT_EQ(MessageInReadOnlyDirectory(dir.path(), [&] { ini.WriteValues({{u"colors"_s, u"bgc1"_s, u"6"_s}}); }), Refusal());
    EXPECT_EQ(ReadBytes(Path()), after);
}

namespace {

QByteArray Utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

}  // namespace

// How a file edited by hand reads: line ends, blanks, headers, lines without "=", encodings.
TEST_F(ProfileFileTest, HandEditedFilesReadAsWindowsReadsThem)
{
    const QString none = u"<default>"_s;
    const struct { QByteArray bytes; const char* section; const char* key; QString value; } cases[] = {
        // A lone CR ends a line, as LF and CR LF do.
        {"[s]\rk=1\r", "s", "k", u"1"_s},
        {"[s]\r\r\nk=1\r\r\n", "s", "k", u"1"_s},
        {"[s]\rk=1\rj=2", "s", "j", u"2"_s},
        {"[s]\nk=1", "s", "k", u"1"_s},
        // VT, FF and ^Z are blanks around names and values.
        {"[s]\r\nj=2\x1A", "s", "j", u"2"_s},
        {"\x1A[ s\v]\f\r\n\vk\f=\t3\v\r\n", "s", "k", u"3"_s},
        // A header needs its "]", and its name runs to the last one.
        {"[s\r\nk=1\r\n", "s", "k", none},
        {"[t]\r\n[s\r\nk=1\r\n", "t", "k", u"1"_s},
        {"[a]b]\r\nk=1\r\n", "a]b", "k", u"1"_s},
        {"[a]b]\r\nk=1\r\n", "a", "k", none},
        // A line without "=" is an entry without a value, hiding a later one of its name.
        {"[s]\r\nk\r\nk=1\r\n", "s", "k", none},
        {"[s]\r\n k \r\nj=1\r\n", "s", "j", u"1"_s},
        // UTF-16LE with its byte-order mark is read; a UTF-8 mark is part of the first line.
        {Utf16(u"[s]\r\nk=Москва 日本\r\n"_s), "s", "k", u"Москва 日本"_s},
        {Utf16(u"[s]\r\nk=1\r\n"_s) + 'x', "s", "k", u"1"_s},
        {"\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2\r\n", "s", "k", none},
        {"\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2\r\n", "t", "k", u"2"_s},
    };
    for (const auto& c : cases) {
        WriteBytes(Path(), c.bytes);
        EXPECT_EQ(TIniFile(Path()).ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), none), c.value)
            << c.bytes.toStdString();
    }
    WriteBytes(Path(), "[s]\r\nk\r\n");
    EXPECT_TRUE(TIniFile(Path()).ValueExists(u"s"_s, u"k"_s));
    EXPECT_EQ(TIniFile(Path()).ReadInteger(u"s"_s, u"k"_s, 7), 7);
}

// A write changes the one line it changes (its line end kept), or adds lines, and nothing else.
TEST_F(ProfileFileTest, WritesChangeOnlyWhatTheyChange)
{
    const struct { QByteArray before; const char* section; const char* key; QString value; QByteArray after; } cases[] = {
        {"[s]\rk=1\r", "s", "k", u"2"_s, "[s]\rk=2\r"},
        {"[s]\r\r\nk=1\r\r\n", "s", "k", u"2"_s, "[s]\r\r\nk=2\r\r\n"},
        {"[s]\rk=1\r", "s", "j", u"5"_s, "[s]\rk=1\rj=5\r"},
        {"[s]\nk=1", "s", "j", u"5"_s, "[s]\nk=1\nj=5\n"},
        {"[s]\r\nj=2\x1A", "s", "j", u"2"_s, "[s]\r\nj=2\x1A"},
        {"[t]\r\n[s\r\nk=1\r\n", "s", "k", u"2"_s, "[t]\r\n[s\r\nk=1\r\n[s]\r\nk=2\r\n"},
        {"[s]\r\nk\r\nk=1\r\n", "s", "k", u"2"_s, "[s]\r\nk=2\r\nk=1\r\n"},
        {"[s]\r\n  k = \"2\" \r\n", "s", "k", u"2"_s, "[s]\r\n  k = \"2\" \r\n"},
        {"[s]\r\n  k = 1 \r\n", "s", "k", u"2"_s, "[s]\r\nk=2\r\n"},
        {"; top\n[a]\n\n[b]\nx=1\n", "a", "k", u"v"_s, "; top\n[a]\nk=v\n\n[b]\nx=1\n"},
        {"", "s", "k", u"v"_s, "[s]\r\nk=v\r\n"},
        {"; only a comment", "s", "k", u"v"_s, "; only a comment\r\n[s]\r\nk=v\r\n"},
        {Utf16(u"[s]\r\nk=1\r\n"_s), "s", "k", u"日本"_s, Utf16(u"[s]\r\nk=日本\r\n"_s)},
        {Utf16(u"[s]\nk=1"_s) + 'x', "t", "j", u"Ж"_s, Utf16(u"[s]\nk=1\n[t]\nj=Ж\n"_s) + 'x'},
    };
    for (const auto& c : cases) {
        WriteBytes(Path(), c.before);
        TIniFile(Path()).WriteString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), c.value);
        EXPECT_EQ(ReadBytes(Path()), c.after) << c.before.toStdString();
    }
}

// A settings file kept by hand: LF line ends, comments, blank lines, no final line end.
TEST_F(ProfileFileTest, AHandKeptFileKeepsEveryOtherByte)
{
    const QByteArray before = "; Kestrova, my settings\n\n[server]\n  adosource = /data/db  \n; the map\nmapfile=map.bmp\n\n"
                              "[tables]\t; grid\nrowheight=20\nautosave";
    WriteBytes(Path(), before);
    TIniFile ini(Path());
    ini.WriteString(u"server"_s, u"adosource"_s, u"/data/db"_s);
    ini.WriteInteger(u"Tables"_s, u"RowHeight"_s, 20);
    EXPECT_EQ(ReadBytes(Path()), before);
    ini.WriteString(u"server"_s, u"mapfile"_s, u"other.bmp"_s);
    QByteArray expected = before;
    expected.replace("mapfile=map.bmp", "mapfile=other.bmp");
    EXPECT_EQ(ReadBytes(Path()), expected);
    ini.WriteValues({{u"tables"_s, u"autosave"_s, u"1"_s}, {u"tables"_s, u"wordwrap"_s, u"0"_s}, {u"print"_s, u"scale"_s, u"100"_s}});
    expected.replace("\nautosave", "\nautosave=1\nwordwrap=0\n[print]\nscale=100\n");
    EXPECT_EQ(ReadBytes(Path()), expected);
}
