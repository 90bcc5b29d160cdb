#include "data/KopiujStrukture.h"

#include "data/Session.h"
#include "data/Table.h"
#include "platform/EngineError.h"
#include "platform/MessageBoxes.h"
#include "store/Store.h"

#include <QStringList>

namespace rawen {

namespace {

// The list of fields to empty holds at most this many names; the rest are not read.
constexpr int kNajwiecejPol = 300;

QStringList polaDoCzyszczenia(Table &wzor, const QString &lista)
{
    QStringList nazwy;
    if (lista.isEmpty())
        return nazwy;
    const QStringList czesci = lista.split(u';');
    for (qsizetype i = 0; i < czesci.size() && i < kNajwiecejPol; ++i) {
        // An empty name (a closing ";" in a rule) names no field.
        if (czesci[i].isEmpty())
            continue;
        // Raises for a name that is not a field, before anything is created.
        nazwy << wzor.fieldByName(czesci[i]).fieldName();
    }
    return nazwy;
}

void nieMoznaUtworzyc()
{
    MessageBoxes::current().error(QStringLiteral("Nie mozna utworzyć tabeli"));
}

} // namespace

bool KopiujStrukture(Table &wzor, const QString &sciezka, bool kopiujRekordy,
                     const QString &polaDoCzyszczenia_)
{
    if (wzor.session()->store().exists(sciezka))
        return false;

    if (!kopiujRekordy) {
        Table nowa(wzor.session());
        nowa.setTableName(sciezka);
        wzor.updateFieldDefs();
        wzor.updateIndexDefs();
        for (FieldDef pole : wzor.fieldDefs()) {
            pole.required = false;
            nowa.fieldDefs().append(pole);
        }
        nowa.indexDefs() = wzor.indexDefs();
        try {
            nowa.createTableNew();
        } catch (const EngineError &) {
            nieMoznaUtworzyc();
            return false;
        }
        return true;
    }

    const QStringList nazwy = polaDoCzyszczenia(wzor, polaDoCzyszczenia_);
    bool wymagane = false;
    for (const FieldDef &pole : wzor.fieldDefs())
        wymagane = wymagane || pole.required;

    // The records travel as a byte copy of the model's file, which sees every record whatever
    // the model's filter, range, order or master link; so those stay as they are and the model
    // keeps its place. The copy loses its required flags and the listed fields under its
    // temporary name: the table appears at its path only when it is finished, so a run killed
    // half-way leaves no half-made table that a later run would pass over as done.
    bool skopiowana = false;
    try {
        wzor.copyTo(sciezka, [&](const QString &kopia) {
            skopiowana = true;
            if (!wymagane && nazwy.isEmpty())
                return;
            Table gotowa(wzor.session());
            gotowa.setTableName(kopia);
            gotowa.open();
            // The copy has no name yet: a failure throws it away, so its changes need neither
            // a journal nor a sync of their own.
            gotowa.writeUnjournaled();
            gotowa.clearRequiredFlags();
            if (!nazwy.isEmpty())
                gotowa.emptyFields(nazwy);
            gotowa.close();
        });
    } catch (const EngineError &) {
        if (!skopiowana)
            nieMoznaUtworzyc();
        return false;
    }
    return true;
}

} // namespace rawen
