#pragma once
// Connects a data module to a test database through the session, as the program does.

#include "base/session.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

namespace folian::test {

inline bool connectTo(TFrmData &data, const TestDatabase &tdb)
{
    Session &s = session();
    const ConnectionParams &p = tdb.params();
    s.DbEngine = p.engine;
    s.DbServer = p.server;
    s.DbCatalog = p.catalog;
    s.DbUser = p.user;
    s.DbPassword = p.password;
    s.AppDir = p.appDir;
    return data.DataModuleCreate(sessionConnection(s));
}

} // namespace folian::test
