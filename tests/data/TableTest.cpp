#include "data/Table.h"

#include "platform/EngineError.h"
#include "support/FixedAppContext.h"
#include "support/OtherProgram.h"
#include "support/TableFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace rawen::test {
namespace {

QString q(const char *text)
{
    return QString::fromUtf8(text);
}

QList<FieldDef> smallFields()
{
    return {{QStringLiteral("NR"), ftInteger, 0, false},
            {QStringLiteral("NAZWA"), ftString, 10, false},
            {QStringLiteral("KWOTA"), ftFloat, 0, false}};
}

// A raw SQLite connection, as another program would hold one.
class RawConnection
{
public:
    explicit RawConnection(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~RawConnection() { sqlite3_close_v2(m_db); }
    RawConnection(const RawConnection &) = delete;
    RawConnection &operator=(const RawConnection &) = delete;

    bool exec(const QString &sql)
    {
        char *error = nullptr;
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
        if (rc != SQLITE_OK)
            ADD_FAILURE() << sql.toStdString() << ": " << (error ? error : "?");
        sqlite3_free(error);
        return rc == SQLITE_OK;
    }
    QStringList column(const QString &sql)
    {
        QStringList values;
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr);
        while (statement && sqlite3_step(statement) == SQLITE_ROW)
            values << QString::fromUtf8(
                reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return values;
    }

private:
    sqlite3 *m_db = nullptr;
};

class TableTest : public testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString dirPath() const { return m_dir.path(); }

    // The people table most cursor tests walk: primary on NR, a case-insensitive name index and
    // a two-field index.
    QString makePeople(const QString &name = QStringLiteral("OSOBY.DB"))
    {
        const QString p = path(name);
        makeTable(p,
                  {{QStringLiteral("NR"), ftInteger, 0, false},
                   {QStringLiteral("NAZWA"), ftString, 20, false},
                   {QStringLiteral("GRUPA"), ftString, 10, false},
                   {QStringLiteral("KWOTA"), ftFloat, 0, false}},
                  {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
                   {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), ixCaseInsensitive},
                   {QStringLiteral("GrupaNr"), QStringLiteral("GRUPA;NR"), {}}},
                  {{q("3"), q("Nowak"), q("A"), q("5")},
                   {q("1"), q("Kowalski"), q("A"), q("10")},
                   {q("5"), q("ADAMSKI"), q("C"), q("30")},
                   {q("2"), q("adamski"), q("B"), q("20.5")},
                   {q("4"), q("Zieliński"), q("B"), q("")}},
                  &session);
        return p;
    }

    void open(Table &table, const QString &p)
    {
        table.setTableName(p);
        table.open();
    }

    QStringList column(Table &table, const QString &field)
    {
        QStringList values;
        for (table.first(); !table.eof(); table.next())
            values << table.fieldByName(field).asString();
        return values;
    }

    // No rollback journal (or WAL) may stay beside a table between operations.
    void expectNoJournal()
    {
        for (const QString &entry : directoryEntries(dirPath())) {
            EXPECT_FALSE(entry.endsWith(QLatin1String("-journal"), Qt::CaseInsensitive) ||
                         entry.endsWith(QLatin1String("-wal"), Qt::CaseInsensitive))
                << entry.toStdString();
        }
    }

    QTemporaryDir m_dir;
    Session session{QStringLiteral("TEST")};
};

// ---- Definitions ----

QList<FieldDef> everyType()
{
    return {
        {QStringLiteral("TEKST"), ftString, 40, true},
        {QStringLiteral("ZNAKI"), ftFixedChar, 3, false},
        {QStringLiteral("MALA"), ftSmallint, 0, false},
        {QStringLiteral("CALA"), ftInteger, 0, true},
        {QStringLiteral("SLOWO"), ftWord, 0, false},
        {QStringLiteral("DUZA"), ftLargeint, 0, false},
        {QStringLiteral("LICZNIK"), ftAutoInc, 0, false},
        {QStringLiteral("LOGICZNA"), ftBoolean, 0, true},
        {QStringLiteral("LICZBA"), ftFloat, 0, false},
        {QStringLiteral("KWOTA"), ftCurrency, 0, false},
        {QStringLiteral("BCD"), ftBCD, 2, false},
        {QStringLiteral("FMTBCD"), ftFMTBcd, 4, false},
        {QStringLiteral("DATA"), ftDate, 0, false},
        {QStringLiteral("CZAS"), ftTime, 0, false},
        {QStringLiteral("DATACZAS"), ftDateTime, 0, false},
        {QStringLiteral("STEMPEL"), ftTimeStamp, 0, false},
        {QStringLiteral("NOTATKA"), ftMemo, 240, false},
        {QStringLiteral("FORMAT"), ftFmtMemo, 0, false},
        {QStringLiteral("BLOB"), ftBlob, 0, false},
        {QStringLiteral("OBRAZ"), ftGraphic, 0, false},
        {QStringLiteral("BAJTY"), ftBytes, 4, false},
        {QStringLiteral("ZMBAJTY"), ftVarBytes, 16, false},
        {QStringLiteral("SZEROKI"), ftWideString, 20, false},
        {QStringLiteral("OLE"), ftParadoxOle, 0, false},
        {QStringLiteral("DBOLE"), ftDBaseOle, 0, false},
        {QStringLiteral("TYPOWANY"), ftTypedBinary, 0, false},
        {QStringLiteral("ORABLOB"), ftOraBlob, 0, false},
        {QStringLiteral("ORACLOB"), ftOraClob, 0, false},
        {QStringLiteral("GUID"), ftGuid, 38, false},
        {q("Miasto Łódź"), ftString, 5, false},
    };
}

// One value per field of everyType(), in the text form asString gives back.
QStringList everyTypeValues()
{
    return {q("Przedsiębiorstwo \"Ćma\" sp. z o.o."),
            q("ABC"),
            q("-32768"),
            q("2147483647"),
            q("65535"),
            q("-9223372036854775808"),
            q("7"),
            q("True"),
            q("0.1"),
            q("1234567.89"),
            q("-12.34"),
            q("0.0001"),
            q("2024-02-29"),
            q("23:59:58"),
            q("1999-12-31 00:00:01"),
            q("2000-01-01 12:00:00.500"),
            q("notatka\r\nw dwóch wierszach"),
            q("{\\rtf1 x}"),
            QString::fromLatin1("\x00\x01\xff", 3),
            QString::fromLatin1("\x89PNG\r\n", 6),
            QString::fromLatin1("\x00\x00\x7f\x80", 4),
            q("abc"),
            q("Zażółć gęślą jaźń"),
            q("ole"),
            q("dbole"),
            q("typ"),
            q("ora"),
            q("clob"),
            q("{00000000-0000-0000-0000-000000000001}"),
            q("Łódź")};
}

QList<IndexDef> everyTypeIndexes()
{
    return {{QString(), QStringLiteral("CALA;TEKST"), ixPrimary | ixUnique},
            {QStringLiteral("Tekst"), QStringLiteral("TEKST"), ixCaseInsensitive},
            {QStringLiteral("DataKwota"), QStringLiteral("DATA;KWOTA"), {}},
            {QStringLiteral("Slowo"), QStringLiteral("SLOWO"), ixUnique},
            {q("Miejsce"), q("Miasto Łódź;MALA"), ixUnique | ixCaseInsensitive}};
}

TEST_F(TableTest, DefinitionsAndValuesOfEveryTypeReadBackCold)
{
    const QString p = path(QStringLiteral("WSZYSTKO.DB"));
    makeTable(p, everyType(), everyTypeIndexes(), {everyTypeValues()}, &session);

    Table cold(&session);
    open(cold, p);
    EXPECT_EQ(cold.fieldDefs(), everyType());
    EXPECT_EQ(cold.indexDefs(), everyTypeIndexes());
    ASSERT_EQ(cold.recordCount(), 1);
    for (int i = 0; i < cold.fieldCount(); ++i)
        EXPECT_EQ(cold.field(i).asString(), everyTypeValues()[i])
            << cold.field(i).fieldName().toStdString();
    cold.close();

    // A closed handle reads them from the file, whatever it held before.
    Table closed(&session);
    closed.setTableName(p);
    closed.fieldDefs() = smallFields();
    closed.updateFieldDefs();
    closed.updateIndexDefs();
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.fieldDefs(), everyType());
    EXPECT_EQ(closed.indexDefs(), everyTypeIndexes());
    expectNoJournal();
}

TEST_F(TableTest, UpdatingDefinitionsOfAMissingTableRaisesMissing)
{
    Table table(&session);
    table.setTableName(path(QStringLiteral("BRAK")));
    EXPECT_EQ(errorKind([&] { table.updateFieldDefs(); }), EngineError::Missing);
    EXPECT_EQ(errorKind([&] { table.updateIndexDefs(); }), EngineError::Missing);
}

struct BadDefinition
{
    const char *what;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
};

TEST_F(TableTest, BadDefinitionsRaiseOnCreateAndLeaveNoFile)
{
    const FieldDef nr{QStringLiteral("NR"), ftInteger, 0, false};
    auto typed = [&](TFieldType type) {
        return BadDefinition{"unsupported type", {nr, {QStringLiteral("X"), type, 0, false}}, {}};
    };
    const QList<BadDefinition> cases{
        {"no fields", {}, {}},
        {"nameless field", {nr, {QString(), ftString, 5, false}}, {}},
        {"blank name", {nr, {QStringLiteral("  "), ftString, 5, false}}, {}},
        {"repeated field", {nr, {QStringLiteral("nr"), ftString, 5, false}}, {}},
        {"reserved rowid", {nr, {QStringLiteral("ROWID"), ftInteger, 0, false}}, {}},
        {"reserved prefix", {nr, {QStringLiteral("rawen_x"), ftInteger, 0, false}}, {}},
        {"tab in a name", {nr, {QStringLiteral("A\tB"), ftString, 5, false}}, {}},
        {"line break in a name", {nr, {QStringLiteral("A\nB"), ftString, 5, false}}, {}},
        {"line break in an index name", {nr}, {{QStringLiteral("I\n"), QStringLiteral("NR"), {}}}},
        {"negative size", {{QStringLiteral("A"), ftString, -1, false}}, {}},
        typed(ftUnknown),
        typed(ftADT),
        typed(ftCursor),
        typed(ftArray),
        typed(ftReference),
        typed(ftDataSet),
        typed(ftVariant),
        typed(ftInterface),
        typed(ftIDispatch),
        typed(TFieldType(kFieldTypeCount)),
        {"index on unknown field", {nr}, {{QString(), QStringLiteral("NR;BRAK"), ixPrimary}}},
        {"index without fields", {nr}, {{QStringLiteral("I"), QString(), {}}}},
        {"two primaries",
         {nr},
         {{QString(), QStringLiteral("NR"), ixPrimary},
          {QStringLiteral("P"), QStringLiteral("NR"), ixPrimary}}},
        {"nameless secondary", {nr}, {{QString(), QStringLiteral("NR"), ixUnique}}},
        {"repeated index name",
         {nr},
         {{QStringLiteral("I"), QStringLiteral("NR"), {}},
          {QStringLiteral("i"), QStringLiteral("NR"), ixUnique}}},
    };
    for (const BadDefinition &c : cases) {
        SCOPED_TRACE(c.what);
        Table table(&session);
        table.setTableName(path(QStringLiteral("ZLA")));
        table.fieldDefs() = c.fields;
        table.indexDefs() = c.indexes;
        EXPECT_EQ(errorKind([&] { table.createTable(); }), EngineError::BadValue);
        EXPECT_EQ(errorKind([&] { table.createTableNew(); }), EngineError::BadValue);
        EXPECT_EQ(directoryEntries(dirPath()), QStringList());
    }
}

