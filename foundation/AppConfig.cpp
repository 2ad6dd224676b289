// The settings object of the run and its loading from tvk.ini.
#include "AppConfig.h"

#include "DefFun.h"
#include "Dialogs.h"
#include "Exceptions.h"
#include "ProfileFile.h"

#include <QFile>
#include <QFileInfo>

TAppConfig* AppConfig = nullptr;

TAppConfig& EnsureAppConfig()
{
    if (!AppConfig) AppConfig = new TAppConfig();
    return *AppConfig;
}

QString ConfigFileName()
{
    return EnsureAppConfig().AppDir + QStringLiteral("tvk.ini");
}

namespace {

// The profile rules give the default for a missing file; a file that is there but cannot be
// read must not pass silently as "all defaults", so it is reported like any other read error.
void EnsureReadable(const QString& path)
{
    QFileInfo info(path);
    if (!info.exists()) return;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot read file %1: %2")
                              .arg(path, info.isDir() ? QStringLiteral("it is a directory") : file.errorString()));
}

quint32 ReadColor(const TIniFile& ini, const char* key, quint32 def)
{
    return quint32(ini.ReadInteger(QStringLiteral("colors"), QString::fromLatin1(key), int(def)));
}

bool ReadFlag(const TIniFile& ini, const QString& section, const char* key, bool def)
{
    return ini.ReadInteger(section, QString::fromLatin1(key), def ? 1 : 0) != 0;
}

uint8_t ReadByte(const TIniFile& ini, const QString& section, const char* key, int def)
{
    return uint8_t(ini.ReadInteger(section, QString::fromLatin1(key), def) & 0xFF);
}

// The defaults of the 42 keys, in force before any key is read: a read that fails part-way
// leaves them (and the keys read so far), never zeros.
void SetDefaults(TAppConfig& c, const QString& defaultFontName)
{
    c.Bgc1 = 15780518;
    c.Bgc2 = 16444382;
    c.Bgc3 = 15335378;
    c.Bgc4 = 12303359;
    c.Bgc5 = 16316664;
    c.Bgc6 = 15335378;
    c.Bgc7 = 11599871;
    c.Bgc8 = 11599871;
    c.Bgc9 = 11599871;
    c.Fc1 = 16711680;
    c.Fc2 = 255;
    c.TaxRate = 18;
    c.RotateAngle = 1.56999;
    c.FAUsagePeriod = 5;
    c.Delimiter = QStringLiteral(";");
    c.AutoSave = c.AutoBackup = true;
    c.RowHeight = 20;
    c.DetLevel = 1;
    c.DecCount = 1;
    c.WordWrap = c.AutoSum = c.ReplaceValues = c.LinesColor = c.GraphBg = c.SaveBlankRows = true;
    c.GLines = false;
    c.VLines = true;
    c.DBPath.clear();
    c.MapFile.clear();
    c.TopMargin = c.BottomMargin = c.LeftMargin = c.RightMargin = 1;
    c.BoldLine = 2;
    c.RegLine = 1;
    c.Scale = 100;
    c.PrintPageNum = c.PrintLegend = c.PrintSubtitle = c.PrintGrid = true;
    c.FontName = defaultFontName;
}

}  // namespace

