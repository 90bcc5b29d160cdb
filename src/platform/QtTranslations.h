#pragma once

#include <QString>

namespace rawen {

// The folder holding Qt's own translations: the one this Qt was built to read them from (on
// Debian the package qt6-translations-l10n fills it), or "translations" beside the program, where
// a Windows installation puts them.
QString qtTranslationsFolder();

// Loads Qt's own Polish texts (qtbase_pl: the buttons and labels of the standard dialogs, "Zapisz",
// "Anuluj", "Nazwa pliku:") into the running application, for the program and for its commands.
// False when no translation file was found; Qt's texts then stay English.
bool installQtTranslations();

} // namespace rawen
