// tvk.ini as any bytes: reads give values of at most 2047 characters without line breaks; a
// write is read back, changes no other value, and a repeated write leaves the file as it is;
// the settings load takes whatever is there without failing.
#include "Exceptions.h"
#include "FuzzSupport.h"
#include "ProfileFile.h"

namespace {

const char* const Sections[] = {"server", "colors", "s", "a]b"};
const char* const Keys[] = {"adosource", "bgc1", "k", "j"};

QStringList AllValues(const TIniFile& ini)
{
    QStringList values;
    for (const char* s : Sections)
        for (const char* k : Keys) values << ini.ReadString(QString::fromLatin1(s), QString::fromLatin1(k), QStringLiteral("\x01"));
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::Put(QStringLiteral("tvk.ini"), data, size);
    TIniFile ini(path);
    const QStringList before = AllValues(ini);
    for (const QString& v : before) {
        FUZZ_CHECK(v.size() <= 2047);
        FUZZ_CHECK(!v.contains(QLatin1Char('\r')) && !v.contains(QLatin1Char('\n')));
    }

    // The settings of a run, from this file.
    LoadConfig();
    FUZZ_CHECK(AppConfig->AppDir == Fuzz::Dir() + QLatin1Char('/'));

    // One write: that value reads back, no other changes, and writing it again changes no byte.
    const int which = size ? data[0] % 3 : 0;
    const int sectionIndex = which == 2 ? 3 : 2, keyIndex = which == 1 ? 3 : 2;
    const QString section = QString::fromLatin1(Sections[sectionIndex]);
    const QString key = QString::fromLatin1(Keys[keyIndex]);
    try {
        ini.WriteString(section, key, QStringLiteral("v 1"));
    } catch (const Exception&) {
        return 0;  // a file the code page cannot hold after the write is left alone
    }
    FUZZ_CHECK(ini.ReadString(section, key, QString()) == QStringLiteral("v 1"));
    QStringList after = AllValues(ini);
    QStringList expected = before;
    const int index = sectionIndex * int(std::size(Keys)) + keyIndex;
    expected[index] = after[index];
    FUZZ_CHECK(after == expected);
    const QByteArray written = Fuzz::Bytes(path);
    ini.WriteString(section, key, QStringLiteral("v 1"));
    FUZZ_CHECK(Fuzz::Bytes(path) == written);
    return 0;
}
