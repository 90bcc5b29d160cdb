#pragma once

#include <QByteArray>
#include <QString>

namespace rawen {

// Which converter decodes a table's texts (values and field names). The table's language driver
// says it best, since it is what the old engine itself sorted and compared by; the code page in
// the header comes second; an office can force one when both are missing or wrong.
struct WyborKodowania
{
    QByteArray nazwa;      // the converter's name as Qt knows it ("IBM 852", "windows-1250")
    QString skad;          // how it was chosen, for the log
    bool domyslne = false; // neither the driver nor the header said: the office's usual one
};

// `wymuszone` is "cp852" or "cp1250" (the command's --kodowanie), or empty.
WyborKodowania WybierzKodowanie(const QByteArray &sterownikJezyka, int stronaKodowa,
                                const QString &wymuszone);

// The converter name for a --kodowanie value; empty for a value that is none of them.
QByteArray KodowanieOpcji(const QString &opcja);

} // namespace rawen
