#pragma once
// A row inserted under a new key: the largest key of its table + 1, read
// just before the insert and taken again when another workstation took the
// same key first.

#include <QString>
#include <functional>

namespace folian {

class Database;

enum class KeyedInsert { Done, Clash, Failed };

// Runs `insert(key)` (the INSERT statement) in a savepoint of its own. When
// it fails on a duplicate key, `clash()` (when given) tells whether another
// unique index refused the row rather than the key: then the insert is not
// tried again and Clash is returned. The key used in `*key`.
KeyedInsert insertWithNewKey(Database &db, const QString &table, const QString &keyColumn,
                             const std::function<bool(int key)> &insert, const std::function<bool()> &clash,
                             int *key);

} // namespace folian
