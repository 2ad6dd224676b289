// The colour list: named colours by their entries, any other in the custom entry, and a colour
// with its high byte set given back as it was set until the user picks another.
#include "ColorBox.h"

#include "Dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorBoxTest, AColourItCannotShowComesBackAsItWasSetUntilAnotherIsPicked)
{
    ColorBox box;
    box.AddCustomEntry();
    box.SetSelected(0x0000FF);
    EXPECT_EQ(box.currentText(), QStringLiteral("Красный"));
    box.SetSelected(0x123456);
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(box.Selected(), 0x123456u);

    // A system colour written by the original's platform (COLOR_WINDOW), and one whose low bytes
    // are a named colour: both stand whole in the custom entry.
    for (TColor kept : {TColor(0x80000005), TColor(0x02FF0000)}) {
        box.SetSelected(kept);
        EXPECT_EQ(box.currentIndex(), 0);
        EXPECT_EQ(box.Selected(), kept);
    }
    // The user's choice is a colour of three bytes.
    box.setCurrentIndex(box.findText(QStringLiteral("Синий")));
    EXPECT_EQ(box.Selected(), 0xFF0000u);
    box.SetSelected(0x80000005);
    Dialogs::ScriptedHandler dialogs;
    dialogs.ColorAnswers = {0x80102030};
    emit box.activated(0);  // the custom entry chosen: the colour dialog
    EXPECT_EQ(box.Selected(), 0x102030u);

    // Without the custom entry such a colour has no entry.
    ColorBox plain;
    plain.SetSelected(0x80000005);
    EXPECT_EQ(plain.currentIndex(), -1);
}

}  // namespace
