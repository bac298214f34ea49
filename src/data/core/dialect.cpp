#include "data/core/dialect.h"
#include "data/core/connectiontexts.h"
#include "data/core/helpers.h"
#include "data/core/searchtext.h"
#include "data/core/schema_scratch.h"

#include <QAtomicInt>
#include <algorithm>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace folian {

bool registerSqliteFunctions(QSqlDatabase &db);

namespace {

// Whether the file may be opened: a database of ours (the catalogue holds
// its schema version; the scratch report database only its own tables) or,
// to make one, an empty file or an empty database. Anything else is refused before a byte of it is written (the
// journal mode set on every connection is such a write), so another
// program's file named by mistake stays as it was. The file is read
// through a connection of its own that may not write.
QString foreignFileRefusal(const QString &path, bool create)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return notADatabaseMessage(path) + u' ' + f.errorString();
    const QByteArray header = f.read(16);
    f.close();
    if (header.isEmpty())
        return create ? QString() : notFolianDatabaseMessage(path);
    if (header != QByteArray("SQLite format 3\0", 16))
        return notADatabaseMessage(path);
    static QAtomicInt serial;
    const QString name = QStringLiteral("folian-check-%1").arg(serial.fetchAndAddRelaxed(1));
    QStringList tables;
    bool read = false;
    {
        QSqlDatabase check = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        check.setDatabaseName(path);
        check.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (check.open()) {
            QSqlQuery q(check);
            read = q.exec(QStringLiteral("SELECT UPPER(name) FROM sqlite_master WHERE type = 'table'"));
            while (read && q.next())
                if (!q.value(0).toString().startsWith(QLatin1String("SQLITE_")))  // the engine's own
                    tables << q.value(0).toString();
        }
        check.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!read)
        return notADatabaseMessage(path);
    QStringList scratch;
    for (const TableDef &t : scratchTables())
        scratch << t.name.toUpper();
    const bool scratchOnly = !tables.isEmpty() && std::all_of(tables.cbegin(), tables.cend(), [&](const QString &t) {
        return scratch.contains(t);
    });
    if (tables.contains(Schema::versionTable()) || scratchOnly || (create && tables.isEmpty()))
        return {};
    return notFolianDatabaseMessage(path);
}

class SqliteDialect : public Dialect
{
public:
    QString name() const override { return QStringLiteral("SQLITE"); }
    QString driver() const override { return QStringLiteral("QSQLITE"); }

