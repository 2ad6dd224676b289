// Windows-1251 (the Russian ANSI code page) to QString and back; every byte round-trips.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace AnsiCodec {

// Every byte maps to one character (0x98, unassigned in the code page, maps to U+0098).
QString Decode(const QByteArray& bytes);
QString Decode(const char* data, qsizetype size);

// Throws EConvertError naming the first character the code page cannot hold.
QByteArray Encode(QStringView text);

// False, with the index of the first character that does not fit, instead of throwing.
bool TryEncode(QStringView text, QByteArray& out, qsizetype* badIndex = nullptr);

// -1 when every character fits the code page, else the index of the first that does not.
qsizetype FirstUnencodable(QStringView text);

}  // namespace AnsiCodec
