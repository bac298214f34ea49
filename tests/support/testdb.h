#pragma once
// Databases for the tests: a fresh SQLite file in a temporary directory, or
// a fresh database on the PostgreSQL server that the test command started
// (FOLIAN_TEST_PG_* in the environment). Each one is dropped at the end.

#include "data/core/database.h"

#include <QTemporaryDir>
#include <QTest>

namespace folian::test {

// The engines the tests run on: SQLITE always, POSTGRESQL when the server is there.
QStringList engines();
// Adds an "engine" column and one row per engine to a data-driven test.
void addEngineRows();
// Adds "engine" and "index" columns and one row per engine and case of a
// table of cases, named by the engine and the case's `name`.
template <typename Case, size_t N>
void addEngineCaseRows(const Case (&cases)[N])
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("index");
    for (const QString &engine : engines())
        for (size_t i = 0; i < N; ++i)
            QTest::newRow(qPrintable(engine + u' ' + QLatin1String(cases[i].name))) << engine << int(i);
}
bool postgresAvailable();

// How the server's database compares texts: as the test server was set up
// (by character codes), or as a language does (the ICU root collation),
// as a library's server set up in French or Arabic would, where "a-3" comes
// before "INV-2".
enum class TextOrder { ServerDefault, Linguistic };

class TestDatabase
{
public:
    // Creates an empty database; with `schema`, creates the schema and reference data too.
    explicit TestDatabase(const QString &engine, bool schema = true, TextOrder order = TextOrder::ServerDefault);
    ~TestDatabase();

    bool isValid() const { return valid_; }
    QString error() const { return error_; }
    const ConnectionParams &params() const { return params_; }
    // The connection opened on it.
    Database &db() { return db_; }
    // Writes a Folian.ini for this database into its directory; returns its path.
    QString writeIni(const QString &extra = QString()) const;
    QString dir() const { return dir_.path() + u'/'; }

private:
    QTemporaryDir dir_;
    ConnectionParams params_;
    Database db_;
    QString pgName_;
    bool valid_ = false;
    QString error_;
};

// A login role of the test server with a password of its own, for the
// tests that connect as somebody else than the server's superuser; dropped
// at the end with whatever it owns or was granted in the test database.
class TestRole
{
public:
    // Made through `db`, a superuser's connection on the test database.
    explicit TestRole(Database &db);
    ~TestRole();
    bool isValid() const { return valid_; }
    QString name() const { return name_; }
    QString password() const { return password_; }
    // The connection of `params` made as this role.
    ConnectionParams as(ConnectionParams params) const;

private:
    Database &db_;
    QString name_, password_;
    bool valid_ = false;
};

// What the engine plans for a statement, one line a step, in capitals (the
// server's plan with the values written into it: it prepares no EXPLAIN).
QString queryPlan(Database &db, const QString &sql, const QVariantList &binds);

// Skips the current test when the engine is not available, fails when the database cannot be made.
#define FOLIAN_TEST_DB(var, engine) FOLIAN_TEST_DB_ORDERED(var, engine, folian::test::TextOrder::ServerDefault)
#define FOLIAN_TEST_DB_ORDERED(var, engine, order)                                       \
    if ((engine) == QLatin1String("POSTGRESQL") && !folian::test::postgresAvailable())   \
        QSKIP("no PostgreSQL server for the tests (run scripts/test.sh)");               \
    folian::test::TestDatabase var(engine, true, order);                                 \
    QVERIFY2(var.isValid(), qPrintable(var.error()))

} // namespace folian::test
