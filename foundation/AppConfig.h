// The settings of a run (tvk.ini) in the one object AppConfig.
#pragma once

#include <QString>
#include <cstdint>

class TAppConfig {
public:
    QString CommentChar;
    QString Delimiter;
    QString AppDir;   // ends with "/"
    QString DBPath;   // no trailing "/"
    QString MapFile;
    quint32 Bgc1 = 0, Bgc2 = 0, Bgc3 = 0, Bgc4 = 0, Bgc5 = 0, Bgc6 = 0, Bgc7 = 0, Bgc8 = 0, Bgc9 = 0;
    quint32 Fc1 = 0, Fc2 = 0;
    int32_t LeftMargin = 0;
    int32_t RightMargin = 0;
    int32_t TopMargin = 0;
    int32_t BottomMargin = 0;
    int32_t BoldLine = 0;
    int32_t RegLine = 0;
    int32_t Scale = 0;
    bool PrintLegend = false;
    bool PrintPageNum = false;
    bool PrintSubtitle = false;
    bool PrintGrid = false;
    QString FontName;
    uint8_t RowHeight = 0;
    uint8_t DetLevel = 0;
    uint8_t DecCount = 0;
    uint8_t FAUsagePeriod = 0;
    bool AutoBackup = false;
    bool AutoSave = false;
    bool GLines = false;
    bool VLines = false;
    bool LinesColor = false;
    bool GraphBg = false;
    bool WordWrap = false;
    bool AutoSum = false;
    bool ReplaceValues = false;
    bool SaveBlankRows = false;
    double RotateAngle = 0;
    double TaxRate = 0;
};

// The one settings object of the run; created by the main window (or a test) and never freed.
extern TAppConfig* AppConfig;

// Creates AppConfig when there is none yet; returns it.
TAppConfig& EnsureAppConfig();

// The path of tvk.ini: AppConfig->AppDir + "tvk.ini".
QString ConfigFileName();

// Reads the 42 keys of tvk.ini into AppConfig. Errors are logged and shown, never raised.
// defaultFontName is the default of "fontname" (the main window's font).
void LoadConfig(const QString& defaultFontName = QStringLiteral("MS Sans Serif"));
