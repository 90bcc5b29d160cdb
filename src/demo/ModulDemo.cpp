// The stand-in for the eight module programs in a demo data root: copied there under each
// module's file name, it shows how it was started, so the launcher can be tried end to end.

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// Written for tests: a file named here gets one line per start and no window is shown.
constexpr char kZmiennaZapisu[] = "RAWEN_MODUL_ZAPIS";

QString opisModulu(const QString &nazwaPliku)
{
    static const QHash<QString, QString> opisy{
        {QStringLiteral("DREMOT"), QStringLiteral("Faktura")},
        {QStringLiteral("LOMIRA"), QStringLiteral("Przelewy")},
        {QStringLiteral("HARNOL"), QStringLiteral("Księga")},
        {QStringLiteral("GARVEL"), QStringLiteral("Środki Trwałe")},
        {QStringLiteral("SELVIK"), QStringLiteral("Ewidencja VAT")},
        {QStringLiteral("TESSUN"), QStringLiteral("Ewid. pojazdu")},
        {QStringLiteral("PUNTOR"), QStringLiteral("Raport Kasowy")},
        {QStringLiteral("BORVIK"), QStringLiteral("Analizator")},
    };
    const QString kod = QFileInfo(nazwaPliku).completeBaseName().toUpper();
    const QString opis = opisy.value(kod);
    return opis.isEmpty() ? kod : QStringLiteral("%1 (%2)").arg(kod, opis);
}

int zapisz(const QString &plik, const QStringList &argumenty)
{
    QFile zapis(plik);
    if (!zapis.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return 1;
    QTextStream(&zapis) << argumenty.join(u'\t') << '\n';
    return zapis.error() == QFileDevice::NoError ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The test mode needs no display, so it decides before a GUI application exists.
    const QString plikZapisu = qEnvironmentVariable(kZmiennaZapisu);
    if (!plikZapisu.isEmpty()) {
        QCoreApplication aplikacja(argc, argv);
        return zapisz(plikZapisu, QCoreApplication::arguments());
    }

    QApplication aplikacja(argc, argv);
    const QStringList argumenty = QApplication::arguments();
    const QString nazwaPliku = QFileInfo(QApplication::applicationFilePath()).fileName();

    QWidget okno;
    okno.setWindowTitle(nazwaPliku);
    auto *uklad = new QVBoxLayout(&okno);

    auto *opis = new QLabel(
        QStringLiteral("To jest program demonstracyjny. Zastępuje moduł %1, który nie należy do "
                       "danych demonstracyjnych, i pokazuje tylko, jak go uruchomiono.")
            .arg(opisModulu(nazwaPliku)),
        &okno);
    opis->setWordWrap(true);
    uklad->addWidget(opis);

    uklad->addWidget(new QLabel(QStringLiteral("Wiersz poleceń:"), &okno));
    auto *wiersz = new QPlainTextEdit(argumenty.join(u'\n'), &okno);
    wiersz->setReadOnly(true);
    uklad->addWidget(wiersz);

    auto *zamknij = new QPushButton(QStringLiteral("Zamknij"), &okno);
    QObject::connect(zamknij, &QPushButton::clicked, &okno, &QWidget::close);
    uklad->addWidget(zamknij);

    okno.resize(520, 260);
    okno.show();
    return aplikacja.exec();
}
