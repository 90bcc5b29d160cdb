#include "format/Liczebniki.h"
#include "platform/EngineError.h"
#include "store/FieldValues.h"
#include "store/Sqlite.h"
#include "store/TableFile.h"

#include <QSet>

namespace rawen {
namespace TableFile {

namespace {

const FieldDef *fieldNamed(const QList<FieldDef> &fields, const QString &name)
{
    for (const FieldDef &f : fields) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

struct Column
{
    QString name;
    QString type;
};

QList<Column> columnsOfRecords(const SqliteDatabase &db)
{
    QList<Column> columns;
    SqliteStatement info = db.prepare(
        QStringLiteral("SELECT name, type FROM pragma_table_info('records') ORDER BY cid"));
    while (info.step())
        columns << Column{info.column(0).toString(), info.column(1).toString()};
    return columns;
}

// The record as the user knows it, for a message; the rowid when the caller gives no better.
QString recordName(const RecordDescriber &describe, const OldRecord &old, qint64 rowid)
{
    const QString name = describe ? describe(old) : QString();
    return name.isEmpty() ? QStringLiteral("rekord nr %1").arg(rowid)
                          : QStringLiteral("rekord %1").arg(name);
}

} // namespace

void restructure(const SqliteDatabase &db, const Definitions &current, const Definitions &target,
                 const RecordMapper &map, const RecordDescriber &describe,
                 const std::function<void(EngineOp)> &checkFault)
{
    const QString context = db.context();
    validate(target, context);
    const QList<Column> columns = columnsOfRecords(db);

    // A column the description does not cover may hold anything: when the new layout has a
    // field of its name, nobody can tell whether to carry it as it is or as the old layout's
    // value of that name, so nothing is done.
    QStringList undescribed;
    QList<Column> carried;
    for (const Column &c : columns) {
        const bool described = fieldNamed(current.fields, c.name) != nullptr;
        const bool wanted = fieldNamed(target.fields, c.name) != nullptr;
        if (!described && wanted)
            undescribed << c.name;
        if (!wanted)
            carried << c;
    }
    if (!undescribed.isEmpty())
        throw EngineError(EngineError::Damaged, context,
                          QStringLiteral("opis tabeli nie obejmuje danych z kolumn %1")
                              .arg(undescribed.join(QLatin1String(", "))));

    if (checkFault)
        checkFault(EngineOp::Create);
    // The new table takes the index names; the old indexes go with the old table anyway.
    QStringList oldIndexes;
    {
        SqliteStatement indexes =
            db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND "
                                      "tbl_name = 'records' AND sql IS NOT NULL"));
        while (indexes.step())
            oldIndexes << indexes.column(0).toString();
    }
    for (const QString &index : std::as_const(oldIndexes))
        db.exec(QStringLiteral("DROP INDEX %1").arg(quoteIdentifier(index)));

    QStringList definitions;
    QStringList names;
    for (const FieldDef &f : target.fields) {
        definitions << quoteIdentifier(f.name) + u' ' + columnType(f.dataType);
        names << quoteIdentifier(f.name);
    }
    for (const Column &c : std::as_const(carried)) {
        definitions << (c.type.isEmpty() ? quoteIdentifier(c.name)
                                         : quoteIdentifier(c.name) + u' ' + c.type);
        names << quoteIdentifier(c.name);
    }
    db.exec(QStringLiteral("CREATE TABLE rawen_records_new(%1)")
                .arg(definitions.join(QLatin1String(", "))));
    // Indexes first, so that a key the new layout refuses is met at the record that brings it.
    for (int i = 0; i < target.indexes.size(); ++i)
        db.exec(indexSql(target.indexes[i], i, target.fields, QStringLiteral("rawen_records_new")));

    QStringList oldNames;
    for (const Column &c : columns)
        oldNames << quoteIdentifier(c.name);
    SqliteStatement read = db.prepare(QStringLiteral("SELECT rowid, %1 FROM records ORDER BY rowid")
                                          .arg(oldNames.join(QLatin1String(", "))));
    QStringList marks(names.size() + 1, QStringLiteral("?"));
    SqliteStatement insert =
        db.prepare(QStringLiteral("INSERT INTO rawen_records_new(rowid, %1) VALUES(%2)")
                       .arg(names.join(QLatin1String(", ")), marks.join(QLatin1String(", "))));

    while (read.step()) {
        const qint64 rowid = read.column(0).toLongLong();
        OldRecord old;
        QVariantList raw;
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = read.column(i + 1);
            raw << value;
            const FieldDef *def = fieldNamed(current.fields, columns[i].name);
            old.insert(columns[i].name.toUpper(),
                       def ? FieldValues::toText(*def, value) : value.toString());
        }
        if (checkFault)
            checkFault(EngineOp::Append);
        const QStringList texts = map(old);
        insert.bind(1, rowid);
        for (int j = 0; j < target.fields.size(); ++j) {
            const FieldDef &f = target.fields[j];
            const QString text = j < texts.size() ? texts[j] : QString();
            // Cutting a value to a shorter field would lose what does not fit.
            if (isTextType(f.dataType) && f.size > 0 && text.size() > f.size)
                throw EngineError(EngineError::BadValue, context,
                                  QStringLiteral("%1: wartość pola %2 ma %3, a pole mieści %4")
                                      .arg(recordName(describe, old, rowid), f.name,
                                           Liczebnik(text.size(), liczebniki::znak))
                                      .arg(f.size));
            try {
                insert.bind(j + 2, FieldValues::fromText(f, text, context));
            } catch (const EngineError &error) {
                throw EngineError(error.kind(), context,
                                  QStringLiteral("%1: wartość „%2” nie pasuje do pola %3")
                                      .arg(recordName(describe, old, rowid), text, f.name));
            }
        }
        int position = int(target.fields.size()) + 2;
        for (int i = 0; i < columns.size(); ++i) {
            if (!fieldNamed(target.fields, columns[i].name))
                insert.bind(position++, raw[i]);
        }
        try {
            insert.run();
        } catch (const EngineError &error) {
            if (error.kind() != EngineError::KeyViolation)
                throw;
            throw EngineError(EngineError::KeyViolation, context,
                              QStringLiteral("%1: klucz powtarza się w innym rekordzie")
                                  .arg(recordName(describe, old, rowid)));
        }
    }
    read.reset();

    db.exec(QStringLiteral("DROP TABLE records"));
    db.exec(QStringLiteral("ALTER TABLE rawen_records_new RENAME TO records"));
    storeDescription(db, target);
}

} // namespace TableFile
} // namespace rawen
