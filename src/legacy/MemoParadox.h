#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace rawen {

// The memo and blob file (.MB) of a table, opened read-only. It is made of blocks of 4 KiB: the
// first describes the file, a blob of its own takes one or more whole blocks (its header block
// of type 2), and small blobs share a block (type 3) through an index of 64 entries at its start.
class MemoParadox
{
public:
    // `tabela` names the table in messages.
    MemoParadox(const QString &sciezka, const QString &tabela);

    // The blob a record points at: the block offset with the entry's index in its low byte
    // (0xFF for a block of its own), and the length the record gives. Raises BladParadox for a
    // pointer outside the file, a block of the wrong kind, or lengths that disagree.
    QByteArray czytaj(quint32 wskaznik, quint32 dlugosc, const QString &gdzie);

    static constexpr int kBlok = 4096;

private:
    [[noreturn]] void blad(const QString &gdzie, const QString &przyczyna) const;
    QByteArray wczytaj(qint64 od, qint64 ile, const QString &gdzie);

    QString m_tabela;
    QString m_nazwa;
    QFile m_plik;
    qint64 m_rozmiar = 0;
};

} // namespace rawen
