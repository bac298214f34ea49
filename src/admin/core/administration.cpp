#include "admin/core/administration.h"

#include "admin/core/passwords.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/migrator.h"

#include <QRegularExpression>

namespace folian {

bool InitialiseDatabase(Database &db, const QString &adminLogin, const QString &adminPassword, QString *why)
{
    auto failed = [why](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    if (!db.dialect().tables(db.connection()).isEmpty())
        return failed(QStringLiteral("the database already holds tables; init-db only fills an empty database"));
    if (adminPassword.isEmpty())
        return failed(QStringLiteral("the administrator's password may not be empty"));
    const QString hash = HashPassword(adminPassword);
    if (hash.isEmpty())
        return failed(QStringLiteral("cannot hash the administrator's password"));
    Transaction tx(db);
    if (!tx.isActive())
        return failed(db.lastError().text());
    QString reason;
    if (!createSchema(db, &reason))
        return failed(QStringLiteral("creating the schema failed: ") + reason);
    QStringList cols{QStringLiteral("UTL_ID"), QStringLiteral("UTL_LOGIN"), QStringLiteral("UTL_PASSWORD"),
                     QStringLiteral("UTL_NOM"), QStringLiteral("UTL_PRENOM"), QStringLiteral("UTL_ROLE")};
    QVariantList row{1, adminLogin, hash, QStringLiteral("Administrateur"), QStringLiteral("Système"), 1};
    for (Right r : allRights()) {
        cols << QLatin1String(rightColumn(r));
        row << 1;
    }
    if (adminLogin.trimmed().isEmpty())
        return failed(QStringLiteral("the administrator needs a login"));
    if (!insertRows(db, QStringLiteral("UTILISATEUR"), cols, {row}, &reason))
        return failed(QStringLiteral("creating the administrator failed: ") + reason);
    if (!tx.commit())
        return failed(db.lastError().text());
    return true;
}

bool RehashOldPasswords(Database &db, int *rehashed, QString *why)
{
    struct Column {
        const char *table, *key, *password;
    };
    static const Column columns[] = {{"UTILISATEUR", "UTL_ID", "UTL_PASSWORD"}, {"LECTEUR", "LEC_ID", "LEC_PASSWORD"}};
    int n = 0;
    Transaction tx(db);
    for (const Column &c : columns) {
        const QString table = QLatin1String(c.table), key = QLatin1String(c.key), password = QLatin1String(c.password);
        SqlRows q = db.query(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %2 IS NOT NULL AND %2 <> '' AND %2 NOT LIKE '$argon2%'")
                                   .arg(key, password, table));
        if (!q.isActive()) {
            if (why)
                *why = db.lastError().text();
            return false;
        }
        QList<QPair<QVariant, QString>> old;
        while (q.next())
            old << qMakePair(q.value(0), q.value(1).toString());
        q.finish();
        for (const auto &[id, stored] : std::as_const(old)) {
            // The old form is the password scrambled with the key: scrambled again, it comes back.
            const QString hash = HashPassword(ScrambleText(stored, PasswordKey));
            if (hash.isEmpty()
                || !db.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ? AND %2 = ?").arg(table, password, key),
                            {hash, id, stored})) {
                if (why)
                    *why = hash.isEmpty() ? QStringLiteral("cannot hash a password") : db.lastError().text();
                return false;
            }
            ++n;
        }
    }
    if (!tx.commit()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    if (rehashed)
        *rehashed = n;
    return true;
}

bool UpgradeDatabase(Database &db, int *rehashed, QString *why)
{
    Transaction tx(db);
    if (!upgradeSchema(db, why) || !RehashOldPasswords(db, rehashed, why))
        return false;
    if (!tx.commit()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    return true;
}

bool MakeLoginRole(Database &db, const QString &role, const QString &password, bool *existed, QString *why)
{
    auto failed = [why](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    if (!db.dialect().hasRoles())
        return failed(QStringLiteral("the embedded database has no roles: its file's permissions decide who uses it"));
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!plain.match(role).hasMatch())
        return failed(QStringLiteral("a role's name is lower-case letters, digits and _, beginning with a letter"));
    bool ok = false;
    SqlRows q = db.query(QStringLiteral("SELECT rolsuper, rolcreaterole, rolcreatedb FROM pg_roles WHERE rolname = ?"), {role});
    if (!q.isActive())
        return failed(db.lastError().text());
    const bool exists = q.next();
    if (exists && (q.value(0).toBool() || q.value(1).toBool() || q.value(2).toBool()))
        return failed(QStringLiteral("the role %1 can do more than the program needs (a superuser, or it creates roles or "
                                     "databases): choose another").arg(role));
    q.finish();
    const int owned = db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE schemaname = 'public' AND tableowner = ?"),
                                {role}, &ok).toInt();
    if (!ok || owned > 0 || role == db.params().user)
        return failed(QStringLiteral("the role %1 owns the schema: the workstations need a role of their own").arg(role));
    // A role's password cannot be a bound value: it is written as a quoted literal.
    const QString literal = u'\'' + QString(password).replace(u'\'', QStringLiteral("''")) + u'\'';
    const QString name = u'"' + role + u'"';
    if (!exists && password.isEmpty())
        return failed(QStringLiteral("a new role needs a password"));
    if (!exists && !db.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2").arg(name, literal)))
        return failed(QStringLiteral("cannot create the role (the owner may lack CREATEROLE; an administrator of the "
                                     "server can create it, then run this again): ") + db.lastError().text());
    if (exists && !password.isEmpty() && !db.exec(QStringLiteral("ALTER ROLE %1 LOGIN PASSWORD %2").arg(name, literal)))
        return failed(db.lastError().text());
    if (existed)
        *existed = exists;
    return true;
}

bool GrantRuntimeRole(Database &db, const QString &role, const QString &password, bool *created, QString *why)
{
    auto failed = [why](const QString &text) {
        if (why)
            *why = text;
        return false;
    };
    Transaction tx(db);
    bool exists = false, ok = false;
    if (!MakeLoginRole(db, role, password, &exists, why))
        return false;
    for (const QString &sql : db.dialect().runtimeGrants(role, db.params().catalog))
        if (!db.exec(sql))
            return failed(db.lastError().text() + QStringLiteral("\n") + sql);
    // What it must not be able to do, asked of the server itself.
    if (db.scalar(QStringLiteral("SELECT has_schema_privilege(?, 'public', 'CREATE')"), {role}, &ok).toBool() || !ok)
        return failed(QStringLiteral("the role could still create tables in the schema public; the server's "
                                     "administrator must run REVOKE CREATE ON SCHEMA public FROM PUBLIC"));
    if (!tx.commit())
        return failed(db.lastError().text());
    if (created)
        *created = !exists;
    return true;
}

bool ResetLoanStatistics(Database &db, QString *why)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty()) {
        if (why)
            *why = refusal;
        return false;
    }
    Transaction tx(db);
    const bool ok = tx.isActive()
        && db.exec(QStringLiteral("UPDATE NOTICE SET DOC_PRET_INTERNE = 0, DOC_PRET_EXTERNE = 0"))
        && db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STAT_PRET = 0")) && tx.commit();
    if (!ok && why)
        *why = db.lastError().text();
    return ok;
}

} // namespace folian
