// Where the program's own windows stand on the screen.
#include "ScreenPlacement.h"

#include <QScreen>
#include <QShowEvent>
#include <QWidget>

void CentreOnScreen(QWidget& window, const QShowEvent* event)
{
    if (event->spontaneous()) return;
    if (QScreen* s = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        window.move(frame.topLeft());
    }
}
