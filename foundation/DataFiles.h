// One reader and one writer per data-file layout; every window reads and writes through these.
#pragma once

#include "OCoordinates.h"
#include "ORegions.h"
#include "OResearches.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <climits>
#include <unordered_map>
#include <vector>

namespace DataFiles {

inline const QString RegionsFile = QStringLiteral("ksRegions.txt");
inline const QString FederalPartsFile = QStringLiteral("ksFederalParts.txt");
inline const QString ResearchRegisterFile = QStringLiteral("ksResearchRegister.txt");
inline const QString MeasurementsFile = QStringLiteral("ksMesurements.txt");
inline const QString LinksToMapFile = QStringLiteral("ksLinksToMap.txt");

// AppConfig->DBPath + "/" + fileName.
QString PathOf(const QString& fileName);

// Empty when the delimiter can separate fields: exactly one character, in Windows-1251, and
// none the program writes inside a field (a digit, "+", "-", "E", "e", the decimal separator,
// a character of the date or time format of the current regional settings). Otherwise the
// warning naming the problem or the character.
QString DelimiterProblem(const QString& delimiter);
// True when AppConfig->Delimiter is usable. Otherwise CheckDelimiter shows the warning of
// DelimiterProblem and returns false, and the caller leaves its file alone.
bool DelimiterUsable();
bool CheckDelimiter();
// The warning for an empty or longer delimiter.
extern const QString DelimiterWarning;

// How a load ended. Complete is false when a conversion that the layout does not guard
// stopped it: the list holds the records read before, and the file must not be written back.
struct LoadResult {
    bool Complete = true;
    int Records = 0;        // records appended
    QString Error;          // the stopping conversion's message
};

// Readers that return a LoadResult report a refused delimiter as an incomplete load; the
// other readers and every writer throw EInOutError with the text of DelimiterProblem.

// True for the lines every reader skips: empty, starting with the delimiter or with "#".
bool IsSkipped(QStringView line);
// Writes the lines (each followed by CR LF) to a temporary file and renames it over path.
// Throws EInOutError (the file untouched) when anything fails; EConvertError when a line
// holds a character that Windows-1251 cannot hold.
void WriteLinesAtomic(const QString& path, const QStringList& lines);

// The key-field error path shared by the loaders: "ОШИБКА! " + message in the log, and the
// error box "Ошибка доступа к файлу!" + line break + message.
void ReportKeyFieldError(const QString& message);
// A failed save: "ОШИБКА! " + message in the log (when it can be written), and the error box
// "При сохранении данных произошла ошибка!" + line break + message.
void ReportSaveError(const QString& message);

// ksRegions.txt (eight fields) and ksFederalParts.txt (four fields): appends to list,
// field 1 guarded, MaxID raised.
LoadResult LoadRegions(const QString& path, TORegions& list);
LoadResult LoadFederalParts(const QString& path, TORegions& list);
QString RegionLine(const ORegions::TUnits& r);
QString FederalPartLine(const ORegions::TUnits& r);
// Rewrite records 1 .. Count-1 (item 0 is the placeholder).
void SaveRegions(const QString& path, const TORegions& list);
void SaveFederalParts(const QString& path, const TORegions& list);

// ksResearchRegister.txt: field 1 guarded, fields 3 and 4 stop the load.
LoadResult LoadResearches(const QString& path, TOResearches& list);
QString ResearchLine(const OResearches::TUnits& r);
void SaveResearches(const QString& path, const TOResearches& list);

// ksMesurements.txt: the lines of one research (field 2 decides; other lines are not converted),
// appended to list with MaxID raised within the research. A conversion error stops the load.
LoadResult LoadMeasurements(const QString& path, int researchID, TOResearches& list);
QString MeasurementLine(const OResearches::TUnits& m);
// Rewrites the file once: every line not of researchID kept byte for byte and in order
// (only field 2 is parsed to decide), then records 1 .. Count-1 of list. Creates a missing file.
void SaveMeasurements(const QString& path, int researchID, const TOResearches& list);
// The date, time and value texts of records 1 .. Count-1, in the forms the file holds them
// (the regional short date, long time and general number), entry i-1 for record i.
struct MeasurementTexts {
    QString Date, Time, Value;
};
QList<MeasurementTexts> FormatMeasurements(const TOResearches& list);
// True when the file holds at least one line of the research. Field 2 of the lines before the
// first match is converted unguarded: a bad one throws EConvertError.
bool HasMeasurements(const QString& path, int researchID);
// The highest research ID that field 2 of a line holds (lines whose field 2 is no integer are
// passed over); 0 when the file is missing or holds none above 0.
int HighestMeasuredResearch(const QString& path);
// Every line of the file as a record, appended to list (field 1 guarded, the other five stop
// the load), and the writing of records 1 .. Count-1 as the whole file.
LoadResult LoadAllMeasurements(const QString& path, TOResearches& list);
void SaveAllMeasurements(const QString& path, const TOResearches& list);

// ksMesurements.txt as the map colours and names by it: field 2 of every record line is
// converted when the file is read, fields 3 and 6 of one research's lines the first time that
// research is asked for. Failed conversions are kept with their position among the record
// lines, so a caller raises the one its own pass over the file would meet first.
class MeasurementIndex {
public:
    struct Line {
        // Position among the file's record lines; after a second bad field 2 only the order holds.
        int Ordinal;
        int Place = 0;
        double Value = 0;
        int Error3 = -1;  // index into Errors when field 3 does not convert
        int Error6 = -1;  // the same for field 6
    };
    struct Research {
        std::vector<Line> Lines;
        // The first failing conversion of the research's lines (fields 3 or 6), and the first
        // of field 6 alone, by ordinal; INT_MAX when none.
        int PassError = INT_MAX;
        int MaxError = INT_MAX;
        QString PassMessage;
        QString MaxMessage;
        int Max = 0;  // the largest whole part of a value, 0 at least
    };

