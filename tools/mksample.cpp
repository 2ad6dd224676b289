// Writes the bundled sample database and its tile map: mksample <outdir>.
// Everything is deterministic, so a rerun reproduces the committed files byte for byte.
#include "AppConfig.h"
#include "DataFiles.h"
#include "Exceptions.h"
#include "Pictures.h"
#include "Regional.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QSet>

#include <cstdio>

namespace {

// One subject of the federation: its record fields and its tile on the map.
struct Subject {
    const char* Name;
    const char* Capital;
    const char* CodeMVD;    // the vehicle registration region code
    const char* CodeLatin;  // ISO 3166-2, where the standard has one
    const char* Label;      // the tile's short label
    int District;           // ID in ksFederalParts.txt
    int Col, Row;           // tile position, west to the left, north up
};

struct District {
    const char* Name;
    const char* Centre;
};

// The eight federal districts as of 2021.
const District Districts[] = {
    {"Центральный федеральный округ", "Москва"},
    {"Северо-Западный федеральный округ", "Санкт-Петербург"},
    {"Южный федеральный округ", "Ростов-на-Дону"},
    {"Северо-Кавказский федеральный округ", "Пятигорск"},
    {"Приволжский федеральный округ", "Нижний Новгород"},
    {"Уральский федеральный округ", "Екатеринбург"},
    {"Сибирский федеральный округ", "Новосибирск"},
    {"Дальневосточный федеральный округ", "Владивосток"},
};

// The 85 subjects in the statistics service's order (grouped by district); the ID is the position.
const Subject Subjects[] = {
    // Central
    {"Белгородская область", "Белгород", "31", "RU-BEL", "БЕЛ", 1, 2, 8},
    {"Брянская область", "Брянск", "32", "RU-BRY", "БРЯ", 1, 1, 5},
    {"Владимирская область", "Владимир", "33", "RU-VLA", "ВЛА", 1, 5, 5},
    {"Воронежская область", "Воронеж", "36", "RU-VOR", "ВОР", 1, 3, 8},
    {"Ивановская область", "Иваново", "37", "RU-IVA", "ИВА", 1, 4, 4},
    {"Калужская область", "Калуга", "40", "RU-KLU", "КЛГ", 1, 2, 5},
    {"Костромская область", "Кострома", "44", "RU-KOS", "КОС", 1, 5, 3},
    {"Курская область", "Курск", "46", "RU-KRS", "КУР", 1, 2, 7},
    {"Липецкая область", "Липецк", "48", "RU-LIP", "ЛИП", 1, 3, 7},
    {"Московская область", "Красногорск", "50", "RU-MOS", "МО", 1, 3, 5},
    {"Орловская область", "Орёл", "57", "RU-ORL", "ОРЛ", 1, 2, 6},
    {"Рязанская область", "Рязань", "62", "RU-RYA", "РЯЗ", 1, 4, 6},
    {"Смоленская область", "Смоленск", "67", "RU-SMO", "СМО", 1, 2, 4},
    {"Тамбовская область", "Тамбов", "68", "RU-TAM", "ТАМ", 1, 4, 7},
    {"Тверская область", "Тверь", "69", "RU-TVE", "ТВЕ", 1, 3, 4},
    {"Тульская область", "Тула", "71", "RU-TUL", "ТУЛ", 1, 3, 6},
    {"Ярославская область", "Ярославль", "76", "RU-YAR", "ЯРО", 1, 4, 3},
    {"г. Москва", "Москва", "77", "RU-MOW", "МСК", 1, 4, 5},
    // North-Western
    {"Республика Карелия", "Петрозаводск", "10", "RU-KR", "КАР", 2, 4, 1},
    {"Республика Коми", "Сыктывкар", "11", "RU-KO", "КОМ", 2, 6, 1},
    {"Архангельская область", "Архангельск", "29", "RU-ARK", "АРХ", 2, 5, 1},
    {"Ненецкий автономный округ", "Нарьян-Мар", "83", "RU-NEN", "НЕН", 2, 6, 0},
    {"Вологодская область", "Вологда", "35", "RU-VLG", "ВОЛ", 2, 4, 2},
    {"Калининградская область", "Калининград", "39", "RU-KGD", "КЛН", 2, 0, 4},
    {"Ленинградская область", "Гатчина", "47", "RU-LEN", "ЛО", 2, 3, 2},
    {"Мурманская область", "Мурманск", "51", "RU-MUR", "МУР", 2, 4, 0},
    {"Новгородская область", "Великий Новгород", "53", "RU-NGR", "НОВ", 2, 3, 3},
    {"Псковская область", "Псков", "60", "RU-PSK", "ПСК", 2, 2, 3},
    {"г. Санкт-Петербург", "Санкт-Петербург", "78", "RU-SPE", "СПБ", 2, 2, 2},
    // Southern
    {"Республика Адыгея", "Майкоп", "01", "RU-AD", "АДЫ", 3, 2, 10},
    {"Республика Калмыкия", "Элиста", "08", "RU-KL", "КЛМ", 3, 4, 9},
    {"Республика Крым", "Симферополь", "82", "", "КРЫ", 3, 1, 9},
    {"Краснодарский край", "Краснодар", "23", "RU-KDA", "КДР", 3, 2, 9},
    {"Астраханская область", "Астрахань", "30", "RU-AST", "АСТ", 3, 5, 9},
    {"Волгоградская область", "Волгоград", "34", "RU-VGG", "ВГГ", 3, 4, 8},
    {"Ростовская область", "Ростов-на-Дону", "61", "RU-ROS", "РОС", 3, 3, 9},
    {"г. Севастополь", "Севастополь", "92", "", "СЕВ", 3, 0, 9},
    // North Caucasian
    {"Республика Дагестан", "Махачкала", "05", "RU-DA", "ДАГ", 4, 5, 10},
    {"Республика Ингушетия", "Магас", "06", "RU-IN", "ИНГ", 4, 4, 11},
    {"Кабардино-Балкарская Республика", "Нальчик", "07", "RU-KB", "КБР", 4, 2, 11},
    {"Карачаево-Черкесская Республика", "Черкесск", "09", "RU-KC", "КЧР", 4, 1, 11},
    {"Республика Северная Осетия — Алания", "Владикавказ", "15", "RU-SE", "СОА", 4, 3, 11},
    {"Чеченская Республика", "Грозный", "95", "RU-CE", "ЧЕЧ", 4, 4, 10},
    {"Ставропольский край", "Ставрополь", "26", "RU-STA", "СТА", 4, 3, 10},
    // Volga
    {"Республика Башкортостан", "Уфа", "02", "RU-BA", "БАШ", 5, 7, 4},
    {"Республика Марий Эл", "Йошкар-Ола", "12", "RU-ME", "МЭЛ", 5, 6, 4},
    {"Республика Мордовия", "Саранск", "13", "RU-MO", "МОР", 5, 5, 6},
    {"Республика Татарстан", "Казань", "16", "RU-TA", "ТАТ", 5, 7, 5},
    {"Удмуртская Республика", "Ижевск", "18", "RU-UD", "УДМ", 5, 6, 3},
    {"Чувашская Республика", "Чебоксары", "21", "RU-CU", "ЧУВ", 5, 6, 5},
    {"Пермский край", "Пермь", "59", "RU-PER", "ПЕР", 5, 6, 2},
    {"Кировская область", "Киров", "43", "RU-KIR", "КИР", 5, 5, 2},
    {"Нижегородская область", "Нижний Новгород", "52", "RU-NIZ", "НИЖ", 5, 5, 4},
    {"Оренбургская область", "Оренбург", "56", "RU-ORE", "ОРБ", 5, 8, 4},
    {"Пензенская область", "Пенза", "58", "RU-PNZ", "ПЕН", 5, 5, 7},
    {"Самарская область", "Самара", "63", "RU-SAM", "САМ", 5, 7, 6},
    {"Саратовская область", "Саратов", "64", "RU-SAR", "САР", 5, 6, 7},
    {"Ульяновская область", "Ульяновск", "73", "RU-ULY", "УЛЬ", 5, 6, 6},
    // Urals
    {"Курганская область", "Курган", "45", "RU-KGN", "КРГ", 6, 8, 3},
    {"Свердловская область", "Екатеринбург", "66", "RU-SVE", "СВЕ", 6, 7, 2},
    {"Тюменская область", "Тюмень", "72", "RU-TYU", "ТЮМ", 6, 8, 2},
    {"Ханты-Мансийский автономный округ — Югра", "Ханты-Мансийск", "86", "RU-KHM", "ХМА", 6, 7, 1},
    {"Ямало-Ненецкий автономный округ", "Салехард", "89", "RU-YAN", "ЯНА", 6, 7, 0},
    {"Челябинская область", "Челябинск", "74", "RU-CHE", "ЧЕЛ", 6, 7, 3},
    // Siberian
    {"Республика Алтай", "Горно-Алтайск", "04", "RU-AL", "АЛР", 7, 9, 4},
    {"Республика Тыва", "Кызыл", "17", "RU-TY", "ТЫВ", 7, 11, 4},
    {"Республика Хакасия", "Абакан", "19", "RU-KK", "ХАК", 7, 10, 4},
    {"Алтайский край", "Барнаул", "22", "RU-ALT", "АЛК", 7, 9, 3},
    {"Красноярский край", "Красноярск", "24", "RU-KYA", "КРЯ", 7, 10, 1},
    {"Иркутская область", "Иркутск", "38", "RU-IRK", "ИРК", 7, 11, 2},
    {"Кемеровская область — Кузбасс", "Кемерово", "42", "RU-KEM", "КЕМ", 7, 10, 3},
    {"Новосибирская область", "Новосибирск", "54", "RU-NVS", "НСБ", 7, 10, 2},
    {"Омская область", "Омск", "55", "RU-OMS", "ОМС", 7, 9, 2},
    {"Томская область", "Томск", "70", "RU-TOM", "ТОМ", 7, 9, 1},
    // Far Eastern
    {"Республика Бурятия", "Улан-Удэ", "03", "RU-BU", "БУР", 8, 11, 3},
    {"Республика Саха (Якутия)", "Якутск", "14", "RU-SA", "ЯКУ", 8, 11, 1},
    {"Забайкальский край", "Чита", "75", "RU-ZAB", "ЗАБ", 8, 12, 4},
    {"Камчатский край", "Петропавловск-Камчатский", "41", "RU-KAM", "КАМ", 8, 13, 1},
    {"Приморский край", "Владивосток", "25", "RU-PRI", "ПРИ", 8, 13, 4},
    {"Хабаровский край", "Хабаровск", "27", "RU-KHA", "ХАБ", 8, 12, 2},
    {"Амурская область", "Благовещенск", "28", "RU-AMU", "АМУ", 8, 12, 3},
    {"Магаданская область", "Магадан", "49", "RU-MAG", "МАГ", 8, 12, 1},
    {"Сахалинская область", "Южно-Сахалинск", "65", "RU-SAK", "САХ", 8, 13, 2},
    {"Еврейская автономная область", "Биробиджан", "79", "RU-YEV", "ЕАО", 8, 13, 3},
    {"Чукотский автономный округ", "Анадырь", "87", "RU-CHU", "ЧУК", 8, 13, 0},
};

constexpr int SubjectCount = int(sizeof(Subjects) / sizeof(Subjects[0]));
constexpr int DistrictCount = int(sizeof(Districts) / sizeof(Districts[0]));

// The map's geometry: tiles of Tile pixels sharing their 1-pixel borders.
constexpr int Tile = 46;
constexpr int Margin = 16;
constexpr int TitleHeight = 40;
const TColor SeaColor = 0xFFFFFF;
const QRgb BorderRgb = qRgb(64, 64, 64);
const QRgb LabelRgb = qRgb(30, 60, 120);
// The plate under a label: not white, so no fill of the tile reaches the letters.
const QRgb PlateRgb = qRgb(238, 238, 230);
const QRgb TitleRgb = qRgb(0, 0, 0);
const QString Title = QStringLiteral("Субъекты Российской Федерации (пример)");

QString U(const char* s) { return QString::fromUtf8(s); }

// A small deterministic generator, so every run gives the same values.
class Lcg {
public:
    explicit Lcg(quint32 seed) : state_(seed) {}
    quint32 Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

private:
    quint32 state_;
};

QPoint TileOrigin(const Subject& s) { return {Margin + s.Col * Tile, Margin + TitleHeight + s.Row * Tile}; }
// The seed sits low in the tile, below the label, so the label never cuts it off.
QPoint Seed(const Subject& s) { return TileOrigin(s) + QPoint(Tile / 2, Tile - 9); }

// Glyph outlines filled without antialiasing: the raster comes from the font file's outlines and
// Qt's own rasteriser, not from the machine's font configuration.
QPainterPath TextPath(const QRawFont& font, const QString& text)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QPainterPath path;
    qreal x = 0;
    for (int i = 0; i < glyphs.size(); ++i) {
        QPainterPath g = font.pathForGlyph(glyphs[i]);
        g.translate(x, 0);
        path.addPath(g);
        x += advances[i].x();
    }
    return path;
}