// ---- Names ----

TEST_F(TableTest, BareNamesResolveInTheCurrentDirectoryWithoutRegardToCase)
{
    AppContext context;
    context.currentDirectory = dirPath();
    FixedAppContext fixed(context);
    QDir(dirPath()).mkdir(QStringLiteral("fin"));
    // Each file holds its own name in its one record, so the test sees which one opened. They
    // are made under another name: creating "firma.db" beside FIRMA.DB would replace that one.
    for (const QString &name :
         {q("FIRMA.DB"), q("firma.db"), q("Rawen.db"), q("fin/kontrahi.db")}) {
        makeTable(path(QStringLiteral("NOWA.DB")), smallFields(), {}, {{q("1"), name}}, &session);
        ASSERT_TRUE(QFile::rename(path(QStringLiteral("NOWA.DB")), path(name)));
    }

    const struct
    {
        const char *asked;
        const char *opened;
    } cases[] = {
        {"FIRMA", "FIRMA.DB"},
        {"FIRMA.DB", "FIRMA.DB"},
        {"firma", "firma.db"},
        {"firma.db", "firma.db"},
        {"RAWEN", "Rawen.db"},
        {"rawen.DB", "Rawen.db"},
        {"FIN/KONTRAHI", "fin/kontrahi.db"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.asked);
        Table table(&session);
        open(table, q(c.asked));
        EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), q(c.opened).left(10));
        EXPECT_EQ(table.fileName(), QFileInfo(path(q(c.opened))).canonicalFilePath());
    }

    // A full path resolves the same way, and names the program creates keep its case.
    Table table(&session);
    open(table, path(QStringLiteral("RAWEN")));
    EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), q("Rawen.db"));
    table.close();
    Table created(&session);
    created.setTableName(QStringLiteral("Utworzona"));
    created.fieldDefs() = smallFields();
    created.createTableNew();
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Utworzona.DB"))));
}

// ---- Open errors ----

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct OpenFailure
{
    const char *what;
    std::function<void(const QString &path, Session &)> make;
    EngineError::Kind kind;
};

TEST_F(TableTest, TablesThatCannotBeOpenedRaiseTheirKindAndStayUntouched)
{
    const auto people = [](const QString &p, Session &s) {
        QList<QStringList> records;
        for (int i = 0; i < 300; ++i)
            records << QStringList{QString::number(i), QStringLiteral("osoba %1").arg(i)};
        makeTable(p, smallFields(), {{QString(), QStringLiteral("NR"), ixPrimary}}, records, &s);
    };
    const QList<OpenFailure> cases{
        {"missing", [](const QString &, Session &) {}, EngineError::Missing},
        {"text file",
         [](const QString &p, Session &) {
             writeFile(p, QByteArray("To nie jest tabela\r\n").repeated(300));
         },
         EngineError::Damaged},
        {"zero bytes", [](const QString &p, Session &) { writeFile(p, {}); }, EngineError::Damaged},
        {"short garbage", [](const QString &p, Session &) { writeFile(p, "SQLite"); },
         EngineError::Damaged},
        {"directory", [](const QString &p, Session &) { QDir().mkpath(p); }, EngineError::Damaged},
        {"truncated",
         [&](const QString &p, Session &s) {
             people(p, s);
             QFile file(p);
             ASSERT_GT(file.size(), 3 * 4096);
             ASSERT_TRUE(file.resize(file.size() / 2));
         },
         EngineError::Damaged},
        {"truncated to its header",
         [&](const QString &p, Session &s) {
             people(p, s);
             ASSERT_TRUE(QFile(p).resize(100));
         },
         EngineError::Damaged},
        {"foreign database",
         [](const QString &p, Session &) {
             RawConnection raw(p);
             raw.exec(QStringLiteral("CREATE TABLE records(NR INTEGER); INSERT INTO records "
                                     "VALUES(1)"));
         },
         EngineError::Damaged},
        {"our mark without our tables",
         [](const QString &p, Session &) {
             RawConnection raw(p);
             raw.exec(QStringLiteral("PRAGMA application_id=1381453362; CREATE TABLE x(a)"));
         },
         EngineError::Damaged},
        {"a described field without its column",
         [&](const QString &p, Session &s) {
             people(p, s);
             RawConnection raw(p);
             raw.exec(QStringLiteral("ALTER TABLE records DROP COLUMN NAZWA"));
         },
         EngineError::Damaged},
        {"description row missing",
         [&](const QString &p, Session &s) {
             people(p, s);
             RawConnection raw(p);
             raw.exec(QStringLiteral("DELETE FROM rawen_description"));
         },
         EngineError::Damaged},
        {"description cut short",
         [&](const QString &p, Session &s) {
             people(p, s);
             RawConnection raw(p);
             raw.exec(
                 QStringLiteral("UPDATE rawen_description SET fields = 'NR' || char(9) || '3'"));
         },
         EngineError::Damaged},
        {"description with a size that is no number",
         [&](const QString &p, Session &s) {
             people(p, s);
             RawConnection raw(p);
             raw.exec(QStringLiteral("UPDATE rawen_description SET fields = 'NR' || char(9) || "
                                     "'3' || char(9) || 'x' || char(9) || '0'"));
         },
         EngineError::Damaged},
        {"newer format",
         [&](const QString &p, Session &s) {
             people(p, s);
             RawConnection raw(p);
             raw.exec(QStringLiteral("PRAGMA user_version=99"));
         },
         EngineError::Damaged},
    };
    for (const OpenFailure &c : cases) {
        SCOPED_TRACE(c.what);
        const QString p =
            path(QStringLiteral("%1.DB").arg(QString::fromLatin1(c.what).remove(u' ')));
        c.make(p, session);
        const QByteArray before = fileBytes(p);
        Table table(&session);
        table.setTableName(p);
        EXPECT_EQ(errorKind([&] { table.open(); }), c.kind);
        EXPECT_FALSE(table.isOpen());
        EXPECT_EQ(table.state(), Table::dsInactive);
        EXPECT_TRUE(session.openTables().isEmpty());
        EXPECT_EQ(errorKind([&] { table.updateFieldDefs(); }), c.kind);
        EXPECT_EQ(fileBytes(p), before);
    }
    expectNoJournal();
}

TEST_F(TableTest, ATableHeldByAnotherProgramIsLockedForOpenAndPost)
{
    const QString p = makePeople();
    session.setLockTimeout(20);
    Table writer(&session);
    open(writer, p);

    RawConnection other(p);
    ASSERT_TRUE(other.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    Table table(&session);
    table.setTableName(p);
    EXPECT_EQ(errorKind([&] { table.open(); }), EngineError::Locked);
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(errorKind([&] { table.updateIndexDefs(); }), EngineError::Locked);

    EXPECT_EQ(errorKind([&] { writer.refresh(); }), EngineError::Locked);
    writer.edit();
    writer.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Nowy"));
    EXPECT_EQ(errorKind([&] { writer.post(); }), EngineError::Locked);
    EXPECT_EQ(writer.state(), Table::dsEdit);

    ASSERT_TRUE(other.exec(QStringLiteral("COMMIT")));
    writer.post();
    EXPECT_EQ(writer.state(), Table::dsBrowse);
    table.open();
    EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("Nowy"));
    expectNoJournal();
}

TEST_F(TableTest, AnOpenThatFailsOnTheFirstRecordLeavesTheTableClosed)
{
    const QString p = makePeople();
    const std::function<void(Table &)> views[] = {
        [](Table &t) {
            t.setFilter(QStringLiteral("BRAK_POLA = 1"));
            t.setFiltered(true);
        },
        [](Table &t) { t.setRange({QStringLiteral("nie liczba")}, {}); },
    };
    for (const auto &view : views) {
        Table table(&session);
        table.setTableName(p);
        view(table);
        EXPECT_NE(errorKind([&] { table.open(); }), std::nullopt);
        EXPECT_FALSE(table.isOpen());
        EXPECT_EQ(table.state(), Table::dsInactive);
        EXPECT_TRUE(session.openTables().isEmpty());
    }
}

