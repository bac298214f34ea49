#include "appfixture.h"

#include "admin/core/passwords.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

namespace folian::test {

bool insertUser(Database &db, int id, const QString &login, const QString &password, int role,
                const QList<Right> &rights)
{
    QStringList cols{QStringLiteral("UTL_ID"), QStringLiteral("UTL_LOGIN"), QStringLiteral("UTL_PASSWORD"),
                     QStringLiteral("UTL_NOM"), QStringLiteral("UTL_ROLE")};
    QVariantList values{id, login, HashPassword(password), login, role};
    for (Right r : allRights()) {
        cols << QLatin1String(rightColumn(r));
        values << (rights.contains(r) ? 1 : 0);
    }
    const QString marks = QStringList(QList<QString>(cols.size(), QStringLiteral("?"))).join(u',');
    return db.exec(QStringLiteral("INSERT INTO UTILISATEUR (") + cols.join(u',') + QStringLiteral(") VALUES (")
                       + marks + u')',
                   values);
}

void resetSession() { session() = Session(); }

} // namespace folian::test