    bool configure(QSqlDatabase &db, const ConnectionParams &p, bool create, QString *why) const override
    {
        if (p.catalog.trimmed().isEmpty()) {
            *why = noCatalogMessage(QString());
            return false;
        }
        const QString path = QDir::isAbsolutePath(p.catalog) ? p.catalog : p.appDir + p.catalog;
        const bool exists = QFileInfo::exists(path);
        if (!create && !exists) {
            *why = databaseFileMissingMessage(path);
            return false;
        }
        if (exists) {
            if (const QString refusal = foreignFileRefusal(path, create); !refusal.isEmpty()) {
                *why = refusal;
                return false;
            }
        }
        db.setDatabaseName(path);
        db.setConnectOptions(p.readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY")
                                        : QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        return true;
    }

    QStringList sessionSetup(bool readOnly) const override
    {
        // Savepoints keep their journals in memory rather than in temporary files.
        QStringList setup{QStringLiteral("PRAGMA synchronous=NORMAL"), QStringLiteral("PRAGMA foreign_keys=OFF"),
                          QStringLiteral("PRAGMA cache_size=-65536"), QStringLiteral("PRAGMA temp_store=MEMORY")};
        // A reader takes the file's journal as the writers left it.
        if (!readOnly)
            setup.prepend(QStringLiteral("PRAGMA journal_mode=WAL"));
        return setup;
    }

    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        case ColType::Integer:
        case ColType::SmallInt: return QStringLiteral("INTEGER");
        case ColType::Text: return QStringLiteral("VARCHAR(%1)").arg(c.size > 0 ? c.size : 255);
        case ColType::Memo: return QStringLiteral("TEXT");
        case ColType::Date: return QStringLiteral("DATE");
        case ColType::DateTime: return QStringLiteral("DATETIME");
        // Amounts are kept as decimal text so that no binary rounding creeps in.
        case ColType::Money: return QStringLiteral("DECIMAL_TEXT");
        case ColType::Blob: return QStringLiteral("BLOB");
        }
        return QStringLiteral("TEXT");
    }

    QString typedParameter(const ColumnDef &) const override { return QStringLiteral("?"); }

    bool statementsAreRoundTrips() const override { return false; }

    // The first call says yes. On a change the connection reads the new
    // schema at once: it reads it only when a statement reads a table, and
    // a statement prepared before that would list the columns as they were
    // (the driver then writes the new ones past its row).
    bool schemaChangedSinceLastAsked(const QSqlDatabase &db) const override
    {
        const QVariant handle = db.driver()->handle();
        if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
            return false;
        sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
        sqlite3_stmt *stmt = nullptr;
        if (!h || sqlite3_prepare_v2(h, "PRAGMA schema_version", -1, &stmt, nullptr) != SQLITE_OK)
            return false;
        const qint64 version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        if (version == schemaVersion_)
            return false;
        schemaVersion_ = version;
        sqlite3_exec(h, "SELECT 1 FROM sqlite_master LIMIT 1", nullptr, nullptr, nullptr);
        return true;
    }

    // Without statistics the planner goes by the indexes, which is what the program's queries need.
    QString refreshStatistics(const QString &) const override { return {}; }

    // The declared length of a text is not enforced: nothing to change.
    QString changeColumnType(const QString &, const ColumnDef &) const override { return {}; }

    QString beginTransaction() const override { return QStringLiteral("BEGIN IMMEDIATE"); }

    // A transaction holds the database's one write lock from its beginning:
    // the rows need no lock of their own.
    QString lockRows(const QString &table, const QString &condition, bool) const override
    {
        return QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + condition;
    }

    bool isDuplicateKey(const QSqlError &e) const override
    {
        const QString t = e.databaseText();
        return t.contains(QLatin1String("UNIQUE constraint failed"))
            || t.contains(QLatin1String("PRIMARY KEY must be unique"))
            || t.contains(QLatin1String("is not unique"));
    }

    QDateTime serverDate(const QSqlDatabase &db) const override
    {
        if (!db.isOpen())
            return {};
        return QDateTime(QDate::currentDate(), QTime(0, 0));
    }

    bool streamsOnMainConnection() const override { return true; }
    bool nullsSortFirst() const override { return true; }
    // A unary "+" keeps the value and its collation, and hides the index.
    QString pageBeyondOperand(const QString &column) const override { return u'+' + column; }

    // Collations registered on each connection from the platform's collator.
    QString collate(const QString &language) const override
    {
        return language == QLatin1String("AR") ? QStringLiteral(" COLLATE FOLIAN_AR") : QStringLiteral(" COLLATE FOLIAN_FR");
    }

    bool onConnect(QSqlDatabase &db) const override { return registerSqliteFunctions(db); }

    // SQLite folds only ASCII letters: both sides go through the case fold of every letter.
    QString likeNoCase(const QString &column) const override
    {
        return QStringLiteral("FOLIAN_FOLD(") + column + QStringLiteral(") LIKE FOLIAN_FOLD(?) ESCAPE '\\'");
    }
    QString likeFolded(const QString &column) const override
    {
        return QStringLiteral("FOLIAN_SEARCHFOLD(") + column + QStringLiteral(") LIKE FOLIAN_SEARCHFOLD(?) ESCAPE '\\'");
    }
    QString yearOf(const QString &column) const override
    {
        return QStringLiteral("CAST(SUBSTR(") + column + QStringLiteral(", 1, 4) AS INTEGER)");
    }
    // Dates are ISO text here.
    QString yearMonthOf(const QString &column) const override
    {
        return QStringLiteral("SUBSTR(") + column + QStringLiteral(", 1, 7)");
    }
    // Amounts are decimal text here: the program's function reads them exactly.
    QString moneyCents(const QString &expression) const override
    {
        return QStringLiteral("FOLIAN_CENTS(") + expression + u')';
    }

    // The engine's own lower(), which every tool that writes the file has:
    // it folds the letters A to Z only.
    QString foldedKey(const QString &expression) const override
    {
        return QStringLiteral("lower(") + expression + u')';
    }
    bool foldedKeyFits(const QString &typed) const override
    {
        return std::all_of(typed.cbegin(), typed.cend(),
                           [](QChar c) { return c.unicode() < 0x80 || c.toLower() == c.toUpper(); });
    }
    bool foldedIndexesPartial() const override { return true; }

    // A word index is a full-text table of trigrams over the folded words
    // the program stores beside the keywords, copied by triggers of plain
    // SQL, so that any tool can write the table (its rows are found once
    // their folded words are written). GLOB, which that table answers, is
    // LIKE's match on folded texts: both sides hold no capital letter, "*"
    // is LIKE's "%", and the separators "?", "[" and "]", GLOB's other
    // marks, never occur inside a word.
    //
    // The engine's table takes a piece of a pattern shorter than three
    // letters but of three bytes or more (one accented or Arabic letter next
    // to a slash: "/é*") for a trigram, and then finds nothing. Such a word
    // is given to the table without those pieces, to narrow the rows, and
    // matched whole on each row it gives ("+" keeps the table from taking
    // that condition over).
    QString keywordsHold(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                         QVariantList &binds) const override
    {
        if (!indexedSearch() || words.isEmpty())
            return Dialect::keywordsHold(ix, alias, words, binds);
        QStringList globs;
        for (const QString &w : words) {
            const QString pattern = QStringLiteral("*/") + SearchFold(w) + QStringLiteral("/*");
            QStringList pieces = pattern.split(u'*');
            bool whole = true, narrows = false;
            for (QString &piece : pieces) {
                const qsizetype letters = piece.toUcs4().size();
                if (letters < 3 && piece.toUtf8().size() >= 3) {
                    piece.clear();
                    whole = false;
                }
                narrows = narrows || letters >= 3;
            }
            if (whole || narrows) {
                globs << QStringLiteral("MOTS GLOB ?");
                binds << (whole ? pattern : pieces.join(u'*'));
            }
            if (!whole) {
                globs << QStringLiteral("+MOTS GLOB ?");
                binds << pattern;
            }
        }
        return alias + u'.' + ix.key + QStringLiteral(" IN (SELECT rowid FROM ") + ix.name + QStringLiteral(" WHERE ")
            + globs.join(QStringLiteral(" AND ")) + u')';
    }

    // GLOB on the row's folded words is what the word index answers.
    QString keywordsHoldOnRow(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                              QVariantList &binds) const override
    {
        if (!indexedSearch() || words.isEmpty())
            return Dialect::keywordsHold(ix, alias, words, binds);
        QStringList globs;
        for (const QString &w : words) {
            globs << alias + u'.' + ix.folded + QStringLiteral(" GLOB ?");
            binds << QString(QStringLiteral("*/") + SearchFold(w) + QStringLiteral("/*"));
        }
        return globs.join(QStringLiteral(" AND "));
    }
    // The planner takes an index for a term it can answer from one, even
    // where the order's index would stop after a page: a unary "+" hides it.
    QString withoutIndex(const QString &condition) const override { return QStringLiteral("+(") + condition + u')'; }
    // A subquery with an OFFSET is not merged into the query around it.
    QString foundFirst(const QString &table, const QString &alias, const QString &condition) const override
    {
        return QStringLiteral("(SELECT * FROM %1 %2 WHERE %3 LIMIT -1 OFFSET 0) %2").arg(table, alias, condition);
    }

    bool hasSearchIndex(const QSqlDatabase &db, const SearchIndexDef &ix) const override
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"));
        q.addBindValue(ix.name);
        return q.exec() && q.next();
    }

    QStringList createSearchIndex(const SearchIndexDef &ix) const override
    {
        // Only the rows that have a value: most records have no ISSN, nor
        // another number, and the statistics of a partial index, when there
        // are any, are right about that.
        if (ix.kind == SearchIndexDef::Kind::Folded)
            return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3) WHERE %4 IS NOT NULL")
                        .arg(ix.name, ix.table, foldedKey(ix.column), ix.column)};
        const QString fill = QStringLiteral("INSERT OR REPLACE INTO %1 (rowid, MOTS) VALUES (new.%2, new.%3)")
                                 .arg(ix.name, ix.key, ix.folded);
        const QString remove = QStringLiteral("DELETE FROM %1 WHERE rowid = old.%2").arg(ix.name, ix.key);
        return {
            QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(MOTS, tokenize = 'trigram case_sensitive 1', detail = none)")
                .arg(ix.name),
            QStringLiteral("INSERT INTO %1 (rowid, MOTS) SELECT %2, %3 FROM %4 WHERE %3 IS NOT NULL")
                .arg(ix.name, ix.key, ix.folded, ix.table),
            QStringLiteral("CREATE TRIGGER %1_AI AFTER INSERT ON %2 BEGIN %3; END").arg(ix.name, ix.table, fill),
            QStringLiteral("CREATE TRIGGER %1_AU AFTER UPDATE OF %2, %3 ON %4 "
                           "WHEN old.%2 IS NOT new.%2 OR old.%3 IS NOT new.%3 BEGIN %5; %6; END")
                .arg(ix.name, ix.key, ix.folded, ix.table, remove, fill),
            QStringLiteral("CREATE TRIGGER %1_AD AFTER DELETE ON %2 BEGIN %3; END").arg(ix.name, ix.table, remove),
        };
    }

    QStringList dropSearchIndex(const SearchIndexDef &ix) const override
    {
        if (ix.kind == SearchIndexDef::Kind::Folded)
            return {QStringLiteral("DROP INDEX IF EXISTS ") + ix.name};
        QStringList out;
        for (const char *t : {"_AI", "_AU", "_AD"})
            out << QStringLiteral("DROP TRIGGER IF EXISTS ") + ix.name + QLatin1String(t);
        out << QStringLiteral("DROP TABLE IF EXISTS ") + ix.name;
        return out;
    }

