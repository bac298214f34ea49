#pragma once
// One database per engine, made and filled once, shared by the rows of a
// data-driven test.

#include "support/testdb.h"

#include <functional>
#include <map>
#include <memory>

namespace folian::test {

class FilledDatabases
{
public:
    using Fill = std::function<bool(Database &, QString *why)>;
    explicit FilledDatabases(Fill fill) : fill_(std::move(fill)) {}

    // The engine's database, filled; null (with a warning) when it cannot
    // be made or filled.
    Database *of(const QString &engine)
    {
        auto &tdb = dbs_[engine];
        if (!tdb) {
            tdb = std::make_unique<TestDatabase>(engine);
            QString why;
            if (!tdb->isValid() || !fill_(tdb->db(), &why)) {
                qWarning("%s", qPrintable(tdb->error() + why));
                tdb.reset();
                return nullptr;
            }
        }
        return &tdb->db();
    }
    void clear() { dbs_.clear(); }

private:
    Fill fill_;
    std::map<QString, std::unique_ptr<TestDatabase>> dbs_;
};

} // namespace folian::test
