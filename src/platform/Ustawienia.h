#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace rawen {

// The user's own settings of the program: the data root it opens when started without one.
// An INI file in the user's configuration folder ("RAWEN/rawen.ini" under ~/.config, or under
// the application data folder on Windows), which QSettings writes whole under another name and
// renames into place. Tests redirect it.
class Ustawienia
{
public:
    Ustawienia();
    ~Ustawienia();
    Ustawienia(const Ustawienia &) = delete;
    Ustawienia &operator=(const Ustawienia &) = delete;

    // The data root remembered, as an absolute path; empty when none is.
    QString katalogDanych() const;
    // Remembers `katalog` for the next starts; false when the file cannot be written.
    [[nodiscard]] bool zapamietajKatalogDanych(const QString &katalog);

    // The file, for messages.
    QString polozenie() const;

    // Tests keep the settings in "<folder>/rawen.ini"; an empty folder goes back to the real
    // place.
    static void redirectTo(const QString &folder);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace rawen
