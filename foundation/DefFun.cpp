// Common routines: the field splitter, the event log, hand-off files and printer paper.
#include "DefFun.h"

#include "AnsiCodec.h"
#include "AppConfig.h"
#include "Dialogs.h"
#include "Env.h"
#include "Exceptions.h"
#include "Printer.h"
#include "Regional.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

QString GetFieldNo(int FieldNo, QStringView Line, QStringView Delimiter)
{
    const bool hasDelimiter = Delimiter.size() == 1;
    const char16_t delimiter = hasDelimiter ? Delimiter.front().unicode() : u'\0';
    if (FieldNo < 1) {
        // No delimiter count can reach a field number below 1: the walk keeps every other
        // character, which is the one field of that text.
        QString all;
        for (QChar ch : Line)
            if (!hasDelimiter || ch.unicode() != delimiter) all += ch;
        return GetFieldNo(1, all, QStringView());
    }
    FieldCursor<char16_t> cursor(reinterpret_cast<const char16_t*>(Line.data()), Line.size(), delimiter, hasDelimiter);
    cursor.Skip(FieldNo - 1);
    qsizetype start = 0, length = 0;
    cursor.Next(start, length);
    if (length == 0) return QString();
    return Line.mid(start, length).toString();
}

QString GetFieldNo(int FieldNo, QStringView Line)
{
    return GetFieldNo(FieldNo, Line, QStringView(EnsureAppConfig().Delimiter));
}

void GetFieldNo(int FieldNo, QStringView Line, QString& Field)
{
    Field = GetFieldNo(FieldNo, Line);
}

QString GetUserNameStr()
{
    // The names went through a 256-byte buffer: a longer one was a failure.
    const QString name = Env::UserName();
    return name.isEmpty() || name.size() > 255 ? QStringLiteral("н.д.") : name;
}

QString GetComputerNameStr()
{
    const QString name = Env::ComputerName();
    return name.isEmpty() || name.size() > 255 ? QStringLiteral("н.д.") : name;
}

namespace {

// A log line is for people: a character the code page lacks becomes "?" rather than costing
// the whole line (and with it the report of an error).
QByteArray EncodeForLog(const QString& text)
{
    QByteArray out;
    if (AnsiCodec::TryEncode(text, out)) return out;
    QString safe = text;
    for (qsizetype i = AnsiCodec::FirstUnencodable(safe); i >= 0; i = AnsiCodec::FirstUnencodable(safe)) {
        const bool pair = safe.at(i).isHighSurrogate() && i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate();
        safe.replace(i, pair ? 2 : 1, QLatin1Char('?'));
    }
    return AnsiCodec::Encode(safe);
}

// Opens the file in the mode given and writes the bytes; verb names the opening in the error.
void WriteFile(const QString& path, QIODevice::OpenMode mode, const char* verb, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | mode))
        throw EInOutError(QStringLiteral("Cannot %1 file %2: %3").arg(QLatin1String(verb), path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EInOutError(QStringLiteral("Cannot write file %1: %2").arg(path, file.errorString()));
}

}  // namespace

void WriteLog(const QString& Msg)
{
    QString cleaned = Msg;
    for (QChar& ch : cleaned)
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) ch = QLatin1Char(' ');
    const QString line = Regional::DateTimeToStr(Regional::Now()) + QStringLiteral(", ") + cleaned +
                         QStringLiteral(", ") + GetUserNameStr() + QStringLiteral(", ") + GetComputerNameStr();
    const QByteArray bytes = EncodeForLog(line) + "\r\n";

    // A log that cannot be written is said once on stderr, until a line goes in again; the
    // caller still gets the error.
    static bool failureReported = false;
    try {
        WriteFile(EnsureAppConfig().AppDir + QStringLiteral("tvk.log"), QIODevice::Append, "open", bytes);
        failureReported = false;
    } catch (const Exception& e) {
        if (!failureReported) {
            failureReported = true;
            std::fprintf(stderr, "Kestrova: the event log cannot be written: %s\n", qUtf8Printable(e.Message));
            std::fflush(stderr);
        }
        throw;
    }
}

void ReportError(const QString& sentence, const QString& message, const QString& prefix)
{
    try {
        WriteLog(prefix + message);
    } catch (const std::exception&) {
    }
    Dialogs::Error(sentence + QLatin1Char('\n') + message);
}

QString TempFilePath(const QString& FileName)
{
    QString dir = Env::HandOffDir();
    // No private directory to be had: never fall back to the root of the file system.
    if (dir.isEmpty())
        throw EInOutError(QStringLiteral("Cannot create file %1: no private directory for temporary files").arg(FileName));
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir + FileName;
}

void WriteTempFile(bool Write, const QString& FileName, const QStringList& Lines)
{
    if (!Write) {
        try {
            QFile::remove(TempFilePath(FileName));
        } catch (const EInOutError&) {
        }
        return;
    }
    // Encoded first: a line the code page cannot hold leaves no half-written file.
    QByteArray bytes;
    for (const QString& line : Lines) bytes += AnsiCodec::Encode(line) + "\r\n";
    WriteTempBytes(FileName, bytes);
}

void WriteTempBytes(const QString& FileName, const QByteArray& Bytes)
{
    const QString path = TempFilePath(FileName);
    const QByteArray local = QFile::encodeName(path);
    auto failed = [&](const char* verb) {
        return EInOutError(QStringLiteral("Cannot %1 file %2: %3").arg(QLatin1String(verb), path, QString::fromLocal8Bit(std::strerror(errno))));
    };
    if (::unlink(local.constData()) != 0 && errno != ENOENT) throw failed("create");
    const int fd = ::open(local.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) throw failed("create");
    const char* p = Bytes.constData();
    qsizetype left = Bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const EInOutError error = failed("write");
            ::close(fd);
            ::unlink(local.constData());
            throw error;
        }
        p += n;
        left -= n;
    }
    if (::close(fd) != 0) {
        const EInOutError error = failed("write");
        ::unlink(local.constData());
        throw error;
    }
}

void GetPrinterPaper(int16_t& Orientation, int16_t& PaperSize)
{
    Orientation = DMORIENT_PORTRAIT;
    PaperSize = DMPAPER_A4;
    TPrinter& printer = Printer();
    const int orientation = printer.Orientation();
    const int paper = printer.PaperSize();
    // Zero stands for "the printer gives none".
    if (orientation > 0) Orientation = int16_t(orientation);
    if (paper > 0) PaperSize = int16_t(paper);
}