// The mark is the owner's write bit; the test may run as root, which could write regardless.
TEST_F(TableTest, ATableMarkedReadOnlyOpensForReadingOnly)
{
    const QString p = makePeople();
    const QString sourcePath = path(QStringLiteral("ZRODLO.DB"));
    makeTable(sourcePath, smallFields(), {}, {{q("9")}}, &session);
    ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray before = fileBytes(p);
    Table source(&session);
    open(source, sourcePath);

    Table table(&session);
    open(table, p);
    EXPECT_EQ(table.recordCount(), 5);
    const std::function<void()> writes[] = {
        [&] { table.append(); },
        [&] { table.edit(); },
        [&] { table.clearRequiredFlags(); },
        [&] { table.emptyFields({q("KWOTA")}); },
        [&] { table.batchAppend(source); },
    };
    for (const auto &write : writes)
        EXPECT_EQ(errorKind(write), EngineError::ReadOnly);
    EXPECT_EQ(table.state(), Table::dsBrowse);
    table.copyTo(path(QStringLiteral("KOPIA.DB")));
    table.close();
    EXPECT_EQ(fileBytes(p), before);

    ASSERT_TRUE(QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    table.open();
    table.append();
    table.fieldByName(QStringLiteral("NR")).setAsInteger(6);
    table.post();
    EXPECT_EQ(table.recordCount(), 6);
}

// ---- Cursor ----

TEST_F(TableTest, WalksEmptyAndFilledTables)
{
    const QString emptyPath = path(QStringLiteral("PUSTA.DB"));
    makeTable(emptyPath, smallFields(), {}, {}, &session);
    Table empty(&session);
    EXPECT_EQ(empty.state(), Table::dsInactive);
    open(empty, emptyPath);
    EXPECT_EQ(empty.state(), Table::dsBrowse);
    EXPECT_TRUE(empty.eof());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.recordCount(), 0);
    empty.next();
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.fieldByName(QStringLiteral("NR")).asString(), QString());

    Table people(&session);
    open(people, makePeople());
    EXPECT_FALSE(people.eof());
    EXPECT_EQ(people.recordCount(), 5);
    EXPECT_EQ(column(people, QStringLiteral("NR")), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_TRUE(people.eof());
    // At the end the cursor stays on the last record.
    people.next();
    EXPECT_TRUE(people.eof());
    EXPECT_EQ(people.fieldByName(QStringLiteral("NR")).asInteger(), 5);
    people.close();
    EXPECT_EQ(people.state(), Table::dsInactive);
    EXPECT_EQ(errorKind([&] { people.first(); }), EngineError::BadState);
}

TEST_F(TableTest, AppendEditPostAndCancel)
{
    Table table(&session);
    open(table, makePeople());
    table.next(); // NR 2
    table.append();
    EXPECT_EQ(table.state(), Table::dsInsert);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asString(), QString());
    table.fieldByName(QStringLiteral("NR")).setAsString(QStringLiteral("9"));
    table.cancel();
    EXPECT_EQ(table.state(), Table::dsBrowse);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 2);
    table.next();
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 3);

    table.edit();
    EXPECT_EQ(table.state(), Table::dsEdit);
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Zmieniony"));
    table.cancel();
    EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("Nowak"));

    table.edit();
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Nowakowski"));
    table.post();
    table.append();
    table.fieldByName(QStringLiteral("NR")).setAsInteger(6);
    table.fieldByName(QStringLiteral("KWOTA")).setAsFloat(1.5);
    table.post();
    EXPECT_EQ(table.state(), Table::dsBrowse);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 6);
    EXPECT_EQ(table.recordCount(), 6);
    // Writing outside edit is refused.
    EXPECT_EQ(errorKind([&] { table.fieldByName(QStringLiteral("NR")).setAsString(q("7")); }),
              EngineError::BadState);
    EXPECT_EQ(errorKind([&] { table.fieldByName(QStringLiteral("BRAK")); }),
              EngineError::NoSuchField);

    Table cold(&session);
    open(cold, table.fileName());
    EXPECT_EQ(column(cold, QStringLiteral("NAZWA")).at(2), QStringLiteral("Nowakowski"));
    EXPECT_EQ(column(cold, QStringLiteral("KWOTA")).at(5), QStringLiteral("1.5"));
    expectNoJournal();
}

TEST_F(TableTest, EditOnAnEmptyTableAppends)
{
    const QString p = path(QStringLiteral("PUSTA.DB"));
    makeTable(p, smallFields(), {}, {}, &session);
    Table table(&session);
    open(table, p);
    table.edit();
    EXPECT_EQ(table.state(), Table::dsInsert);
    table.fieldByName(QStringLiteral("NR")).setAsInteger(1);
    table.post();
    EXPECT_EQ(table.recordCount(), 1);
    table.append();
    table.cancel(); // back on the first record, not on an empty one
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 1);
}

TEST_F(TableTest, MovingWhileEditingPostsFirst)
{
    const QString p = makePeople();
    Table table(&session);
    open(table, p);
    table.edit();
    table.fieldByName(QStringLiteral("KWOTA")).setAsString(QStringLiteral("99"));
    table.next();
    EXPECT_EQ(table.state(), Table::dsBrowse);
    table.append();
    table.fieldByName(QStringLiteral("NR")).setAsInteger(7);
    table.first();
    EXPECT_EQ(table.recordCount(), 6);

    Table other(&session);
    open(other, p);
    EXPECT_EQ(other.fieldByName(QStringLiteral("KWOTA")).asString(), QStringLiteral("99"));
}

// A table told to read few fields reads the others when asked for them: walks in any order and
// across windows give every value, and an edit posts the whole record.
TEST_F(TableTest, ATableReadingFewFieldsGivesEveryValueAndLosesNothing)
{
    QList<FieldDef> fields{{QStringLiteral("NR"), ftInteger, 0, false},
                           {QStringLiteral("NAZWA"), ftString, 20, false}};
    for (int i = 1; i <= 10; ++i)
        fields << FieldDef{QStringLiteral("P%1").arg(i), ftString, 10, false};
    QList<QStringList> records;
    for (int n = 0; n < 700; ++n) {
        QStringList record{QString::number(n),
                           QStringLiteral("osoba %1").arg(699 - n, 3, 10, QLatin1Char('0'))};
        for (int i = 1; i <= 10; ++i)
            record << QStringLiteral("%1/%2").arg(n).arg(i);
        records << record;
    }
    const QString p = path(QStringLiteral("SZEROKA.DB"));
    makeTable(p, fields,
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), {}}},
              records, &session);
    QList<QStringList> byName = records;
    std::reverse(byName.begin(), byName.end());

    struct Case
    {
        const char *what;
        QStringList fetched;
        QString index;
        const QList<QStringList> *expected;
    };
    const QList<Case> cases{
        {"one field, primary order", {QStringLiteral("NAZWA")}, QString(), &records},
        {"one field, secondary order", {QStringLiteral("P3")}, QStringLiteral("Nazwa"), &byName},
        {"a name the table lacks", {QStringLiteral("BRAK")}, QString(), &records},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Table table(&session);
        table.setTableName(p);
        table.setFetchedFields(c.fetched);
        table.setIndexName(c.index);
        table.open();
        // Only the named field first, then every field: more than a few asked for one by one.
        QStringList names;
        for (table.first(); !table.eof(); table.next())
            names << table.fieldByName(QStringLiteral("NAZWA")).asString();
        QStringList expectedNames;
        for (const QStringList &record : *c.expected)
            expectedNames << record[1];
        EXPECT_EQ(names, expectedNames);
        EXPECT_EQ(readAll(table), *c.expected);
        table.close();
    }

    // An edit of a record read in part posts the whole record.
    Table table(&session);
    table.setTableName(p);
    table.setFetchedFields({QStringLiteral("NR")});
    table.open();
    table.next();
    table.edit();
    table.fieldByName(QStringLiteral("P1")).setAsString(QStringLiteral("zmiana"));
    table.post();
    // An insert given up brings back the record read in part.
    table.append();
    table.cancel();
    EXPECT_EQ(table.fieldByName(QStringLiteral("P2")).asString(), QStringLiteral("1/2"));
    table.close();
    QList<QStringList> changed = records;
    changed[1][2] = QStringLiteral("zmiana");
    Table whole(&session);
    open(whole, p);
    EXPECT_EQ(readAll(whole), changed);
    expectNoJournal();
}

// An edit of a record another program has deleted meanwhile is not taken for written.
TEST_F(TableTest, PostingAnEditOfARecordDeletedMeanwhileRaisesAndKeepsTheEdit)
{
    const QString p = makePeople();
    Table table(&session);
    open(table, p);
    const QString nr = table.fieldByName(QStringLiteral("NR")).asString();
    table.edit();
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Zmieniony"));
    {
        RawConnection other(p);
        ASSERT_TRUE(other.exec(QStringLiteral("DELETE FROM records WHERE NR = %1").arg(nr)));
    }
    EXPECT_EQ(errorKind([&] { table.post(); }), EngineError::BadState);
    EXPECT_EQ(table.state(), Table::dsEdit);
    table.cancel();
    EXPECT_FALSE(column(table, QStringLiteral("NR")).contains(nr));
    EXPECT_FALSE(column(table, QStringLiteral("NAZWA")).contains(QStringLiteral("Zmieniony")));
}

TEST_F(TableTest, RefreshSeesChangesOfAnotherHandle)
{
    const QString p = makePeople();
    Table reader(&session);
    open(reader, p);
    Table writer(&session);
    open(writer, p);
    writer.edit();
    writer.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Inny"));
    writer.post();
    writer.append();
    writer.fieldByName(QStringLiteral("NR")).setAsInteger(0);
    writer.post();

    EXPECT_EQ(reader.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("Kowalski"));
    reader.refresh();
    EXPECT_EQ(reader.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("Inny"));
    EXPECT_EQ(reader.recordCount(), 6);
    EXPECT_EQ(column(reader, QStringLiteral("NR")).first(), QStringLiteral("0"));

    // An empty table refreshed finds what another handle added.
    const QString emptyPath = path(QStringLiteral("PUSTA.DB"));
    makeTable(emptyPath, smallFields(), {}, {}, &session);
    Table emptyReader(&session);
    open(emptyReader, emptyPath);
    Table emptyWriter(&session);
    open(emptyWriter, emptyPath);
    emptyWriter.append();
    emptyWriter.fieldByName(QStringLiteral("NR")).setAsInteger(4);
    emptyWriter.post();
    emptyReader.refresh();
    EXPECT_FALSE(emptyReader.eof());
    EXPECT_EQ(emptyReader.fieldByName(QStringLiteral("NR")).asInteger(), 4);
}

