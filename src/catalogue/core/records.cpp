#include "catalogue/core/records.h"

#include "base/dates.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

bool isManager(const Session &s)
{
    return s.CurrentUserRole == int(Role::Administrateur) || s.CurrentUserRole == int(Role::ResponsableCatalogage);
}

QString quoted(const QVariant &v) { return u'"' + v.toString() + u'"'; }

QString dateText(const QVariant &v)
{
    const QDate d = v.toDate();
    return d.isValid() ? ShowDate(d) : v.toString();
}

struct CopyHolders {
    bool found = false;
    QVariant borrower, dueDate, reserver;
};

CopyHolders holdersOf(Database &db, const QVariant &expId)
{
    CopyHolders h;
    SqlRows q = db.query(
        QStringLiteral("SELECT LEC_ID, EXP_DATE_RETOUR, LEC_ID2 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {expId});
    if (q.isActive() && q.next()) {
        h.found = true;
        h.borrower = q.value(0);
        h.dueDate = db.dialect().fromDb(q.value(1), ColType::Date);
        h.reserver = q.value(2);
    }
    return h;
}

} // namespace

CataloguerRights CataloguerRights::of(Database &db, const Session &s)
{
    CataloguerRights r;
    r.manager = isManager(s);
    r.notice = allowed(Right::CatNotice, s);
    r.login = s.CurrentUserLogin;
    r.types = cataloguableTypes(db, s);
    return r;
}

bool CataloguerRights::mayEdit(const QVariant &typId) const
{
    if (manager)
        return true;
    return notice && !IsBlank(typId) && types.contains(typId.toString());
}

bool CataloguerRights::mayDelete(const QVariant &createUser) const
{
    if (manager)
        return true;
    return notice && !login.isEmpty() && createUser.toString() == login;
}

QStringList cataloguableTypes(Database &db, const Session &s)
{
    SqlRows q = isManager(s)
        ? db.query(QStringLiteral("SELECT TYP_ID FROM TYPE_DOCUMENT ORDER BY TYP_ID"))
        : db.query(QStringLiteral("SELECT T.TYP_ID FROM TYPE_DOCUMENT T WHERE T.TYP_ID IN "
                                  "(SELECT C.TYP_ID FROM CATALOGAGE C WHERE C.UTL_ID = ?) ORDER BY T.TYP_ID"),
                   {s.CurrentUserId});
    QStringList out;
    while (q.isActive() && q.next())
        out << q.value(0).toString();
    return out;
}

QString authorTypeName(const QVariant &autType, const QVariant &recordLanguage)
{
    static const char16_t *fr[3] = {u"Auteur principal", u"Co-auteur", u"Auteur secondaire"};
    static const char16_t *ar[3] = {u"مؤلف رئيسي", u"مؤلف مساعد", u"مؤلف ثانوي"};
    bool ok = false;
    const int t = autType.toInt(&ok);
    if (!ok || t < 1 || t > 3)
        return {};
    const bool arabic = recordLanguage.toString().trimmed().compare(QLatin1String("ara"), Qt::CaseInsensitive) == 0;
    return QString::fromUtf16(arabic ? ar[t - 1] : fr[t - 1]);
}

QString recordDeleteRefusal(Database &db, const QVariant &docId)
{
    SqlRows q = db.query(QStringLiteral("SELECT EXP_ID, LEC_ID, EXP_DATE_RETOUR, LEC_ID2 FROM NOTICE_EXEMPLAIRE "
                                        "WHERE DOC_ID = ? AND NOT (")
                             + CopyIsFreeCondition() + QStringLiteral(") ORDER BY EXP_ID"),
                         {docId});
    if (!q.isActive())
        return TFrmData::DeleteErrorMessage();
    if (!q.next())
        return {};
    const QVariant expId = q.value(0);
    if (!IsBlank(q.value(1)))
        return tr2(QStringLiteral("Suppression impossible, l'exemplaire ") + quoted(expId)
                       + QStringLiteral(" de cette notice est actuellement emprunté  jusqu'au : '")
                       + dateText(db.dialect().fromDb(q.value(2), ColType::Date)) + u'\'',
                   QStringLiteral("لا يمكنك الحذف, النسخة") + quoted(expId) + QStringLiteral(" من هذه البطاقة معارة حتى : '")
                       + dateText(db.dialect().fromDb(q.value(2), ColType::Date)) + u'\'');
    return tr2(QStringLiteral("Suppression impossible, l'exemplaire ") + quoted(expId)
                   + QStringLiteral(" de cette notice est réservé par un lecteur."),
               QStringLiteral("لا يمكنك الحذف, النسخة") + quoted(expId) + QStringLiteral(" من هذه البطاقة محجوزة لقارئ."));
}

QString recordDeleteRightRefusal(Database &db, const CataloguerRights &rights, const QVariant &docId)
{
    if (!rights.mayCreate())
        return notAllowedMessage(session(), rightLabel(Right::CatNotice));
    const QVariant creator = db.scalar(QStringLiteral("SELECT CREATE_USER FROM NOTICE WHERE DOC_ID = ?"), {docId});
    if (!rights.mayDelete(creator))
        return tr2(QStringLiteral("Vous ne pouvez supprimer que les notices que vous avez créées."),
                   QStringLiteral("لا يمكنك حذف إلا البطاقات التي أنشأتها."));
    return {};
}

QString deleteRecord(TFrmData &data, const QVariant &docId)
{
    return deleteRecord(data, CataloguerRights::of(data.db(), session()), docId);
}

QString deleteRecord(TFrmData &data, const CataloguerRights &rights, const QVariant &docId)
{
    Database &db = data.db();
    if (QString refusal = recordDeleteRightRefusal(db, rights, docId); !refusal.isEmpty())
        return refusal;
    if (QString refusal = recordDeleteRefusal(db, docId); !refusal.isEmpty())
        return refusal;
    Dataset *n = data.QNotice;
    if (n->isEditing())
        n->cancel();
    const bool positioned = n->isOpen() && sameValue(n->value(QStringLiteral("DOC_ID")), docId);
    if (!positioned && !(n->isOpen() && n->locate(QStringLiteral("DOC_ID"), docId))) {
        if (!n->open(QStringLiteral("SELECT * FROM NOTICE WHERE DOC_ID = ?"), {docId}) || n->rowCount() == 0)
            return tr2(QStringLiteral("La notice n'existe pas."), QStringLiteral("البطاقة غير موجودة."));
    }
    SilentScope quiet;  // the reason is told here
    if (n->remove())
        return {};
    // A copy lent meanwhile by another workstation: say which.
    if (QString refusal = recordDeleteRefusal(db, docId); !refusal.isEmpty())
        return refusal;
    return TFrmData::DeleteErrorMessage() + u'\n' + n->lastError();
}

QString copyEditRefusal(Database &db, const QVariant &expId)
{
    const CopyHolders h = holdersOf(db, expId);
    if (!h.found || IsBlank(h.borrower))
        return {};
    return tr2(QStringLiteral("Impossible de modifier, l'exemplaire ") + quoted(expId)
                   + QStringLiteral(" est actuellement emprunté  jusqu'au : ") + u'\'' + dateText(h.dueDate) + u'\'',
               QStringLiteral("لا يمكنك إجراء أي تعديل, النسخة") + quoted(expId) + QStringLiteral(" معارة حتى : ") + u'\''
                   + dateText(h.dueDate) + u'\'');
}

QString copyDeleteRefusal(Database &db, const QVariant &expId)
{
    const CopyHolders h = holdersOf(db, expId);
    if (!h.found)
        return {};
    if (!IsBlank(h.borrower))
        return tr2(QStringLiteral("Suppression impossible, l'exemplaire ") + quoted(expId)
                       + QStringLiteral(" est actuellement emprunté  jusqu'au : ") + u'\'' + dateText(h.dueDate) + u'\'',
                   QStringLiteral("لا يمكنك الحذف, النسخة") + quoted(expId) + QStringLiteral(" معارة حتى : ") + u'\''
                       + dateText(h.dueDate) + u'\'');
    if (!IsBlank(h.reserver))
        return tr2(QStringLiteral("Suppression impossible, l'exemplaire ") + quoted(expId)
                       + QStringLiteral(" est réservé par un lecteur."),
                   QStringLiteral("لا يمكنك الحذف, النسخة") + quoted(expId) + QStringLiteral(" محجوزة لقارئ."));
    return {};
}

QString copyDeleteQuestion(const QVariant &expId)
{
    return tr2(QStringLiteral("Supprimer l'exemplaire ") + quoted(expId) + QStringLiteral(" ?"),
               QStringLiteral("حذف النسخة ") + quoted(expId) + QStringLiteral(" ؟"));
}

QString issueDeleteQuestion(const QVariant &number)
{
    return tr2(QStringLiteral("Supprimer le bulletin ") + quoted(number) + QStringLiteral(" ?"),
               QStringLiteral("حذف النشرة ") + quoted(number) + QStringLiteral(" ؟"));
}

QString resourceDeleteQuestion(const QVariant &link)
{
    return tr2(QStringLiteral("Supprimer la ressource ") + quoted(link) + QStringLiteral(" ?"),
               QStringLiteral("حذف المصدر ") + quoted(link) + QStringLiteral(" ؟"));
}

QString referenceName(Database &db, const QString &keyColumn, const QVariant &key, bool arabic)
{
    if (IsBlank(key))
        return {};
    const QString k = keyColumn.toUpper();
    QString sql;
    if (k == QLatin1String("EDT_ID") || k == QLatin1String("EDT_ID2"))
        sql = arabic ? QStringLiteral("SELECT COALESCE(NULLIF(TRIM(EDT_NOM_AR), ''), EDT_NOM) FROM EDITEUR WHERE EDT_ID = ?")
                     : QStringLiteral("SELECT EDT_NOM FROM EDITEUR WHERE EDT_ID = ?");
    else if (k == QLatin1String("COL_ID"))
        sql = QStringLiteral("SELECT COL_TITRE_PROPRE FROM COLLECTION WHERE COL_ID = ?");
    else if (k == QLatin1String("SCL_ID"))
        sql = QStringLiteral("SELECT SCL_TITRE_PROPRE FROM SOUS_COLLECTION WHERE SCL_ID = ?");
    else
        return {};
    return db.scalar(sql, {key}).toString();
}

bool storeCopyCount(Dataset &notice, Database &db)
{
    const QVariant docId = notice.value(QStringLiteral("DOC_ID"));
    if (IsBlank(docId) || !notice.edit())
        return false;
    bool ok = false;
    const int copies = db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ?"), {docId}, &ok).toInt();
    if (!ok || !notice.setValue(QStringLiteral("DOC_NBR_EXEMPLAIRE"), copies > 0 ? QVariant(copies) : QVariant())
        || !notice.post()) {
        notice.cancel();
        return false;
    }
    return true;
}

QString withRecordLineBreaks(const QString &text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    out.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return out;
}

bool hasTitle(const Dataset &notice) { return !IsBlank(notice.value(QStringLiteral("DOC_TITRE_PROPRE"))); }

QString titleRequiredMessage()
{
    return tr2(QStringLiteral("Le titre propre est obligatoire."), QStringLiteral("العنوان الأصلي إجباري."));
}

} // namespace folian
