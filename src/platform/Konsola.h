#pragma once

#include "platform/DurableFiles.h"
#include "platform/MessageBoxes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace rawen {

// Where a command run without a window speaks: its results on standard output, its messages on
// standard error, and a progress line only when standard error is a terminal (so a log of a job
// run from cron holds no carriage returns). While it lives it is the program's message boxes: a
// box prints its text on standard error and a question is answered No, since nobody is there to
// answer it.
class Konsola final : public MessageBoxes
{
public:
    explicit Konsola(std::FILE *wyjscie = stdout, std::FILE *bledy = stderr);
    ~Konsola() override;
    Konsola(const Konsola &) = delete;
    Konsola &operator=(const Konsola &) = delete;

    void wynik(const QString &linia);
    // Bytes as they are on standard output (a printed table in its own code page); false when
    // not all of them went out.
    bool wynikBajty(const QByteArray &bajty);
    // Flushes standard output; false when something written to it was lost.
    bool zakonczWynik();
    // The end of a command with exit status `kod`: results that could not be written (a full
    // disk under a redirection, a closed pipe) and warnings of the durable-file layer nobody
    // reported yet are said on standard error, and either turns a status of 0 into 1.
    int zakoncz(int kod);
    // Whether standard output is a terminal, where a progress line would break up the results.
    bool wynikNaTerminalu() const { return m_wynikTerminal; }
    void komunikat(const QString &linia);
    // "opis 45%" rewritten in place, when standard error is a terminal.
    void postep(const QString &opis, qint64 zrobione, qint64 wszystkie);
    void koniecPostepu();
    bool naTerminalu() const { return m_terminal; }
    // For tests: the progress line as if standard error were a terminal, or not.
    void ustawTerminal(bool terminal) { m_terminal = terminal; }

    // Whether a box of the error or warning kind was shown, so a command can end with 1.
    bool byloOstrzezenie() const { return m_ostrzezenie; }

    Answer show(Icon icon, const QString &caption, const QString &text, Buttons buttons) override;

private:
    std::FILE *m_wyjscie;
    std::FILE *m_bledy;
    bool m_terminal;
    bool m_wynikTerminal;
    bool m_liniaPostepu = false;
    int m_procent = -1;
    bool m_ostrzezenie = false;
    int m_bladWyniku = 0; // why something written to standard output was lost; 0 when nothing
    DurabilityWatch m_trwalosc;
    MessageBoxes *m_poprzednie;
};

// The arguments of a command: options with a value ("--kanal 2" or "--kanal=2"), options alone
// ("--wszystkie-firmy") and the rest in order. An unknown option, a value missing or repeated is
// an error in Polish words.
class ArgumentyPolecenia
{
public:
    ArgumentyPolecenia(const QStringList &argumenty, const QStringList &zWartoscia,
                       const QStringList &bezWartosci);

    bool poprawne() const { return m_blad.isEmpty(); }
    QString blad() const { return m_blad; }
    bool ma(const QString &opcja) const;
    QString wartosc(const QString &opcja) const;
    QStringList pozostale() const { return m_pozostale; }

private:
    QStringList m_opcje;
    QStringList m_wartosci;
    QStringList m_pozostale;
    QString m_blad;
};

} // namespace rawen