TEST_F(TableTest, RequiredAndUniqueAreCheckedOnPostAndTheRecordStaysInEdit)
{
    const QString p = path(QStringLiteral("KLUCZ.DB"));
    makeTable(p,
              {{QStringLiteral("NR"), ftInteger, 0, true},
               {QStringLiteral("NIP"), ftString, 13, false},
               {QStringLiteral("NAZWA"), ftString, 20, true}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nip"), QStringLiteral("NIP"), ixUnique | ixCaseInsensitive}},
              {{q("1"), q("PL1"), q("Pierwszy")}, {q("2"), q(""), q("Drugi")}}, &session);
    Table table(&session);
    open(table, p);

    table.append();
    table.fieldByName(QStringLiteral("NR")).setAsInteger(3);
    EXPECT_EQ(errorKind([&] { table.post(); }), EngineError::RequiredMissing);
    EXPECT_EQ(table.state(), Table::dsInsert);
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Trzeci"));
    table.fieldByName(QStringLiteral("NR")).setAsInteger(1);
    EXPECT_EQ(errorKind([&] { table.post(); }), EngineError::KeyViolation);
    EXPECT_EQ(table.state(), Table::dsInsert);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("Trzeci"));
    table.fieldByName(QStringLiteral("NR")).setAsInteger(3);
    table.post();

    // The unique index is case-insensitive; empty keys never collide.
    table.edit();
    table.fieldByName(QStringLiteral("NIP")).setAsString(QStringLiteral("pl1"));
    EXPECT_EQ(errorKind([&] { table.post(); }), EngineError::KeyViolation);
    EXPECT_EQ(table.state(), Table::dsEdit);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NIP")).asString(), QStringLiteral("pl1"));
    table.fieldByName(QStringLiteral("NIP")).setAsString(QString());
    table.post();
    EXPECT_EQ(table.recordCount(), 3);
    expectNoJournal();
}

TEST_F(TableTest, AutoIncNumbersFollowTheHighest)
{
    const QString p = path(QStringLiteral("LICZNIK.DB"));
    makeTable(p,
              {{QStringLiteral("ID"), ftAutoInc, 0, false},
               {QStringLiteral("NAZWA"), ftString, 10, false}},
              {{QString(), QStringLiteral("ID"), ixPrimary | ixUnique}}, {}, &session);
    Table table(&session);
    open(table, p);
    for (const char *name : {"a", "b"}) {
        table.append();
        table.fieldByName(QStringLiteral("NAZWA")).setAsString(q(name));
        table.post();
        EXPECT_FALSE(table.fieldByName(QStringLiteral("ID")).isNull());
    }
    table.append();
    table.fieldByName(QStringLiteral("ID")).setAsInteger(10);
    table.post();
    table.append();
    table.post();
    EXPECT_EQ(table.fieldByName(QStringLiteral("ID")).asInteger(), 11);
    EXPECT_EQ(column(table, QStringLiteral("ID")), QStringList({"1", "2", "10", "11"}));
}

// An index whose entries are out of its own order (a damaged file) must end a walk with the
// engine's error: following it, the cursor would meet records again and never reach the end.
// Out of order are keys that go backwards, and equal keys whose rowids do ("Ala" and "ALA" are
// one key to a case-blind index; rebuilt in byte order it gives "ALA", added last, first).
TEST_F(TableTest, AWalkOverAnIndexOutOfOrderEndsWithAnError)
{
    const QString alaIAla = path(QStringLiteral("ALA.DB"));
    makeTable(alaIAla, smallFields(),
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), ixCaseInsensitive}},
              {{q("1"), q("Ala"), q("")}, {q("2"), q("ALA"), q("")}}, &session);
    const struct
    {
        const char *name;
        QString file;
        int records;
    } cases[] = {
        {"keys out of order", makePeople(), 5},
        {"equal keys, rowids out of order", alaIAla, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        {
            // The name index rebuilt in plain byte order, then declared case-blind again.
            OtherProgram tool(c.file);
            const QString noCase = QStringLiteral("\"NAZWA\" COLLATE NOCASE");
            ASSERT_EQ(tool.exec(QStringLiteral("PRAGMA writable_schema = ON; UPDATE sqlite_master "
                                               "SET sql = replace(sql, '%1', '\"NAZWA\"') WHERE "
                                               "name = 'rawen_ix1'")
                                    .arg(noCase)),
                      SQLITE_OK);
        }
        {
            OtherProgram tool(c.file);
            ASSERT_EQ(tool.exec(QStringLiteral("REINDEX rawen_ix1")), SQLITE_OK);
        }
        {
            OtherProgram tool(c.file);
            ASSERT_EQ(tool.exec(QStringLiteral("PRAGMA writable_schema = ON; UPDATE sqlite_master "
                                               "SET sql = replace(sql, '\"NAZWA\"', '\"NAZWA\" "
                                               "COLLATE NOCASE') WHERE name = 'rawen_ix1'")),
                      SQLITE_OK);
        }
        Table table(&session);
        open(table, c.file);
        int steps = 0;
        EXPECT_EQ(errorKind([&] {
                      table.setIndexName(QStringLiteral("Nazwa"));
                      for (table.first(); !table.eof() && steps < 100; table.next())
                          ++steps;
                  }),
                  EngineError::Damaged)
            << steps << " records walked";
        // The primary order is whole and walks as ever.
        table.setIndexName(QString());
        EXPECT_EQ(readAll(table).size(), c.records);
    }
}

TEST_F(TableTest, BookmarkReturnsToARecordAndTheWalkGoesOnFromIt)
{
    Table table(&session);
    open(table, makePeople());
    table.next();
    const qint64 second = table.bookmark();
    EXPECT_NE(second, 0);
    while (!table.eof())
        table.next();
    table.gotoBookmark(second);
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 2);
    EXPECT_FALSE(table.eof());
    table.next();
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 3);
    EXPECT_EQ(errorKind([&] { table.gotoBookmark(999999); }), EngineError::BadState);
}

// The cursor reads ahead (a small window on first, larger ones after): a jump to a bookmark must
// not leave the window of the place it jumped from, wherever the two lie.
TEST_F(TableTest, BookmarkFromAnywhereInAWalkGoesOnFromTheMarkedRecord)
{
    const int count = 600;
    QList<QStringList> records;
    for (int nr = 1; nr <= count; ++nr)
        records << QStringList{QString::number(nr)};
    const QString p = path(QStringLiteral("LICZBY.DB"));
    makeTable(p, {{QStringLiteral("NR"), ftInteger, 0, false}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}}, records, &session);
    Table table(&session);
    open(table, p);
    const auto nr = [&] { return int(table.fieldByName(QStringLiteral("NR")).asInteger()); };
    const auto walkTo = [&](int target) {
        for (table.first(); !table.eof() && nr() != target;)
            table.next();
        ASSERT_EQ(nr(), target);
    };

    const struct
    {
        int marked, from;
    } cases[] = {
        {2, 4},    // back inside the first window
        {10, 40},  // back across the first window's end
        {32, 33},  // back from the first record of the next window
        {40, 300}, // back across a later window's end
        {300, 1},  // ahead, past the window read on first
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.marked << " from " << c.from);
        walkTo(c.marked);
        const qint64 mark = table.bookmark();
        walkTo(c.from);
        table.gotoBookmark(mark);
        EXPECT_EQ(nr(), c.marked);
        QList<int> rest;
        for (table.next(); !table.eof(); table.next())
            rest << nr();
        QList<int> expected;
        for (int n = c.marked + 1; n <= count; ++n)
            expected << n;
        EXPECT_EQ(rest, expected);
    }
}

// ---- Order and view ----

TEST_F(TableTest, IndexOrderRangeAndFilter)
{
    Table table(&session);
    open(table, makePeople());
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"1", "2", "3", "4", "5"}));

    // Case-insensitive: the two Adamskis are one key and keep the order they were added in.
    table.setIndexName(QStringLiteral("NAZWA"));
    EXPECT_EQ(column(table, QStringLiteral("NAZWA")),
              QStringList({q("ADAMSKI"), q("adamski"), q("Kowalski"), q("Nowak"), q("Zieliński")}));
    EXPECT_EQ(errorKind([&] { table.setIndexName(QStringLiteral("BRAK")); }),
              EngineError::NoSuchIndex);
    EXPECT_EQ(table.indexName(), QStringLiteral("NAZWA"));

    table.setRange({QStringLiteral("adamski")}, {QStringLiteral("KOWALSKI")});
    EXPECT_TRUE(table.hasRange());
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"5", "2", "1"}));
    EXPECT_EQ(table.recordCount(), 3);
    table.cancelRange();
    EXPECT_FALSE(table.hasRange());
    EXPECT_EQ(table.recordCount(), 5);

    table.setIndexName(QStringLiteral("GrupaNr"));
    table.setRange({QStringLiteral("B")}, {QStringLiteral("B")});
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"2", "4"}));
    table.setRange({QStringLiteral("A"), 3}, {QStringLiteral("B"), 2});
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"3", "2"}));
    table.setRange({QStringLiteral("B")}, {});
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"2", "4", "5"}));

    // A filter counts only once it is switched on, and combines with the range.
    table.setFilter(QStringLiteral("KWOTA > 10"));
    EXPECT_FALSE(table.filtered());
    EXPECT_EQ(table.recordCount(), 3);
    table.setFiltered(true);
    EXPECT_TRUE(table.filtered());
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"2", "5"}));
    EXPECT_EQ(table.recordCount(), 2);
    table.cancelRange();
    table.setIndexName(QString());
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"2", "5"}));
    table.setFiltered(false);
    EXPECT_EQ(table.recordCount(), 5);

    // The index chosen before opening is checked when the table opens.
    Table closed(&session);
    closed.setTableName(table.fileName());
    closed.setIndexName(QStringLiteral("Brak"));
    EXPECT_EQ(errorKind([&] { closed.open(); }), EngineError::NoSuchIndex);
    EXPECT_FALSE(closed.isOpen());
}

