// The class library's colour list.
#include "ColorBox.h"

#include "Dialogs.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
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
    // The system colours, each by the palette colour that plays its part, taken as RGB now.
    struct System {
        QPalette::ColorGroup Group;
        QPalette::ColorRole Role;
        const char* Name;
    };
    static const System systemColors[] = {
        {QPalette::Active, QPalette::Button, "ScrollBar"},
        {QPalette::Active, QPalette::Dark, "Background"},
        {QPalette::Active, QPalette::Highlight, "ActiveCaption"},
        {QPalette::Inactive, QPalette::Highlight, "InactiveCaption"},
        {QPalette::Active, QPalette::Window, "Menu"},
        {QPalette::Active, QPalette::Base, "Window"},
        {QPalette::Active, QPalette::WindowText, "WindowFrame"},
        {QPalette::Active, QPalette::WindowText, "MenuText"},
        {QPalette::Active, QPalette::Text, "WindowText"},
        {QPalette::Active, QPalette::HighlightedText, "CaptionText"},
        {QPalette::Active, QPalette::Window, "ActiveBorder"},
        {QPalette::Inactive, QPalette::Window, "InactiveBorder"},
        {QPalette::Active, QPalette::Mid, "AppWorkSpace"},
        {QPalette::Active, QPalette::Highlight, "Highlight"},
        {QPalette::Active, QPalette::HighlightedText, "HighlightText"},
        {QPalette::Active, QPalette::Button, "BtnFace"},
        {QPalette::Active, QPalette::Dark, "BtnShadow"},
        {QPalette::Disabled, QPalette::Text, "GrayText"},
        {QPalette::Active, QPalette::ButtonText, "BtnText"},
        {QPalette::Inactive, QPalette::HighlightedText, "InactiveCaptionText"},
        {QPalette::Active, QPalette::Light, "BtnHighlight"},
        {QPalette::Active, QPalette::Shadow, "3DDkShadow"},
        {QPalette::Active, QPalette::Midlight, "3DLight"},
        {QPalette::Active, QPalette::ToolTipText, "InfoText"},
        {QPalette::Active, QPalette::ToolTipBase, "InfoBk"},
    };
    auto add = [this](TColor color, const char* name) {
        QPixmap swatch(16, 12);
        swatch.fill(ColorToQColor(color));
        addItem(QIcon(swatch), QLatin1String(name), color);
    };
    for (const Named& c : colors) add(c.Color, c.Name);
    const QPalette palette = QGuiApplication::palette();
    for (const System& c : systemColors) add(QColorToColor(palette.color(c.Group, c.Role)), c.Name);
}

TColor ColorBox::Selected() const
{
    return currentIndex() < 0 ? 0 : currentData().toUInt();
}

void ColorBox::SetSelected(TColor color)
{
    color &= 0xFFFFFF;
    int index = -1;
    for (int i = custom_ ? 1 : 0; i < count() && index < 0; ++i)
        if (itemData(i).toUInt() == color) index = i;
    if (index < 0 && custom_) {
        SetCustom(color);
        index = 0;
    }
    setCurrentIndex(index);
}

void ColorBox::AddCustomEntry()
{
    if (custom_) return;
    custom_ = true;
    insertItem(0, QStringLiteral("Другой..."), 0u);
    SetCustom(0);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index != 0) return;
        quint32 color = itemData(0).toUInt();
        if (Dialogs::PickColor(color)) SetCustom(color & 0xFFFFFF);
    });
}

void ColorBox::SetCustom(TColor color)
{
    QPixmap swatch(16, 12);
    swatch.fill(ColorToQColor(color));
    setItemIcon(0, QIcon(swatch));
    setItemData(0, color);
}
