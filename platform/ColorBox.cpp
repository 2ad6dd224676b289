// The class library's colour list, its names as a Russian user reads them.
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
        {0x000000, "Черный"},      {0x000080, "Темно-красный"},  {0x008000, "Зеленый"},  {0x008080, "Оливковый"},
        {0x800000, "Темно-синий"},       {0x800080, "Фиолетовый"},  {0x808000, "Сине-зеленый"},   {0x808080, "Серый"},
        {0xC0C0C0, "Серебристый"},     {0x0000FF, "Красный"},     {0x00FF00, "Салатовый"},   {0x00FFFF, "Желтый"},
        {0xFF0000, "Синий"},       {0xFF00FF, "Фуксия"}, {0xFFFF00, "Голубой"},   {0xFFFFFF, "Белый"},
        {0xC0DCC0, "Денежно-зеленый"}, {0xF0CAA6, "Небесно-голубой"}, {0xF0FBFF, "Кремовый"}, {0xA4A0A0, "Средне-серый"},
    };
    // The system colours, each by the palette colour that plays its part, taken as RGB now.
    struct System {
        QPalette::ColorGroup Group;
        QPalette::ColorRole Role;
        const char* Name;
    };
    static const System systemColors[] = {
        {QPalette::Active, QPalette::Button, "Полоса прокрутки"},
        {QPalette::Active, QPalette::Dark, "Рабочий стол"},
        {QPalette::Active, QPalette::Highlight, "Заголовок активного окна"},
        {QPalette::Inactive, QPalette::Highlight, "Заголовок неактивного окна"},
        {QPalette::Active, QPalette::Window, "Меню"},
        {QPalette::Active, QPalette::Base, "Окно"},
        {QPalette::Active, QPalette::WindowText, "Рамка окна"},
        {QPalette::Active, QPalette::WindowText, "Текст меню"},
        {QPalette::Active, QPalette::Text, "Текст в окне"},
        {QPalette::Active, QPalette::HighlightedText, "Текст заголовка"},
        {QPalette::Active, QPalette::Window, "Граница активного окна"},
        {QPalette::Inactive, QPalette::Window, "Граница неактивного окна"},
        {QPalette::Active, QPalette::Mid, "Рабочая область приложения"},
        {QPalette::Active, QPalette::Highlight, "Выделение"},
        {QPalette::Active, QPalette::HighlightedText, "Выделенный текст"},
        {QPalette::Active, QPalette::Button, "Поверхность кнопки"},
        {QPalette::Active, QPalette::Dark, "Тень кнопки"},
        {QPalette::Disabled, QPalette::Text, "Недоступный текст"},
        {QPalette::Active, QPalette::ButtonText, "Текст кнопки"},
        {QPalette::Inactive, QPalette::HighlightedText, "Текст заголовка неактивного окна"},
        {QPalette::Active, QPalette::Light, "Подсветка кнопки"},
        {QPalette::Active, QPalette::Shadow, "Темная тень объемных элементов"},
        {QPalette::Active, QPalette::Midlight, "Светлая граница объемных элементов"},
        {QPalette::Active, QPalette::ToolTipText, "Текст подсказки"},
        {QPalette::Active, QPalette::ToolTipBase, "Фон подсказки"},
    };
    auto add = [this](TColor color, const char* name) {
        QPixmap swatch(16, 12);
        swatch.fill(ColorToQColor(color));
        addItem(QIcon(swatch), QString::fromUtf8(name), color);
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
    // A colour with its high byte set (a system colour of another platform) is painted by its
    // low three bytes but kept whole in the custom entry, so it goes back as it came unless the
    // user picks another.
    if ((color >> 24) != 0 && custom_) {
        SetCustom(color);
        setCurrentIndex(0);
        return;
    }
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
