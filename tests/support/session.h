#pragma once
// The session of a test: started afresh with its messages recorded, and a
// data module connected to a test database as the program connects it.

#include "base/messages.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

namespace folian::test {

// A new session with nobody logged on; its messages recorded in `sink`,
// emptied and answering "Oui" to the questions.
inline void freshSession(RecordingSink &sink)
{
    session() = Session();
    sink.clear();
    sink.answer = true;
    setMessageSink(&sink);
}

// Connects `data` to the database of `p` through the session, as the program does.
inline bool connectTo(TFrmData &data, const ConnectionParams &p)
{
    Session &s = session();
    s.DbEngine = p.engine;
    s.DbServer = p.server;
    s.DbCatalog = p.catalog;
    s.DbUser = p.user;
    s.DbPassword = p.password;
    s.AppDir = p.appDir;
    return data.DataModuleCreate(sessionConnection(s));
}

// Connects `data` to the test database.
inline bool connectTo(TFrmData &data, const TestDatabase &tdb) { return connectTo(data, tdb.params()); }

} // namespace folian::test