// A range holds values of its own index's fields; under another index they mean nothing.
TEST_F(TableTest, ChangingTheIndexDropsTheRange)
{
    Table table(&session);
    open(table, makePeople());
    const struct
    {
        QString index;
        QStringList order;
    } cases[] = {
        {QString(), {"1", "2", "3", "4", "5"}},
        {QStringLiteral("GrupaNr"), {"1", "3", "2", "4", "5"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.index.toStdString());
        table.setIndexName(QStringLiteral("Nazwa"));
        table.setRange({QStringLiteral("adamski")}, {QStringLiteral("KOWALSKI")});
        ASSERT_EQ(table.recordCount(), 3);
        table.setIndexName(c.index);
        EXPECT_FALSE(table.hasRange());
        EXPECT_EQ(table.recordCount(), 5);
        EXPECT_EQ(column(table, QStringLiteral("NR")), c.order);
    }
}

TEST_F(TableTest, DetailFollowsItsMaster)
{
    const QString klienci = path(QStringLiteral("KLIENCI.DB"));
    makeTable(klienci, smallFields(), {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
              {{q("1"), q("Alfa")}, {q("2"), q("Beta")}, {q("3"), q("Gamma")}}, &session);
    const QString faktury = path(QStringLiteral("FAKTURY.DB"));
    makeTable(faktury,
              {{QStringLiteral("KLIENT"), ftInteger, 0, true},
               {QStringLiteral("NUMER"), ftString, 10, false}},
              {{QStringLiteral("Klient"), QStringLiteral("KLIENT;NUMER"), {}}},
              {{q("2"), q("F/2")}, {q("1"), q("F/3")}, {q("2"), q("F/1")}}, &session);
    Table master(&session);
    open(master, klienci);
    Table detail(&session);
    detail.setTableName(faktury);
    detail.setIndexName(QStringLiteral("Klient"));
    detail.setMasterSource(&master, QStringLiteral("NR"));
    detail.open();

    EXPECT_EQ(detail.fieldByName(QStringLiteral("NUMER")).asString(), QStringLiteral("F/3"));
    EXPECT_EQ(detail.recordCount(), 1);
    master.next();
    EXPECT_EQ(detail.recordCount(), 2);
    EXPECT_EQ(detail.fieldByName(QStringLiteral("NUMER")).asString(), QStringLiteral("F/1"));
    EXPECT_EQ(column(detail, QStringLiteral("NUMER")), QStringList({"F/1", "F/2"}));
    master.next();
    EXPECT_TRUE(detail.eof());
    EXPECT_EQ(detail.recordCount(), 0);

    detail.append();
    EXPECT_EQ(detail.fieldByName(QStringLiteral("KLIENT")).asInteger(), 3);
    detail.fieldByName(QStringLiteral("NUMER")).setAsString(QStringLiteral("F/4"));
    detail.post();
    EXPECT_EQ(detail.recordCount(), 1);

    // While controls are off the detail stays where it is; switching them on catches up.
    master.disableControls();
    master.first();
    EXPECT_EQ(detail.fieldByName(QStringLiteral("NUMER")).asString(), QStringLiteral("F/4"));
    master.enableControls();
    EXPECT_EQ(detail.fieldByName(QStringLiteral("NUMER")).asString(), QStringLiteral("F/3"));

    detail.setMasterSource(nullptr);
    EXPECT_EQ(detail.recordCount(), 4);
}

TEST_F(TableTest, DisabledControlsHearNothingUntilEnabledAgain)
{
    Table table(&session);
    open(table, makePeople());
    int changes = 0;
    QObject::connect(&table, &Table::dataChanged, [&] { ++changes; });
    table.disableControls();
    table.disableControls();
    table.next();
    table.edit();
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("X"));
    table.post();
    EXPECT_TRUE(table.controlsDisabled());
    table.enableControls();
    EXPECT_EQ(changes, 0);
    table.enableControls();
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(table.controlsDisabled());
    table.next();
    EXPECT_EQ(changes, 2);
    table.enableControls(); // more enables than disables change nothing
    table.next();
    EXPECT_EQ(changes, 3);
}

// ---- Walking far beyond the fetch window ----

struct BigRecord
{
    int nr;
    QString grupa; // "" = empty
    std::optional<int> podgrupa;
    qint64 rowid;
};

// SQLite's NOCASE: ASCII letters folded, everything else compared as UTF-8 bytes.
QByteArray noCaseKey(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    for (char &c : bytes) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return bytes;
}

// Orders like the "GrupaPod" index: empty first, then by key, then in the order added.
bool byGrupaPod(const BigRecord &a, const BigRecord &b)
{
    const bool aNull = a.grupa.isEmpty();
    const bool bNull = b.grupa.isEmpty();
    if (aNull != bNull)
        return aNull;
    if (!aNull && noCaseKey(a.grupa) != noCaseKey(b.grupa))
        return noCaseKey(a.grupa) < noCaseKey(b.grupa);
    if (a.podgrupa != b.podgrupa)
        return a.podgrupa < b.podgrupa; // nullopt is least
    return a.rowid < b.rowid;
}

bool byPod(const BigRecord &a, const BigRecord &b)
{
    if (a.podgrupa != b.podgrupa)
        return a.podgrupa < b.podgrupa;
    return a.rowid < b.rowid;
}

class BigTableTest : public TableTest
{
protected:
    void makeBig(int count)
    {
        const QStringList groups{q(""),      q("alfa"), q("ALFA"), q("Beta"), q("beta "),
                                 q("gamma"), q("Zeta"), q("ćma"),  q("Ćma"),  q("a")};
        QList<QStringList> texts;
        for (int i = 0; i < count; ++i) {
            BigRecord r;
            r.nr = int((qint64(i) * 7919) % count); // every number once, out of order
            r.grupa = groups[(i * 31 + i / 7) % groups.size()];
            if (i % 5 != 0)
                r.podgrupa = (i * 13) % 4;
            r.rowid = i + 1;
            records.push_back(r);
            texts << QStringList{QString::number(r.nr), r.grupa,
                                 r.podgrupa ? QString::number(*r.podgrupa) : QString(), q("0")};
        }
        bigPath = path(QStringLiteral("DUZA.DB"));
        makeTable(
            bigPath,
            {{QStringLiteral("NR"), ftInteger, 0, true},
             {QStringLiteral("GRUPA"), ftString, 10, false},
             {QStringLiteral("PODGRUPA"), ftInteger, 0, false},
             {QStringLiteral("KWOTA"), ftFloat, 0, false}},
            {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
             {QStringLiteral("GrupaPod"), QStringLiteral("GRUPA;PODGRUPA"), ixCaseInsensitive},
             {QStringLiteral("Pod"), QStringLiteral("PODGRUPA"), {}}},
            texts, &session);
    }

    QList<int> walk(Table &table)
    {
        QList<int> numbers;
        for (table.first(); !table.eof(); table.next())
            numbers << int(table.fieldByName(QStringLiteral("NR")).asInteger());
        return numbers;
    }

    QList<int> expected(bool (*less)(const BigRecord &, const BigRecord &),
                        const std::function<bool(const BigRecord &)> &keep = {})
    {
        std::vector<BigRecord> sorted = records;
        std::sort(sorted.begin(), sorted.end(), less);
        QList<int> numbers;
        for (const BigRecord &r : sorted) {
            if (!keep || keep(r))
                numbers << r.nr;
        }
        return numbers;
    }

    std::vector<BigRecord> records;
    QString bigPath;
};

TEST_F(BigTableTest, EveryRecordIsVisitedOnceInIndexOrder)
{
    makeBig(3000);
    Table table(&session);
    open(table, bigPath);

    QList<int> all;
    for (int i = 0; i < 3000; ++i)
        all << i;
    EXPECT_EQ(walk(table), all);

    table.setIndexName(QStringLiteral("GrupaPod"));
    EXPECT_EQ(walk(table), expected(byGrupaPod));
    table.setIndexName(QStringLiteral("Pod"));
    EXPECT_EQ(walk(table), expected(byPod));

    // The view's conditions hold in every later window too.
    table.setIndexName(QStringLiteral("GrupaPod"));
    table.setRange({QStringLiteral("ALFA")}, {QStringLiteral("beta")});
    table.setFilter(QStringLiteral("PODGRUPA IS NOT 2"));
    table.setFiltered(true);
    const QList<int> viewed = expected(byGrupaPod, [](const BigRecord &r) {
        const QByteArray key = noCaseKey(r.grupa);
        return !r.grupa.isEmpty() && key >= "alfa" && key <= "beta" && r.podgrupa != 2;
    });
    EXPECT_GT(viewed.size(), 300);
    EXPECT_EQ(walk(table), viewed);
    EXPECT_EQ(table.recordCount(), viewed.size());
}

// However large the windows grow, a walk holds no lock between its steps: another program
// writes while it pauses, in the middle of a window or just past one.
TEST_F(BigTableTest, AWalkHoldsNoLockBetweenItsSteps)
{
    makeBig(6000);
    Table table(&session);
    open(table, bigPath);
    OtherProgram other(bigPath);
    int walked = 0;
    for (table.first(); !table.eof(); table.next()) {
        if (++walked % 700 == 0 || walked == 32 || walked == 33 || walked == 289) {
            EXPECT_EQ(
                other.exec(
                    QStringLiteral("UPDATE records SET KWOTA = %1 WHERE rowid = 1").arg(walked)),
                SQLITE_OK)
                << "after " << walked << ": " << other.lastError().toStdString();
        }
    }
    EXPECT_EQ(walked, 6000);
    EXPECT_EQ(other.exec(QStringLiteral("UPDATE records SET KWOTA = 0")), SQLITE_OK);
}

// Where a record lies against a range bound (values for the leading fields of "GrupaPod", an
// invalid value for an empty one) in the index order: -1 before, 0 on it, 1 after.
int compareWithBound(const BigRecord &r, const QVariantList &bound)
{
    if (!bound.isEmpty()) {
        const QString grupa = bound[0].toString();
        if (r.grupa.isEmpty() != grupa.isEmpty())
            return r.grupa.isEmpty() ? -1 : 1;
        if (noCaseKey(r.grupa) != noCaseKey(grupa))
            return noCaseKey(r.grupa) < noCaseKey(grupa) ? -1 : 1;
    }
    if (bound.size() > 1) {
        const std::optional<int> podgrupa =
            bound[1].isValid() ? std::optional<int>(bound[1].toInt()) : std::nullopt;
        if (r.podgrupa != podgrupa)
            return r.podgrupa < podgrupa ? -1 : 1;
    }
    return 0;
}

// The index order puts empty keys first, so a range takes them in wherever that order does.
TEST_F(BigTableTest, RangesFollowTheIndexOrderWithEmptyKeysFirst)
{
    makeBig(1500);
    Table table(&session);
    open(table, bigPath);
    table.setIndexName(QStringLiteral("GrupaPod"));
    const QVariant empty;
    const struct
    {
        QVariantList start;
        QVariantList end;
    } cases[] = {
        {{q("alfa"), 1}, {q("beta"), 2}}, {{}, {q("beta")}},
        {{}, {q("beta"), empty}},         {{empty}, {empty}},
        {{q("gamma"), empty}, {}},        {{q("Beta"), 0}, {q("BETA"), 3}},
        {{empty, 2}, {q("a"), empty}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.size() << " " << c.end.size());
        table.setRange(c.start, c.end);
        const QList<int> inRange = expected(byGrupaPod, [&](const BigRecord &r) {
            return (c.start.isEmpty() || compareWithBound(r, c.start) >= 0) &&
                   (c.end.isEmpty() || compareWithBound(r, c.end) <= 0);
        });
        EXPECT_FALSE(inRange.isEmpty());
        EXPECT_EQ(walk(table), inRange);
        EXPECT_EQ(table.recordCount(), inRange.size());
    }
}

TEST_F(BigTableTest, EditingEveryRecordOnTheWayVisitsEachOnce)
{
    makeBig(700);
    Table table(&session);
    open(table, bigPath);
    table.setIndexName(QStringLiteral("GrupaPod"));
    table.startTransaction();
    QList<int> visited;
    for (table.first(); !table.eof(); table.next()) {
        visited << int(table.fieldByName(QStringLiteral("NR")).asInteger());
        table.edit();
        table.fieldByName(QStringLiteral("KWOTA")).setAsInteger(visited.size());
    }
    table.commit();
    EXPECT_EQ(visited, expected(byGrupaPod));
    table.setFilter(QStringLiteral("KWOTA = 0"));
    table.setFiltered(true);
    EXPECT_EQ(table.recordCount(), 0);
    expectNoJournal();
}

// A record whose key changes moves, and the cursor goes with it: the walk continues from the
// record's new place.
TEST_F(BigTableTest, ARecordWhoseKeyChangesTakesTheCursorToItsNewPlace)
{
    makeBig(1200);
    Table table(&session);
    open(table, bigPath);
    table.setIndexName(QStringLiteral("GrupaPod"));
    const struct
    {
        int position; // in the walk, where the key changes
        const char *grupa;
        std::optional<int> podgrupa;
    } cases[] = {{400, "a", 1}, {10, "Zeta", std::nullopt}, {900, "", 3}, {1100, "ALFA", 0}};
    for (const auto &c : cases) {
        table.first();
        for (int i = 0; i < c.position; ++i)
            table.next();
        const int nr = int(table.fieldByName(QStringLiteral("NR")).asInteger());
        auto moved = std::find_if(records.begin(), records.end(),
                                  [&](const BigRecord &r) { return r.nr == nr; });
        ASSERT_NE(moved, records.end());
        table.edit();
        table.fieldByName(QStringLiteral("GRUPA")).setAsString(q(c.grupa));
        if (c.podgrupa)
            table.fieldByName(QStringLiteral("PODGRUPA")).setAsInteger(*c.podgrupa);
        else
            table.fieldByName(QStringLiteral("PODGRUPA")).clear();
        table.post();
        moved->grupa = q(c.grupa);
        moved->podgrupa = c.podgrupa;

        const QList<int> order = expected(byGrupaPod);
        EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), nr);
        QList<int> rest;
        for (table.next(); !table.eof(); table.next())
            rest << int(table.fieldByName(QStringLiteral("NR")).asInteger());
        EXPECT_EQ(rest, order.mid(order.indexOf(nr) + 1)) << c.position;
    }
    EXPECT_EQ(walk(table), expected(byGrupaPod));
}