private:
    mutable qint64 schemaVersion_ = -1;  // as last asked, -1 before
};

class PostgresDialect : public Dialect
{
public:
    QString name() const override { return QStringLiteral("POSTGRESQL"); }
    QString driver() const override { return QStringLiteral("QPSQL"); }
    bool isPostgres() const override { return true; }
    bool connectionCanBeLost() const override { return true; }

    bool configure(QSqlDatabase &db, const ConnectionParams &p, bool, QString *why) const override
    {
        if (p.catalog.trimmed().isEmpty()) {
            *why = noCatalogMessage(QString());
            return false;
        }
        QString host;
        int port = 5432;
        if (!splitServer(p.server, &host, &port)) {
            *why = badServerMessage(p.server);
            return false;
        }
        QStringList options{QStringLiteral("connect_timeout=10")};
        const QString sslMode = p.sslMode.trimmed().toLower();
        if (!sslMode.isEmpty()) {
            static const QStringList modes{QStringLiteral("disable"), QStringLiteral("allow"), QStringLiteral("prefer"),
                                           QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};
            if (!modes.contains(sslMode)) {
                *why = badSslModeMessage(p.sslMode);
                return false;
            }
            options << QStringLiteral("sslmode=") + sslMode;
        }
        // The options are separated by semicolons: a path holding one cannot be given.
        if (!p.sslRootCert.trimmed().isEmpty() && !p.sslRootCert.contains(u';'))
            options << QStringLiteral("sslrootcert=") + p.sslRootCert.trimmed();
        db.setHostName(host.isEmpty() ? QStringLiteral("localhost") : host);
        db.setPort(port);
        db.setDatabaseName(p.catalog);
        db.setUserName(p.user);
        db.setPassword(p.password);
        db.setConnectOptions(options.join(u';'));
        return true;
    }

