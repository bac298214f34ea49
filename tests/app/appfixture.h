#pragma once
// What the tests of the main window and the module frames share: the data
// module connected to a test database, and operators of given roles.

#include "base/session.h"
#include "support/session.h"

#include <QList>
#include <QString>

namespace folian {
class Database;
class TFrmData;
namespace test {
class TestDatabase;

// Inserts an operator with a hashed password, a role and the given rights.
bool insertUser(Database &db, int id, const QString &login, const QString &password, int role,
                const QList<Right> &rights = {});
// A fresh session: French, nobody logged on, no module.
void resetSession();

} // namespace test
} // namespace folian
