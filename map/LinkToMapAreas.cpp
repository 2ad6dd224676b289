// The areas of the linking window's map as loaded.
#include "LinkToMapAreas.h"

namespace LinkToMap {

namespace {
constexpr QRgb WhiteMark = 0xFFFFFFFF;
constexpr QRgb BlackMark = 0xFF000000;

QRgb AreaMark(int area)
{
    return ColorToQRgb(TColor(area + 1));
}
}  // namespace

void TMapAreas::Reset(const QImage& loaded)
{
    bounds_.clear();
    marks_ = QImage(loaded.size(), QImage::Format_RGB32);
    for (int y = 0; y < loaded.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(loaded.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(marks_.scanLine(y));
        for (int x = 0; x < loaded.width(); ++x) to[x] = (from[x] & 0xFFFFFF) == 0xFFFFFF ? WhiteMark : BlackMark;
    }
}

bool TMapAreas::Usable(int X, int Y) const
{
    if (!marks_.valid(X, Y)) return false;
    return (reinterpret_cast<const QRgb*>(marks_.constScanLine(Y))[X] & 0xFFFFFF) != 0;
}

int TMapAreas::AreaOf(int X, int Y)
{
    const TColor mark = Pictures::PixelColor(marks_, X, Y);
    if (mark != 0xFFFFFF) return int(mark) - 1;
    const int area = int(bounds_.size());
    Pictures::FloodFillSurface(marks_, X, Y, 0xFFFFFF, TColor(area + 1));
    // Where the new area lies, so that painting it looks at its rows and columns only.
    const QRgb m = AreaMark(area);
    int left = marks_.width(), top = marks_.height(), right = -1, bottom = -1;
    for (int y = 0; y < marks_.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(marks_.constScanLine(y));
        for (int x = 0; x < marks_.width(); ++x) {
            if (row[x] != m) continue;
            left = qMin(left, x);
            right = qMax(right, x);
            top = qMin(top, y);
            bottom = y;
        }
    }
    bounds_.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
    return area;
}

void TMapAreas::Fill(QImage& picture, int X, int Y, TColor Color)
{
    if (!Usable(X, Y) || picture.size() != marks_.size()) return;
    const int area = AreaOf(X, Y);
    const QRgb m = AreaMark(area);
    const QRgb surface = reinterpret_cast<const QRgb*>(picture.constScanLine(Y))[X] | 0xFF000000;
    const QRgb fill = ColorToQRgb(Color & 0xFFFFFF);
    if (fill == surface) return;
    const QRect& r = bounds_[size_t(area)];
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* marks = reinterpret_cast<const QRgb*>(marks_.constScanLine(y));
        QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (marks[x] == m && (row[x] | 0xFF000000) == surface) row[x] = fill;
    }
}

}  // namespace LinkToMap
