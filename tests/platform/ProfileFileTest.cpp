// tvk.ini rules: names without regard to case, trimmed and unquoted values, integer forms,
// in-place replacement, appended keys and sections, and writes that fail without harm.
#include "Exceptions.h"
#include "ProfileFile.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using TestSupport::ReadBytes;
using TestSupport::WriteBytes;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void TearDown() override { Regional::Set(Regional::Neutral()); }
    QString Path() const { return dir.path() + QStringLiteral("/tvk.ini"); }
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

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndValuesAreTrimmedAndUnquoted)
{
    WriteBytes(Path(), "[COLORS]\r\nBGC1=0xFF\r\nBgc2 = $FF\r\n bgc3\t=\t 12 \t\r\n"
                       "[Server]\r\nadosource=  \"C:\\Data base\"  \r\nmapfile=\"half\r\nempty=\r\n"
                       "quoted=\"\"\r\nname=\xCC\xEE\xF1\xEA\xE2\xE0\r\n");
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("colors"), QStringLiteral("bgc1"), 0), 255);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("colors"), QStringLiteral("bgc2"), 0), 255);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("colors"), QStringLiteral("bgc3"), 0), 12);
    const QString none = QStringLiteral("<default>");
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("ADOSOURCE"), none), QStringLiteral("C:\\Data base"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("mapfile"), none), QStringLiteral("\"half"));
    // Present but empty is an empty text, not the default.
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("empty"), none), QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("quoted"), none), QString());
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("name"), none), QStringLiteral("Москва"));
    // A key of another section is not found.
    EXPECT_EQ(ini.ReadString(QStringLiteral("server"), QStringLiteral("bgc1"), none), none);
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
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("big"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("neg"), 7), -12);
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("word"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("empty"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("x"), 7), 7);
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("row"), 20), 300);  // the 8-bit cut is the caller's
    EXPECT_EQ(ini.ReadInteger(t, QStringLiteral("hexneg"), 7), -1);
    EXPECT_TRUE(ini.ReadBool(t, QStringLiteral("two"), false));
    EXPECT_FALSE(ini.ReadBool(t, QStringLiteral("zero"), true));
    EXPECT_TRUE(ini.ReadBool(t, QStringLiteral("word"), true));
    EXPECT_FALSE(ini.ReadBool(t, QStringLiteral("empty"), false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("point"), 9), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("comma"), 9), 9);
    Regional::Set(Regional::Russian());
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("point"), 1.56999), 1.56999);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("comma"), 1.56999), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat(t, QStringLiteral("empty"), 1.56999), 1.56999);
}

TEST_F(ProfileFileTest, LongValueIsCutTo2047Characters)
{
    const QByteArray value(3000, 'v');
    WriteBytes(Path(), "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(TIniFile(Path()).ReadString(QStringLiteral("s"), QStringLiteral("k"), QString()), QString(2047, QLatin1Char('v')));
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

TEST_F(ProfileFileTest, FirstWriteCreatesTheFile)
{
    TIniFile ini(Path());
    Regional::Set(Regional::Russian());
    ini.WriteFloat(QStringLiteral("constants"), QStringLiteral("rotateangle"), 1.56999);
    ini.WriteFloat(QStringLiteral("constants"), QStringLiteral("taxrate"), 18);
    EXPECT_EQ(ReadBytes(Path()), QByteArray("[constants]\r\nrotateangle=1,56999\r\ntaxrate=18\r\n"));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(QStringLiteral("constants"), QStringLiteral("rotateangle"), 0), 1.56999);
}

TEST_F(ProfileFileTest, LineBreakInAValueCannotSplitTheFile)
{
    TIniFile ini(Path());
    ini.WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("a\r\n[x]\nb=c"));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("x")));
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k"), QString()), QStringLiteral("a  [x] b=c"));
}

TEST_F(ProfileFileTest, UnencodableValueLeavesTheFileAlone)
{
    const QByteArray before("[s]\r\nk=1\r\n");
    WriteBytes(Path(), before);
    EXPECT_THROW(TIniFile(Path()).WriteString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("日本")), EConvertError);
    EXPECT_EQ(ReadBytes(Path()), before);
}

TEST_F(ProfileFileTest, ReadOnlyDirectoryRefusesTheWrite)
{
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const QByteArray before("[s]\r\nk=1\r\n");
    WriteBytes(Path(), before);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QString message;
    try {
        TIniFile(Path()).WriteInteger(QStringLiteral("s"), QStringLiteral("k"), 2);
    } catch (const Exception& e) {
        message = e.Message;
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(message, QStringLiteral("Unable to write to ") + Path());
    EXPECT_EQ(ReadBytes(Path()), before);
}

TEST_F(ProfileFileTest, MissingDirectoryRefusesTheWrite)
{
    const QString path = dir.path() + QStringLiteral("/none/tvk.ini");
    try {
        TIniFile(path).WriteInteger(QStringLiteral("s"), QStringLiteral("k"), 2);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Unable to write to ") + path);
    }
}

// A write that fails half way (the file-size limit reached) keeps the old file whole.
TEST_F(ProfileFileTest, FailureMidWriteKeepsTheOldFile)
{
    const QByteArray before("[s]\r\nk=1\r\n");
    WriteBytes(Path(), before);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
        TIniFile(Path()).WriteString(QStringLiteral("s"), QStringLiteral("k"), QString(1500, QLatin1Char('x')));
    } catch (const Exception& e) {
        message = e.Message;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, QStringLiteral("Unable to write to ") + Path());
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("tvk.ini")});
}
