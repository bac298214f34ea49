#include "data/core/migrator.h"

#include "data/core/budgetdebits.h"
#include "data/core/columnvalue.h"
#include "data/core/database.h"
#include "data/core/documenttotal.h"
#include "data/core/schema.h"
#include "data/core/searchcolumns.h"

#include <functional>

namespace folian {

namespace {

const QString kVersionTable = Schema::versionTable();

// The version that brings the source identifiers of records.
constexpr int kSourceIdentifierVersion = 7;
// The version that brings the acquisition screens' indexes and exact totals.
constexpr int kAcquisitionsVersion = 6;
// The version that keeps the budgets' debits exact, with the indexes they are summed by.
constexpr int kBudgetDebitsVersion = 9;
// The version that remembers the status of the copies outgoing gifts and exchanges hand over.
constexpr int kHandedOverVersion = 10;
// The version that brings the inventory campaigns' tables.
constexpr int kInventoryCampaignsVersion = 11;
// The version that indexes the loan journal by its dates.
constexpr int kJournalDatesVersion = 12;
// The version that brings the targets of copy cataloguing.
constexpr int kCopyTargetsVersion = 13;

bool run(Database &db, const QString &sql, QString *why);

struct UpgradeStep {
    int toVersion;
    std::function<bool(Database &, QString *)> run;
};

bool run(Database &db, const QString &sql, QString *why)
{
    if (db.exec(sql))
        return true;
    if (why)
        *why = db.lastError().text() + QStringLiteral("\n") + sql;
    return false;
}

// Version 2 brings the loan journal: the loans and reservations current at
// the upgrade are its first rows, so that every copy on loan or reserved has
// the operation that put it there (consultations are the loans of copies
// excluded from external loan). Who made them and when a reservation was
// made are not known.
bool journalCurrentLoans(Database &db, QString *why)
{
    const QString insert = QStringLiteral(
        "INSERT INTO HISTORIQUE_PRET (HIS_ID, HIS_OPERATION, EXP_ID, DOC_ID, LEC_ID, HIS_DATE, HIS_DATE_RETOUR) "
        "SELECT (SELECT COALESCE(MAX(HIS_ID), 0) FROM HISTORIQUE_PRET) + ROW_NUMBER() OVER (ORDER BY EXP_ID), ");
    return run(db,
               insert + QStringLiteral("CASE WHEN STA_EXP_ID = 3 THEN 6 ELSE 1 END, EXP_ID, DOC_ID, LEC_ID, "
                                       "EXP_DATE_PRET, EXP_DATE_RETOUR FROM NOTICE_EXEMPLAIRE WHERE LEC_ID IS NOT NULL"),
               why)
        && run(db,
               insert + QStringLiteral("3, EXP_ID, DOC_ID, LEC_ID2, NULL, EXP_DATE_RESERVATION "
                                       "FROM NOTICE_EXEMPLAIRE WHERE LEC_ID2 IS NOT NULL"),
               why);
}

// Once the schema changed, or a change was undone, the statements and the
// searches follow what the database now has (declared before the
// transaction: it runs after it).
struct RefreshSearches {
    Database &db;
    ~RefreshSearches() { db.schemaChanged(); }
};

// Version 3 brings the indexes of the searches by word and by number.
bool addSearchIndexes(Database &db, QString *why) { return createSearchIndexes(db, why); }

// Version 7 brings the identifiers records had in their source (the new
// column, known only for records imported from now on), and standard
// numbers stored with their qualifier apart: "2070360248(br)", which the
// qualifier's parentheses used to be glued to, becomes "2070360248 (br)",
// so that the number is found and compared by itself.
bool separateNumberQualifiers(Database &db, QString *why)
{
    for (const char *column : {"DOC_ISBN", "DOC_ISSN", "DOC_NUM"}) {
        const QString c = QLatin1String(column);
        if (!run(db, QStringLiteral("UPDATE NOTICE SET %1 = REPLACE(%1, '(', ' (') WHERE %1 LIKE '_%(%' AND %1 NOT LIKE '% (%'")
                         .arg(c),
                 why))
            return false;
    }
    return true;
}

// The version that brings the search columns (Schema::searchColumns): the
// searches fold accents and apostrophes too, the word indexes read the
// folded words the program stores rather than calling one of its functions
// (so that any tool can write the embedded file), and titles and names get
// the collation keys that the alphabetical orders read. Every row's search
// columns are written, then the search indexes are made again over them.
constexpr int kSearchColumnsVersion = 8;
bool writeSearchColumns(Database &db, QString *why)
{
    qint64 written = 0;
    return dropSearchIndexes(db, why) && refreshSearchColumns(db, &written, why) && createSearchIndexes(db, why);
}

// Version 6 sums the documents' totals exactly: the embedded engine summed
// amounts in binary floating point, and a sum it could not give exactly
// was stored NULL. A document whose lines hold an unreadable amount keeps
// the total it has.
bool sumDocumentTotals(Database &db, QString *why)
{
    SqlRows q = db.query(QStringLiteral("SELECT DISTINCT ACQ_ID FROM ACQUISITION_LIGNE WHERE ACQ_ID IS NOT NULL"));
    if (!q.isActive()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    QList<int> ids;
    while (q.next())
        ids << q.value(0).toInt();
    for (int id : std::as_const(ids)) {
        Transaction one(db);
        if (storeDocumentTotal(db, id) == TotalStored::Done)
            one.commit();
    }
    return true;
}

// Version 9 sums every debit of the budgets again, exactly: commitments
// from their invoices, chapters from their commitments and transfers,
// budgets from their chapters' commitments. The debits were kept in whole
// units and by adding and subtracting, so that they drifted from what they
// stand for. Each budget in its own savepoint: one whose rows hold an
// unreadable amount keeps the debits it has.
bool sumBudgetDebits(Database &db, QString *why)
{
    const auto keys = [&](const QString &sql, QList<int> *out) {
        SqlRows q = db.query(sql);
        if (!q.isActive()) {
            if (why)
                *why = db.lastError().text();
            return false;
        }
        while (q.next())
            out->append(q.value(0).toInt());
        return true;
    };
    // The commitments' index by chapter now carries their amounts, so that a
    // chapter's sum reads the index alone: the one of the chapter only goes.
    if (!run(db, QStringLiteral("DROP INDEX IF EXISTS IX_ENGAGEMENT_CHP_ID"), why))
        return false;
    QList<int> years;
    if (!keys(QStringLiteral("SELECT BUD_ID FROM BUDGET ORDER BY BUD_ID"), &years))
        return false;
    for (int year : std::as_const(years)) {
        QList<int> chapters, commitments;
        if (!keys(QStringLiteral("SELECT CHP_ID FROM CHAPITRE WHERE BUD_ID = %1 ORDER BY CHP_ID").arg(year), &chapters)
            || !keys(QStringLiteral("SELECT ENG_ID FROM ENGAGEMENT WHERE CHP_ID IN (SELECT CHP_ID FROM CHAPITRE WHERE BUD_ID = %1) "
                                    "ORDER BY ENG_ID")
                         .arg(year),
                     &commitments))
            return false;
        Transaction one(db);
        bool stored = true;
        for (int c : std::as_const(commitments))
            stored = stored && storeCommitmentDebit(db, c) == TotalStored::Done;
        for (int c : std::as_const(chapters))
            stored = stored && storeChapterDebit(db, c) == TotalStored::Done;
        if (stored && storeBudgetDebit(db, year) == TotalStored::Done)
            one.commit();
    }
    return true;
}

// Version 11: a copy handed over by an outgoing gift or exchange keeps the
// status it had (STA_EXP_ID2), to get it back when it is taken off the
// line. Those handed over before did not keep it: they get back status 2
// (available), as a copy entered without a status has.
bool rememberHandedOverStatus(Database &db, QString *why)
{
    return run(db, QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET STA_EXP_ID2 = 2 WHERE ACQ_LIGNE_ID2 IS NOT NULL "
                                  "AND STA_EXP_ID2 IS NULL AND STA_EXP_ID IN (7, 8)"),
               why);
}

// Data changes that adding tables, columns and indexes does not cover, one
// entry per version. Version 1 is the first released schema.
const QVector<UpgradeStep> &upgradeSteps()
{
    static const QVector<UpgradeStep> steps{
        // Version 2: records carry their library, those already there are
        // ours; links of resources are no longer limited in length; the
        // numbers of records are indexed with their type (which the
        // single-column indexes hid from the embedded engine's planner); the
        // loan journal starts with the loans and reservations current.
        {2, [](Database &db, QString *why) {
             const QString widen = db.dialect().changeColumnType(
                 QStringLiteral("NOTICE_RESSOURCE"),
                 *Schema::table(QStringLiteral("NOTICE_RESSOURCE"))->column(QStringLiteral("RES_LIEN")));
             return run(db, QStringLiteral("UPDATE NOTICE SET BIB_ID = 0 WHERE BIB_ID IS NULL"), why)
                 && (widen.isEmpty() || run(db, widen, why))
                 && run(db, QStringLiteral("DROP INDEX IF EXISTS IX_NOTICE_DOC_ISBN"), why)
                 && run(db, QStringLiteral("DROP INDEX IF EXISTS IX_NOTICE_DOC_ISSN"), why)
                 && journalCurrentLoans(db, why);
         }},
        {3, addSearchIndexes},
        // Version 6: the indexes of the acquisition screens (added above with
        // every table's), and the documents' totals summed exactly.
        {kAcquisitionsVersion, sumDocumentTotals},
        {kSourceIdentifierVersion, separateNumberQualifiers},
        {kSearchColumnsVersion, writeSearchColumns},
        // Version 9: the commitments and transfers indexed by their chapters with
        // their amounts and the invoices by their commitment (added above), and
        // the budgets' debits summed exactly.
        {kBudgetDebitsVersion, sumBudgetDebits},
        {kHandedOverVersion, rememberHandedOverStatus},
        // Version 11: the inventory campaigns (their tables added above).
        {kInventoryCampaignsVersion, [](Database &, QString *) { return true; }},
        // Version 12: the loan journal indexed by its dates (added above), so
        // that the statistics over a period read only the period's operations.
        {kJournalDatesVersion, [](Database &, QString *) { return true; }},
        // Version 13: the targets of copy cataloguing (their table added above).
        {kCopyTargetsVersion, [](Database &, QString *) { return true; }},
    };
    return steps;
}

bool createIndexes(Database &db, const TableDef &t, QString *why)
{
    for (const IndexDef &ix : t.indexes) {
        QString sql = db.dialect().createIndex(t, ix);
        sql.replace(QLatin1String("INDEX "), QLatin1String("INDEX IF NOT EXISTS "));
        if (!run(db, sql, why))
            return false;
    }
    return true;
}

bool setVersion(Database &db, int version, QString *why)
{
    if (!db.exec(QStringLiteral("DELETE FROM ") + kVersionTable))
        return run(db, QStringLiteral("DELETE FROM ") + kVersionTable, why);
    if (!db.exec(QStringLiteral("INSERT INTO ") + kVersionTable + QStringLiteral(" (VRS_NUMERO) VALUES (?)"),
                 {version})) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    return true;
}

bool ensureVersionTable(Database &db, const QStringList &existing, QString *why)
{
    if (existing.contains(kVersionTable))
        return true;
    return run(db, QStringLiteral("CREATE TABLE ") + kVersionTable
                   + QStringLiteral(" (VRS_NUMERO INTEGER NOT NULL PRIMARY KEY)"),
               why);
}

} // namespace

int Schema::currentVersion() { return upgradeSteps().last().toVersion; }

QString Schema::versionTable() { return QStringLiteral("VERSION_BASE"); }

int schemaVersion(Database &db)
{
    if (!db.dialect().tables(db.connection()).contains(kVersionTable))
        return 0;
    bool ok = false;
    const QVariant v = db.scalar(QStringLiteral("SELECT MAX(VRS_NUMERO) FROM ") + kVersionTable, {}, &ok);
    return ok ? v.toInt() : 0;
}

namespace {

// The rows with the search columns the program writes, for the tables that have them.
void withSearchColumns(const QString &table, QStringList &columns, QVector<QVariantList> &rows)
{
    if (!Schema::searchColumnsOf(table) || rows.isEmpty())
        return;
    const QStringList given = columns;
    for (QVariantList &row : rows) {
        QVariantHash values;
        for (qsizetype i = 0; i < given.size(); ++i)
            values.insert(given.at(i), row.value(i));
        addSearchColumns(table, values);
        if (columns.size() == given.size())
            for (auto it = values.cbegin(); it != values.cend(); ++it)
                if (!columns.contains(it.key()))
                    columns << it.key();
        row.clear();
        for (const QString &c : std::as_const(columns))
            row << values.value(c);
    }
}

} // namespace

bool insertRows(Database &db, const QString &table, const QStringList &givenColumns,
                const QVector<QVariantList> &givenRows, QString *why)
{
    const TableDef *t = Schema::table(table);
    if (!t) {
        if (why)
            *why = QStringLiteral("unknown table ") + table;
        return false;
    }
    QStringList columns = givenColumns;
    QVector<QVariantList> rows = givenRows;
    withSearchColumns(t->name, columns, rows);
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql = QStringLiteral("INSERT INTO ") + t->name + QStringLiteral(" (")
        + columns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
        + marks.join(QStringLiteral(", ")) + u')';
    for (const QVariantList &row : rows) {
        QVariantList binds;
        for (int i = 0; i < columns.size(); ++i) {
            const ColumnDef *c = t->column(columns.at(i));
            if (!c) {
                binds << row.value(i);
                continue;
            }
            QString refusal;
            const std::optional<QVariant> v = toColumnValue(*c, row.value(i), &refusal);
            if (!v) {
                if (why)
                    *why = table + QStringLiteral(": ") + refusal;
                return false;
            }
            binds << db.dialect().toDb(*v, c->type);
        }
        if (!db.exec(sql, binds)) {
            if (why)
                *why = table + QStringLiteral(": ") + db.lastError().text();
            return false;
        }
    }
    return true;
}

bool createSchema(Database &db, QString *why)
{
    if (!db.dialect().tables(db.connection()).isEmpty()) {
        if (why)
            *why = QStringLiteral("the database already holds tables");
        return false;
    }
    RefreshSearches refresh{db};
    Transaction tx(db);
    if (!ensureVersionTable(db, {}, why))
        return false;
    for (const TableDef &t : Schema::tables()) {
        if (!run(db, db.dialect().createTable(t), why) || !createIndexes(db, t, why))
            return false;
    }
    for (const SeedRows &seed : Schema::referenceData())
        if (!insertRows(db, seed.table, seed.columns, seed.rows, why))
            return false;
    if (!createSearchIndexes(db, why) || !setVersion(db, Schema::currentVersion(), why))
        return false;
    if (!tx.commit()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    return true;
}

bool upgradeSchema(Database &db, QString *why)
{
    const int from = schemaVersion(db);
    if (from > Schema::currentVersion()) {
        if (why)
            *why = QStringLiteral("the database is of a newer version (%1) than this program (%2)")
                       .arg(from)
                       .arg(Schema::currentVersion());
        return false;
    }
    const QStringList existing = db.dialect().tables(db.connection());
    RefreshSearches refresh{db};
    Transaction tx(db);
    if (!ensureVersionTable(db, existing, why))
        return false;
    for (const TableDef &t : Schema::tables()) {
        if (!existing.contains(t.name)) {
            if (!run(db, db.dialect().createTable(t), why))
                return false;
        } else {
            const QStringList cols = db.dialect().columns(db.connection(), t.name);
            for (const ColumnDef &c : t.columns)
                if (!cols.contains(c.name.toUpper()) && !run(db, db.dialect().addColumn(t.name, c), why))
                    return false;
        }
        if (!createIndexes(db, t, why))
            return false;
    }
    for (const UpgradeStep &s : upgradeSteps())
        if (s.toVersion > from && !s.run(db, why))
            return false;
    if (!setVersion(db, Schema::currentVersion(), why))
        return false;
    const bool committed = tx.commit();
    if (!committed && why)
        *why = db.lastError().text();
    return committed;
}

bool createSearchIndexes(Database &db, QString *why)
{
    const Dialect &d = db.dialect();
    RefreshSearches refresh{db};
    Transaction tx(db);
    if (!tx.isActive()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    // Each word index in a savepoint of its own: what the engine refuses is
    // left out without undoing the rest.
    bool wordsPossible = true;
    {
        Transaction prepare(db);
        for (const QString &sql : d.prepareWordIndexes())
            wordsPossible = wordsPossible && db.exec(sql);
        if (wordsPossible)
            wordsPossible = prepare.commit();
    }
    for (const SearchIndexDef &ix : Schema::searchIndexes()) {
        if (d.hasSearchIndex(db.connection(), ix))
            continue;
        const bool words = ix.kind == SearchIndexDef::Kind::Words;
        if (words && !wordsPossible)
            continue;
        Transaction one(db);
        bool ok = true;
        for (const QString &sql : d.createSearchIndex(ix))
            if (!(ok = words ? db.exec(sql) : run(db, sql, why)))
                break;
        if (ok)
            ok = one.commit();
        if (!ok && !words)
            return false;
    }
    const bool committed = tx.commit();
    if (!committed && why)
        *why = db.lastError().text();
    return committed;
}

bool dropSearchIndexes(Database &db, QString *why)
{
    RefreshSearches refresh{db};
    Transaction tx(db);
    for (const SearchIndexDef &ix : Schema::searchIndexes())
        for (const QString &sql : db.dialect().dropSearchIndex(ix))
            if (!run(db, sql, why))
                return false;
    const bool committed = tx.commit();
    if (!committed && why)
        *why = db.lastError().text();
    return committed;
}

QStringList missingSearchIndexes(Database &db)
{
    QStringList out;
    for (const SearchIndexDef &ix : Schema::searchIndexes())
        if (!db.dialect().hasSearchIndex(db.connection(), ix))
            out << ix.name;
    return out;
}

} // namespace folian
