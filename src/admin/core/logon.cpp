#include "admin/core/logon.h"

#include "admin/core/passwords.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

// The connected-user marker on the shared server: a session-level advisory
// lock keyed on (catalog, user). The server releases it when the connection
// ends, normally or not.
const QString kLockSql = QStringLiteral("SELECT pg_try_advisory_lock(hashtext(?), ?)");
const QString kUnlockSql = QStringLiteral("SELECT pg_advisory_unlock(hashtext(?), ?)");

bool takeMarker(Database &db, int userId)
{
    bool ok = false;
    const QVariant got = db.scalar(kLockSql, {session().DbCatalog, userId}, &ok);
    return ok && got.toBool();
}

bool granted(const QVariant &v) { return !v.isNull() && v.toInt() == 1; }

void restrictDocumentTypes(TFrmData &data)
{
    Session &s = session();
    QString sql = QStringLiteral("SELECT * FROM TYPE_DOCUMENT");
    QVariantList binds;
    if (s.CurrentUserRole != 1 && s.CurrentUserRole != 3) {
        sql += QStringLiteral(" WHERE TYP_ID IN (SELECT C.TYP_ID FROM CATALOGAGE C WHERE C.UTL_ID = ?)");
        binds << s.CurrentUserId;
    }
    if (data.QTypeDocument->open(sql, binds) && !data.QTypeDocument->isEmpty())
        s.DefaultDocumentType = data.QTypeDocument->value(QStringLiteral("TYP_ID")).toString();
}

} // namespace

LogonResult CheckLogon(TFrmData &data, int userId, const QString &password)
{
    Dataset *users = data.QUtilisateur;
    if (userId <= 0 || !users->isOpen() || !users->locate(QStringLiteral("UTL_ID"), userId))
        return LogonResult::NoUser;
    const QVariant stored = users->value(QStringLiteral("UTL_PASSWORD"));
    const PasswordCheck check = CheckPassword(password, stored.toString(), stored.isNull());
    if (check == PasswordCheck::Wrong)
        return LogonResult::WrongPassword;

    Database &db = data.db();
    if (db.dialect().isPostgres() && !takeMarker(db, userId))
        return LogonResult::AlreadyConnected;

    if (check == PasswordCheck::RightButOldForm) {
        // Accepted once in its old form, stored from now on as a hash.
        const QString hash = HashPassword(password);
        if (!hash.isEmpty()
            && db.exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_PASSWORD = ? WHERE UTL_ID = ?"), {hash, userId}))
            users->refreshRow();
    }

    Session &s = session();
    s.CurrentUserId = userId;
    s.CurrentUserLogin = users->value(QStringLiteral("UTL_LOGIN")).toString();
    s.CurrentUserRole = users->value(QStringLiteral("UTL_ROLE")).toInt();
    for (Right r : allRights())
        s.setRight(r, granted(users->value(QLatin1String(rightColumn(r)))));
    restrictDocumentTypes(data);
    return LogonResult::Ok;
}

QString LogonMessage(LogonResult r)
{
    switch (r) {
    case LogonResult::WrongPassword:
        return tr2(QStringLiteral("Mot de passe incorrect."), QStringLiteral("كلمة المرور غير صحيحة."));
    case LogonResult::AlreadyConnected:
        return tr2(QStringLiteral("Utilisateur déja connecté."), QStringLiteral("المستخدم متصل حاليا."));
    default:
        return {};
    }
}

void ReleaseLogonMarker(TFrmData &data, int userId)
{
    Database &db = data.db();
    if (db.isOpen() && db.dialect().isPostgres())
        db.scalar(kUnlockSql, {session().DbCatalog, userId});
}

} // namespace folian
