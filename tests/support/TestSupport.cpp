#include "TestSupport.h"

#include "AnsiCodec.h"

#include <QFile>
#include <QFontMetrics>
#include <QLabel>

namespace TestSupport {

QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

void WriteAnsiLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) bytes += AnsiCodec::Encode(line) + "\r\n";
    WriteBytes(path, bytes);
}

QStringList ReadAnsiLines(const QString& path)
{
    QStringList lines = AnsiCodec::Decode(ReadBytes(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool ShowsWholeText(const QLabel& label)
{
    const int room = label.contentsRect().width() - 2 * label.margin() - qMax(0, label.indent());
    const bool inside = !label.parentWidget() || label.parentWidget()->rect().contains(label.geometry());
    return inside && room >= QFontMetrics(label.font()).horizontalAdvance(label.text());
}

}  // namespace TestSupport
