#pragma once

#include <QFont>
#include <QString>

namespace rawen {

// The print engine's fonts, "Lucida Console" and "Courier New", exist on Windows only, and a
// proportional face in their place breaks every column of a ruled table. Both become a fixed-pitch
// face with the Polish letters: Liberation Mono, which keeps Courier New's metrics, when it is
// installed, else the system's fixed font. Any other name is kept as it is.
QFont CzcionkaWydruku(const QString &nazwa, int punkty);

// The family that stands for "Lucida Console" and "Courier New" on this system.
QString RodzinaStala();

} // namespace rawen
