#include "acquisitions/core/receivedcopies.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/receiving_p.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/records.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/newkey.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

// The sheet's values as the copy's columns hold them, or the refusal.
struct CopyValues {
    QVariant id, shelfMark, altNumber, observation, location, support, status;
};

std::optional<CopyValues> copyValues(Database &db, const CopySheet &c, QString *refusal)
{
    if (c.id.trimmed().isEmpty()) {
        *refusal = acq::copyNumberRequired();
        return std::nullopt;
    }
    CopyValues v;
    if (!columnValues(db, "NOTICE_EXEMPLAIRE",
                      {{"EXP_ID", u"N° exemplaire", u"رقم النسخة", c.id, &v.id},
                       {"EXP_COTE", u"Cote", u"الرمز", c.shelfMark, &v.shelfMark},
                       {"EXP_INV", u"N° alternatif", u"الرقم البديل", c.altNumber, &v.altNumber},
                       {"EXP_OBSERVATION", u"Observation", u"ملاحظة", c.observation, &v.observation}},
                      refusal))
        return std::nullopt;
    v.location = receiving::locationKey(c.location);
    v.support = receiving::supportKey(c.support);
    v.status = receiving::statusKey(c.status);
    return v;
}

struct IssueValues {
    QVariant number, title, date;
};

std::optional<IssueValues> issueValues(Database &db, const IssueSheet &s, QString *refusal)
{
    if (s.number.trimmed().isEmpty()) {
        *refusal = acq::issueNumberRequired();
        return std::nullopt;
    }
    IssueValues v;
    if (!columnValues(db, "NOTICE_BULLETIN",
                      {{"BUL_NUMERO", u"N° bulletin", u"رقم النشرة", s.number, &v.number},
                       {"BUL_TITRE", u"Titre (n° spécial)", u"العنوان (عدد خاص)", s.title, &v.title},
                       {"BUL_DATE", u"Date de parution", u"تاريخ الصدور", s.date, &v.date}},
                      refusal))
        return std::nullopt;
    return v;
}

} // namespace

QString copiesRefusal(Database &db, int line, int count)
{
    SqlRows q = db.query(QStringLiteral("SELECT COALESCE(L.ACQ_EXEMPLAIRE, 0), COALESCE(L.ACQ_NBR_LIVRE, 0), A.ACQ_TYP "
                                          "FROM ACQUISITION_LIGNE L JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID "
                                          "WHERE L.ACQ_LIGNE_ID = ?"),
                           {line});
    if (!q.next())
        return acq::lineGone();
    if (q.value(2).toInt() == int(AcqType::Subscription))
        return {};
    const int remaining = q.value(0).toInt() - q.value(1).toInt();
    if (remaining <= 0)
        return acq::lineFullyDelivered();
    return remaining < count ? acq::countIncorrect() : QString();
}

AcqResult addReceivedCopy(Database &db, const ReceiptTarget &target, const CopySheet &copy)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<CopyValues> v = copyValues(db, copy, &refusal);
    if (!v)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        receiving::Line line;
        const AcqResult raised = receiving::raise(db, target, 1, &line);
        if (!raised.passed)
            return raised;
        receiving::CopyCommon common;
        common.record = line.record;
        common.delivery = target.delivery > 0 ? QVariant(target.delivery) : QVariant();
        common.line = target.line;
        common.mode = target.mode;
        common.price = line.price;
        // Entered directly on a line, a copy is acquired on its document's date.
        const QDate acquired = target.delivery > 0 || !line.documentDate.isValid() ? line.date : line.documentDate;
        common.date = dateValue(db, acquired);
        common.location = v->location;
        common.support = v->support;
        common.status = v->status;
        common.observation = v->observation;
        if (!receiving::insertCopies(db, common, {{v->id.toString(), v->shelfMark, v->altNumber}})) {
            const bool taken = db.dialect().isDuplicateKey(db.lastError());
            return taken ? AcqResult::refused(acq::copyNumberTaken(v->id.toString())) : databaseError(db);
        }
        if (!receiving::recordReceived(db, line.record))
            return databaseError(db);
        return AcqResult::done(target.line);
    });
}

AcqResult updateReceivedCopy(Database &db, const QString &id, const CopySheet &copy)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<CopyValues> v = copyValues(db, copy, &refusal);
    if (!v)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        // Only a copy that is not lent: the statement decides.
        SqlRows q = db.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_ID = ?, EXP_COTE = ?, EXP_INV = ?, LOC_ID = ?, "
                                              "SUP_ID = ?, STA_EXP_ID = ?, EXP_OBSERVATION = ? "
                                              "WHERE EXP_ID = ? AND COALESCE(TRIM(LEC_ID), '') = ''"),
                               {v->id, v->shelfMark, v->altNumber, v->location, v->support, v->status, v->observation, id});
        if (!q.isActive())
            return db.dialect().isDuplicateKey(db.lastError()) ? AcqResult::refused(acq::copyNumberTaken(v->id.toString()))
                                                               : databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done();
        const QString lent = copyEditRefusal(db, id);
        return AcqResult::refused(lent.isEmpty() ? acq::copyGone(id) : lent);
    });
}

