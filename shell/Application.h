// The application object's set-up at start: its title and the Russian texts of Qt's own
// buttons and dialogs.
#pragma once

class QTranslator;

// Sets the application title "Кестрова" (window captions stay the system's own: no suffix is
// added to them) and installs the Russian translations of Qt. Needs the application object.
// Returns the translator installed (owned by the application), or null when none was found.
QTranslator* SetUpApplication();
