// The field splitter, the event log, hand-off files and printer paper.
#include "DatabaseFixture.h"
#include "DefFun.h"
#include "Exceptions.h"
#include "Printer.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

using DefFunTest = DatabaseFixture;

TEST_F(DefFunTest, GetFieldNoSplitsTrimsAndCuts)
{
    // A 300-character field is cut to 256 (the delimiter is the fixture's ";").
    const QString longField = QString(300, u'x');
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;") + longField + QStringLiteral(";3")).size(), 256);
    // The cut comes after trimming.
    EXPECT_EQ(GetFieldNo(2, QStringLiteral("1;   ") + longField).size(), 256);
    const struct { const char* delimiter; int field; const char* line; const char* expected; } cases[] = {
        {";", 1, "12;Москва;Москва", "12"}, {";", 3, "12;Москва;Москва", "Москва"}, {";", 4, "12;Москва;Москва", ""},
        {";", 2, "5; Тверская область ;Тверь", "Тверская область"},
        // Control characters go with the blanks; an empty middle field and a trailing delimiter.
        {";", 2, "1;\t\x01 a b \r;x", "a b"}, {";", 2, "1;;3", ""}, {";", 3, "1;2;", ""}, {";", 1, ";x", ""},
        {"\t", 2, "1\tа;б\tв", "а;б"},
        // A delimiter setting of other than one character never matches: the whole line is field 1.
        {";;", 1, " a;;b ", "a;;b"}, {";;", 2, "a;;b", ""}, {"", 1, "a;b", "a;b"},
    };
    for (const auto& t : cases) {
        AppConfig->Delimiter = QString::fromUtf8(t.delimiter);
        EXPECT_EQ(GetFieldNo(t.field, QString::fromUtf8(t.line)), QString::fromUtf8(t.expected)) << t.line;
    }
    // Below field 1 the walk keeps every character but the delimiters.
    EXPECT_EQ(GetFieldNo(0, QStringLiteral("a;b"), QStringLiteral(";")), QStringLiteral("ab"));
}

TEST_F(DefFunTest, WriteLogLineShape)
{
    const QString log = appDir_ + QStringLiteral("tvk.log");
    WriteLog(QStringLiteral("Меню - Регионы"));
    WriteLog(QStringLiteral("строка1\r\nстрока2"));
    WriteLog(QString());
    const QByteArray bytes = TestSupport::ReadBytes(log);
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    // Windows-1251 on disk: "М" is 0xCC.
    EXPECT_TRUE(bytes.contains("\xcc\xe5\xed\xfe"));
    const QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 3);
    const QString tail = QStringLiteral(", ") + GetUserNameStr() + QStringLiteral(", ") + GetComputerNameStr();
    const QRegularExpression stamp(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d, "));
    for (const QString& line : lines) EXPECT_TRUE(stamp.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(", Меню - Регионы") + tail));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(", строка1  строка2") + tail));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(", ") + tail));
    EXPECT_EQ(lines[2].size(), 19 + 2 + tail.size());

    // Deleted, the log is created again; a character the code page lacks costs only itself.
    QFile::remove(log);
    WriteLog(QStringLiteral("x\u4e2dy"));
    ASSERT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(LogLines()[0].contains(QStringLiteral(", x?y, ")));
    AppConfig->AppDir = dir_.path() + QStringLiteral("/missing/");
    EXPECT_THROW(WriteLog(QStringLiteral("c")), EInOutError);
}

TEST_F(DefFunTest, FailedLogWriteIsSaidOnceOnStderr)
{
    const QString missing = dir_.path() + QStringLiteral("/missing/");
    const auto occurrences = [](const std::string& text) {
        int n = 0;
        for (size_t at = text.find("event log cannot be written"); at != std::string::npos;
             at = text.find("event log cannot be written", at + 1))
            ++n;
        return n;
    };
    // Each run of failures after a line went in is said once; the callers still get the error.
    for (int round = 0; round < 2; ++round) {
        AppConfig->AppDir = appDir_;
        WriteLog(QStringLiteral("in"));
        AppConfig->AppDir = missing;
        testing::internal::CaptureStderr();
        for (int i = 0; i < 3; ++i) EXPECT_THROW(WriteLog(QStringLiteral("lost")), EInOutError);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(occurrences(said), 1) << said;
        EXPECT_NE(said.find("missing/tvk.log"), std::string::npos) << said;
    }
}

TEST_F(DefFunTest, HandOffFilesAndPrinterPaper)
{
    const QByteArray oldTemp = qgetenv("TEMP");
    qputenv("TEMP", dir_.path().toLocal8Bit());
    const QString path = TempFilePath(QStringLiteral("00Korvel.tmp"));
    EXPECT_EQ(QDir::cleanPath(path), dir_.path() + QStringLiteral("/00Korvel.tmp"));

    WriteTempFile(true, QStringLiteral("00Korvel.tmp"), {QStringLiteral("/tmp/00RepGraph.bmp"), QStringLiteral("Население")});
    EXPECT_EQ(TestSupport::ReadBytes(path), QByteArray("/tmp/00RepGraph.bmp\r\n\xcd\xe0\xf1\xe5\xeb\xe5\xed\xe8\xe5\r\n"));
    WriteTempFile(true, QStringLiteral("00Korvel.tmp"), {});
    EXPECT_TRUE(QFile::exists(path) && QFileInfo(path).size() == 0);
    // An unencodable line leaves no half-written file behind.
    EXPECT_THROW(WriteTempFile(true, QStringLiteral("bad.tmp"), {QStringLiteral("a"), QStringLiteral("\u4e2d")}), EConvertError);
    EXPECT_FALSE(QFile::exists(TempFilePath(QStringLiteral("bad.tmp"))));

    WriteTempFile(false, QStringLiteral("00Korvel.tmp"), {QStringLiteral("ignored")});
    EXPECT_FALSE(QFile::exists(path));
    WriteTempFile(false, QStringLiteral("00Korvel.tmp"), {});  // missing: silent

    qputenv("TEMP", (dir_.path() + QStringLiteral("/no/such/dir")).toLocal8Bit());
    EXPECT_THROW(WriteTempFile(true, QStringLiteral("x.tmp"), {QStringLiteral("a")}), EInOutError);
    qputenv("TEMP", oldTemp);

    // The printer's paper for the hand-off.
    TPrinter& printer = Printer();
    const int paper = printer.PaperSize(), orientation = printer.Orientation();
    printer.SetPaperSize(DMPAPER_LETTER);
    printer.SetOrientation(DMORIENT_LANDSCAPE);
    int16_t o = 0, p = 0;
    GetPrinterPaper(o, p);
    EXPECT_EQ(QList<int>({o, p}), QList<int>({2, 1}));
    printer.SetPaperSize(paper);
    printer.SetOrientation(orientation);
}

}  // namespace
