// Icons drawn in code on a 16-unit square, so the program and the report library carry no image files.
#pragma once

#include <QIcon>
#include <functional>

class QPainter;

// The picture drawn at 16, 24 and 32 pixels (the painter is scaled to a 16 by 16 square).
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw);
