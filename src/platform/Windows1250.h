#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace rawen {

// The text in Windows-1250, the code page of the files whose bytes are fixed (the DOS port
// stream, the text exports, the structure file). A character the code page cannot hold becomes
// "?", one per character (a surrogate pair is one character).
QByteArray toWindows1250(const QString &text);
// The same bytes appended to `bytes`; false when all of them are ASCII.
bool dopiszWindows1250(QStringView text, QByteArray &bytes);

} // namespace rawen
