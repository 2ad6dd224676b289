// The place lookups over a regions or districts file: capitals, names by identifier, the identifiers.
#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace DataFiles {

// The capital (field 3, unconverted) of every record line of a regions file, in file order.
QStringList ReadCapitals(const QString& path);

// The record lines of a regions or districts file as the place lookups of the measurements
// read them, indexed once per reading, so a research's names cost one pass over the file.
class PlaceIndex {
public:
    struct Line {
        QString IdText;  // field 1 as written
        int ID = 0;      // its value, when IdOk
        bool IdOk = false;
        QString Name;    // field 2
    };
    bool Exists() const { return exists_; }
    const QList<Line>& Lines() const { return lines_; }
    // What a lookup reading the file from the top finds: field 2 of the first line with this ID,
    // empty for a missing file or ID. A line before the match (or anywhere, without one) whose
    // field 1 is not an integer stops such a lookup: EConvertError with its message.
    QString Name(int id) const;
    // Field 1 of every line in file order; EConvertError for the first that is not an integer.
    QList<int> IDs() const;

private:
    friend PlaceIndex ReadPlaces(const QString& path);
    bool exists_ = false;
    QList<Line> lines_;
    QHash<int, int> first_;  // ID -> index of its first line
    int firstBad_ = -1;      // index of the first line whose field 1 is not an integer
    QString badMessage_;
};
// Reads the file once; a missing file gives an index without lines.
PlaceIndex ReadPlaces(const QString& path);

// Identifier and name (fields 1 and 2) of every record line of a regions or districts file;
// a field 1 that is not an integer takes the key-field error path and gives ID 0.
QList<QPair<int, QString>> ReadPlaceNames(const QString& path);

}  // namespace DataFiles