// ---- Session ----

TEST_F(TableTest, SessionKeepsPasswordsAndClosesItsTablesWhenMadeInactive)
{
    session.addPassword(QStringLiteral("jz"));
    session.addPassword(QStringLiteral("jz"));
    session.addPassword(QStringLiteral("inne"));
    EXPECT_EQ(session.passwords(), QStringList({"jz", "inne"}));

    const QString p = makePeople();
    Table a(&session);
    Table b(&session);
    Table elsewhere; // the default session
    open(a, p);
    open(b, p);
    open(elsewhere, p);
    EXPECT_EQ(session.openTables(), (QList<Table *>{&a, &b}));
    EXPECT_TRUE(Session::isFileOpen(a.canonicalFileName()));
    EXPECT_TRUE(Session::isFileOpen(a.canonicalFileName(), &a));

    b.close();
    EXPECT_EQ(session.openTables(), QList<Table *>{&a});
    b.open();
    b.edit();
    b.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("Niezapisany"));
    session.setActive(false);
    EXPECT_FALSE(session.isActive());
    EXPECT_FALSE(a.isOpen());
    EXPECT_FALSE(b.isOpen());
    EXPECT_TRUE(session.openTables().isEmpty());
    EXPECT_TRUE(elsewhere.isOpen());
    EXPECT_TRUE(Session::isFileOpen(elsewhere.canonicalFileName()));
    EXPECT_FALSE(Session::isFileOpen(elsewhere.canonicalFileName(), &elsewhere));
    elsewhere.refresh();
    EXPECT_EQ(elsewhere.fieldByName(QStringLiteral("NAZWA")).asString(),
              QStringLiteral("Kowalski"));

    a.open();
    EXPECT_TRUE(session.isActive());
    EXPECT_EQ(session.passwords(), QStringList({"jz", "inne"}));
    expectNoJournal();
}

TEST_F(TableTest, TablesOfASessionThatEndsAreClosed)
{
    const QString p = makePeople();
    auto temporary = std::make_unique<Session>(QStringLiteral("KROTKA"));
    Table table(temporary.get());
    open(table, p);
    temporary.reset();
    EXPECT_FALSE(table.isOpen());
    EXPECT_FALSE(Session::isFileOpen(QFileInfo(p).canonicalFilePath()));
}

// ---- Creating, deleting and replacing ----

// The journal a crash would leave in the middle of a transaction on the table at `path`. The
// field descriptions are changed first, so the journal's first synced part holds their page, and
// the big update makes SQLite spill its cache, which syncs that part.
QByteArray hotJournalOf(const QString &path)
{
    RawConnection raw(path);
    raw.exec(QStringLiteral(
        "PRAGMA cache_size=1; BEGIN; UPDATE rawen_description SET fields = fields || ' ';"
        " UPDATE records SET NAZWA = 'zmiana'"));
    QByteArray journal = fileBytes(path + QStringLiteral("-journal"));
    raw.exec(QStringLiteral("ROLLBACK"));
    return journal;
}

TEST_F(TableTest, CreateReplacesATableAndNeverPlaysItsOldJournalIntoTheNewOne)
{
    QList<QStringList> records;
    for (int i = 0; i < 3000; ++i)
        records << QStringList{QString::number(i), QStringLiteral("osoba %1").arg(i)};
    const QString p = path(QStringLiteral("FIRMA.DB"));
    makeTable(p, smallFields(), {}, records, &session);
    const QByteArray journal = hotJournalOf(p);
    const QList<FieldDef> newFields{{QStringLiteral("KOD"), ftString, 5, true}};
    const auto isNewTable = [&](const QString &file) {
        Table table(&session);
        table.setTableName(file);
        return !errorKind([&] { table.open(); }) && table.fieldDefs() == newFields &&
               table.recordCount() == 0;
    };

    // The journal really is hot: beside a new table of that name it would spoil it.
    const QString probe = path(QStringLiteral("PROBA.DB"));
    makeTable(probe, newFields, {}, {}, &session);
    ASSERT_TRUE(isNewTable(probe));
    writeFile(probe + QStringLiteral("-journal"), journal);
    ASSERT_FALSE(isNewTable(probe));
    for (const QString &entry : directoryEntries(dirPath())) {
        if (entry.startsWith(QLatin1String("PROBA")))
            QFile::remove(path(entry));
    }

    writeFile(p + QStringLiteral("-journal"), journal);
    Table table(&session);
    table.setTableName(p);
    table.fieldDefs() = newFields;
    table.createTable();
    EXPECT_FALSE(table.isOpen());
    EXPECT_EQ(directoryEntries(dirPath()), QStringList{q("FIRMA.DB")});
    EXPECT_TRUE(isNewTable(p));
    expectNoJournal();
}

TEST_F(TableTest, CreateAndDeleteRefuseATableOpenInAnotherHandle)
{
    const QString p = makePeople();
    Table holder(&session);
    open(holder, p);
    const QByteArray before = fileBytes(p);

    Table other(&session);
    other.setTableName(p);
    other.fieldDefs() = smallFields();
    EXPECT_EQ(errorKind([&] { other.createTable(); }), EngineError::Locked);
    EXPECT_EQ(errorKind([&] { other.deleteTable(); }), EngineError::Locked);
    // Through another spelling of the name too.
    other.setTableName(path(QStringLiteral("osoby")));
    EXPECT_EQ(errorKind([&] { other.createTable(); }), EngineError::Locked);
    EXPECT_EQ(errorKind([&] { other.deleteTable(); }), EngineError::Locked);
    EXPECT_EQ(fileBytes(p), before);
    EXPECT_EQ(holder.recordCount(), 5);

    // The handle itself must be closed for either.
    EXPECT_EQ(errorKind([&] { holder.createTable(); }), EngineError::BadState);
    EXPECT_EQ(errorKind([&] { holder.deleteTable(); }), EngineError::BadState);
}

TEST_F(TableTest, CreateNewRefusesAnExistingFile)
{
    const QString p = makePeople();
    const QByteArray before = fileBytes(p);
    for (const QString &name : {q("OSOBY"), q("osoby.db")}) {
        Table table(&session);
        table.setTableName(path(name));
        table.fieldDefs() = smallFields();
        EXPECT_EQ(errorKind([&] { table.createTableNew(); }), EngineError::Locked);
    }
    EXPECT_EQ(fileBytes(p), before);
    EXPECT_EQ(directoryEntries(dirPath()), QStringList{q("OSOBY.DB")});
}

TEST_F(TableTest, DeleteRemovesTheTableWithItsCompanionsButNotItsStructureFile)
{
    const QString p = path(QStringLiteral("FIRMA.DB"));
    makeTable(p, smallFields(), {}, {{q("1")}}, &session);
    const QStringList companions{q("FIRMA.DB-journal"), q("FIRMA.PX"),  q("FIRMA.X01"),
                                 q("firma.y0a"),        q("FIRMA.MB"),  q("FIRMA.VAL"),
                                 q("FIRMA.TV"),         q("FIRMA.FAM"), q("FIRMA.XG0")};
    const QStringList kept{q("FIRMA.STR"), q("FIRMA2.PX"), q("FIRMAX.DB"), q("FIRMA.TXT"),
                           q("INNA.X01")};
    for (const QString &name : companions + kept)
        writeFile(path(name), "x");

    Table table(&session);
    table.setTableName(QStringLiteral("%1/firma").arg(dirPath()));
    table.deleteTable();
    QStringList sortedKept = kept;
    sortedKept.sort();
    EXPECT_EQ(directoryEntries(dirPath()), sortedKept);
    EXPECT_EQ(errorKind([&] { table.deleteTable(); }), EngineError::Missing);
}