    QStringList sessionSetup(bool readOnly) const override
    {
        QStringList setup{QStringLiteral("SET client_encoding TO 'UTF8'"), QStringLiteral("SET datestyle TO ISO, DMY")};
        if (readOnly)
            setup << QStringLiteral("SET default_transaction_read_only = on");
        return setup;
    }

    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        case ColType::Integer: return QStringLiteral("INTEGER");
        case ColType::SmallInt: return QStringLiteral("SMALLINT");
        case ColType::Text: return QStringLiteral("VARCHAR(%1)").arg(c.size > 0 ? c.size : 255);
        case ColType::Memo: return QStringLiteral("TEXT");
        case ColType::Date: return QStringLiteral("DATE");
        case ColType::DateTime: return QStringLiteral("TIMESTAMP(0)");
        case ColType::Money: return QStringLiteral("NUMERIC(15,2)");
        case ColType::Blob: return QStringLiteral("BYTEA");
        }
        return QStringLiteral("TEXT");
    }

    QString typedParameter(const ColumnDef &c) const override
    {
        return QStringLiteral("CAST(? AS ") + columnType(c) + u')';
    }

    QString refreshStatistics(const QString &table) const override { return QStringLiteral("ANALYZE ") + table; }

    bool statementsAreRoundTrips() const override { return true; }

    QString changeColumnType(const QString &table, const ColumnDef &c) const override
    {
        return QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3").arg(table, c.name, columnType(c));
    }

    QString lockRows(const QString &table, const QString &condition, bool shared) const override
    {
        return QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + condition
            + (shared ? QStringLiteral(" FOR SHARE") : QStringLiteral(" FOR UPDATE"));
    }

    bool isDuplicateKey(const QSqlError &e) const override
    {
        return e.nativeErrorCode() == QLatin1String("23505")
            || e.databaseText().contains(QLatin1String("duplicate key"));
    }

    bool isStatementForgotten(const QSqlError &e) const override
    {
        // 26000: no prepared statement of that name; 0A000: "cached plan
        // must not change result type".
        return e.nativeErrorCode() == QLatin1String("26000")
            || (e.nativeErrorCode() == QLatin1String("0A000")
                && e.databaseText().contains(QLatin1String("cached plan")));
    }

    QDateTime serverDate(const QSqlDatabase &db) const override
    {
        if (!db.isOpen())
            return {};
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT LOCALTIMESTAMP(0)")) || !q.next())
            return {};
        return q.value(0).toDateTime();
    }

    bool streamsOnMainConnection() const override { return false; }
    bool nullsSortFirst() const override { return false; }

    // ICU's collations, whatever the locale the database was created with.
    QString byteOrder(const QString &expression) const override
    {
        return expression + QStringLiteral(" COLLATE \"C\"");
    }
    // One array literal: each text between double quotes, its double quotes
    // and backslashes escaped by a backslash.
    SqlText oneOf(const QString &expression, const QStringList &values) const override
    {
        QString array;
        array.reserve(2 + values.size() * 12);
        array += u'{';
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i)
                array += u',';
            array += u'"';
            for (const QChar c : values.at(i)) {
                if (c == u'"' || c == u'\\')
                    array += u'\\';
                array += c;
            }
            array += u'"';
        }
        array += u'}';
        return {expression + QStringLiteral(" = ANY(CAST(? AS TEXT[]))"), {array}};
    }
    QString collate(const QString &language) const override
    {
        return language == QLatin1String("AR") ? QStringLiteral(" COLLATE \"ar-x-icu\"") : QStringLiteral(" COLLATE \"fr-x-icu\"");
    }

    // Case mapping by ICU, whatever the locale the database was created with.
    QString likeNoCase(const QString &column) const override
    {
        return QStringLiteral("LOWER(") + column + QStringLiteral(" COLLATE \"und-x-icu\") LIKE LOWER(CAST(? AS TEXT) COLLATE \"und-x-icu\") ESCAPE '\\'");
    }
    // SearchFold in SQL: the case fold, then the folding rules, one
    // character for one by TRANSLATE (which drops the characters of its
    // second text that have no counterpart in the third: the marks), the
    // ligatures by REPLACE.
    static QString searchFolded(const QString &expression)
    {
        static const QString translate = [] {
            QString from, to, dropped, ligatures;
            for (const FoldRule &r : SearchFoldRules()) {
                if (r.to.size() == 1) {
                    from += r.from;
                    to += r.to;
                } else if (r.to.isEmpty()) {
                    dropped += r.from;
                }
            }
            auto literal = [](QString s) {
                s.replace(u'\'', QStringLiteral("''"));
                return QStringLiteral("'%1'").arg(s);
            };
            QString sql = QStringLiteral("TRANSLATE(LOWER(%1 COLLATE \"und-x-icu\"), ") + literal(from + dropped)
                + QStringLiteral(", ") + literal(to) + u')';
            for (const FoldRule &r : SearchFoldRules())
                if (r.to.size() > 1)
                    sql = QStringLiteral("REPLACE(") + sql + QStringLiteral(", ") + literal(QString(r.from))
                        + QStringLiteral(", ") + literal(r.to) + u')';
            return sql;
        }();
        return translate.arg(expression);
    }
    QString likeFolded(const QString &column) const override
    {
        return searchFolded(column) + QStringLiteral(" LIKE ") + searchFolded(QStringLiteral("CAST(? AS TEXT)"))
            + QStringLiteral(" ESCAPE '\\'");
    }

    // A subquery with an OFFSET is not merged into the query around it.
    QString foundFirst(const QString &table, const QString &alias, const QString &condition) const override
    {
        return QStringLiteral("(SELECT * FROM %1 %2 WHERE %3 OFFSET 0) %2").arg(table, alias, condition);
    }

    // Under "C" the folded texts compare byte by byte, which also lets a
    // beginning be looked up as a range.
    QString foldedKey(const QString &expression) const override
    {
        return QStringLiteral("(LOWER(") + expression + QStringLiteral(" COLLATE \"und-x-icu\") COLLATE \"C\")");
    }
    bool foldedIndexesPartial() const override { return false; }

    // A word index is a trigram index on the folded words the program
    // stores beside the keywords, which the searches match with the words
    // folded the same way.
    QStringList prepareWordIndexes() const override { return {QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")}; }

    QString keywordsHold(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                         QVariantList &binds) const override
    {
        if (!indexedSearch() || words.isEmpty())
            return Dialect::keywordsHold(ix, alias, words, binds);
        QStringList parts;
        for (const QString &w : words) {
            parts << alias + u'.' + ix.folded + QStringLiteral(" LIKE ?");
            binds << QVariant(QStringLiteral("%/") + LikePattern(SearchFold(w)) + QStringLiteral("/%"));
        }
        return parts.join(QStringLiteral(" AND "));
    }

    bool hasRoles() const override { return true; }
    QStringList runtimeGrants(const QString &role, const QString &catalog) const override
    {
        const QString r = u'"' + role + u'"';
        const QString rows = QStringLiteral("SELECT, INSERT, UPDATE, DELETE");
        return {QStringLiteral("GRANT CONNECT ON DATABASE \"%1\" TO %2").arg(QString(catalog).replace(u'"', QStringLiteral("\"\"")), r),
                QStringLiteral("GRANT USAGE ON SCHEMA public TO ") + r,
                // Only the schema's owner makes tables there (what only that
                // owner may say: GrantRuntimeRole checks the outcome).
                QStringLiteral("DO $$ BEGIN IF pg_has_role(current_user, (SELECT nspowner FROM pg_namespace "
                               "WHERE nspname = 'public'), 'USAGE') THEN REVOKE CREATE ON SCHEMA public FROM PUBLIC; "
                               "END IF; END $$"),
                QStringLiteral("GRANT %1 ON ALL TABLES IN SCHEMA public TO %2").arg(rows, r),
                QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT %1 ON TABLES TO %2").arg(rows, r)};
    }

    QStringList readOnlyGrants(const QString &role, const QString &catalog, const QStringList &tables) const override
    {
        const QString r = u'"' + role + u'"';
        QStringList out{QStringLiteral("GRANT CONNECT ON DATABASE \"%1\" TO %2").arg(QString(catalog).replace(u'"', QStringLiteral("\"\"")), r),
                        QStringLiteral("GRANT USAGE ON SCHEMA public TO ") + r,
                        QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM ") + r,
                        QStringLiteral("ALTER DEFAULT PRIVILEGES IN SCHEMA public REVOKE ALL ON TABLES FROM ") + r};
        if (!tables.isEmpty())
            out << QStringLiteral("GRANT SELECT ON %1 TO %2").arg(tables.join(QStringLiteral(", ")), r);
        return out;
    }

    static QString indexName(const SearchIndexDef &ix)
    {
        return ix.kind == SearchIndexDef::Kind::Words ? QStringLiteral("IX_") + ix.name : ix.name;
    }

    QStringList createSearchIndex(const SearchIndexDef &ix) const override
    {
        // Every row, NULLs included: the planner estimates how many rows a
        // value finds from the statistics of an index on the expression, and
        // it reads none of a partial one. Without them it takes a number for
        // a common value and reads a first page along the key instead.
        if (ix.kind == SearchIndexDef::Kind::Folded)
            return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(ix.name, ix.table, foldedKey(ix.column))};
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 USING gin (%3 gin_trgm_ops)")
                    .arg(indexName(ix), ix.table, ix.folded)};
    }

    QStringList dropSearchIndex(const SearchIndexDef &ix) const override
    {
        return {QStringLiteral("DROP INDEX IF EXISTS ") + indexName(ix)};
    }

    bool hasSearchIndex(const QSqlDatabase &db, const SearchIndexDef &ix) const override
    {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() AND indexname = ?"));
        q.addBindValue(indexName(ix).toLower());
        return q.exec() && q.next();
    }
    QString yearOf(const QString &column) const override
    {
        return QStringLiteral("CAST(EXTRACT(YEAR FROM ") + column + QStringLiteral(") AS INTEGER)");
    }
    QString yearMonthOf(const QString &column) const override
    {
        return QStringLiteral("TO_CHAR(") + column + QStringLiteral(", 'YYYY-MM')");
    }
    // NUMERIC is exact: a hundred times an amount is a whole number.
    QString moneyCents(const QString &expression) const override
    {
        return QStringLiteral("CAST((") + expression + QStringLiteral(") * 100 AS BIGINT)");
    }

    QStringList tables(const QSqlDatabase &db) const override
    {
        QStringList out;
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables "
                              "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE'"));
        while (q.next())
            out << q.value(0).toString().toUpper();
        return out;
    }
};

} // namespace

