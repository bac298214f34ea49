#include "circulation/core/categories.h"

#include "base/rights.h"

#include "base/messages.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copystate.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

QString failed(Database &db) { return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text(); }

// Runs a conditional delete; -1 on failure, else the rows deleted.
int deleted(Database &db, const QString &sql, const QVariantList &binds)
{
    SqlRows q = db.query(sql, binds);
    return q.isActive() ? q.numRowsAffected() : -1;
}

// Locks the row that is about to be deleted: an import into it, or a
// reader saved into it, finishes first or waits, and the deleting
// statement sees what it wrote.
bool lock(Database &db, const char *table, const char *keyColumn, int key)
{
    return db.exec(db.dialect().lockRow(QLatin1String(table), QLatin1String(keyColumn)), {key});
}

QString label(Database &db, const char *sql, const QVariant &key)
{
    return db.scalar(QLatin1String(sql), {key}).toString();
}

// Copies of the rule's type lent to or reserved by readers of its category.
const char *kRuleCopies = "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E JOIN NOTICE N ON N.DOC_ID = E.DOC_ID "
                          "WHERE N.TYP_ID = ? AND (E.LEC_ID IN (SELECT LEC_ID FROM LECTEUR WHERE CAT_ID = ?) "
                          "OR E.LEC_ID2 IN (SELECT LEC_ID FROM LECTEUR WHERE CAT_ID = ?))";

} // namespace

bool isReservedCategory(const QVariant &catId) { return !IsBlank(catId) && catId.toInt() == InterLibraryCategory; }

QString deleteCategory(Database &db, int catId)
{
    if (const QString refusal = rightRefusal(Right::CirculAdmin, session()); !refusal.isEmpty())
        return refusal;
    if (isReservedCategory(catId))
        return circ::categoryNotDeletable();
    Transaction tx(db);
    if (!lock(db, "CATEGORIE", "CAT_ID", catId))
        return failed(db);
    const int n = deleted(db,
                          QStringLiteral("DELETE FROM CATEGORIE WHERE CAT_ID = ? AND CAT_ID <> ? "
                                         "AND NOT EXISTS (SELECT 1 FROM LECTEUR WHERE CAT_ID = ?)"),
                          {catId, InterLibraryCategory, catId});
    if (n < 0)
        return failed(db);
    if (n == 0) {
        const int readers = db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR WHERE CAT_ID = ?"), {catId}).toInt();
        if (readers > 0)
            return circ::categoryInUse(label(db, "SELECT CAT_LIBELLE FROM CATEGORIE WHERE CAT_ID = ?", catId), readers);
        return TFrmData::DeleteErrorMessage();
    }
    if (!db.exec(QStringLiteral("DELETE FROM REGLEMENT WHERE CAT_ID = ?"), {catId}) || !tx.commit())
        return failed(db);
    return {};
}

QString deleteStructure(Database &db, int strId)
{
    if (const QString refusal = rightRefusal(Right::CirculAdmin, session()); !refusal.isEmpty())
        return refusal;
    Transaction tx(db);
    if (!lock(db, "STRUCTURE", "STR_ID", strId))
        return failed(db);
    const int n = deleted(db,
                          QStringLiteral("DELETE FROM STRUCTURE WHERE STR_ID = ? "
                                         "AND NOT EXISTS (SELECT 1 FROM LECTEUR WHERE STR_ID = ?)"),
                          {strId, strId});
    if (n < 0)
        return failed(db);
    if (n > 0)
        return tx.commit() ? QString() : failed(db);
    const int readers = db.scalar(QStringLiteral("SELECT COUNT(*) FROM LECTEUR WHERE STR_ID = ?"), {strId}).toInt();
    if (readers > 0)
        return circ::structureInUse(label(db, "SELECT STR_LIBELLE FROM STRUCTURE WHERE STR_ID = ?", strId), readers);
    return TFrmData::DeleteErrorMessage();
}

QString deleteRule(Database &db, int catId, const QString &typId)
{
    if (const QString refusal = rightRefusal(Right::CirculAdmin, session()); !refusal.isEmpty())
        return refusal;
    Transaction tx(db);
    // The loans, reservations and renewals under the rule hold it: they finish first, or wait.
    if (!db.exec(db.dialect().lockRows(QStringLiteral("REGLEMENT"), QStringLiteral("CAT_ID = ? AND TYP_ID = ?")),
                 {catId, typId}))
        return failed(db);
    const int n = deleted(db,
                          QStringLiteral("DELETE FROM REGLEMENT WHERE CAT_ID = ? AND TYP_ID = ? AND NOT EXISTS (")
                              + QString::fromLatin1(kRuleCopies).replace(QStringLiteral("SELECT COUNT(*)"),
                                                                        QStringLiteral("SELECT 1"))
                              + u')',
                          {catId, typId, typId, catId, catId});
    if (n < 0)
        return failed(db);
    if (n > 0)
        return tx.commit() ? QString() : failed(db);
    const int copies = db.scalar(QLatin1String(kRuleCopies), {typId, catId, catId}).toInt();
    return copies > 0 ? circ::ruleInUse(copies) : TFrmData::DeleteErrorMessage();
}

SqlText categoryRulesSql(int catId)
{
    return {QStringLiteral("SELECT R.*, (SELECT T.TYP_LIBELLE") + session().LanguageSuffix
                + QStringLiteral(" FROM TYPE_DOCUMENT T WHERE T.TYP_ID = R.TYP_ID) AS TYPE FROM REGLEMENT R WHERE R.CAT_ID = ?"),
            {catId}};
}

bool toggleProportionalPenalty(Database &db, int catId)
{
    if (!allowed(Right::CirculAdmin, session()))
        return false;
    SqlRows q = db.query(QStringLiteral("UPDATE CATEGORIE SET CAT_PENALITE_PROP = "
                                        "CASE WHEN COALESCE(CAT_PENALITE_PROP, 0) = 0 THEN 1 ELSE 0 END "
                                        "WHERE CAT_ID = ?"),
                         {catId});
    return q.isActive() && q.numRowsAffected() == 1;
}

QString ruleRefusal(Database &db, const QVariant &catId, const QVariant &typId, const QString &currentTypId)
{
    if (IsBlank(typId))
        return circ::ruleTypeRequired();
    const QString type = typId.toString();
    if (type == currentTypId)
        return {};
    const QVariant taken = db.scalar(QStringLiteral("SELECT TYP_ID FROM REGLEMENT WHERE CAT_ID = ? AND TYP_ID = ?"),
                                     {catId.toInt(), type});
    if (!taken.isValid())
        return {};
    QString name = db.scalar(QStringLiteral("SELECT TYP_LIBELLE") + session().LanguageSuffix
                                 + QStringLiteral(" FROM TYPE_DOCUMENT WHERE TYP_ID = ?"),
                             {type})
                       .toString();
    return circ::ruleDuplicate(name.isEmpty() ? type : name);
}

bool keepReservedLabel(Database &db, Dataset &categories)
{
    const QVariant id = categories.value(QStringLiteral("CAT_ID"));
    if (categories.state() != Dataset::State::Edit || !isReservedCategory(id))
        return true;
    bool ok = false;
    const QVariant stored = db.scalar(QStringLiteral("SELECT CAT_LIBELLE FROM CATEGORIE WHERE CAT_ID = ?"), {id.toInt()}, &ok);
    if (!ok || sameValue(stored, categories.value(QStringLiteral("CAT_LIBELLE"))))
        return true;
    if (!session().SilentMode)
        inform(circ::categoryLabelLocked());
    return false;
}

} // namespace folian
