// Where the program's own windows stand on the screen.
#pragma once

class QShowEvent;
class QWidget;

// Centres window on its screen (the part not taken by panels) at a show the program asked for,
// not at a spontaneous one (the window coming back from the task bar keeps where the user put it).
void CentreOnScreen(QWidget& window, const QShowEvent* event);
