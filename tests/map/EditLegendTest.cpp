// The legend dialog: loading the settings, and what enables what. (What OK and Cancel do to
// the legend is tested through the map window's legend command.)
#include "EditLegend.h"
#include "ViewOnMap.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
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
    dialog->ColorBox1->setCurrentIndex(dialog->ColorBox1->findText(QStringLiteral("WindowText")));
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

}  // namespace
