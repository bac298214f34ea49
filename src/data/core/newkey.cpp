#include "data/core/newkey.h"

#include "data/core/database.h"
#include "data/core/helpers.h"

namespace folian {

namespace {
constexpr int kKeyAttempts = 50;
} // namespace

KeyedInsert insertWithNewKey(Database &db, const QString &table, const QString &keyColumn,
                             const std::function<bool(int key)> &insert, const std::function<bool()> &clash, int *key)
{
    for (int attempt = 0; attempt < kKeyAttempts; ++attempt) {
        QSqlError error;
        {
            Transaction savepoint(db);
            if (!savepoint.isActive())
                return KeyedInsert::Failed;
            *key = NextId(db, table, QStringLiteral("MAX(") + keyColumn + QStringLiteral(") "));
            if (insert(*key))
                return savepoint.commit() ? KeyedInsert::Done : KeyedInsert::Failed;
            error = db.lastError();
            // Rolled back to the savepoint here: the transaction goes on.
        }
        if (!db.dialect().isDuplicateKey(error))
            return KeyedInsert::Failed;
        if (clash && clash())
            return KeyedInsert::Clash;
    }
    return KeyedInsert::Failed;
}

} // namespace folian
