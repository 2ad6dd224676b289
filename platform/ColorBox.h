// The class library's colour list: the standard, extended and system colours by name, with swatches.
#pragma once

#include "Pictures.h"

#include <QComboBox>

class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);
    // The selected colour (Windows layout; a system colour as its RGB value when the list was
    // made); black when none is selected.
    TColor Selected() const;
    // Selects the colour; without the custom entry, no selection when the list lacks it. With
    // it, a colour with its high byte set stands there whole: Selected gives it back unchanged.
    void SetSelected(TColor color);

    // Puts the custom entry first: choosing it opens the colour dialog, and a colour that none
    // of the named ones is is shown there.
    void AddCustomEntry();

private:
    void SetCustom(TColor color);
    bool custom_ = false;
};
