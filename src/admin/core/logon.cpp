#include "admin/core/logon.h"

#include "admin/core/passwords.h"
#include "base/messages.h"
#include "base/session.h"
#include "data/core/connectiontexts.h"
#include "data/core/shareddata.h"

#include <QSqlRecord>

namespace folian {

namespace {

// The connected-user marker on the shared server: a session-level advisory
// lock keyed on (catalog, user). The server releases it when the connection
// ends, normally or not.
const QString kLockSql = QStringLiteral("SELECT pg_try_advisory_lock(hashtext(?), ?)");
const QString kUnlockSql = QStringLiteral("SELECT pg_advisory_unlock(hashtext(?), ?)");

enum class Marker { Taken, HeldElsewhere, Failed };

Marker takeMarker(Database &db, int userId)
{
    bool ok = false;
    const QVariant got = db.scalar(kLockSql, {session().DbCatalog, userId}, &ok);
    if (!ok)
        return Marker::Failed;
    return got.toBool() ? Marker::Taken : Marker::HeldElsewhere;
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

LogonResult unreachable(Database &db, QString *why)
{
    if (why)
        *why = db.lastError().text();
    return LogonResult::ServerUnreachable;
}

} // namespace

void SetSessionUser(const QSqlRecord &row)
{
    Session &s = session();
    s.CurrentUserId = row.value(QStringLiteral("UTL_ID")).toInt();
    s.CurrentUserLogin = row.value(QStringLiteral("UTL_LOGIN")).toString();
    s.CurrentUserRole = row.value(QStringLiteral("UTL_ROLE")).toInt();
    for (Right r : allRights())
        s.setRight(r, granted(row.value(QLatin1String(rightColumn(r)))));
}

LogonResult CheckLogon(TFrmData &data, int userId, const QString &password, QString *why)
{
    if (userId <= 0)
        return LogonResult::NoUser;
    Database &db = data.db();
    SqlRows q = db.query(QStringLiteral("SELECT * FROM UTILISATEUR WHERE UTL_ID = ?"), {userId});
    if (!q.isActive())
        return unreachable(db, why);
    if (!q.next())
        return LogonResult::UserGone;
    const QSqlRecord row = q.record();
    q.finish();
    const QVariant stored = row.value(QStringLiteral("UTL_PASSWORD"));
    const PasswordCheck check = CheckPassword(password, stored.toString(), stored.isNull());
    if (check == PasswordCheck::Wrong)
        return LogonResult::WrongPassword;

    if (db.dialect().isPostgres()) {
        switch (takeMarker(db, userId)) {
        case Marker::Taken: break;
        case Marker::HeldElsewhere: return LogonResult::AlreadyConnected;
        case Marker::Failed: return unreachable(db, why);
        }
        // A connection made again has lost the marker: it is taken again.
        db.setAfterReconnect([&db, userId] {
            if (takeMarker(db, userId) != Marker::Taken)
                warn(LogonMessage(LogonResult::AlreadyConnected));
        });
    }

    if (check == PasswordCheck::RightButOldForm) {
        // Accepted once in its old form, stored from now on as a hash.
        const QString hash = HashPassword(password);
        if (!hash.isEmpty())
            db.exec(QStringLiteral("UPDATE UTILISATEUR SET UTL_PASSWORD = ? WHERE UTL_ID = ?"), {hash, userId});
    }

    SetSessionUser(row);
    restrictDocumentTypes(data);
    return LogonResult::Ok;
}

QString LogonMessage(LogonResult r, const QString &why)
{
    switch (r) {
    case LogonResult::WrongPassword:
        return tr2(QStringLiteral("Mot de passe incorrect."), QStringLiteral("كلمة المرور غير صحيحة."));
    case LogonResult::AlreadyConnected:
        return tr2(QStringLiteral("Utilisateur déja connecté."), QStringLiteral("المستخدم متصل حاليا."));
    case LogonResult::UserGone:
        return tr2(QStringLiteral("Cet utilisateur n'existe plus : choisissez dans la liste mise à jour."),
                   QStringLiteral("هذا المستخدم لم يعد موجودا : اختر من القائمة المحدثة."));
    case LogonResult::ServerUnreachable:
        return serverUnreachableMessage(why);
    default:
        return {};
    }
}

void ReleaseLogonMarker(TFrmData &data, int userId)
{
    Database &db = data.db();
    db.setAfterReconnect({});
    if (db.isOpen() && db.dialect().isPostgres())
        db.scalar(kUnlockSql, {session().DbCatalog, userId});
}

bool ActForUser(Database &db, const QString &login, QString *why)
{
    const QString name = login.trimmed();
    SqlRows q = name.isEmpty()
        ? db.query(QStringLiteral("SELECT * FROM UTILISATEUR WHERE UTL_ROLE = 1 ORDER BY UTL_ID"))
        : db.query(QStringLiteral("SELECT * FROM UTILISATEUR WHERE UTL_LOGIN = ?"), {name});
    if (!q.isActive()) {
        *why = db.lastError().text();
        return false;
    }
    if (!q.next()) {
        *why = name.isEmpty() ? tr2(QStringLiteral("La base de données n'a aucun administrateur : nommez l'utilisateur."),
                                    QStringLiteral("لا يوجد أي مدير في قاعدة البيانات : حدد المستخدم."))
                              : tr2(QStringLiteral("Utilisateur inconnu : %1"), QStringLiteral("مستخدم غير معروف : %1")).arg(name);
        return false;
    }
    SetSessionUser(q.record());
    return true;
}

} // namespace folian
