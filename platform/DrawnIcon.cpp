#include "DrawnIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

QIcon DrawnIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