bool splitServer(const QString &server, QString *host, int *port)
{
    const QString s = server.trimmed();
    QString portText;
    if (s.startsWith(u'[')) {
        const qsizetype close = s.indexOf(u']');
        if (close < 0)
            return false;
        *host = s.mid(1, close - 1);
        const QString rest = s.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':'))
            return false;
        portText = rest.mid(1);
        if (host->isEmpty() || (rest.startsWith(u':') && portText.isEmpty()))
            return false;
    } else if (s.count(u':') == 1) {
        const qsizetype colon = s.indexOf(u':');
        *host = s.left(colon);
        portText = s.mid(colon + 1);
    } else {
        *host = s;  // a name, an IPv4 address, or an IPv6 address alone
    }
    if (portText.isEmpty())
        return true;
    bool ok = false;
    const int p = portText.toInt(&ok);
    if (!ok || p <= 0 || p > 65535)
        return false;
    *port = p;
    return true;
}

std::unique_ptr<Dialect> Dialect::forEngine(const QString &engine)
{
    const QString e = engine.trimmed().toUpper();
    if (e == QLatin1String("SQLITE") || e == QLatin1String("ACCESS"))
        return std::make_unique<SqliteDialect>();
    if (e == QLatin1String("POSTGRESQL"))
        return std::make_unique<PostgresDialect>();
    return nullptr;
}

