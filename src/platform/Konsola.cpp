#include "platform/Konsola.h"

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace rawen {

Konsola::Konsola(std::FILE *wyjscie, std::FILE *bledy)
    : m_wyjscie(wyjscie), m_bledy(bledy), m_terminal(isatty(fileno(bledy)) != 0),
      m_wynikTerminal(isatty(fileno(wyjscie)) != 0), m_poprzednie(install(this))
{}

Konsola::~Konsola()
{
    koniecPostepu();
    install(m_poprzednie);
}

void Konsola::wynik(const QString &linia)
{
    koniecPostepu();
    errno = 0;
    if ((std::fprintf(m_wyjscie, "%s\n", linia.toLocal8Bit().constData()) < 0 ||
         std::fflush(m_wyjscie) != 0) &&
        m_bladWyniku == 0)
        m_bladWyniku = errno != 0 ? errno : EIO;
}

bool Konsola::wynikBajty(const QByteArray &bajty)
{
    errno = 0;
    const bool zapisane =
        std::fwrite(bajty.constData(), 1, size_t(bajty.size()), m_wyjscie) == size_t(bajty.size());
    if (!zapisane && m_bladWyniku == 0)
        m_bladWyniku = errno != 0 ? errno : EIO;
    return zapisane;
}

bool Konsola::zakonczWynik()
{
    errno = 0;
    if ((std::fflush(m_wyjscie) != 0 || std::ferror(m_wyjscie)) && m_bladWyniku == 0)
        m_bladWyniku = errno != 0 ? errno : EIO;
    return m_bladWyniku == 0;
}

int Konsola::zakoncz(int kod)
{
    if (!zakonczWynik()) {
        komunikat(QStringLiteral("Nie można zapisać wyników na standardowe wyjście. Przyczyna: %1.")
                      .arg(systemErrorText(m_bladWyniku)));
        if (kod == 0)
            kod = 1;
    }
    for (const QString &ostrzezenie : m_trwalosc.takeWarnings())
        komunikat(QStringLiteral("Uwaga: ") + ostrzezenie);
    if (m_trwalosc.anyWarning() && kod == 0)
        kod = 1;
    return kod;
}

void Konsola::komunikat(const QString &linia)
{
    koniecPostepu();
    std::fprintf(m_bledy, "%s\n", linia.toLocal8Bit().constData());
    std::fflush(m_bledy);
}

void Konsola::postep(const QString &opis, qint64 zrobione, qint64 wszystkie)
{
    if (!m_terminal || wszystkie <= 0)
        return;
    const int procent = int(qBound<qint64>(qint64(0), zrobione * 100 / wszystkie, qint64(100)));
    if (procent == m_procent && m_liniaPostepu)
        return;
    m_procent = procent;
    std::fprintf(m_bledy, "\r%s %3d%%", opis.toLocal8Bit().constData(), procent);
    std::fflush(m_bledy);
    m_liniaPostepu = true;
}

void Konsola::koniecPostepu()
{
    if (!m_liniaPostepu)
        return;
    std::fprintf(m_bledy, "\n");
    std::fflush(m_bledy);
    m_liniaPostepu = false;
    m_procent = -1;
}

MessageBoxes::Answer Konsola::show(Icon icon, const QString &, const QString &text, Buttons buttons)
{
    if (icon == Icon::Error || icon == Icon::Warning || icon == Icon::None)
        m_ostrzezenie = true;
    QString tekst = text;
    tekst.replace(u'\r', u' ');
    komunikat(tekst);
    return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
}

ArgumentyPolecenia::ArgumentyPolecenia(const QStringList &argumenty, const QStringList &zWartoscia,
                                       const QStringList &bezWartosci)
{
    for (qsizetype i = 0; i < argumenty.size(); ++i) {
        const QString &argument = argumenty[i];
        if (!argument.startsWith(QLatin1String("--")) || argument == QLatin1String("--")) {
            m_pozostale << argument;
            continue;
        }
        QString nazwa = argument;
        QString wartosc;
        bool podana = false;
        const qsizetype rowne = argument.indexOf(u'=');
        if (rowne > 0) {
            nazwa = argument.left(rowne);
            wartosc = argument.mid(rowne + 1);
            podana = true;
        }
        if (m_opcje.contains(nazwa)) {
            m_blad = QStringLiteral("Opcja %1 podana więcej niż raz.").arg(nazwa);
            return;
        }
        if (zWartoscia.contains(nazwa)) {
            if (!podana) {
                if (i + 1 >= argumenty.size()) {
                    m_blad = QStringLiteral("Opcja %1 wymaga wartości.").arg(nazwa);
                    return;
                }
                wartosc = argumenty[++i];
            }
        } else if (bezWartosci.contains(nazwa)) {
            if (podana) {
                m_blad = QStringLiteral("Opcja %1 nie przyjmuje wartości.").arg(nazwa);
                return;
            }
        } else {
            m_blad = QStringLiteral("Nieznana opcja: %1.").arg(nazwa);
            return;
        }
        m_opcje << nazwa;
        m_wartosci << wartosc;
    }
}

bool ArgumentyPolecenia::ma(const QString &opcja) const
{
    return m_opcje.contains(opcja);
}

QString ArgumentyPolecenia::wartosc(const QString &opcja) const
{
    const qsizetype i = m_opcje.indexOf(opcja);
    return i >= 0 ? m_wartosci[i] : QString();
}

} // namespace rawen