    // Takes the whole file's bytes. EInOutError with DelimiterWarning for an unusable delimiter.
    void Build(QByteArray bytes);
    // The research's lines, converted; null when the file holds none of it.
    const Research* Find(int researchID);
    // Hands the bytes back (the index is then empty), so the next read can reuse the buffer.
    QByteArray ReleaseBytes();

    // The first record line whose field 2 is not an integer; INT_MAX when none.
    int BadOrdinal = INT_MAX;
    QString BadMessage;
    QStringList Errors;

private:
    struct LineRef {
        qsizetype Start;
        int Length;
        int ResearchID;
    };
    QByteArray bytes_;
    // Every record line whose field 2 converted, in the file's order.
    std::vector<LineRef> lines_;
    std::unordered_map<int, Research> researches_;  // pointers into it stay valid
};

// ksLinksToMap.txt: the four conversions guarded together; a failed line keeps the fields
// read so far and zeros in the rest.
LoadResult LoadLinks(const QString& path, TOCoordinates& list);
QString LinkLine(const OCoordinates::TUnits& p);
void SaveLinks(const QString& path, const TOCoordinates& list);
// The links file as the linking window read it, so its save keeps what was not read as a point.
// Lines holds the file's lines in order: the bytes of a line that was not read as a point (an
// empty or comment line, one starting with the delimiter, one whose numbers did not convert),
// with its line end, or an empty entry where a point was read. Origin runs parallel to the
// record list: the record's entry in Lines, NewPoint for a record added since, KeptLine for one
// whose line is kept as bytes.
struct LinksLayout {
    static constexpr int NewPoint = -1;
    static constexpr int KeptLine = -2;
    QList<QByteArray> Lines;
    QList<int> Origin;
};
// LoadLinks appending to list, and to layout the file's lines and the records' origins.
LoadResult LoadLinks(const QString& path, TOCoordinates& list, LinksLayout& layout);
// Rewrites the file in the order of layout: kept lines byte for byte (a last line without its
// end gets CR LF), each point at the place of its line (a deleted point's place goes), then the
// new points in list order. On success layout describes the file written.
void SaveLinks(const QString& path, const TOCoordinates& list, LinksLayout& layout);

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
