#include "print/ZbiorTabeli.h"

#include "data/Table.h"
#include "platform/EngineError.h"

namespace rawen {

qint64 ZbiorTabeli::liczbaRekordow()
{
    return m_tabela.recordCount();
}

void ZbiorTabeli::wylaczKontrolki()
{
    m_tabela.disableControls();
}

void ZbiorTabeli::wlaczKontrolki()
{
    m_tabela.enableControls();
}

void ZbiorTabeli::pierwszy()
{
    m_tabela.first();
}

void ZbiorTabeli::nastepny()
{
    m_tabela.next();
}

bool ZbiorTabeli::koniec()
{
    return m_tabela.eof();
}

void ZbiorTabeli::przejdzDo(qint64 zakladka)
{
    m_tabela.gotoBookmark(zakladka);
}

int ZbiorTabeli::indeksPola(const QString &nazwa)
{
    return nazwa.isEmpty() ? -1 : m_tabela.fieldIndex(nazwa);
}

QString ZbiorTabeli::tekstPola(int indeks)
{
    return m_tabela.field(indeks).displayText();
}

bool ZbiorTabeli::liczbaPola(int indeks, double &liczba)
{
    try {
        liczba = m_tabela.field(indeks).asFloat();
        return true;
    } catch (const EngineError &blad) {
        if (blad.kind() != EngineError::BadValue)
            throw;
        return false;
    }
}

} // namespace rawen
