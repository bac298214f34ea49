#pragma once
// The logon check: the account as it stands in the database at that
// moment, its password, the one-session-per-user rule on the shared server,
// then the session's role, rights and document types.

#include <QString>

class QSqlRecord;

namespace folian {

class Database;
class TFrmData;

enum class LogonResult {
    Ok,
    NoUser,            // nobody chosen: stay, focus the user list
    WrongPassword,     // "Mot de passe incorrect.": stay, focus the password
    AlreadyConnected,  // "Utilisateur déja connecté.": stay, focus the user list
    UserGone,          // the account was deleted since the list was read: read it again
    ServerUnreachable  // the account could not be read, or the marker taken: why follows
};

// Runs the check for the user `userId` with the typed password, on his row
// as the database holds it now (another workstation may have changed or
// deleted it since the logon list was read). On Ok the session holds the
// user, role and rights, QTypeDocument is restricted to the types the user
// may catalogue and DefaultDocumentType set. A password still stored the
// old way is stored again as a hash. A failed attempt changes no session
// value; for ServerUnreachable `why` gets the server's reason.
LogonResult CheckLogon(TFrmData &data, int userId, const QString &password, QString *why = nullptr);

// The message of a refused logon in the current language (empty for
// Ok/NoUser), with the server's reason for ServerUnreachable.
QString LogonMessage(LogonResult r, const QString &why = QString());

// Releases the connected-user marker (normal end of session; the server
// also drops it when the connection ends).
void ReleaseLogonMarker(TFrmData &data, int userId);

// The session's user, role and rights from his row of UTILISATEUR.
void SetSessionUser(const QSqlRecord &row);

// Makes the session act for the user of that login (a script's user), as
// the logon would, without his password: empty `login` stands for the
// first administrator (the one init-db made). False, with the reason in
// `why`, when there is no such user.
bool ActForUser(Database &db, const QString &login, QString *why);

} // namespace folian
