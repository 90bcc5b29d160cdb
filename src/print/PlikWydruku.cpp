#include "print/PlikWydruku.h"

#include "platform/DurableFiles.h"

#include <QFile>

namespace rawen {

namespace {

// A port device takes the bytes as they come, so a printer that stops is noticed at the line
// it stops on.
class PlikPortu final : public PlikWydruku
{
public:
    explicit PlikPortu(const QString &urzadzenie) : m_plik(urzadzenie) {}

    bool otworz()
    {
        return m_plik.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }
    bool zapisz(const QByteArray &bajty) override { return m_plik.write(bajty) == bajty.size(); }
    // A port reports nothing useful on closing.
    bool zamknij() override
    {
        m_plik.close();
        return true;
    }

private:
    QFile m_plik;
};

// A text file takes its lines in pieces of some tens of kilobytes: a table of a million rows is
// then not a million writes. A write that fails is reported at the line that fills the piece,
// or when the file is closed.
class PlikEksportu final : public PlikWydruku
{
public:
    explicit PlikEksportu(const QString &nazwa) : m_plik(nazwa) { m_bufor.reserve(kKawalek); }

    bool otworz() { return m_plik.open(); }
    bool zapisz(const QByteArray &bajty) override
    {
        m_bufor += bajty;
        return m_bufor.size() < kKawalek || oproznij();
    }
    bool zamknij() override { return oproznij() && m_plik.commit(); }

private:
    static constexpr qsizetype kKawalek = 64 * 1024;

    bool oproznij()
    {
        if (m_bufor.isEmpty())
            return true;
        const bool zapisane = m_plik.write(m_bufor);
        m_bufor.resize(0);
        return zapisane;
    }

    ReplacingFile m_plik;
    QByteArray m_bufor;
};

class PlikiSystemowe final : public PlikiWydruku
{
public:
    std::unique_ptr<PlikWydruku> otworzPort(const QString &urzadzenie) override
    {
        auto port = std::make_unique<PlikPortu>(urzadzenie);
        if (!port->otworz())
            return nullptr;
        return port;
    }
    std::unique_ptr<PlikWydruku> otworzPlik(const QString &nazwa) override
    {
        auto plik = std::make_unique<PlikEksportu>(nazwa);
        if (!plik->otworz())
            return nullptr;
        return plik;
    }
};

} // namespace

PlikiWydruku &PlikiWydruku::systemowe()
{
    static PlikiSystemowe pliki;
    return pliki;
}

} // namespace rawen
