#pragma once
// Qt's own texts (the file dialog, the standard buttons) in the system's language.

class QTranslator;

namespace sxf {

// Loads Qt's translation for the system locale from Qt's translations folder and installs it
// in the application, which owns it. Returns null where the system speaks English or no
// translation is installed; the dialogs then speak English. Call once after the application
// object exists.
QTranslator* InstallQtTranslations();

}  // namespace sxf
