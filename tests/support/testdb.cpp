#include "support/testdb.h"

#include "data/core/dialect.h"
#include "data/core/migrator.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace folian::test {

namespace {

QString env(const char *name) { return qEnvironmentVariable(name); }

// A connection to the server's maintenance database, to create and drop test databases.
bool adminExec(const QString &sql, QString *why)
{
    const QString name = QStringLiteral("folian-test-admin");
    bool ok;
    {
        QSqlDatabase admin = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                          : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setHostName(env("FOLIAN_TEST_PG_HOST"));
        admin.setPort(env("FOLIAN_TEST_PG_PORT").toInt());
        admin.setUserName(env("FOLIAN_TEST_PG_USER"));
        admin.setPassword(env("FOLIAN_TEST_PG_PASSWORD"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        ok = admin.isOpen() || admin.open();
        if (ok) {
            QSqlQuery q(admin);
            ok = q.exec(sql);
            if (!ok && why)
                *why = q.lastError().text();
        } else if (why) {
            *why = admin.lastError().text();
        }
    }
    return ok;
}

} // namespace

bool postgresAvailable() { return env("FOLIAN_TEST_PG") == QLatin1String("1"); }

QStringList engines()
{
    return {QStringLiteral("SQLITE"), QStringLiteral("POSTGRESQL")};
}

void addEngineRows()
{
    QTest::addColumn<QString>("engine");
    for (const QString &e : engines())
        QTest::newRow(qPrintable(e)) << e;
}

TestDatabase::TestDatabase(const QString &engine, bool schema, TextOrder order)
{
    params_.engine = engine;
    params_.appDir = dir();
    if (engine == QLatin1String("POSTGRESQL")) {
        pgName_ = QStringLiteral("folian_t_%1").arg(QRandomGenerator::global()->generate64(), 0, 16);
        const QString ordered = order == TextOrder::Linguistic
            ? QStringLiteral(" TEMPLATE template0 LOCALE_PROVIDER icu ICU_LOCALE 'und'")
            : QString();
        if (!adminExec(QStringLiteral("CREATE DATABASE ") + pgName_ + QStringLiteral(" ENCODING 'UTF8'") + ordered, &error_))
            return;
        params_.server = env("FOLIAN_TEST_PG_HOST") + u':' + env("FOLIAN_TEST_PG_PORT");
        params_.catalog = pgName_;
        params_.user = env("FOLIAN_TEST_PG_USER");
        params_.password = env("FOLIAN_TEST_PG_PASSWORD");
    } else {
        params_.catalog = QStringLiteral("Folian.db");
    }
    if (!db_.open(params_, true, &error_))
        return;
    if (schema && !createSchema(db_, &error_))
        return;
    valid_ = true;
}

TestDatabase::~TestDatabase()
{
    db_.close();
    if (!pgName_.isEmpty())
        adminExec(QStringLiteral("DROP DATABASE IF EXISTS ") + pgName_ + QStringLiteral(" WITH (FORCE)"), nullptr);
}

QString TestDatabase::writeIni(const QString &extra) const
{
    const QString path = dir() + QStringLiteral("Folian.ini");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        QString text = QStringLiteral("[Application]\nEngine=%1\nServer=%2\nCatalog=%3\nUsername=%4\nPassword=%5\n")
                           .arg(params_.engine, params_.server, params_.catalog, params_.user, params_.password);
        text += extra;
        f.write(text.toUtf8());
    }
    return path;
}

QString queryPlan(Database &db, const QString &sql, const QVariantList &binds)
{
    const bool pg = db.dialect().isPostgres();
    SqlRows rows = pg ? db.query(Dialect::inlineBinds(db.connection(), QStringLiteral("EXPLAIN ") + sql, binds))
                      : db.query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, binds);
    QStringList lines;
    while (rows.next())
        lines << rows.value(pg ? 0 : 3).toString();
    return lines.join(u'\n').toUpper();
}

TestRole::TestRole(Database &db) : db_(db)
{
    name_ = QStringLiteral("folian_r_%1").arg(QRandomGenerator::global()->generate64(), 0, 16);
    password_ = QStringLiteral("pw%1").arg(QRandomGenerator::global()->generate64(), 0, 16);
    valid_ = db_.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(name_, password_));
}

TestRole::~TestRole()
{
    if (!valid_)
        return;
    db_.exec(QStringLiteral("DROP OWNED BY ") + name_);
    db_.exec(QStringLiteral("DROP ROLE IF EXISTS ") + name_);
}

ConnectionParams TestRole::as(ConnectionParams params) const
{
    params.user = name_;
    params.password = password_;
    return params;
}

} // namespace folian::test
