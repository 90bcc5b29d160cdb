#pragma once

#include <QString>

namespace rawen {

// Where users get help and the program's installer; shown when the program cannot open its data.
namespace Wsparcie {

inline QString adresPobierania()
{
    return QStringLiteral("https://rawen.example/pobierz");
}

// Where the update check asks for a newer program; the configuration table keeps it.
inline QString adresAktualizacji()
{
    return QStringLiteral("https://rawen.example/aktualizacje");
}

inline QString email()
{
    return QStringLiteral("pomoc@rawen.example");
}

inline QString telefon()
{
    return QStringLiteral("+48 22 000 00 00");
}

} // namespace Wsparcie

} // namespace rawen
