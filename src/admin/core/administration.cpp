#include "admin/core/administration.h"

#include "data/core/database.h"

namespace folian {

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
