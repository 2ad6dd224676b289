// The field splitter, the event log, hand-off files and printer paper.
#include "AppConfig.h"
#include "DefFun.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "Printer.h"
#include "Regional.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DefFunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = EnsureAppConfig();
        AppConfig->AppDir = dir_.path() + QLatin1Char('/');
        AppConfig->Delimiter = QStringLiteral(";");
        AppConfig->CommentChar = QStringLiteral("#");
        Regional::Set(Regional::Neutral());
    }
    void TearDown() override { *AppConfig = saved_; }
    QString LogPath() const { return dir_.path() + QStringLiteral("/tvk.log"); }

    QTemporaryDir dir_;
    TAppConfig saved_;
};

TEST_F(DefFunTest, GetFieldNoSplitsAtTheDelimiterAndTrims)
{
    const QString line = QStringLiteral("12;Москва;Москва");
    EXPECT_EQ(GetFieldNo(1, line), QStringLiteral("12"));
    EXPECT_EQ(GetFieldNo(2, line), QStringLiteral("Москва"));
    EXPECT_EQ(GetFieldNo(3, line), QStringLiteral("Москва"));
    EXPECT_EQ(GetFieldNo(4, line), QString());
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("5; Тверская область ;Тверь")), QStringLiteral("Тверская область"));
    // Control characters go with the blanks; an empty middle field and a trailing delimiter.
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;\t\x01 a b \r;x")), QStringLiteral("a b"));
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;;3")), QString());
    EXPECT_EQ(GetFieldNo(3, QStringLiteral("1;2;")), QString());
    EXPECT_EQ(GetFieldNo(1, QStringLiteral(";x")), QString());
    QString out = QStringLiteral("old");
    GetFieldNo(5, line, out);
    EXPECT_TRUE(out.isEmpty());
}

TEST_F(DefFunTest, GetFieldNoWithTabLongAndUnusableDelimiters)
{
    AppConfig->Delimiter = QStringLiteral("\t");
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1\tа;б\tв")), QStringLiteral("а;б"));

    AppConfig->Delimiter = QStringLiteral(";");
    const QString longField = QString(300, QLatin1Char('x'));
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;") + longField + QStringLiteral(";3")).size(), 256);
    // The cut comes after trimming.
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;   ") + longField).size(), 256);

    // A delimiter setting of two characters never matches: the whole line is field 1.
    AppConfig->Delimiter = QStringLiteral(";;");
    EXPECT_EQ(GetFieldNo(1, QStringLiteral(" a;;b ")), QStringLiteral("a;;b"));
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("a;;b")), QString());
    AppConfig->Delimiter.clear();
    EXPECT_EQ(GetFieldNo(1, QStringLiteral("a;b")), QStringLiteral("a;b"));
    // Below field 1 the walk keeps every character but the delimiters.
    EXPECT_EQ(GetFieldNo(0, QStringLiteral("a;b"), QStringLiteral(";")), QStringLiteral("ab"));
}

TEST_F(DefFunTest, WriteLogLineShape)
{
    WriteLog(QStringLiteral("Меню - Регионы"));
    WriteLog(QStringLiteral("строка1\r\nстрока2"));
    WriteLog(QString());
    const QByteArray bytes = TestSupport::ReadBytes(LogPath());
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = TestSupport::ReadAnsiLines(LogPath());
    ASSERT_EQ(lines.size(), 3);
    const QString tail = QStringLiteral(", ") + GetUserNameStr() + QStringLiteral(", ") + GetComputerNameStr();
    const QRegularExpression stamp(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d, "));
    for (const QString& line : lines) EXPECT_TRUE(stamp.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", Меню - Регионы") + tail));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", строка1  строка2") + tail));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(", ") + tail));
    EXPECT_EQ(lines[2].size(), 19 + 2 + tail.size());
    // Windows-1251 on disk: "М" is 0xCC.
    EXPECT_TRUE(bytes.contains("\xcc\xe5\xed\xfe"));
}

TEST_F(DefFunTest, WriteLogCreatesAgainAndFails)
{
    WriteLog(QStringLiteral("a"));
    QFile::remove(LogPath());
    WriteLog(QStringLiteral("b"));
    EXPECT_EQ(TestSupport::ReadAnsiLines(LogPath()).size(), 1);
    // A character the code page lacks costs only itself.
    WriteLog(QStringLiteral("x\u4e2dy"));
    EXPECT_TRUE(TestSupport::ReadAnsiLines(LogPath()).last().contains(QStringLiteral(", x?y, ")));

    AppConfig->AppDir = dir_.path() + QStringLiteral("/missing/");
    EXPECT_THROW(WriteLog(QStringLiteral("c")), EInOutError);
    EXPECT_FALSE(GetUserNameStr().isEmpty());
    EXPECT_FALSE(GetComputerNameStr().isEmpty());
}

TEST_F(DefFunTest, TempFilesAreWrittenAndDeleted)
{
    const QByteArray oldTemp = qgetenv("TEMP");
    qputenv("TEMP", dir_.path().toLocal8Bit());
    const QString path = TempFilePath(QStringLiteral("00Korvel.tmp"));
    EXPECT_EQ(QDir::cleanPath(path), dir_.path() + QStringLiteral("/00Korvel.tmp"));

    WriteTempFile(true, QStringLiteral("00Korvel.tmp"), {QStringLiteral("/tmp/00RepGraph.bmp"), QStringLiteral("Население")});
    EXPECT_EQ(TestSupport::ReadBytes(path), QByteArray("/tmp/00RepGraph.bmp\r\n\xcd\xe0\xf1\xe5\xeb\xe5\xed\xe8\xe5\r\n"));
    WriteTempFile(true, QStringLiteral("00Korvel.tmp"), {});
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(TestSupport::ReadBytes(path).size(), 0);
    // An unencodable line leaves no half-written file behind.
    EXPECT_THROW(WriteTempFile(true, QStringLiteral("bad.tmp"), {QStringLiteral("a"), QStringLiteral("\u4e2d")}), EConvertError);
    EXPECT_FALSE(QFile::exists(TempFilePath(QStringLiteral("bad.tmp"))));

    WriteTempFile(false, QStringLiteral("00Korvel.tmp"), {QStringLiteral("ignored")});
    EXPECT_FALSE(QFile::exists(path));
    WriteTempFile(false, QStringLiteral("00Korvel.tmp"), {});  // missing: silent

    qputenv("TEMP", (dir_.path() + QStringLiteral("/no/such/dir")).toLocal8Bit());
    EXPECT_THROW(WriteTempFile(true, QStringLiteral("x.tmp"), {QStringLiteral("a")}), EInOutError);
    qputenv("TEMP", oldTemp);
}

TEST_F(DefFunTest, PrinterPaperFollowsThePrinter)
{
    TPrinter& printer = Printer();
    const int paper = printer.PaperSize();
    const int orientation = printer.Orientation();
    printer.SetPaperSize(DMPAPER_LETTER);
    printer.SetOrientation(DMORIENT_LANDSCAPE);
    int16_t o = 0, p = 0;
    GetPrinterPaper(o, p);
    EXPECT_EQ(o, 2);
    EXPECT_EQ(p, 1);
    printer.SetPaperSize(paper);
    printer.SetOrientation(orientation);
}

}  // namespace
