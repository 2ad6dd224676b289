// The legend dialog: loading the settings, and what enables what. (What OK and Cancel do to
// the legend is tested through the map window's legend command.)
#include "EditLegend.h"
#include "ViewOnMap.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The dialog with the legend loaded into it.
std::unique_ptr<TfrmEditForm4> Loaded(TOLegend& legend)
{
    auto dialog = std::make_unique<TfrmEditForm4>();
    dialog->Legend = &legend;
    dialog->FillRec(false);
    return dialog;
}

TEST(LegendDialog, LoadsTheSettingsAndEnablesByTheLegendBoxAndMode)
{
    TOLegend legend;
    legend.SetAutoIntervals(true);
    legend.SetColor(ViewOnMap::clGreen);
    legend.SetIntervalCount(4);
    ViewOnMap::BuildIntervals(legend, 10, false);
    const auto dialog = Loaded(legend);
    EXPECT_FALSE(dialog->Modified);
    EXPECT_TRUE(dialog->SpinEdit1->value() == 4 && !dialog->SpinEdit1->isEnabled() && dialog->RadioButton1->isChecked());
    EXPECT_EQ(dialog->ColorBox1->objectName(), QStringLiteral("ColorBox1"));
    EXPECT_EQ(dialog->ColorBox1->Selected(), ViewOnMap::clGreen);
    // The system colours follow the standard and extended ones, as RGB values.
    dialog->ColorBox1->setCurrentIndex(dialog->ColorBox1->findText(QStringLiteral("Текст в окне")));
    EXPECT_EQ(dialog->ColorBox1->Selected(), QColorToColor(QGuiApplication::palette().color(QPalette::Text)));
    dialog->ColorBox1->SetSelected(ViewOnMap::clGreen);
    ASSERT_EQ(dialog->ListBox1->count(), 4);
    EXPECT_EQ(dialog->ListBox1->item(3)->text(), QStringLiteral("8-10"));

    dialog->CheckBox1->setChecked(true);
    EXPECT_TRUE(dialog->Modified);
    EXPECT_TRUE(dialog->SpinEdit1->isEnabled() && dialog->ColorBox1->isEnabled());
    EXPECT_FALSE(dialog->ListBox1->isEnabled() || dialog->SpeedButton5->isEnabled());
    dialog->RadioButton2->setChecked(true);
    EXPECT_FALSE(dialog->SpinEdit1->isEnabled() || dialog->Label11->isEnabled());
    EXPECT_TRUE(dialog->ListBox1->isEnabled() && dialog->SpeedButton1->isEnabled());
    dialog->CheckBox1->setChecked(false);
    EXPECT_FALSE(dialog->RadioButton1->isEnabled() || dialog->ListBox1->isEnabled() || dialog->ColorBox1->isEnabled());

    // Any setting unlike the dialog's initial state marks it on loading.
    legend.SetIntervalCount(7);
    EXPECT_TRUE(Loaded(legend)->Modified);
    legend.SetIntervalCount(4);
    legend.SetAddLegend(true);
    EXPECT_TRUE(Loaded(legend)->Modified);
}

TEST(LegendDialog, SpeedButtonsShowGlyphsAndHintsAndColourNamesAreRussian)
{
    TOLegend legend;
    legend.SetIntervalCount(4);
    const auto dialog = Loaded(legend);
    EXPECT_EQ(dialog->width(), 363);
    const struct { QToolButton* Button; const char* Hint; } buttons[] = {
        {dialog->SpeedButton11, "Добавить (Ins)"}, {dialog->SpeedButton1, "Изменить"}, {dialog->SpeedButton5, "Удалить"}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.Button->toolTip(), QString::fromUtf8(b.Hint));
        // Something is drawn: the glyph is not one colour all over.
        const QImage glyph = b.Button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(glyph.isNull()) << b.Hint;
        QSet<QRgb> colours;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) colours.insert(glyph.pixel(x, y));
        EXPECT_GT(colours.size(), 1) << b.Hint;
    }
    QStringList names;
    for (int i = 0; i < dialog->ColorBox1->count(); ++i) names << dialog->ColorBox1->itemText(i);
    for (const char* name : {"Черный", "Зеленый", "Белый", "Кремовый", "Окно", "Фон подсказки"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
    for (const QString& name : names) EXPECT_FALSE(name.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) << name.toStdString();
}

}  // namespace
