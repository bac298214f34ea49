#include "admin/core/users.h"

#include "admin/core/passwords.h"
#include "base/rights.h"
#include "base/messages.h"
#include "data/core/shareddata.h"

#include <QSqlRecord>

namespace folian {

namespace {

QString mismatchMessage()
{
    return tr2(QStringLiteral("Attention le mot de passe et la confirmation n'ont pas la même valeur!!!!!!!"),
               QStringLiteral("حذاري محتوى المفتاح مختلف عن محتوى تأكيد المفتاح "));
}

int adminCount(Database &db, int exceptId)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR WHERE UTL_ROLE = 1 AND UTL_ID <> ?"), {exceptId})
        .toInt();
}

int storedRole(Database &db, int userId)
{
    return db.scalar(QStringLiteral("SELECT UTL_ROLE FROM UTILISATEUR WHERE UTL_ID = ?"), {userId}).toInt();
}

// Runs `body` with the shared error messages silenced: the caller reports
// the outcome itself.
template <typename F>
bool quietly(F body)
{
    SilentScope silent;
    return body();
}

} // namespace

RolePreset rolePreset(int role)
{
    RolePreset p;
    p.acqLocked = role == 1 || role == 2;
    p.catLocked = role == 1 || role == 3;
    p.circLocked = role == 1 || role == 4;
    p.typesEnabled = role != 1 && role != 3;
    return p;
}

bool lockedByRole(int role, Right r)
{
    const RolePreset p = rolePreset(role);
    switch (rightGroup(r)) {
    case 0: return p.acqLocked;
    case 1: return p.catLocked;
    default: return p.circLocked;
    }
}

Rights chosenRights(int storedRole, const Rights &stored)
{
    Rights out = stored;
    for (Right r : allRights())
        if (lockedByRole(storedRole, r))
            out[static_cast<size_t>(r)] = false;
    return out;
}

Rights sheetRights(int role, const Rights &chosen)
{
    Rights out{};
    for (Right r : allRights())
        out[static_cast<size_t>(r)] = lockedByRole(role, r) || chosen[static_cast<size_t>(r)];
    return out;
}

UserSheet loadUser(TFrmData &data, int userId)
{
    UserSheet u;
    Database &db = data.db();
    SqlRows q = db.query(QStringLiteral("SELECT * FROM UTILISATEUR WHERE UTL_ID = ?"), {userId});
    if (!q.isActive() || !q.next())
        return u;
    const QSqlRecord rec = q.record();
    auto text = [&](const char *c) { return q.value(rec.indexOf(QLatin1String(c))).toString(); };
    u.id = userId;
    u.login = text("UTL_LOGIN");
    u.nom = text("UTL_NOM");
    u.prenom = text("UTL_PRENOM");
    u.tel = text("UTL_TEL");
    u.email = text("UTL_EMAIL");
    u.adresse = text("UTL_ADRESSE");
    u.role = q.value(rec.indexOf(QStringLiteral("UTL_ROLE"))).toInt();
    for (Right r : allRights()) {
        const QVariant v = q.value(rec.indexOf(QLatin1String(rightColumn(r))));
        u.rights[static_cast<size_t>(r)] = !v.isNull() && v.toInt() == 1;
    }
    q.finish();
    u.keepPassword = true;
    SqlRows t = db.query(QStringLiteral("SELECT TYP_ID FROM CATALOGAGE WHERE UTL_ID = ?"), {userId});
    while (t.isActive() && t.next())
        if (!t.value(0).toString().trimmed().isEmpty())
            u.documentTypes.insert(t.value(0).toString());
    return u;
}

