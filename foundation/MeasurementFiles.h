// The measurements file: one research's lines or all of them, and the index the map colours by.
#pragma once

#include "DataFileLines.h"
#include "OResearches.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <climits>
#include <unordered_map>
#include <vector>

namespace DataFiles {

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

}  // namespace DataFiles