AcqResult deleteReceivedCopy(Database &db, const QString &id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows read = db.query(QStringLiteral("SELECT LIV_ID, ACQ_LIGNE_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {id});
        if (!read.isActive())
            return databaseError(db);
        if (!read.next())
            return AcqResult::refused(acq::copyGone(id));
        const QVariant delivery = read.value(0), line = read.value(1);
        // Deleted only while free; the counts lowered only by the deletion
        // that took place, so twice by nobody.
        SqlRows q = db.query(QStringLiteral("DELETE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ? AND ") + CopyIsFreeCondition(), {id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1) {
            const QString held = copyDeleteRefusal(db, id);
            return AcqResult::refused(held.isEmpty() ? acq::copyGone(id) : held);
        }
        if (!IsBlank(line)
            && !db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = ACQ_NBR_LIVRE - 1 "
                                       "WHERE ACQ_LIGNE_ID = ? AND ACQ_NBR_LIVRE > 0"),
                        {line}))
            return databaseError(db);
        if (!IsBlank(delivery) && !IsBlank(line)
            && !db.exec(QStringLiteral("UPDATE LIVRAISON_LIGNE SET LIV_EXEMPLAIRE = LIV_EXEMPLAIRE - 1 "
                                       "WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ? AND LIV_EXEMPLAIRE > 0"),
                        {delivery, line}))
            return databaseError(db);
        return AcqResult::done();
    });
}

CopySheet loadCopy(Database &db, const QString &id)
{
    CopySheet c;
    SqlRows q = db.query(QStringLiteral("SELECT EXP_ID, EXP_COTE, EXP_INV, LOC_ID, SUP_ID, STA_EXP_ID, EXP_OBSERVATION "
                                          "FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"),
                           {id});
    if (!q.next())
        return c;
    c.id = q.value(0).toString();
    c.shelfMark = q.value(1).toString();
    c.altNumber = q.value(2).toString();
    c.location = q.value(3);
    c.support = q.value(4);
    c.status = q.value(5);
    c.observation = q.value(6).toString();
    return c;
}

AcqResult addReceivedIssue(Database &db, const ReceiptTarget &target, const IssueSheet &issue)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<IssueValues> v = issueValues(db, issue, &refusal);
    if (!v)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        // The line and the delivered title locked, their counts unchanged.
        receiving::Line line;
        const AcqResult locked = receiving::raise(db, target, 0, &line);
        if (!locked.passed)
            return locked;
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("NOTICE_BULLETIN"), QStringLiteral("BUL_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO NOTICE_BULLETIN (BUL_ID, DOC_ID, BIB_ID, BUL_NUMERO, BUL_TITRE, "
                                              "BUL_DATE, BUL_STATUT, LIV_ID, ACQ_LIGNE_ID) VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?)"),
                               {key, line.record, v->number, v->title, v->date, issue.received ? 1 : 0,
                                target.delivery > 0 ? QVariant(target.delivery) : QVariant(), target.line});
            },
            {}, &id);
        // An awaited issue has not come: the record stays on order.
        if (done != KeyedInsert::Done || (issue.received && !receiving::recordReceived(db, line.record)))
            return databaseError(db);
        return AcqResult::done(id);
    });
}

AcqResult updateIssue(Database &db, const IssueSheet &issue)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<IssueValues> v = issueValues(db, issue, &refusal);
    if (!v)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows q = db.query(QStringLiteral("UPDATE NOTICE_BULLETIN SET BUL_NUMERO = ?, BUL_TITRE = ?, BUL_DATE = ?, "
                                              "BUL_STATUT = ? WHERE BUL_ID = ?"),
                               {v->number, v->title, v->date, issue.received ? 1 : 0, issue.id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1)
            return AcqResult::refused(acq::issueGone());
        // An awaited issue that has come receives its record.
        bool ok = true;
        const int record = issue.received ? countRows(db, QStringLiteral("SELECT DOC_ID FROM NOTICE_BULLETIN WHERE BUL_ID = ?"),
                                                      {issue.id}, &ok)
                                          : 0;
        if (!ok || (record > 0 && !receiving::recordReceived(db, record)))
            return databaseError(db);
        return AcqResult::done(issue.id);
    });
}

AcqResult deleteIssue(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows q = db.query(QStringLiteral("DELETE FROM NOTICE_BULLETIN WHERE BUL_ID = ?"), {id});
        if (!q.isActive())
            return databaseError(db);
        return q.numRowsAffected() == 1 ? AcqResult::done(id) : AcqResult::refused(acq::issueGone());
    });
}

IssueSheet loadIssue(Database &db, int id)
{
    IssueSheet s;
    SqlRows q = db.query(QStringLiteral("SELECT BUL_ID, BUL_NUMERO, BUL_TITRE, BUL_DATE, BUL_STATUT FROM NOTICE_BULLETIN "
                                          "WHERE BUL_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    s.number = q.value(1).toString();
    s.title = q.value(2).toString();
    s.date = q.value(3).toString();
    s.received = q.value(4).toInt() == 1;
    return s;
}

} // namespace folian
