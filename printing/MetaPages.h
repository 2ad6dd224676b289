// The pages of one print job as page pictures, and the one helper that replays a page.
#pragma once

#include <QList>
#include <QObject>
#include <QPicture>
#include <QString>

class QPainter;

class TMetaPages : public QObject {
public:
    explicit TMetaPages(QObject* Owner = nullptr);
    ~TMetaPages() override;

    QString Title;
    QString Subtitle;
    QString Line3;
    QString Line4;

    // Appends a new, empty page and returns it.
    QPicture* AddPage();
    int Count() const;
    // 0-based; outside 0..Count-1 raises EListError.
    QPicture* Pages(int Index) const;

private:
    QList<QPicture*> FList;
};

// The job being built or shown; one at a time, freed by the command that created it.
extern TMetaPages* CurrentPages;

// Draws a page picture at the painter's current origin, one picture unit per device pixel
// of the painter's device (before the painter's own transform). Qt scales a picture by the
// device's logical DPI over the picture's; this undoes it, so a page looks the same in the
// preview, in the PDF and on paper.
void ReplayPage(QPainter& painter, const QPicture& page);

// Prints pages first..last (0-based) copies times in one printer document, each at the
// printable area's corner, every page after the document's first on a new sheet. Returns false
// when the PDF printer's file dialog was cancelled (nothing printed). A printer error aborts
// the document and propagates.
bool PrintMetaPages(const TMetaPages& pages, int first, int last, int copies);
