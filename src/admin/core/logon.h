#pragma once
// The logon check: password, the one-session-per-user rule on the shared
// server, then the session's role, rights and document types.

#include <QString>

namespace folian {

class TFrmData;

enum class LogonResult {
    Ok,
    NoUser,          // nobody chosen: stay, focus the user list
    WrongPassword,   // "Mot de passe incorrect.": stay, focus the password
    AlreadyConnected // "Utilisateur déja connecté.": stay, focus the user list
};

// Runs the check for the user `userId` (a row of QUtilisateur, which is
// positioned on it) with the typed password. On Ok the session holds the
// user, role and rights, QTypeDocument is restricted to the types the user
// may catalogue and DefaultDocumentType set. A password still stored the old
// way is stored again as a hash. A failed attempt changes no session value.
LogonResult CheckLogon(TFrmData &data, int userId, const QString &password);

// The message of a refused logon in the current language (empty for Ok/NoUser).
QString LogonMessage(LogonResult r);

// Releases the connected-user marker (normal end of session; the server
// also drops it when the connection ends).
void ReleaseLogonMarker(TFrmData &data, int userId);

} // namespace folian
