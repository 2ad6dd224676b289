// The rules every data file shares, and the frame of the layout units.
#include "DataFileLines.h"

#include "AppConfig.h"
#include "Dialogs.h"
#include "Exceptions.h"

#include <QFileInfo>
#include <QSaveFile>

namespace DataFiles {

const QString DelimiterWarning = QStringLiteral(
    "Разделитель полей в настройках должен быть одним символом. Файлы данных не читаются и не записываются.");

QString DelimiterProblem(const QString& delimiter)
{
    if (delimiter.size() != 1) return DelimiterWarning;
    const QChar d = delimiter[0];
    const QString refused = QStringLiteral(" Файлы данных не читаются и не записываются.");
    if (AnsiCodec::FirstUnencodable(delimiter) >= 0)
        return QStringLiteral("Разделитель полей \"%1\" нельзя записать в кодировке Windows-1251.").arg(delimiter) + refused;
    // What the program writes inside a field: digits, signs and the exponent of numbers, the
    // decimal separator, and the literal characters of dates and times (and AM/PM when shown).
    const Regional::Settings& s = Regional::Current();
    bool inside = (d >= QLatin1Char('0') && d <= QLatin1Char('9')) || QStringLiteral("+-Ee").contains(d) ||
                  d == s.DecimalSeparator;
    if (!d.isLetter()) inside = inside || s.ShortDateFormat.contains(d) || s.LongTimeFormat.contains(d);
    else if (s.LongTimeFormat.contains(QLatin1Char('a'), Qt::CaseInsensitive))
        inside = inside || QStringLiteral("AMPamp").contains(d);
    if (inside)
        return QStringLiteral("Разделитель полей \"%1\" встречается в записи чисел, дат или времени.").arg(delimiter) + refused;
    return QString();
}

namespace Frame {

Layout::Layout()
{
    const TAppConfig& c = EnsureAppConfig();
    DelimiterText = c.Delimiter;
    QByteArray byte;
    Problem = DelimiterProblem(c.Delimiter);
    if (Problem.isEmpty() && AnsiCodec::TryEncode(c.Delimiter, byte) && byte.size() == 1) {
        Usable = true;
        Delimiter = byte[0];
    }
    const QString comment = c.CommentChar.isEmpty() ? QStringLiteral("#") : c.CommentChar;
    if (comment.size() == 1 && AnsiCodec::TryEncode(comment, byte) && byte.size() == 1) {
        HasComment = true;
        Comment = byte[0];
    }
}

Layout UsableLayout()
{
    Layout layout;
    if (!layout.Usable) throw EInOutError(layout.Problem);
    return layout;
}

bool FileBytes::Open(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists()) return false;
    file_.setFileName(path);
    if (info.isDir() || !file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EInOutError(QStringLiteral("Cannot open file %1: %2")
                              .arg(path, info.isDir() ? QStringLiteral("it is a directory") : file_.errorString()));
    size_ = file_.size();
    return true;
}

void FileBytes::ReadFailed() const
{
    throw EInOutError(QStringLiteral("Cannot read file %1: %2").arg(file_.fileName(), file_.errorString()));
}

void WriteBytesAtomic(const QString& path, const char* data, qsizetype size)
{
    QSaveFile file(path);
    // Unbuffered: a short write (disk full, file-size limit) shows at once instead of being
    // lost in a buffer flushed by commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, file.errorString()));
    if (size > 0 && file.write(data, size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, reason));
    }
    if (!file.commit()) throw EInOutError(QStringLiteral("Unable to write to %1: %2").arg(path, file.errorString()));
}

bool ReadKey(const Converter& conv, const char* s, qsizetype n, int32_t& id)
{
    try {
        id = conv.Int(s, n);
        return true;
    } catch (const EConvertError& e) {
        ReportKeyFieldError(e.Message);
        return false;
    }
}

QString Joined(std::initializer_list<QString> fields)
{
    const QString& d = EnsureAppConfig().Delimiter;
    QString line;
    bool first = true;
    for (const QString& f : fields) {
        if (!first) line += d;
        first = false;
        line += f;
    }
    return line;
}

}  // namespace Frame

using namespace Frame;

QString PathOf(const QString& fileName)
{
    return EnsureAppConfig().DBPath + QLatin1Char('/') + fileName;
}

bool DelimiterUsable()
{
    return Layout().Usable;
}

bool CheckDelimiter()
{
    const Layout layout;
    if (layout.Usable) return true;
    Dialogs::Warning(layout.Problem);
    return false;
}

bool IsSkipped(QStringView line)
{
    if (line.isEmpty()) return true;
    const TAppConfig& c = EnsureAppConfig();
    const QStringView first = line.left(1);
    const QString comment = c.CommentChar.isEmpty() ? QStringLiteral("#") : c.CommentChar;
    return first == c.Delimiter || first == comment;
}

void WriteLinesAtomic(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += AnsiCodec::Encode(line);
        bytes += "\r\n";
    }
    WriteBytesAtomic(path, bytes.constData(), bytes.size());
}

void ReportKeyFieldError(const QString& message)
{
    ReportError(QStringLiteral("Ошибка доступа к файлу!"), message);
}

void ReportSaveError(const QString& message)
{
    ReportError(QStringLiteral("При сохранении данных произошла ошибка!"), message);
}

}  // namespace DataFiles
