// The reader and writer of the link points file.
#include "LinkFiles.h"

#include "AnsiCodec.h"
#include "DataFileLines.h"
#include "Exceptions.h"

namespace DataFiles {

using namespace Frame;

namespace {

// A line's bytes as a file line: a last line without its end gets CR LF.
QByteArray WholeLine(const char* line, qsizetype full)
{
    QByteArray bytes(line, full);
    if (bytes.endsWith('\r')) bytes += '\n';
    else if (!bytes.endsWith('\n')) bytes += "\r\n";
    return bytes;
}

// The shared reading; kept, when given, takes the lines and origins; report chooses the
// key-field error path or silence.
LoadResult ReadLinks(const QString& path, TOCoordinates& list, LinksLayout* kept, bool report)
{
    const char* raw = nullptr;
    qsizetype rawSize = 0;
    return LoadFile(
        path,
        [&](const Layout& layout, const Converter& conv, const char* line, qsizetype size, LoadResult& result) {
            list.Add();
            ++result.Records;
            OCoordinates::TUnits& p = list.Items(list.Count() - 1);
            LineFields fields(layout, conv, line, size);
            try {
                for (int32_t* field : {&p.Level, &p.PlaceID, &p.X, &p.Y}) *field = fields.Int();
                if (kept) {
                    kept->Origin.append(int(kept->Lines.size()));
                    kept->Lines.append(QByteArray());
                }
            } catch (const EConvertError& e) {
                if (kept) {
                    kept->Origin.append(LinksLayout::KeptLine);
                    kept->Lines.append(WholeLine(raw, rawSize));
                }
                if (report) ReportKeyFieldError(e.Message);
            }
        },
        [&](const char* line, qsizetype full, bool skipped) {
            raw = line;
            rawSize = full;
            if (kept && skipped) kept->Lines.append(WholeLine(line, full));
        });
}

}  // namespace

LoadResult LoadLinks(const QString& path, TOCoordinates& list)
{
    return ReadLinks(path, list, nullptr, true);
}

LoadResult LoadLinks(const QString& path, TOCoordinates& list, LinksLayout& layout)
{
    return ReadLinks(path, list, &layout, true);
}

LoadResult LoadLinksSilently(const QString& path, TOCoordinates& list)
{
    return ReadLinks(path, list, nullptr, false);
}

QString LinkLine(const OCoordinates::TUnits& p)
{
    return Joined({Regional::IntToStr(p.Level), Regional::IntToStr(p.PlaceID), Regional::IntToStr(p.X),
                   Regional::IntToStr(p.Y)});
}

void SaveLinks(const QString& path, const TOCoordinates& list)
{
    SaveTable(path, list, 0, LinkLine);
}

void SaveLinks(const QString& path, const TOCoordinates& list, LinksLayout& layout)
{
    UsableLayout();
    if (layout.Origin.size() != list.Count()) throw EInOutError(QStringLiteral("Link points and their lines disagree"));
    // Which record stands at each line that was read as a point.
    QList<int> pointAt(layout.Lines.size(), -1);
    for (int i = 0; i < list.Count(); ++i)
        if (layout.Origin[i] >= 0 && layout.Origin[i] < layout.Lines.size()) pointAt[layout.Origin[i]] = i;
    LinksLayout written;
    written.Origin = layout.Origin;
    QByteArray bytes;
    auto point = [&](int i) {
        written.Origin[i] = int(written.Lines.size());
        written.Lines.append(QByteArray());
        bytes += AnsiCodec::Encode(LinkLine(list.Items(i)));
        bytes += "\r\n";
    };
    for (qsizetype k = 0; k < layout.Lines.size(); ++k) {
        if (!layout.Lines[k].isEmpty()) {
            written.Lines.append(layout.Lines[k]);
            bytes += layout.Lines[k];
        } else if (pointAt[k] >= 0) {
            point(pointAt[k]);
        }
    }
    for (int i = 0; i < list.Count(); ++i)
        if (layout.Origin[i] == LinksLayout::NewPoint) point(i);
    WriteBytesAtomic(path, bytes.constData(), bytes.size());
    layout = std::move(written);
}

}  // namespace DataFiles