SaveUserResult saveUser(TFrmData &data, const UserSheet &sheet, int *savedId)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return {refusal};
    const QString login = sheet.login.trimmed();
    if (login.isEmpty() || sheet.nom.trimmed().isEmpty() || sheet.prenom.trimmed().isEmpty())
        return {tr2(QStringLiteral("Complétez votre inscription"), QStringLiteral("أكمل التسجيل")), UserField::Required};
    const bool isNew = sheet.id <= 0;
    const bool setPassword = isNew || !sheet.keepPassword;
    if (setPassword && sheet.password.isEmpty())
        return {tr2(QStringLiteral("Le mot de passe est obligatoire."), QStringLiteral("كلمة المرور إجبارية.")),
                UserField::Password};
    if (setPassword && sheet.password != sheet.confirmation)
        return {mismatchMessage(), UserField::Confirmation};

    Database &db = data.db();
    QString sql = QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR WHERE UTL_LOGIN = ?");
    QVariantList binds{login};
    if (!isNew) {
        sql += QStringLiteral(" AND UTL_ID <> ?");
        binds << sheet.id;
    }
    bool ok = false;
    const int same = db.scalar(sql, binds, &ok).toInt();
    if (!ok)
        return {TFrmData::PostErrorMessage()};
    if (same > 0)
        return {tr2(QStringLiteral("Ce Login existe déja"), QStringLiteral("إسم المستخدم موجود ")), UserField::Login};
    if (!isNew && sheet.role != 1 && storedRole(db, sheet.id) == 1 && adminCount(db, sheet.id) == 0)
        return {tr2(QStringLiteral("Le dernier administrateur ne peut pas perdre son rôle."),
                    QStringLiteral("لا يمكن سحب دور الإدارة من آخر مدير.")),
                UserField::Role};

    QString hash;
    if (setPassword) {
        hash = HashPassword(sheet.password);
        if (hash.isEmpty())
            return {TFrmData::PostErrorMessage()};
    }

    Dataset *users = data.QUtilisateur;
    Transaction tx(db);
    const bool saved = quietly([&] {
        if (!users->isOpen() && !users->open(QStringLiteral("SELECT * FROM UTILISATEUR")))
            return false;
        if (isNew) {
            if (!users->append())
                return false;
        } else if (!users->locate(QStringLiteral("UTL_ID"), sheet.id) || !users->edit()) {
            return false;
        }
        users->setValue(QStringLiteral("UTL_LOGIN"), login);
        users->setValue(QStringLiteral("UTL_NOM"), sheet.nom.trimmed());
        users->setValue(QStringLiteral("UTL_PRENOM"), sheet.prenom.trimmed());
        users->setValue(QStringLiteral("UTL_TEL"), sheet.tel);
        users->setValue(QStringLiteral("UTL_EMAIL"), sheet.email);
        users->setValue(QStringLiteral("UTL_ADRESSE"), sheet.adresse);
        users->setValue(QStringLiteral("UTL_ROLE"), sheet.role);
        // Rights that the role grants are stored as granted.
        for (Right r : allRights())
            users->setValue(QLatin1String(rightColumn(r)),
                            (lockedByRole(sheet.role, r) || sheet.rights[static_cast<size_t>(r)]) ? 1 : 0);
        if (setPassword)
            users->setValue(QStringLiteral("UTL_PASSWORD"), hash);
        if (!users->post()) {
            users->cancel();
            return false;
        }
        return true;
    });
    const int id = users->value(QStringLiteral("UTL_ID")).toInt();
    bool typesOk = saved;
    if (saved) {
        // The document types, matched by code: add the checked ones, remove the unchecked.
        QSet<QString> existing;
        SqlRows q = db.query(QStringLiteral("SELECT TYP_ID FROM CATALOGAGE WHERE UTL_ID = ?"), {id});
        while (q.isActive() && q.next())
            existing.insert(q.value(0).toString());
        q.finish();
        for (const QChar c : session().AllDocumentTypes) {
            const QString code(c);
            const bool want = sheet.documentTypes.contains(code);
            if (want && !existing.contains(code))
                typesOk = typesOk && db.exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (?, ?)"), {id, code});
            else if (!want && existing.contains(code))
                typesOk = typesOk && db.exec(QStringLiteral("DELETE FROM CATALOGAGE WHERE UTL_ID = ? AND TYP_ID = ?"), {id, code});
        }
    }
    if (!typesOk || !tx.commit())
        return {TFrmData::PostErrorMessage()};  // rolled back: the list reads the database again
    if (savedId)
        *savedId = id;
    return {};
}

QString deleteUserRefusal(TFrmData &data, int userId)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return refusal;
    if (userId == session().CurrentUserId)
        return tr2(QStringLiteral("Impossible de supprimer cet utilisateur."), QStringLiteral("لا يمكن حذف هذا المستخدم    "));
    Database &db = data.db();
    if (storedRole(db, userId) == 1 && adminCount(db, userId) == 0)
        return tr2(QStringLiteral("Impossible de supprimer le dernier administrateur."),
                   QStringLiteral("لا يمكن حذف آخر مدير."));
    return {};
}

QString deleteUser(TFrmData &data, int userId)
{
    if (const QString refusal = deleteUserRefusal(data, userId); !refusal.isEmpty())
        return refusal;
    Database &db = data.db();
    Dataset *users = data.QUtilisateur;
    Transaction tx(db);
    const bool ok = quietly([&] {
        if (!db.exec(QStringLiteral("DELETE FROM CATALOGAGE WHERE CATALOGAGE.UTL_ID = ?"), {userId}))
            return false;
        if (users->isOpen() && users->locate(QStringLiteral("UTL_ID"), userId))
            return users->remove();
        return db.exec(QStringLiteral("DELETE FROM UTILISATEUR WHERE UTL_ID = ?"), {userId});
    });
    if (!ok || !tx.commit())
        return TFrmData::DeleteErrorMessage();
    return {};
}

QString deleteUserQuestion(const QString &login)
{
    return tr2(QStringLiteral("Etes-vous sûr de vouloir supprimer l'utilisateur  ") + login + u'?',
               QStringLiteral(" هل أنت متأكد من حذف  المستخدم   ") + login + QStringLiteral("؟"));
}

} // namespace folian