bool Dialect::canSearchIndexed(const QSqlDatabase &db) const
{
    for (const SearchIndexDef &ix : Schema::searchIndexes())
        if (ix.kind == SearchIndexDef::Kind::Words && !hasSearchIndex(db, ix))
            return false;
    return true;
}

QString Dialect::keywordsHold(const SearchIndexDef &ix, const QString &alias, const QStringList &words,
                              QVariantList &binds) const
{
    QStringList parts;
    for (const QString &w : words) {
        parts << likeFolded(alias + u'.' + ix.column);
        binds << QVariant(QStringLiteral("%/") + LikePattern(w) + QStringLiteral("/%"));
    }
    return parts.join(QStringLiteral(" AND "));
}

QString Dialect::createTable(const TableDef &t) const
{
    QStringList parts;
    for (const ColumnDef &c : t.columns) {
        QString col = c.name + u' ' + columnType(c);
        if (c.notNull || t.primaryKey.contains(c.name, Qt::CaseInsensitive))
            col += QStringLiteral(" NOT NULL");
        parts << col;
    }
    parts << QStringLiteral("PRIMARY KEY (") + t.primaryKey.join(QStringLiteral(", ")) + u')';
    return QStringLiteral("CREATE TABLE ") + t.name + QStringLiteral(" (\n  ")
        + parts.join(QStringLiteral(",\n  ")) + QStringLiteral("\n)");
}

