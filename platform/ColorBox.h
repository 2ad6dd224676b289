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
    // Selects the colour; no selection when the list lacks it.
    void SetSelected(TColor color);
};