TEST_F(TableTest, ReplaceMovesTheTableOverAnotherInOneStep)
{
    const QString nowa = path(QStringLiteral("NOWA.DB"));
    makeTable(nowa, smallFields(), {}, {{q("1"), q("nowa")}}, &session);
    const QString stara = path(QStringLiteral("Stara.db"));
    makeTable(stara, smallFields(), {}, {{q("2"), q("stara")}}, &session);
    const QByteArray moved = fileBytes(nowa);

    // Refused while the target is open somewhere, both files as they were.
    {
        Table holder(&session);
        open(holder, path(QStringLiteral("STARA")));
        Table table(&session);
        table.setTableName(nowa);
        EXPECT_EQ(errorKind([&] { table.replaceTable(path(QStringLiteral("STARA"))); }),
                  EngineError::Locked);
        EXPECT_EQ(fileBytes(nowa), moved);
        EXPECT_EQ(errorKind([&] { holder.replaceTable(nowa); }), EngineError::BadState);
    }

    writeFile(stara + QStringLiteral("-journal"), hotJournalOf(stara));
    Table table(&session);
    table.setTableName(nowa);
    table.replaceTable(path(QStringLiteral("STARA")));
    EXPECT_FALSE(QFileInfo::exists(nowa));
    EXPECT_EQ(fileBytes(stara), moved);
    EXPECT_EQ(QFileInfo(table.tableName()).fileName(), QStringLiteral("Stara.db"));
    table.open();
    EXPECT_EQ(table.fieldByName(QStringLiteral("NAZWA")).asString(), QStringLiteral("nowa"));
    table.close();
    expectNoJournal();

    Table missing(&session);
    missing.setTableName(nowa);
    EXPECT_EQ(errorKind([&] { missing.replaceTable(stara); }), EngineError::Missing);
    EXPECT_EQ(fileBytes(stara), moved);
}

// ---- Bulk operations ----

TEST_F(TableTest, CopyToMakesAnExactCopyOrNothing)
{
    const QString p = makePeople();
    Table table(&session);
    open(table, p);
    table.setFilter(QStringLiteral("GRUPA = 'A'"));
    table.setFiltered(true);
    table.setIndexName(QStringLiteral("Nazwa"));

    const QString copy = path(QStringLiteral("KOPIA.DB"));
    table.copyTo(copy);
    EXPECT_EQ(fileBytes(copy), fileBytes(p));
    Table copied(&session);
    open(copied, copy);
    EXPECT_EQ(copied.recordCount(), 5);
    EXPECT_EQ(copied.indexDefs(), table.indexDefs());
    copied.close();

    // An existing target, in any spelling, stays as it is.
    const QByteArray other("not to be overwritten");
    writeFile(path(QStringLiteral("inna.db")), other);
    const QStringList before = directoryEntries(dirPath());
    EXPECT_EQ(errorKind([&] { table.copyTo(path(QStringLiteral("INNA.DB"))); }),
              EngineError::Locked);
    EXPECT_EQ(errorKind([&] { table.copyTo(path(QStringLiteral("inna.db"))); }),
              EngineError::Locked);
    EXPECT_EQ(fileBytes(path(QStringLiteral("inna.db"))), other);

    // A failed copy leaves no temporary file.
    EXPECT_EQ(errorKind([&] { table.copyTo(path(QStringLiteral("BRAK/KOPIA.DB"))); }),
              EngineError::Io);
    {
        FaultPlan fault(session, EngineOp::Copy);
        EXPECT_EQ(errorKind([&] { table.copyTo(path(QStringLiteral("KOPIA2.DB"))); }),
                  EngineError::Injected);
    }
    table.startTransaction();
    EXPECT_EQ(errorKind([&] { table.copyTo(path(QStringLiteral("KOPIA2.DB"))); }),
              EngineError::BadState);
    table.commit();
    EXPECT_EQ(directoryEntries(dirPath()), before);

    // The table goes on as before.
    EXPECT_EQ(table.recordCount(), 2);
    table.edit();
    table.fieldByName(QStringLiteral("KWOTA")).setAsInteger(1);
    table.post();
    expectNoJournal();
}

#ifdef Q_OS_UNIX
// Whether another process finds SQLite's reserved (write) lock byte of the file taken. Only
// another process can tell: POSIX locks are the process's own.
bool anotherProcessSeesWriteLock(const QString &path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR);
        struct flock lock = {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0x40000000 + 1; // SQLite's RESERVED_BYTE
        lock.l_len = 1;
        const bool taken = fd >= 0 && ::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
        ::_exit(taken ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Closing any descriptor of a file drops all the process's locks on it, so a copy that opened
// its own would leave another handle's transaction open to writers from other programs.
TEST_F(TableTest, CopyToKeepsTheLocksOfOtherHandles)
{
    const QString p = makePeople();
    Table writer(&session);
    open(writer, p);
    writer.startTransaction();
    writer.edit();
    writer.fieldByName(QStringLiteral("KWOTA")).setAsInteger(1);
    writer.post();
    ASSERT_TRUE(anotherProcessSeesWriteLock(p));

    Table table(&session);
    open(table, p);
    table.copyTo(path(QStringLiteral("KOPIA.DB")));
    EXPECT_TRUE(anotherProcessSeesWriteLock(p));
    writer.commit();
    EXPECT_FALSE(anotherProcessSeesWriteLock(p));
}
#endif

TEST_F(TableTest, ClearRequiredFlagsKeepsTheRecords)
{
    const QString p = path(QStringLiteral("WYMAGANE.DB"));
    makeTable(p,
              {{QStringLiteral("NR"), ftInteger, 0, true},
               {QStringLiteral("NAZWA"), ftString, 10, true},
               {QStringLiteral("UWAGI"), ftString, 10, false}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}},
              {{q("1"), q("jeden"), q("u")}}, &session);
    const QList<FieldDef> cleared{{QStringLiteral("NR"), ftInteger, 0, false},
                                  {QStringLiteral("NAZWA"), ftString, 10, false},
                                  {QStringLiteral("UWAGI"), ftString, 10, false}};
    Table table(&session);
    open(table, p);
    table.clearRequiredFlags();
    EXPECT_EQ(table.fieldDefs(), cleared);
    table.append();
    table.post(); // nothing required any more
    EXPECT_EQ(readAll(table), (QList<QStringList>{{"", "", ""}, {"1", "jeden", "u"}}));
    table.close();

    Table cold(&session);
    cold.setTableName(p);
    cold.updateFieldDefs();
    EXPECT_EQ(cold.fieldDefs(), cleared);
    expectNoJournal();
}

// Tables opened one after another report each their own definitions, also when they differ
// only in their indexes or in a required flag.
TEST_F(TableTest, TablesOfAlmostOneLayoutKeepTheirOwnDefinitions)
{
    const QList<FieldDef> fields = smallFields();
    QList<FieldDef> required = fields;
    required[1].required = true;
    const QList<IndexDef> primary{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique}};
    const QList<IndexDef> byName{{QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), {}}};
    struct Layout
    {
        QString name;
        QList<FieldDef> fields;
        QList<IndexDef> indexes;
    };
    const QList<Layout> layouts{{QStringLiteral("A.DB"), fields, primary},
                                {QStringLiteral("B.DB"), fields, byName},
                                {QStringLiteral("C.DB"), required, byName},
                                {QStringLiteral("D.DB"), fields, {}}};
    for (const Layout &l : layouts)
        makeTable(path(l.name), l.fields, l.indexes, {}, &session);
    for (int pass = 0; pass < 2; ++pass) {
        for (const Layout &l : layouts) {
            SCOPED_TRACE(l.name.toStdString());
            Table table(&session);
            open(table, path(l.name));
            EXPECT_EQ(table.fieldDefs(), l.fields);
            EXPECT_EQ(table.indexDefs(), l.indexes);
        }
    }
}