QString FindFont(const QString& fileName)
{
    const QStringList dirs = {QStringLiteral("/usr/share/fonts/truetype/dejavu/"),
                              QStringLiteral("/usr/share/fonts/dejavu/"),
                              QStringLiteral("/usr/share/fonts/TTF/")};
    for (const QString& dir : dirs)
        if (QFile::exists(dir + fileName)) return dir + fileName;
    throw Exception(QStringLiteral("Font %1 not found (install fonts-dejavu-core)").arg(fileName));
}

QImage DrawMap()
{
    int cols = 0, rows = 0;
    for (const Subject& s : Subjects) {
        cols = qMax(cols, s.Col + 1);
        rows = qMax(rows, s.Row + 1);
    }
    QImage image(2 * Margin + cols * Tile + 1, 2 * Margin + TitleHeight + rows * Tile + 1, QImage::Format_RGB32);
    image.fill(ColorToQRgb(SeaColor));
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);

    const QRawFont labelFont(FindFont(QStringLiteral("DejaVuSans-Bold.ttf")), 12, QFont::PreferNoHinting);
    const QRawFont titleFont(FindFont(QStringLiteral("DejaVuSans-Bold.ttf")), 18, QFont::PreferNoHinting);
    if (!labelFont.isValid() || !titleFont.isValid()) throw Exception(QStringLiteral("Cannot load the DejaVu font"));

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(BorderRgb), 0));
    p.setBrush(Qt::NoBrush);
    for (const Subject& s : Subjects) {
        const QPoint o = TileOrigin(s);
        p.drawRect(o.x(), o.y(), Tile, Tile);
    }
    p.setPen(Qt::NoPen);
    for (const Subject& s : Subjects) {
        const QPainterPath text = TextPath(labelFont, U(s.Label));
        const QRectF box = text.boundingRect();
        const QPoint o = TileOrigin(s);
        const qreal x = qRound(o.x() + (Tile - box.width()) / 2 - box.left());
        const QPainterPath placed = text.translated(x, o.y() + 6 - box.top());
        // Two pixels of plate around the letters, kept inside the tile's border.
        const QRect plate = placed.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2) &
                            QRect(o + QPoint(2, 2), QSize(Tile - 3, Tile - 3));
        p.fillRect(plate, QColor(PlateRgb));
        p.fillPath(placed, QColor(LabelRgb));
    }
    const QPainterPath title = TextPath(titleFont, Title);
    const QRectF tbox = title.boundingRect();
    p.fillPath(title.translated(qRound((image.width() - tbox.width()) / 2 - tbox.left()), Margin - tbox.top()),
               QColor(TitleRgb));
    p.end();

    // White pockets of the tile that its fill does not reach (above a plate as wide as the tile)
    // take the plate's colour, so a coloured tile shows no white specks.
    const TColor mark = RGBToColor(255, 0, 255);
    for (const Subject& s : Subjects) {
        const QPoint seed = Seed(s);
        Pictures::FloodFillSurface(image, seed.x(), seed.y(), SeaColor, mark);
        const QRect inside(TileOrigin(s) + QPoint(1, 1), QSize(Tile - 1, Tile - 1));
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const TColor c = QRgbToColor(line[x]);
                if (c == SeaColor) line[x] = PlateRgb;
                else if (c == mark) line[x] = ColorToQRgb(SeaColor);
            }
        }
    }
    return image;
}

