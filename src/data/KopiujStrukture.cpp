#include "data/KopiujStrukture.h"

#include "data/EngineError.h"
#include "data/Table.h"
#include "platform/FileNames.h"
#include "platform/MessageBoxes.h"

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
    if (existsAnyKind(sciezka))
        return false;

    Table nowa(wzor.session());
    nowa.setTableName(sciezka);

    if (!kopiujRekordy) {
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

    // The records travel as a byte copy of the model's file, which sees every record whatever
    // the model's filter, range, order or master link; so those stay as they are and the model
    // keeps its place.
    try {
        wzor.copyTo(sciezka);
    } catch (const EngineError &) {
        nieMoznaUtworzyc();
        return false;
    }

    bool wymagane = false;
    for (const FieldDef &pole : wzor.fieldDefs())
        wymagane = wymagane || pole.required;
    if (!wymagane && nazwy.isEmpty())
        return true;

    try {
        nowa.open();
        nowa.clearRequiredFlags();
        if (!nazwy.isEmpty())
            nowa.emptyFields(nazwy);
        nowa.close();
    } catch (const EngineError &) {
        // A copy whose fields were not emptied must not pass for the new table: it goes, and
        // a later run can make it again.
        nowa.close();
        try {
            nowa.deleteTable();
        } catch (const EngineError &) {
        }
        return false;
    }
    return true;
}

} // namespace rawen