QString Dialect::createIndex(const TableDef &t, const IndexDef &ix) const
{
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), ix.name, t.name,
             ix.columns.join(QStringLiteral(", ")));
}

QString Dialect::addColumn(const QString &table, const ColumnDef &c) const
{
    return QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") + c.name + u' '
        + columnType(c);
}

SqlText Dialect::oneOf(const QString &expression, const QStringList &values) const
{
    SqlText out;
    out.sql.reserve(expression.size() + 6 + values.size() * 3);
    out.sql = expression + QStringLiteral(" IN (");
    out.binds.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        out.sql += i ? QStringLiteral(", ?") : QStringLiteral("?");
        out.binds << values.at(i);
    }
    out.sql += u')';
    return out;
}

QString Dialect::inlineBinds(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QString out;
    out.reserve(sql.size() + 16 * binds.size());
    int next = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            out += c;
        } else if (c == u'?' && next < binds.size()) {
            const QVariant &v = binds.at(next++);
            QSqlField f(QString(), v.metaType());
            f.setValue(v);
            out += db.driver()->formatValue(f);
        } else {
            out += c;
        }
    }
    return out;
}

QVariant Dialect::toDb(const QVariant &v, ColType t) const
{
    if (v.isNull() || !v.isValid())
        return v;
    switch (t) {
    case ColType::Date: {
        const QDate d = v.typeId() == QMetaType::QString ? QDate::fromString(v.toString(), Qt::ISODate)
                                                         : v.toDate();
        return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
    }
    case ColType::DateTime: {
        QDateTime dt = v.toDateTime();
        if (!dt.isValid() && v.typeId() == QMetaType::QDate)
            dt = QDateTime(v.toDate(), QTime(0, 0));
        return dt.isValid() ? QVariant(dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : QVariant();
    }
    case ColType::Money:
        return v.toString();
    default:
        return v;
    }
}

QVariant Dialect::fromDb(const QVariant &v, ColType t) const
{
    if (v.isNull())
        return v;
    switch (t) {
    case ColType::Date:
        if (v.typeId() == QMetaType::QString)
            return QDate::fromString(v.toString().left(10), Qt::ISODate);
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        return v;
    case ColType::DateTime:
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString();
            s.replace(u' ', u'T');
            QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
            if (!dt.isValid())
                dt = QDateTime(QDate::fromString(s.left(10), Qt::ISODate), QTime(0, 0));
            return dt;
        }
        return v;
    case ColType::Integer:
    case ColType::SmallInt:
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::QString)
            return v.toInt();
        return v;
    case ColType::Money:
        return v.toString();
    default:
        return v;
    }
}

QStringList Dialect::tables(const QSqlDatabase &db) const
{
    QStringList out;
    for (const QString &t : db.tables(QSql::Tables))
        out << t.toUpper();
    return out;
}

QStringList Dialect::columns(const QSqlDatabase &db, const QString &table) const
{
    QStringList out;
    const QSqlRecord r = db.record(isPostgres() ? table.toLower() : table);
    for (int i = 0; i < r.count(); ++i)
        out << r.fieldName(i).toUpper();
    return out;
}

} // namespace folian