void LoadConfig(const QString& defaultFontName)
{
    TAppConfig& c = EnsureAppConfig();
    SetDefaults(c, defaultFontName);
    const QString constants = QStringLiteral("constants");
    const QString options = QStringLiteral("options");
    const QString tables = QStringLiteral("tables");
    const QString server = QStringLiteral("server");
    const QString print = QStringLiteral("print");
    try {
        const QString path = ConfigFileName();
        EnsureReadable(path);
        TIniFile ini(path);
        // Each value is stored at once, so an error leaves the keys before it read; the field's
        // default is the key's default.
        c.Bgc1 = ReadColor(ini, "bgc1", c.Bgc1);
        c.Bgc2 = ReadColor(ini, "bgc2", c.Bgc2);
        c.Bgc3 = ReadColor(ini, "bgc3", c.Bgc3);
        c.Bgc4 = ReadColor(ini, "bgc4", c.Bgc4);
        c.Bgc5 = ReadColor(ini, "bgc5", c.Bgc5);
        c.Bgc6 = ReadColor(ini, "bgc6", c.Bgc6);
        c.Bgc7 = ReadColor(ini, "bgc7", c.Bgc7);
        c.Bgc8 = ReadColor(ini, "bgc8", c.Bgc8);
        c.Bgc9 = ReadColor(ini, "bgc9", c.Bgc9);
        c.Fc1 = ReadColor(ini, "fc1", c.Fc1);
        c.Fc2 = ReadColor(ini, "fc2", c.Fc2);
        c.TaxRate = ini.ReadFloat(constants, QStringLiteral("taxrate"), c.TaxRate);
        c.RotateAngle = ini.ReadFloat(constants, QStringLiteral("rotateangle"), c.RotateAngle);
        c.FAUsagePeriod = ReadByte(ini, constants, "fausageperiod", c.FAUsagePeriod);
        c.Delimiter = ini.ReadString(constants, QStringLiteral("delimeterstring"), c.Delimiter);
        // A blank cannot be stored as a trimmed value, so the two words stand for TAB and blank.
        if (c.Delimiter == QLatin1String("Tab")) c.Delimiter = QStringLiteral("\t");
        if (c.Delimiter == QLatin1String("Space")) c.Delimiter = QStringLiteral(" ");
        c.AutoSave = ReadFlag(ini, options, "autosave", c.AutoSave);
        c.AutoBackup = ReadFlag(ini, options, "autobackup", c.AutoBackup);
        c.RowHeight = ReadByte(ini, tables, "rowheight", c.RowHeight);
        c.DetLevel = ReadByte(ini, tables, "detlevel", c.DetLevel);
        c.DecCount = ReadByte(ini, tables, "deccount", c.DecCount);
        c.WordWrap = ReadFlag(ini, tables, "wordwrap", c.WordWrap);
        c.AutoSum = ReadFlag(ini, tables, "autosum", c.AutoSum);
        c.ReplaceValues = ReadFlag(ini, tables, "replacevalues", c.ReplaceValues);
        c.LinesColor = ReadFlag(ini, tables, "linescolor", c.LinesColor);
        c.GraphBg = ReadFlag(ini, tables, "graphbg", c.GraphBg);
        c.SaveBlankRows = ReadFlag(ini, tables, "saveblankrows", c.SaveBlankRows);
        c.GLines = ReadFlag(ini, tables, "glines", c.GLines);
        c.VLines = ReadFlag(ini, tables, "vlines", c.VLines);
        c.DBPath = ini.ReadString(server, QStringLiteral("adosource"), c.DBPath);
        c.MapFile = ini.ReadString(server, QStringLiteral("mapfile"), c.MapFile);
        c.TopMargin = ini.ReadInteger(print, QStringLiteral("topmargin"), c.TopMargin);
        c.BottomMargin = ini.ReadInteger(print, QStringLiteral("bottommargin"), c.BottomMargin);
        c.LeftMargin = ini.ReadInteger(print, QStringLiteral("leftmargin"), c.LeftMargin);
        c.RightMargin = ini.ReadInteger(print, QStringLiteral("rightmargin"), c.RightMargin);
        c.BoldLine = ini.ReadInteger(print, QStringLiteral("boldline"), c.BoldLine);
        c.RegLine = ini.ReadInteger(print, QStringLiteral("regline"), c.RegLine);
        c.Scale = ini.ReadInteger(print, QStringLiteral("scale"), c.Scale);
        c.PrintPageNum = ReadFlag(ini, print, "printpagenum", c.PrintPageNum);
        c.PrintLegend = ReadFlag(ini, print, "printlegend", c.PrintLegend);
        c.PrintSubtitle = ReadFlag(ini, print, "printsubtitle", c.PrintSubtitle);
        c.PrintGrid = ReadFlag(ini, print, "printgrid", c.PrintGrid);
        c.FontName = ini.ReadString(print, QStringLiteral("fontname"), c.FontName);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Ошибка чтения файла конфигурации."), ExceptionMessage(e));
    }
}
