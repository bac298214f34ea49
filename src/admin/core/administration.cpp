#include "admin/core/administration.h"

#include "admin/core/passwords.h"
#include "base/rights.h"
#include "data/core/database.h"
#include "data/core/migrator.h"

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

bool ResetLoanStatistics(Database &db, QString *why)
{
    Transaction tx(db);
    const bool ok = tx.isActive()
        && db.exec(QStringLiteral("UPDATE NOTICE SET DOC_PRET_INTERNE = 0, DOC_PRET_EXTERNE = 0"))
        && db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STAT_PRET = 0")) && tx.commit();
    if (!ok && why)
        *why = db.lastError().text();
    return ok;
}

} // namespace folian
