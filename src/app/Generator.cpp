// rawen-generator: what the build makes for the installation from the program's own code, so
// that nothing is written twice: the manual page from the list `rawen --help` prints, the menu's
// icons from the icon the windows show.
//   rawen-generator podrecznik PLIK.1 DATA KATALOG_INSTALACJI
//   rawen-generator ikony KATALOG NAZWA   (KATALOG/NxN/apps/NAZWA.png for each size of the theme)

#include "app/Polecenia.h"
#include "install/IkonaProgramu.h"
#include "install/StronaPodrecznika.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

bool zapisz(const QString &plik, const QByteArray &tresc)
{
    QDir().mkpath(QFileInfo(plik).path());
    QSaveFile f(plik);
    if (!f.open(QIODevice::WriteOnly) || f.write(tresc) != tresc.size() || !f.commit()) {
        std::fprintf(stderr, "rawen-generator: nie można zapisać %s: %s\n", qPrintable(plik),
                     qPrintable(f.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures only, never a window: no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList a = QCoreApplication::arguments().mid(1);
    if (a.size() == 4 && a[0] == QLatin1String("podrecznik")) {
        const QString strona =
            rawen::StronaPodrecznika(rawen::WierszePomocy(), {a[2], a[3], rawen::UwagiPomocy()});
        return zapisz(a[1], strona.toUtf8()) ? 0 : 1;
    }
    if (a.size() == 3 && a[0] == QLatin1String("ikony")) {
        for (int rozmiar : rawen::RozmiaryIkony()) {
            const QString plik =
                QStringLiteral("%1/%2x%2/apps/%3.png").arg(a[1]).arg(rozmiar).arg(a[2]);
            QByteArray png;
            QBuffer bufor(&png);
            bufor.open(QIODevice::WriteOnly);
            if (!rawen::IkonaProgramu(rozmiar).save(&bufor, "PNG") || !zapisz(plik, png))
                return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "Użycie: rawen-generator podrecznik PLIK.1 DATA KATALOG_INSTALACJI\n"
                         "       rawen-generator ikony KATALOG NAZWA\n");
    return 2;
}
