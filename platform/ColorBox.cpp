// The class library's colour list.
#include "ColorBox.h"

#include <QIcon>
#include <QPixmap>

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent)
{
    struct Named {
        TColor Color;
        const char* Name;
    };
    static const Named colors[] = {
        {0x000000, "Black"},      {0x000080, "Maroon"},  {0x008000, "Green"},  {0x008080, "Olive"},
        {0x800000, "Navy"},       {0x800080, "Purple"},  {0x808000, "Teal"},   {0x808080, "Gray"},
        {0xC0C0C0, "Silver"},     {0x0000FF, "Red"},     {0x00FF00, "Lime"},   {0x00FFFF, "Yellow"},
        {0xFF0000, "Blue"},       {0xFF00FF, "Fuchsia"}, {0xFFFF00, "Aqua"},   {0xFFFFFF, "White"},
        {0xC0DCC0, "Money Green"}, {0xF0CAA6, "Sky Blue"}, {0xF0FBFF, "Cream"}, {0xA4A0A0, "Medium Gray"},
    };
    for (const Named& c : colors) {
        QPixmap swatch(16, 12);
        swatch.fill(ColorToQColor(c.Color));
        addItem(QIcon(swatch), QLatin1String(c.Name), c.Color);
    }
}

TColor ColorBox::Selected() const
{
    return currentIndex() < 0 ? 0 : currentData().toUInt();
}

void ColorBox::SetSelected(TColor color)
{
    setCurrentIndex(findData(color & 0xFFFFFF));
}