// Each seed must be white, its area must stay inside its tile, cover most of it, and be
// nobody else's; the sea must reach no tile.
void CheckMap(const QImage& image)
{
    const TColor mark = RGBToColor(255, 0, 255);
    const int interior = (Tile - 1) * (Tile - 1);
    QSet<QPoint> used;
    for (const Subject& s : Subjects) {
        const QPoint seed = Seed(s);
        if (used.contains(seed)) throw Exception(QStringLiteral("Two subjects share the tile of %1").arg(U(s.Label)));
        used.insert(seed);
        if (Pictures::PixelColor(image, seed.x(), seed.y()) != SeaColor)
            throw Exception(QStringLiteral("Seed of %1 is not white").arg(U(s.Label)));
        QImage copy = image;
        Pictures::FloodFillSurface(copy, seed.x(), seed.y(), SeaColor, mark);
        const QRect inside(TileOrigin(s) + QPoint(1, 1), QSize(Tile - 1, Tile - 1));
        int filled = 0;
        for (int y = 0; y < copy.height(); ++y)
            for (int x = 0; x < copy.width(); ++x)
                if (Pictures::PixelColor(copy, x, y) == mark) {
                    if (!inside.contains(x, y))
                        throw Exception(QStringLiteral("Area of %1 leaks out of its tile").arg(U(s.Label)));
                    ++filled;
                }
        if (filled * 10 < interior * 7)
            throw Exception(QStringLiteral("Area of %1 covers too little of its tile").arg(U(s.Label)));
    }
}

