// The settings dialog: every control to and from its key, the one atomic write, the delimiter
// rules, the number ranges, and the dialog's own commands.
#include "ConnParams.h"

#include "../platform/Faults.h"
#include "ColorBox.h"
#include "DataFiles.h"
#include "DatabaseFixture.h"
#include "MainForm.h"
#include "ProfileFile.h"
#include "SpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Keys = QList<std::pair<const char*, QString>>;

class ConnParamsTest : public DatabaseFixture {
protected:
    QString IniPath() const { return appDir_ + QStringLiteral("tvk.ini"); }
    QByteArray IniBytes() const { return TestSupport::ReadBytes(IniPath()); }
    TfrmConnect& Open()
    {
        dialog_ = std::make_unique<TfrmConnect>();
        dialog_->show();
        return *dialog_;
    }
    // Opens the dialog, lets change act on it, presses OK; true when it closed.
    bool Store(const std::function<void(TfrmConnect&)>& change = {})
    {
        TfrmConnect& d = Open();
        if (change) change(d);
        d.Button1->click();
        return d.result() == QDialog::Accepted;
    }
    // The value of key as stored, found in whichever section holds it.
    QString Stored(const char* key) const
    {
        TIniFile ini(IniPath());
        for (const char* section : {"server", "colors", "options", "tables", "print", "constants"})
            if (ini.ValueExists(QLatin1String(section), QLatin1String(key)))
                return ini.ReadString(QLatin1String(section), QLatin1String(key), QString());
        return QStringLiteral("<missing>");
    }

    std::unique_ptr<TfrmConnect> dialog_;
};

const char* const AllKeys[] = {
    "adosource", "mapfile", "bgc1", "bgc2", "bgc3", "bgc4", "bgc5", "bgc6", "bgc7", "bgc8", "bgc9", "fc1", "fc2",
    "autosave", "autobackup", "rowheight", "detlevel", "deccount", "wordwrap", "autosum", "replacevalues",
    "linescolor", "graphbg", "saveblankrows", "glines", "vlines", "topmargin", "bottommargin", "leftmargin",
    "rightmargin", "boldline", "regline", "scale", "printpagenum", "printsubtitle", "printgrid", "printlegend",
    "fontname", "taxrate", "rotateangle", "fausageperiod", "delimeterstring"};