// Tables of the first format, a row per field and per index, open with their definitions and
// keep their format when their required flags are cleared.
TEST_F(TableTest, TablesOfTheFirstFormatOpenAndKeepTheirFormat)
{
    const QString p = path(QStringLiteral("STARA.DB"));
    {
        RawConnection raw(p);
        ASSERT_TRUE(raw.exec(QStringLiteral(
            "PRAGMA application_id=1381453362; PRAGMA user_version=1;"
            "CREATE TABLE rawen_fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL,"
            " type INTEGER NOT NULL, size INTEGER NOT NULL, required INTEGER NOT NULL);"
            "CREATE TABLE rawen_indexes(position INTEGER PRIMARY KEY, name TEXT NOT NULL,"
            " fields TEXT NOT NULL, options INTEGER NOT NULL);"
            "INSERT INTO rawen_fields VALUES(0, 'NR', 3, 0, 1), (1, 'NAZWA', 1, 10, 1);"
            "INSERT INTO rawen_indexes VALUES(0, '', 'NR', 3), (1, 'Nazwy', 'NAZWA', 4);"
            "CREATE TABLE records(\"NR\" INTEGER, \"NAZWA\" TEXT);"
            "CREATE UNIQUE INDEX rawen_ix0 ON records(\"NR\");"
            "CREATE INDEX rawen_ix1 ON records(\"NAZWA\" COLLATE NOCASE);"
            "INSERT INTO records VALUES(2, 'beta'), (1, 'Alfa');")));
    }
    Table table(&session);
    open(table, p);
    EXPECT_EQ(table.fieldDefs(), (QList<FieldDef>{{QStringLiteral("NR"), ftInteger, 0, true},
                                                  {QStringLiteral("NAZWA"), ftString, 10, true}}));
    EXPECT_EQ(
        table.indexDefs(),
        (QList<IndexDef>{{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
                         {QStringLiteral("Nazwy"), QStringLiteral("NAZWA"), ixCaseInsensitive}}));
    EXPECT_EQ(readAll(table), (QList<QStringList>{{"1", "Alfa"}, {"2", "beta"}}));
    table.clearRequiredFlags();
    table.close();

    Table cold(&session);
    cold.setTableName(p);
    cold.updateFieldDefs();
    EXPECT_EQ(cold.fieldDefs(), (QList<FieldDef>{{QStringLiteral("NR"), ftInteger, 0, false},
                                                 {QStringLiteral("NAZWA"), ftString, 10, false}}));
    RawConnection raw(p);
    EXPECT_EQ(raw.column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")),
              (QStringList{"rawen_fields", "rawen_indexes", "records"}));
}

TEST_F(TableTest, EmptyFieldsEmptiesEveryRecordAndKeepsIndexesWorking)
{
    const QString p = path(QStringLiteral("PUSTE.DB"));
    makeTable(p,
              {{QStringLiteral("NR"), ftInteger, 0, true},
               {QStringLiteral("NIP"), ftString, 13, false},
               {QStringLiteral("SALDO"), ftCurrency, 0, false},
               {QStringLiteral("NAZWA"), ftString, 10, false}},
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nip"), QStringLiteral("NIP"), ixUnique},
               {QStringLiteral("NazwaSaldo"), QStringLiteral("NAZWA;SALDO"), ixCaseInsensitive}},
              {{q("1"), q("111"), q("10"), q("c")},
               {q("2"), q("222"), q("20"), q("b")},
               {q("3"), q("333"), q("30"), q("a")}},
              &session);
    const QStringList sqliteIndexes =
        RawConnection(p).column(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index'"));
    Table table(&session);
    open(table, p);

    const QList<QStringList> full = readAll(table);
    table.first();
    table.next();
    EXPECT_EQ(errorKind([&] {
                  table.emptyFields({q("NIP"), q("BRAK")});
              }),
              EngineError::NoSuchField);
    EXPECT_EQ(errorKind([&] {
                  table.emptyFields({q("SALDO"), q("NR")});
              }),
              EngineError::RequiredMissing);
    {
        FaultPlan fault(session, EngineOp::EmptyFields);
        EXPECT_EQ(errorKind([&] { table.emptyFields({q("NIP")}); }), EngineError::Injected);
    }
    EXPECT_EQ(readAll(table), full);

    table.first();
    table.next();
    table.emptyFields({q("nip"), q("SALDO"), q("NIP")});
    EXPECT_EQ(table.fieldByName(QStringLiteral("NR")).asInteger(), 2);
    EXPECT_TRUE(table.fieldByName(QStringLiteral("NIP")).isNull());
    EXPECT_EQ(readAll(table),
              (QList<QStringList>{{"1", "", "", "c"}, {"2", "", "", "b"}, {"3", "", "", "a"}}));
    EXPECT_EQ(
        RawConnection(p).column(QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index'")),
        sqliteIndexes);

    // The unique index still guards its key, and the order index still orders.
    table.first();
    table.edit();
    table.fieldByName(QStringLiteral("NIP")).setAsString(QStringLiteral("999"));
    table.post();
    table.next();
    table.edit();
    table.fieldByName(QStringLiteral("NIP")).setAsString(QStringLiteral("999"));
    EXPECT_EQ(errorKind([&] { table.post(); }), EngineError::KeyViolation);
    table.cancel();
    table.setIndexName(QStringLiteral("NazwaSaldo"));
    EXPECT_EQ(column(table, QStringLiteral("NR")), QStringList({"3", "2", "1"}));

    // Inside a transaction it is undone with it.
    table.startTransaction();
    table.emptyFields({q("NAZWA")});
    table.rollback();
    EXPECT_EQ(column(table, QStringLiteral("NAZWA")), QStringList({"a", "b", "c"}));
    expectNoJournal();
}

TEST_F(TableTest, BatchAppendAddsAndReplacesByPrimaryKey)
{
    const QString target = makePeople();
    const QString sourcePath = path(QStringLiteral("ZRODLO.DB"));
    makeTable(
        sourcePath,
        {{QStringLiteral("KWOTA"), ftFloat, 0, false},
         {QStringLiteral("NR"), ftInteger, 0, false},
         {QStringLiteral("NAZWA"), ftString, 20, false},
         {QStringLiteral("OBCE"), ftString, 5, false}},
        {}, {{q("7.5"), q("2"), q("Adamski-Nowy"), q("x")}, {q("1"), q("6"), q("Szósty"), q("y")}},
        &session);
    Table source(&session);
    open(source, sourcePath);
    Table table(&session);
    open(table, target);
    EXPECT_EQ(errorKind([&] { table.batchAppend(table); }), EngineError::BadState);
    table.batchAppend(source);
    EXPECT_EQ(readAll(table), (QList<QStringList>{{"1", "Kowalski", "A", "10"},
                                                  {"2", "Adamski-Nowy", "B", "7.5"},
                                                  {"3", "Nowak", "A", "5"},
                                                  {"4", q("Zieliński"), "B", ""},
                                                  {"5", "ADAMSKI", "C", "30"},
                                                  {"6", q("Szósty"), "", "1"}}));

    // A case-insensitive primary key matches in any case.
    const QString kody = path(QStringLiteral("KODY.DB"));
    makeTable(
        kody,
        {{QStringLiteral("KOD"), ftString, 5, false}, {QStringLiteral("ILE"), ftInteger, 0, false}},
        {{QString(), QStringLiteral("KOD"), ixPrimary | ixUnique | ixCaseInsensitive}},
        {{q("abc"), q("1")}}, &session);
    const QString noweKody = path(QStringLiteral("NOWEKODY.DB"));
    makeTable(
        noweKody,
        {{QStringLiteral("KOD"), ftString, 5, false}, {QStringLiteral("ILE"), ftInteger, 0, false}},
        {}, {{q("ABC"), q("2")}, {q("xyz"), q("3")}}, &session);
    Table kodyTable(&session);
    open(kodyTable, kody);
    Table noweKodyTable(&session);
    open(noweKodyTable, noweKody);
    kodyTable.batchAppend(noweKodyTable);
    EXPECT_EQ(readAll(kodyTable), (QList<QStringList>{{"ABC", "2"}, {"xyz", "3"}}));
    expectNoJournal();
}

TEST_F(TableTest, BatchAppendInsideATransactionCommitsOrRollsBackWithIt)
{
    const QString target = makePeople();
    const QString sourcePath = path(QStringLiteral("ZRODLO.DB"));
    makeTable(sourcePath, smallFields(), {}, {{q("8"), q("osiem")}, {q("9"), q("dziewięć")}},
              &session);
    Table source(&session);
    open(source, sourcePath);
    Table table(&session);
    open(table, target);

    table.startTransaction();
    table.batchAppend(source);
    EXPECT_EQ(table.recordCount(), 7);
    table.rollback();
    EXPECT_EQ(table.recordCount(), 5);

    table.startTransaction();
    table.batchAppend(source);
    table.commit();
    EXPECT_EQ(table.recordCount(), 7);
    expectNoJournal();
}

TEST_F(TableTest, BatchAppendThatBreaksAUniqueIndexAddsNothing)
{
    const QString target = path(QStringLiteral("CEL.DB"));
    makeTable(target, smallFields(),
              {{QString(), QStringLiteral("NR"), ixPrimary | ixUnique},
               {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), ixUnique}},
              {{q("1"), q("jeden")}}, &session);
    const QString sourcePath = path(QStringLiteral("ZRODLO.DB"));
    makeTable(sourcePath, smallFields(), {}, {{q("2"), q("dwa")}, {q("3"), q("jeden")}}, &session);
    Table source(&session);
    open(source, sourcePath);
    Table table(&session);
    open(table, target);
    EXPECT_EQ(errorKind([&] { table.batchAppend(source); }), EngineError::KeyViolation);
    EXPECT_EQ(table.recordCount(), 1);
    expectNoJournal();
}

TEST_F(TableTest, TransactionsGroupPostsAndOthersSeeOnlyTheCommit)
{
    const QString p = makePeople();
    Table table(&session);
    open(table, p);
    Table other(&session);
    open(other, p);

    table.startTransaction();
    EXPECT_TRUE(table.inTransaction());
    for (int nr = 10; nr < 13; ++nr) {
        table.append();
        table.fieldByName(QStringLiteral("NR")).setAsInteger(nr);
        table.post();
    }
    EXPECT_EQ(table.recordCount(), 8);
    EXPECT_EQ(other.recordCount(), 5);
    table.rollback();
    EXPECT_FALSE(table.inTransaction());
    EXPECT_EQ(table.recordCount(), 5);
    // The record the cursor stood on is gone; it must not linger as the current one.
    EXPECT_NE(table.fieldByName(QStringLiteral("NR")).asInteger(), 12);
    EXPECT_EQ(errorKind([&] { table.gotoBookmark(table.bookmark()); }), std::nullopt);

    table.startTransaction();
    table.append();
    table.fieldByName(QStringLiteral("NR")).setAsInteger(20);
    table.commit(); // posts the pending record first
    EXPECT_EQ(other.recordCount(), 6);
    table.flushBuffers();

    // Closing with a transaction open drops it.
    table.startTransaction();
    table.edit();
    table.fieldByName(QStringLiteral("NAZWA")).setAsString(QStringLiteral("porzucony"));
    table.post();
    table.close();
    other.refresh();
    EXPECT_NE(column(other, QStringLiteral("NAZWA")).indexOf(QStringLiteral("Kowalski")), -1);
    expectNoJournal();
}

TEST_F(TableTest, FaultPlanFailsTheChosenOccurrenceOnly)
{
    const QString p = makePeople();
    makePeople(QStringLiteral("DRUGA.DB"));
    Table table(&session);
    open(table, p);
    Table second(&session);
    open(second, path(QStringLiteral("DRUGA.DB")));
    FaultPlan fault(session, EngineOp::Post, 2, QStringLiteral("DRUGA"));
    for (Table *t : {&table, &second, &table}) {
        t->edit();
        t->fieldByName(QStringLiteral("KWOTA")).setAsInteger(1);
        t->post();
    }
    EXPECT_FALSE(fault.fired());
    second.edit();
    second.fieldByName(QStringLiteral("KWOTA")).setAsInteger(2);
    EXPECT_EQ(errorKind([&] { second.post(); }), EngineError::Injected);
    EXPECT_TRUE(fault.fired());
    EXPECT_EQ(fault.seen(), 2);
    EXPECT_EQ(second.state(), Table::dsEdit);
    second.post(); // only the chosen occurrence fails
    EXPECT_EQ(second.fieldByName(QStringLiteral("KWOTA")).asInteger(), 2);
}

} // namespace
} // namespace rawen::test
