#include "TestSupport.h"

#include "AnsiCodec.h"

#include <QFile>

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

}  // namespace TestSupport
