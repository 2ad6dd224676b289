// A profile (ini) file with the Windows private-profile rules; tvk.ini is one.
#pragma once

#include <QList>
#include <QString>

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);
    const QString& FileName() const { return fileName_; }

    // Missing file, section or key gives the default, and so does a line of the key without "=".
    // Names match without regard to case; the value is trimmed of blanks (blank, tab, VT, FF,
    // ^Z), loses enclosing single or double quotes, and is cut to 2047 characters. CR, LF or
    // CR LF end a line; a file with the UTF-16LE byte-order mark is read, and written, as such.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // "0x"/"0X" (value longer than two characters) or "$" is hexadecimal, else signed decimal;
    // empty or out of range gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // Read with the regional settings; a value that does not parse gives the default.
    double ReadFloat(const QString& section, const QString& key, double def) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Replaces the value in place (only that line changes), or appends the key at the end of its section, or appends
    // the section at the end of the file; creates the file. A value equal to the stored one
    // leaves the file untouched. The file is replaced atomically;
    // one that is there but cannot be read is left alone.
    // Failure throws Exception("Unable to write to <path>").
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteFloat(const QString& section, const QString& key, double value);

    struct Entry {
        QString Section, Key, Value;
    };
    // Every entry written as WriteString would, in one replace of the file; nothing is written
    // when the file already holds every value. Fails as WriteString does, leaving the file as it was.
    void WriteValues(const QList<Entry>& entries);

private:
    QString fileName_;
};
