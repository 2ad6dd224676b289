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

}  // namespace

void LoadConfig(const QString& defaultFontName)
{
    TAppConfig& c = EnsureAppConfig();
    const QString constants = QStringLiteral("constants");
    const QString options = QStringLiteral("options");
    const QString tables = QStringLiteral("tables");
    const QString server = QStringLiteral("server");
    const QString print = QStringLiteral("print");
    try {
        const QString path = ConfigFileName();
        EnsureReadable(path);
        TIniFile ini(path);
        // Each value is stored at once, so an error leaves the keys before it read.
        c.Bgc1 = ReadColor(ini, "bgc1", 15780518);
        c.Bgc2 = ReadColor(ini, "bgc2", 16444382);
        c.Bgc3 = ReadColor(ini, "bgc3", 15335378);
        c.Bgc4 = ReadColor(ini, "bgc4", 12303359);
        c.Bgc5 = ReadColor(ini, "bgc5", 16316664);
        c.Bgc6 = ReadColor(ini, "bgc6", 15335378);
        c.Bgc7 = ReadColor(ini, "bgc7", 11599871);
        c.Bgc8 = ReadColor(ini, "bgc8", 11599871);
        c.Bgc9 = ReadColor(ini, "bgc9", 11599871);
        c.Fc1 = ReadColor(ini, "fc1", 16711680);
        c.Fc2 = ReadColor(ini, "fc2", 255);
        c.TaxRate = ini.ReadFloat(constants, QStringLiteral("taxrate"), 18);
        c.RotateAngle = ini.ReadFloat(constants, QStringLiteral("rotateangle"), 1.56999);
        c.FAUsagePeriod = ReadByte(ini, constants, "fausageperiod", 5);
        c.Delimiter = ini.ReadString(constants, QStringLiteral("delimeterstring"), QStringLiteral(";"));
        // A blank cannot be stored as a trimmed value, so the two words stand for TAB and blank.
        if (c.Delimiter == QLatin1String("Tab")) c.Delimiter = QStringLiteral("\t");
        if (c.Delimiter == QLatin1String("Space")) c.Delimiter = QStringLiteral(" ");
        c.AutoSave = ReadFlag(ini, options, "autosave", true);
        c.AutoBackup = ReadFlag(ini, options, "autobackup", true);
        c.RowHeight = ReadByte(ini, tables, "rowheight", 20);
        c.DetLevel = ReadByte(ini, tables, "detlevel", 1);
        c.DecCount = ReadByte(ini, tables, "deccount", 1);
        c.WordWrap = ReadFlag(ini, tables, "wordwrap", true);
        c.AutoSum = ReadFlag(ini, tables, "autosum", true);
        c.ReplaceValues = ReadFlag(ini, tables, "replacevalues", true);
        c.LinesColor = ReadFlag(ini, tables, "linescolor", true);
        c.GraphBg = ReadFlag(ini, tables, "graphbg", true);
        c.SaveBlankRows = ReadFlag(ini, tables, "saveblankrows", true);
        c.GLines = ReadFlag(ini, tables, "glines", false);
        c.VLines = ReadFlag(ini, tables, "vlines", true);
        c.DBPath = ini.ReadString(server, QStringLiteral("adosource"), QString());
        c.MapFile = ini.ReadString(server, QStringLiteral("mapfile"), QString());
        c.TopMargin = ini.ReadInteger(print, QStringLiteral("topmargin"), 1);
        c.BottomMargin = ini.ReadInteger(print, QStringLiteral("bottommargin"), 1);
        c.LeftMargin = ini.ReadInteger(print, QStringLiteral("leftmargin"), 1);
        c.RightMargin = ini.ReadInteger(print, QStringLiteral("rightmargin"), 1);
        c.BoldLine = ini.ReadInteger(print, QStringLiteral("boldline"), 2);
        c.RegLine = ini.ReadInteger(print, QStringLiteral("regline"), 1);
        c.Scale = ini.ReadInteger(print, QStringLiteral("scale"), 100);
        c.PrintPageNum = ReadFlag(ini, print, "printpagenum", true);
        c.PrintLegend = ReadFlag(ini, print, "printlegend", true);
        c.PrintSubtitle = ReadFlag(ini, print, "printsubtitle", true);
        c.PrintGrid = ReadFlag(ini, print, "printgrid", true);
        c.FontName = ini.ReadString(print, QStringLiteral("fontname"), defaultFontName);
    } catch (const std::exception& e) {
        const QString message = ExceptionMessage(e);
        // The box must still reach the user when the log itself cannot be written.
        try {
            WriteLog(QStringLiteral("ОШИБКА! ") + message);
        } catch (const std::exception&) {
        }
        Dialogs::Error(QStringLiteral("Ошибка чтения файла конфигурации.") + QLatin1Char('\n') + message);
    }
}
