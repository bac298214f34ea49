#pragma once
// What the operator is told when the database cannot be opened, or its
// connection was lost: one function per message, in French or in Arabic by
// the session's language. The engine's own words, when it gave any, follow
// as the reason.

#include <QString>

namespace folian {

QString configFileMissingMessage(const QString &iniPath);
QString configFileUnreadableMessage(const QString &iniPath);
// `iniPath` may be empty when the configuration file is not known.
QString noCatalogMessage(const QString &iniPath);
QString unknownEngineMessage(const QString &engine, const QString &iniPath);
QString driverMissingMessage(const QString &driver);
QString badServerMessage(const QString &server);
QString badSslModeMessage(const QString &mode);

QString databaseFileMissingMessage(const QString &path);
// The file is not a database at all (a text, a picture, ...).
QString notADatabaseMessage(const QString &path);
// A database, but not a catalogue of this program: it holds no schema
// version. It was left as it was.
QString notFolianDatabaseMessage(const QString &path);

QString serverUnreachableMessage(const QString &reason);
QString connectionLostMessage(const QString &reason);

} // namespace folian