void Generate(const QString& outDir)
{
    TAppConfig& config = EnsureAppConfig();
    config.Delimiter = QStringLiteral(";");
    config.CommentChar = QStringLiteral("#");
    config.DBPath = outDir;
    Regional::Set(Regional::Russian());

    QDir().mkpath(outDir);
    // The measurements writer keeps other researches' lines: start from no file at all.
    for (const QString& name : {DataFiles::RegionsFile, DataFiles::FederalPartsFile, DataFiles::ResearchRegisterFile,
                                DataFiles::MeasurementsFile, DataFiles::LinksToMapFile})
        QFile::remove(DataFiles::PathOf(name));

    TORegions regions;
    regions.Add();  // the placeholder
    for (int i = 0; i < SubjectCount; ++i) {
        const Subject& s = Subjects[i];
        regions.Add();
        ORegions::TUnits& r = regions.Items(regions.Count() - 1);
        r.ID = i + 1;
        r.Name = U(s.Name);
        r.Capital = U(s.Capital);
        r.CodeMVD = U(s.CodeMVD);
        r.CodeLatin = U(s.CodeLatin);
    }
    DataFiles::SaveRegions(DataFiles::PathOf(DataFiles::RegionsFile), regions);

    TORegions districts;
    districts.Add();
    for (int i = 0; i < DistrictCount; ++i) {
        districts.Add();
        ORegions::TUnits& d = districts.Items(districts.Count() - 1);
        d.ID = i + 1;
        d.Name = U(Districts[i].Name);
        d.Capital = U(Districts[i].Centre);
    }
    DataFiles::SaveFederalParts(DataFiles::PathOf(DataFiles::FederalPartsFile), districts);

    struct Research {
        QString Name;
        int Level, Kind, Places;
    };
    const Research researches[] = {
        {QStringLiteral("Пример: числовой показатель по регионам"), 0, 1, SubjectCount},
        {QStringLiteral("Пример: логический показатель по регионам"), 0, 0, SubjectCount},
        {QStringLiteral("Пример: числовой показатель по округам"), 1, 1, DistrictCount},
    };
    TOResearches register_;
    register_.Add();
    for (int i = 0; i < 3; ++i) {
        register_.Add();
        OResearches::TUnits& r = register_.Items(register_.Count() - 1);
        r.ID = i + 1;
        r.Name = researches[i].Name;
        r.Ref1 = researches[i].Level;
        r.Ref2 = researches[i].Kind;
    }
    DataFiles::SaveResearches(DataFiles::PathOf(DataFiles::ResearchRegisterFile), register_);

    const TDateTime date = Regional::StrToDate(u"01.01.2025");
    const TDateTime time = Regional::StrToTime(u"12:00:00");
    Lcg random(20250101u);
    for (int i = 0; i < 3; ++i) {
        const Research& r = researches[i];
        TOResearches values;
        values.Add();
        for (int place = 1; place <= r.Places; ++place) {
            values.Add();
            OResearches::TUnits& m = values.Items(values.Count() - 1);
            m.ID = place;
            m.Ref1 = i + 1;
            m.Ref2 = place;
            m.Date = date;
            m.Time = time;
            if (r.Kind == 0) {
                m.Value = (random.Next() >> 4) & 1;
            } else {
                // Places take the four quarters of 0..1000 in turn, so every interval of the
                // default four-interval legend holds values; one decimal shows the decimal comma.
                m.Value = ((place - 1) % 4) * 250 + int(random.Next() % 2500) / 10.0;
            }
        }
        DataFiles::SaveMeasurements(DataFiles::PathOf(DataFiles::MeasurementsFile), i + 1, values);
    }

    const QImage map = DrawMap();
    CheckMap(map);
    Pictures::SaveBitmap(map.convertToFormat(QImage::Format_RGB888), outDir + QStringLiteral("/map.bmp"));

    TOCoordinates links;
    for (int i = 0; i < SubjectCount; ++i) {
        links.Add();
        OCoordinates::TUnits& p = links.Items(links.Count() - 1);
        p.Level = 0;
        p.PlaceID = i + 1;
        p.X = Seed(Subjects[i]).x();
        p.Y = Seed(Subjects[i]).y();
    }
    for (int d = 1; d <= DistrictCount; ++d)
        for (const Subject& s : Subjects) {
            if (s.District != d) continue;
            links.Add();
            OCoordinates::TUnits& p = links.Items(links.Count() - 1);
            p.Level = 1;
            p.PlaceID = d;
            p.X = Seed(s).x();
            p.Y = Seed(s).y();
        }
    DataFiles::SaveLinks(DataFiles::PathOf(DataFiles::LinksToMapFile), links);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mksample <outdir>\n");
        return 2;
    }
    try {
        Generate(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mksample: %s\n", qPrintable(ExceptionMessage(e)));
        return 1;
    }
    return 0;
}