TEST_F(ConnParamsTest, EveryControlGoesToItsKeyAndComesBackFromIt)
{
    // From nothing: the defaults, in six sections in the dialog's order.
    ASSERT_TRUE(Store());
    QStringList sections;
    for (const QString& line : TestSupport::ReadAnsiLines(IniPath()))
        if (line.startsWith(QLatin1Char('['))) sections << line;
    EXPECT_EQ(sections.join(QString()), QStringLiteral("[server][colors][options][tables][print][constants]"));
    QMap<QString, QString> baseline;
    for (const char* key : AllKeys) baseline[QLatin1String(key)] = Stored(key);
    EXPECT_EQ(baseline.size(), 42);
    EXPECT_EQ(baseline[u"bgc1"_s], u"15780518"_s);
    EXPECT_EQ(baseline[u"bgc8"_s], u"11599871"_s);
    EXPECT_EQ(baseline[u"delimeterstring"_s], u";"_s);
    EXPECT_EQ(baseline[u"rotateangle"_s], u"1.56999"_s);

    auto toggle = [](QCheckBox* TfrmConnect::*box) { return [box](TfrmConnect& d) { (d.*box)->toggle(); }; };
    auto spin = [](SpinEdit* TfrmConnect::*s, int v) { return [s, v](TfrmConnect& d) { (d.*s)->SetValue(v); }; };
    auto text = [](QLineEdit* TfrmConnect::*e, const char* v) {
        return [e, v](TfrmConnect& d) { (d.*e)->setText(QString::fromUtf8(v)); };
    };
    auto color = [](int box) { return [box](TfrmConnect& d) { d.ColorBoxes[box]->SetSelected(0x808000); }; };
    const QString teal = QString::number(0x808000);
    QString lastFont;
    const struct {
        std::function<void(TfrmConnect&)> change;
        Keys stored;
    } cases[] = {
        {text(&TfrmConnect::Edit1, "/data/база"), {{"adosource", u"/data/база"_s}}},
        {text(&TfrmConnect::Edit4, "/maps/m.bmp"), {{"mapfile", u"/maps/m.bmp"_s}}},
        {color(0), {{"bgc1", teal}}},  {color(1), {{"bgc2", teal}}},  {color(2), {{"bgc3", teal}}},
        {color(3), {{"bgc4", teal}}},  {color(4), {{"bgc5", teal}}},  {color(5), {{"bgc6", teal}}},
        {color(6), {{"bgc7", teal}}},  {color(7), {{"fc1", teal}}},   {color(8), {{"fc2", teal}}},
        {color(9), {{"bgc8", teal}}},  {color(10), {{"bgc9", teal}}},
        {toggle(&TfrmConnect::CheckBox2), {{"autosave", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox5), {{"autobackup", u"0"_s}}},
        {spin(&TfrmConnect::SpinEdit2, 33), {{"rowheight", u"33"_s}}},
        {[](TfrmConnect& d) { d.ComboBox1->setCurrentIndex(2); }, {{"detlevel", u"3"_s}}},
        {spin(&TfrmConnect::SpinEdit1, 4), {{"deccount", u"4"_s}}},
        {toggle(&TfrmConnect::CheckBox1), {{"wordwrap", u"0"_s}}},
        {[](TfrmConnect& d) { d.RadioButton2->setChecked(true); }, {{"autosum", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox6), {{"replacevalues", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox7), {{"linescolor", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox12), {{"graphbg", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox8), {{"saveblankrows", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox4), {{"glines", u"1"_s}}},
        {toggle(&TfrmConnect::CheckBox3), {{"vlines", u"0"_s}}},
        {spin(&TfrmConnect::SpinEdit3, 12), {{"topmargin", u"12"_s}}},
        {spin(&TfrmConnect::SpinEdit5, -3), {{"bottommargin", u"-3"_s}}},
        {spin(&TfrmConnect::SpinEdit4, 14), {{"leftmargin", u"14"_s}}},
        {spin(&TfrmConnect::SpinEdit6, 15), {{"rightmargin", u"15"_s}}},
        {spin(&TfrmConnect::SpinEdit7, 5), {{"boldline", u"5"_s}}},
        {spin(&TfrmConnect::SpinEdit8, 4), {{"regline", u"4"_s}}},
        {spin(&TfrmConnect::SpinEdit9, 150), {{"scale", u"150"_s}}},
        {toggle(&TfrmConnect::CheckBox10), {{"printpagenum", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox11), {{"printsubtitle", u"0"_s}}},
        // Grid lines off: both widths are stored as 0.
        {toggle(&TfrmConnect::CheckBox9), {{"printgrid", u"0"_s}, {"boldline", u"0"_s}, {"regline", u"0"_s}}},
        {toggle(&TfrmConnect::CheckBox13), {{"printlegend", u"0"_s}}},
        {[&lastFont](TfrmConnect& d) {
             d.ComboBox2->setCurrentIndex(d.ComboBox2->count() - 1);
             lastFont = d.ComboBox2->currentText();
         },
         {{"fontname", QString()}}},
        {text(&TfrmConnect::Edit2, "20.5"), {{"taxrate", u"20.5"_s}}},
        {text(&TfrmConnect::Edit3, "-0.25"), {{"rotateangle", u"-0.25"_s}}},
        {spin(&TfrmConnect::SpinEdit10, 7), {{"fausageperiod", u"7"_s}}},
        {[](TfrmConnect& d) { d.ComboBox3->setEditText(u"|"_s); }, {{"delimeterstring", u"|"_s}}},
    };
    QSet<QString> covered;
    for (const auto& c : cases) {
        // Each case starts from the defaults.
        ASSERT_TRUE(QFile::remove(IniPath()));
        ASSERT_TRUE(Store());
        ASSERT_TRUE(Store(c.change));
        QMap<QString, QString> expected = baseline;
        for (const auto& [key, value] : c.stored) {
            expected[QLatin1String(key)] = QLatin1String(key) == QLatin1String("fontname") ? lastFont : value;
            covered << QLatin1String(key);
        }
        QMap<QString, QString> now;
        for (const char* key : AllKeys) now[QLatin1String(key)] = Stored(key);
        EXPECT_EQ(now, expected) << c.stored.first().first;
        // Read back, the dialog shows what was stored: OK without changes writes the same file.
        const QByteArray bytes = IniBytes();
        ASSERT_TRUE(Store());
        EXPECT_EQ(IniBytes(), bytes) << c.stored.first().first;
    }
    EXPECT_EQ(covered.size(), 42);
    // And the settings of the run hold what the file holds.
    EXPECT_EQ(AppConfig->Delimiter, u"|"_s);
    EXPECT_EQ(AppConfig->RotateAngle, 1.56999);
}

TEST_F(ConnParamsTest, TabAndSpaceGoInAsWordsAndATypedBlankAsSpace)
{
    const struct { const char* stored; const char* shown; const char* typed; const char* written; const char* inMemory; } cases[] = {
        {"Tab", "Tab", nullptr, "Tab", "\t"},
        {"Space", "Space", nullptr, "Space", " "},
        {";", ";", " ", "Space", " "},
        {";", ";", "Tab", "Tab", "\t"},
    };
    for (const auto& c : cases) {
        WriteIni({u"[constants]"_s, u"delimeterstring="_s + QLatin1String(c.stored)});
        TfrmConnect& d = Open();
        EXPECT_EQ(d.ComboBox3->currentText(), QLatin1String(c.shown));
        if (c.typed) d.ComboBox3->setEditText(QLatin1String(c.typed));
        d.Button1->click();
        EXPECT_EQ(d.result(), QDialog::Accepted) << c.typed;
        EXPECT_EQ(Stored("delimeterstring"), QLatin1String(c.written));
        EXPECT_EQ(AppConfig->Delimiter, QLatin1String(c.inMemory));
    }
    EXPECT_TRUE(dialogs_->Messages.isEmpty());
}

TEST_F(ConnParamsTest, ADelimiterThatWouldCorruptDataIsRefusedWithTheDialogOpen)
{
    Regional::Set(Regional::Russian());
    WriteIni({u"[constants]"_s, u"delimeterstring=;"_s, u"rotateangle=1,5"_s});
    const QByteArray before = IniBytes();
    const Regional::Settings& s = Regional::Current();
    QStringList refused{QString(), u"5"_s, u"+"_s, u"-"_s, u"E"_s, u"e"_s, QString(s.DecimalSeparator), u":"_s};
    for (QChar ch : s.ShortDateFormat)
        if (!ch.isLetter() && !refused.contains(QString(ch))) refused << QString(ch);
    for (const QString& delimiter : refused) {
        dialogs_->Messages.clear();
        TfrmConnect& d = Open();
        d.ComboBox3->setEditText(delimiter);
        d.Button1->click();
        EXPECT_TRUE(d.isVisible()) << delimiter.toStdString();
        ASSERT_EQ(dialogs_->Messages.size(), 1) << delimiter.toStdString();
        EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Warning);
        EXPECT_EQ(dialogs_->Messages[0].Text, DataFiles::DelimiterProblem(delimiter));
        EXPECT_EQ(d.PageControl1->currentIndex(), 1);
        EXPECT_EQ(IniBytes(), before);
        EXPECT_EQ(AppConfig->Delimiter, u";"_s);
    }
    // Typing is one character at a time; a chosen entry is taken whole.
    TfrmConnect& d = Open();
    QLineEdit* edit = d.ComboBox3->lineEdit();
    edit->clear();
    for (char c : {'a', 'b'}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(QLatin1Char(c)));
        QApplication::sendEvent(edit, &key);
    }
    EXPECT_EQ(edit->text(), u"a"_s);
    d.ComboBox3->setCurrentIndex(4);
    EXPECT_EQ(d.ComboBox3->currentText(), u"Tab"_s);
}

TEST_F(ConnParamsTest, OneAtomicWriteKeepsForeignLinesAndAFailedOneChangesNothing)
{
    WriteIni({u"; the user's note"_s, u"[sg1]"_s, u"cw0=30"_s, u"[foreign]"_s, u"x = 1"_s, u"[print]"_s,
              u"scale=120"_s, u"# kept too"_s});
    ASSERT_TRUE(Store([](TfrmConnect& d) { d.SpinEdit9->SetValue(130); }));
    const QStringList lines = TestSupport::ReadAnsiLines(IniPath());
    for (const QString& kept : {u"; the user's note"_s, u"[sg1]"_s, u"cw0=30"_s, u"[foreign]"_s, u"x = 1"_s,
                                u"# kept too"_s})
        EXPECT_TRUE(lines.contains(kept)) << kept.toStdString();
    EXPECT_LT(lines.indexOf(u"[sg1]"_s), lines.indexOf(u"[foreign]"_s));
    EXPECT_EQ(lines.count(u"[print]"_s), 1);
    EXPECT_EQ(Stored("scale"), u"130"_s);

    // A tvk.ini that cannot be read is never written over: the write fails, and is logged.
    {
        const QString moved = IniPath() + u".kept"_s;
        ASSERT_TRUE(QFile::rename(IniPath(), moved));
        ASSERT_TRUE(QDir().mkdir(IniPath()));
        dialogs_->Messages.clear();
        EXPECT_FALSE(Store());
        ASSERT_EQ(dialogs_->Messages.size(), 2);  // the read at opening, the write at OK
        EXPECT_TRUE(dialogs_->Messages[1].Text.startsWith(u"Ошибка записи файла конфигурации\nUnable to write to "_s));
        EXPECT_TRUE(LogLines().last().contains(u", ОШИБКА! № Unable to write to "_s));
        EXPECT_TRUE(QFileInfo(IniPath()).isDir());
        ASSERT_TRUE(QDir().rmdir(IniPath()) && QFile::rename(moved, IniPath()));
        dialogs_->Messages.clear();
        LoadConfig();
    }

    // The program folder refuses the write: the error is shown and logged, nothing changes.
    const QByteArray before = IniBytes();
    const TAppConfig config = *AppConfig;
    TfrmConnect& d = Open();
    d.SpinEdit9->SetValue(140);
    d.CheckBox2->toggle();
    const QString message = MessageInReadOnlyDirectory(appDir_.chopped(1), [&] { d.Button1->click(); });
    if (message == u"<no user>"_s) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(IniBytes(), before);
    EXPECT_EQ(AppConfig->Scale, config.Scale);
    EXPECT_EQ(AppConfig->AutoSave, config.AutoSave);
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(u"Ошибка записи файла конфигурации\nUnable to write to "_s));
    EXPECT_TRUE(dialogs_->Messages[0].Text.contains(u"tvk.ini"_s));
    EXPECT_FALSE(d.isVisible());  // closed as after a write
}

TEST_F(ConnParamsTest, AReadOnlyIniIsLeftAsItWasAndSoAreTheSettingsOfTheRun)
{
    WriteIni({u"; kept"_s, u"[print]"_s, u"scale=120"_s});
    LoadConfig();
    const QByteArray before = IniBytes();
    const TAppConfig config = *AppConfig;
    TfrmConnect& d = Open();
    d.SpinEdit9->SetValue(140);
    d.CheckBox2->toggle();
    dialogs_->Messages.clear();
    const QString message = MessageWithReadOnlyFile(IniPath(), [&] { d.Button1->click(); });
    if (message == u"<no user>"_s) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(IniBytes(), before);
    EXPECT_EQ(AppConfig->Scale, config.Scale);
    EXPECT_EQ(AppConfig->AutoSave, config.AutoSave);
    ASSERT_EQ(dialogs_->Messages.size(), 1);
    EXPECT_EQ(dialogs_->Messages[0].Kind, Dialogs::Box::Error);
    EXPECT_TRUE(dialogs_->Messages[0].Text.startsWith(u"Ошибка записи файла конфигурации\nUnable to write to "_s))
        << dialogs_->Messages[0].Text.toStdString();
}

TEST_F(ConnParamsTest, NumbersAreBroughtIntoTheirRanges)
{
    WriteIni({u"[tables]"_s, u"rowheight=10"_s, u"detlevel=7"_s, u"[print]"_s, u"scale=0"_s,
              u"fontname=No Such Font"_s});
    TfrmConnect& d = Open();
    EXPECT_EQ(d.SpinEdit2->Value(), 15);
    EXPECT_EQ(d.SpinEdit9->Value(), 1);
    EXPECT_EQ(d.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(d.ComboBox2->currentIndex(), 0);
    const QString firstFont = d.ComboBox2->itemText(0);
    QStringList fonts;
    for (int i = 0; i < d.ComboBox2->count(); ++i) fonts << d.ComboBox2->itemText(i);
    EXPECT_TRUE(fonts.contains(u"Default"_s));
    QStringList sorted = fonts;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(fonts, sorted);
    // An empty margin is 0; a field that is not a number reads as its minimum, and so does a
    // number beyond 32 bits (not the largest integer).
    d.SpinEdit3->findChild<QLineEdit*>()->clear();
    d.SpinEdit2->findChild<QLineEdit*>()->clear();
    d.SpinEdit4->findChild<QLineEdit*>()->setText(u"99999999999"_s);
    EXPECT_EQ(d.SpinEdit3->Value(), 0);
    EXPECT_EQ(d.SpinEdit2->Value(), 15);
    d.Button1->click();
    ASSERT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(QStringList({Stored("rowheight"), Stored("scale"), Stored("detlevel"), Stored("topmargin"),
                           Stored("leftmargin"), Stored("fontname")}),
              QStringList({u"15"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, firstFont}));

    // Typed out of range, the field is brought in when it loses the focus.
    TfrmConnect& e = Open();
    QApplication::setActiveWindow(&e);
    e.SpinEdit2->setFocus();
    e.SpinEdit2->findChild<QLineEdit*>()->setText(u"99"_s);
    e.SpinEdit9->setFocus();
    EXPECT_EQ(e.SpinEdit2->text(), u"70"_s);
    EXPECT_EQ(e.SpinEdit2->Value(), 70);
    EXPECT_EQ(e.SpinEdit2->findChild<QLineEdit*>()->maxLength(), 2);
    EXPECT_EQ(e.SpinEdit9->findChild<QLineEdit*>()->maxLength(), 3);
}

TEST_F(ConnParamsTest, AColourThePickersCannotShowIsStoredAsReadUnlessChanged)
{
    // A system colour written by the original's platform keeps its high byte through OK.
    WriteIni({u"[colors]"_s, u"bgc5=-2147483643"_s, u"fc2=$01000080"_s});
    ASSERT_TRUE(Store());
    EXPECT_EQ(QStringList({Stored("bgc5"), Stored("fc2")}), QStringList({u"-2147483643"_s, u"16777344"_s}));
    EXPECT_EQ(AppConfig->Bgc5, 0x80000005u);
    // Another colour picked is stored as picked.
    ASSERT_TRUE(Store([](TfrmConnect& d) { d.ColorBoxes[4]->SetSelected(0x808000); }));
    EXPECT_EQ(Stored("bgc5"), u"8421376"_s);
}

TEST_F(ConnParamsTest, GridLinesOffStoresZeroWidthsAndTheFieldsComeBackDisabledAtOne)
{
    ASSERT_TRUE(Store([](TfrmConnect& d) { d.CheckBox9->setChecked(false); }));
    EXPECT_EQ(QStringList({Stored("printgrid"), Stored("boldline"), Stored("regline")}), QStringList({u"0"_s, u"0"_s, u"0"_s}));
    EXPECT_EQ(AppConfig->BoldLine, 0);
    TfrmConnect& d = Open();
    EXPECT_EQ(d.SpinEdit7->Value(), 1);
    EXPECT_EQ(d.SpinEdit8->Value(), 1);
    for (QWidget* w : std::initializer_list<QWidget*>{d.SpinEdit7, d.SpinEdit8, d.Label27, d.Label28}) EXPECT_FALSE(w->isEnabled());
    d.CheckBox9->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{d.SpinEdit7, d.SpinEdit8, d.Label27, d.Label28}) EXPECT_TRUE(w->isEnabled());
    d.Button1->click();
    EXPECT_EQ(QStringList({Stored("printgrid"), Stored("boldline"), Stored("regline")}), QStringList({u"1"_s, u"1"_s, u"1"_s}));
}

TEST_F(ConnParamsTest, WrongNumbersKeepTheDialogOpenAndCancelAndDefaultsChangeNothing)
{
    WriteIni({u"[colors]"_s, u"bgc1=255"_s, u"bgc8=65280"_s});
    const QByteArray before = IniBytes();
    const struct { QLineEdit* TfrmConnect::*edit; const char* warning; } numbers[] = {
        {&TfrmConnect::Edit2, "Введенная ставка НДС не является числом"},
        {&TfrmConnect::Edit3, "Введенный угол поворота изображения не является числом"}};
    for (const auto& n : numbers) {
        dialogs_->Messages.clear();
        TfrmConnect& d = Open();
        (d.*n.edit)->setText(u"12,5x"_s);
        d.Button1->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(dialogs_->Texts(), QStringList{QString::fromUtf8(n.warning)});
        EXPECT_EQ(IniBytes(), before);
    }

    // "По умолчанию" sets the pickers; Cancel drops them, OK stores them.
    for (bool ok : {false, true}) {
        TfrmConnect& d = Open();
        d.Button4->click();
        EXPECT_EQ(d.ColorBoxes[0]->Selected(), 15780518u);
        EXPECT_EQ(d.ColorBoxes[9]->Selected(), 16316664u);
        EXPECT_EQ(d.ColorBoxes[1]->Selected(), 16444382u);  // not a named colour: the custom entry
        EXPECT_EQ(d.ColorBoxes[1]->currentIndex(), 0);
        EXPECT_EQ(AppConfig->Bgc1, 255u);
        (ok ? d.Button1 : d.Button2)->click();
        if (!ok) {
            EXPECT_EQ(IniBytes(), before);
            EXPECT_EQ(AppConfig->Bgc1, 255u);
            EXPECT_EQ(AppConfig->Bgc8, 65280u);
        }
    }
    EXPECT_EQ(QStringList({Stored("bgc1"), Stored("bgc2"), Stored("bgc8"), Stored("bgc9")}),
              QStringList({u"15780518"_s, u"16444382"_s, u"16316664"_s, u"16316664"_s}));
    EXPECT_EQ(AppConfig->Bgc8, 16316664u);
}

TEST_F(ConnParamsTest, TheMenuOpensItCentredOnTheDesktopNotOverTheMainWindow)
{
    WriteIni({u"mapfile="_s + db_});
    TfrmMainForm main(appDir_);
    const QRect screen = TestSupport::ShowOffCentre(main);
    ASSERT_NE(main.frameGeometry().center(), screen.center());
    QPoint centre;
    QTimer::singleShot(0, [&] {
        ASSERT_NE(frmConnect, nullptr);
        centre = frmConnect->frameGeometry().center();
        frmConnect->Button2->click();
    });
    main.N26Click();
    EXPECT_EQ(centre, screen.center());
}

TEST_F(ConnParamsTest, DesignCtrlEndAndTheMapChooser)
{
    TfrmConnect& d = Open();
    EXPECT_EQ(d.windowTitle(), u"Параметры"_s);
    EXPECT_EQ(d.size(), QSize(526, 313));
    QStringList tabs;
    for (int i = 0; i < d.PageControl1->count(); ++i) tabs << d.PageControl1->tabText(i);
    EXPECT_EQ(tabs.join(u'|'), u"Таблицы|Константы|Цвета|Печать|Подключение|Сохранение"_s);
    EXPECT_EQ(d.PageControl1->currentIndex(), 0);
    QStringList entries;
    for (int i = 0; i < d.ComboBox3->count(); ++i) entries << d.ComboBox3->itemText(i);
    EXPECT_EQ(entries.join(u' '), u"# | : ; Tab Space"_s);
    for (QWidget* hidden : std::initializer_list<QWidget*>{d.SpinEdit1, d.ComboBox1, d.RadioButton1, d.CheckBox6, d.CheckBox8,
                                                          d.Edit2, d.SpinEdit10, d.Edit3, d.CheckBox5})
        EXPECT_FALSE(hidden->isVisibleTo(&d)) << hidden->objectName().toStdString();
    EXPECT_TRUE(d.Button1->isDefault());

    // The map chooser: a picture file dialog; a choice becomes the path, a cancel changes nothing.
    d.Edit4->setText(u"/old.bmp"_s);
    TestSupport::WriteBytes(dir_.path() + u"/new.bmp"_s, "BM");
    dialogs_->FileAnswers = {dir_.path() + u"/new.bmp"_s};
    d.SpeedButton5->click();
    EXPECT_EQ(d.Edit4->text(), dir_.path() + u"/new.bmp"_s);
    ASSERT_EQ(dialogs_->FileRequests.size(), 1);
    EXPECT_EQ(dialogs_->FileRequests[0].Title, u"Открыть файл..."_s);
    EXPECT_TRUE(dialogs_->FileRequests[0].Picture);
    d.SpeedButton5->click();
    EXPECT_EQ(d.Edit4->text(), dir_.path() + u"/new.bmp"_s);

    // The database folder chooser likewise.
    dialogs_->FileAnswers = {dir_.path() + u"/db/"_s};
    d.SpeedButton4->click();
    EXPECT_EQ(d.Edit1->text(), dir_.path() + u"/db"_s);
    EXPECT_EQ(dialogs_->FileRequests.last().Title, u"Расположение БД"_s);
    d.SpeedButton4->click();
    EXPECT_EQ(d.Edit1->text(), dir_.path() + u"/db"_s);

    // Ctrl+End on the form is OK; with another modifier it is not.
    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(&d, &shifted);
    EXPECT_TRUE(d.isVisible());
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&d, &end);
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(Stored("mapfile"), dir_.path() + u"/new.bmp"_s);
}

}  // namespace
