#include "acquisitions/core/receipt.h"

#include "acquisitions/core/acqtexts.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/documenttotal.h"
#include "data/core/newkey.h"

#include <QSet>

namespace folian {

namespace {

// A line still waiting for copies.
const QString kNotFullyReceived = QStringLiteral("COALESCE(L.ACQ_EXEMPLAIRE, 0) <> COALESCE(L.ACQ_NBR_LIVRE, 0)");

// The bound delivery key in the select list of an INSERT ... SELECT.
QString deliveryParameter(Database &db)
{
    return db.dialect().typedParameter(*Schema::table(QStringLiteral("LIVRAISON_LIGNE"))->column(QStringLiteral("LIV_ID")));
}

std::optional<QVariant> deliveryNumber(Database &db, const QString &typed, QString *refusal)
{
    const QString number = typed.trimmed();
    if (number.isEmpty()) {
        *refusal = acq::deliveryNumberRequired();
        return std::nullopt;
    }
    return columnValue(db, "LIVRAISON", "LIV_NUMERO", tr2(QStringLiteral("N° livraison"), QStringLiteral("رقم الاستلام")),
                       number, refusal);
}

QString marks(qsizetype n) { return QStringLiteral("?, ").repeated(int(n) - 1) + u'?'; }

} // namespace

AcqResult receive(Database &db, const ReceiptRequest &r)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<QVariant> number = deliveryNumber(db, r.number, &refusal);
    if (!number)
        return AcqResult::refused(refusal);
    if (r.selectedOnly && r.lines.isEmpty())
        return AcqResult::refused(acq::noTitleSelected());
    const QDate date = r.date.isValid() ? r.date : serverToday(db);
    return inTransaction(db, [&] {
        if (!lockDocument(db, r.document))
            return databaseError(db);
        SqlRows doc = db.query(QStringLiteral("SELECT ACQ_TYP, ACQ_STATUT FROM ACQUISITION WHERE ACQ_ID = ?"), {r.document});
        if (!doc.isActive())
            return databaseError(db);
        if (!doc.next())
            return AcqResult::refused(acq::documentGone());
        const int type = doc.value(0).toInt();
        if (type != int(AcqType::Order) && type != int(AcqType::Subscription))
            return AcqResult::refused(acq::receiptWrongType());
        if (doc.value(1).toInt() != AcqStatus::Validated)
            return AcqResult::refused(acq::receiptNotValidated());
        QVariantList chosen;
        if (r.selectedOnly) {
            for (int line : r.lines)
                chosen << line;
            SqlRows q = db.query(QStringLiteral("SELECT ACQ_LIGNE_ID FROM ACQUISITION_LIGNE WHERE ACQ_ID = ? AND ACQ_LIGNE_ID IN (")
                                       + marks(chosen.size()) + u')',
                                   QVariantList{r.document} + chosen);
            if (!q.isActive())
                return databaseError(db);
            QSet<int> ofDocument;
            while (q.next())
                ofDocument.insert(q.value(0).toInt());
            for (int line : r.lines)
                if (!ofDocument.contains(line))
                    return AcqResult::refused(acq::lineNotOfDocument(line));
        }
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("LIVRAISON"), QStringLiteral("LIV_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO LIVRAISON (LIV_ID, LIV_NUMERO, LIV_DATE, ACQ_ID) VALUES (?, ?, ?, ?)"),
                               {key, *number, dateValue(db, date), r.document});
            },
            {}, &id);
        if (done != KeyedInsert::Done)
            return databaseError(db);
        QString sql = QStringLiteral("INSERT INTO LIVRAISON_LIGNE (LIV_ID, ACQ_LIGNE_ID, LIV_EXEMPLAIRE) SELECT ")
            + deliveryParameter(db) + QStringLiteral(", L.ACQ_LIGNE_ID, 0 FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = ? AND ")
            + kNotFullyReceived;
        QVariantList binds{id, r.document};
        if (r.selectedOnly) {
            sql += QStringLiteral(" AND L.ACQ_LIGNE_ID IN (") + marks(chosen.size()) + u')';
            binds << chosen;
        }
        SqlRows titles = db.query(sql, binds);
        if (!titles.isActive())
            return databaseError(db);
        return AcqResult::done(id, acq::linesCount(titles.numRowsAffected()).trimmed());
    });
}

AcqResult addDeliveredTitle(Database &db, int delivery, int line)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        if (!db.exec(db.dialect().lockRow(QStringLiteral("LIVRAISON"), QStringLiteral("LIV_ID")), {delivery}))
            return databaseError(db);
        bool ok = false;
        const QVariant document = db.scalar(QStringLiteral("SELECT ACQ_ID FROM LIVRAISON WHERE LIV_ID = ?"), {delivery}, &ok);
        if (!ok)
            return databaseError(db);
        if (document.isNull())
            return AcqResult::refused(acq::deliveryGone());
        SqlRows q = db.query(QStringLiteral("INSERT INTO LIVRAISON_LIGNE (LIV_ID, ACQ_LIGNE_ID, LIV_EXEMPLAIRE) SELECT ")
                                   + deliveryParameter(db)
                                   + QStringLiteral(", L.ACQ_LIGNE_ID, 0 FROM ACQUISITION_LIGNE L WHERE L.ACQ_LIGNE_ID = ? "
                                                    "AND L.ACQ_ID = ? AND ")
                                   + kNotFullyReceived
                                   + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM LIVRAISON_LIGNE D WHERE D.LIV_ID = ? "
                                                    "AND D.ACQ_LIGNE_ID = L.ACQ_LIGNE_ID)"),
                               {delivery, line, document, delivery});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done(line);
        ok = true;
        if (countRows(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ? AND ACQ_ID = ?"),
                  {line, document}, &ok)
            == 0)
            return ok ? AcqResult::refused(acq::lineNotOfDocument(line)) : databaseError(db);
        const int onDelivery = countRows(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                                     {delivery, line}, &ok);
        if (!ok)
            return databaseError(db);
        return AcqResult::refused(onDelivery > 0 ? acq::titleAlreadyDelivered() : acq::lineFullyDelivered());
    });
}

AcqResult removeDeliveredTitle(Database &db, int delivery, int line)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        // The title locked: a copy being received with it waits, then finds it gone.
        SqlRows lock = db.query(QStringLiteral("UPDATE LIVRAISON_LIGNE SET LIV_ID = LIV_ID WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                                  {delivery, line});
        if (!lock.isActive())
            return databaseError(db);
        if (lock.numRowsAffected() != 1)
            return AcqResult::refused(acq::titleNotDelivered());
        bool ok = true;
        const int copies = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                                 {delivery, line}, &ok);
        const int issues = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                                 {delivery, line}, &ok);
        if (!ok)
            return databaseError(db);
        if (copies + issues > 0)
            return AcqResult::refused(acq::titleHasReceipts(copies, issues));
        if (!db.exec(QStringLiteral("DELETE FROM LIVRAISON_LIGNE WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"), {delivery, line}))
            return databaseError(db);
        return AcqResult::done(line);
    });
}

AcqResult updateDelivery(Database &db, int delivery, const QString &typedNumber, const QDate &date)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    QString refusal;
    const std::optional<QVariant> number = deliveryNumber(db, typedNumber, &refusal);
    if (!number)
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows q = db.query(QStringLiteral("UPDATE LIVRAISON SET LIV_NUMERO = ?, LIV_DATE = ? WHERE LIV_ID = ?"),
                               {*number, dateValue(db, date.isValid() ? date : serverToday(db)), delivery});
        if (!q.isActive())
            return databaseError(db);
        return q.numRowsAffected() == 1 ? AcqResult::done(delivery) : AcqResult::refused(acq::deliveryGone());
    });
}

AcqResult deleteDelivery(Database &db, int delivery)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows lock = db.query(QStringLiteral("UPDATE LIVRAISON SET LIV_ID = LIV_ID WHERE LIV_ID = ?"), {delivery});
        if (!lock.isActive())
            return databaseError(db);
        if (lock.numRowsAffected() != 1)
            return AcqResult::refused(acq::deliveryGone());
        // Its titles locked too: a copy being received with one of them
        // waits, then finds it gone.
        if (!db.exec(QStringLiteral("UPDATE LIVRAISON_LIGNE SET LIV_ID = LIV_ID WHERE LIV_ID = ?"), {delivery}))
            return databaseError(db);
        bool ok = true;
        const int copies = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LIV_ID = ?"), {delivery}, &ok);
        const int issues = countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE LIV_ID = ?"), {delivery}, &ok);
        if (!ok)
            return databaseError(db);
        if (copies + issues > 0)
            return AcqResult::refused(acq::deliveryHasReceipts(copies, issues));
        if (!db.exec(QStringLiteral("DELETE FROM LIVRAISON_LIGNE WHERE LIV_ID = ?"), {delivery})
            || !db.exec(QStringLiteral("DELETE FROM LIVRAISON WHERE LIV_ID = ?"), {delivery}))
            return databaseError(db);
        return AcqResult::done(delivery);
    });
}

DeliverySheet loadDelivery(Database &db, int id)
{
    DeliverySheet s;
    SqlRows q = db.query(QStringLiteral("SELECT V.LIV_ID, V.LIV_NUMERO, V.LIV_DATE, V.ACQ_ID, A.ACQ_TYP, A.ACQ_NUMERO "
                                          "FROM LIVRAISON V LEFT JOIN ACQUISITION A ON A.ACQ_ID = V.ACQ_ID WHERE V.LIV_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    s.number = q.value(1).toString();
    s.date = db.dialect().fromDb(q.value(2), ColType::Date).toDate();
    s.document = q.value(3).toInt();
    s.type = AcqType(q.value(4).toInt());
    s.documentNumber = q.value(5).toString();
    return s;
}

SqlText deliveredTitlesSql(int delivery)
{
    return {QStringLiteral("SELECT D.LIV_ID, D.ACQ_LIGNE_ID, D.LIV_EXEMPLAIRE, L.ACQ_REFERENCE, L.ACQ_EXEMPLAIRE, L.ACQ_NBR_LIVRE, "
                           "L.DOC_ID, N.DOC_TITRE_PROPRE, N.DOC_TITRE_COMPLEMENT FROM LIVRAISON_LIGNE D "
                           "JOIN ACQUISITION_LIGNE L ON L.ACQ_LIGNE_ID = D.ACQ_LIGNE_ID "
                           "LEFT JOIN NOTICE N ON N.DOC_ID = L.DOC_ID WHERE D.LIV_ID = ? ORDER BY D.ACQ_LIGNE_ID"),
            {delivery}};
}

SqlText missingTitlesSql(int delivery)
{
    return {QStringLiteral("SELECT L.ACQ_LIGNE_ID, L.ACQ_REFERENCE, L.ACQ_EXEMPLAIRE, L.ACQ_NBR_LIVRE, L.DOC_ID, "
                           "(SELECT N.DOC_TITRE_PROPRE FROM NOTICE N WHERE N.DOC_ID = L.DOC_ID) AS DOC_TITRE_PROPRE, "
                           "(SELECT N.DOC_TITRE_COMPLEMENT FROM NOTICE N WHERE N.DOC_ID = L.DOC_ID) AS DOC_TITRE_COMPLEMENT "
                           "FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = (SELECT V.ACQ_ID FROM LIVRAISON V WHERE V.LIV_ID = ?) AND ")
                + kNotFullyReceived
                + QStringLiteral(" AND L.ACQ_LIGNE_ID NOT IN (SELECT D.ACQ_LIGNE_ID FROM LIVRAISON_LIGNE D WHERE D.LIV_ID = ?) "
                                 "ORDER BY ACQ_LIGNE_ID"),
            {delivery, delivery}};
}

int missingTitles(Database &db, int delivery)
{
    const SqlText t = missingTitlesSql(delivery);
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM (") + t.sql + QStringLiteral(") M"), t.binds).toInt();
}

SqlText copiesWithLabelsSql(const QString &condition, const QVariantList &binds)
{
    const QString sfx = session().LanguageSuffix;
    return {QStringLiteral("SELECT E.*, (SELECT O.LOC_LIBELLE FROM LOCALISATION O WHERE O.LOC_ID = E.LOC_ID) AS LOC_LIBELLE, "
                           "(SELECT S.SUP_LIBELLE%1 FROM SUPPORT S WHERE S.SUP_ID = E.SUP_ID) AS SUP_LIBELLE, "
                           "(SELECT T.STA_EXP_LIBELLE%1 FROM STATUT_EXEMPLAIRE T WHERE T.STA_EXP_ID = E.STA_EXP_ID) "
                           "AS STA_EXP_LIBELLE FROM NOTICE_EXEMPLAIRE E WHERE %2 ORDER BY EXP_ID")
                .arg(sfx, condition),
            binds};
}

SqlText deliveredCopiesSql(int delivery, int line)
{
    return copiesWithLabelsSql(QStringLiteral("E.LIV_ID = ? AND E.ACQ_LIGNE_ID = ?"), {delivery, line});
}

SqlText deliveredIssuesSql(int delivery, int line)
{
    return {QStringLiteral("SELECT * FROM NOTICE_BULLETIN WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ? ORDER BY BUL_ID"), {delivery, line}};
}

SqlText deliverySearchSql(const Dialect &d, const DeliveryCriteria &c)
{
    SqlText t;
    t.sql = QStringLiteral("SELECT V.*, (SELECT A.ACQ_NUMERO FROM ACQUISITION A WHERE A.ACQ_ID = V.ACQ_ID) AS COMMANDE, "
                           "(SELECT F.FOU_LIBELLE FROM ACQUISITION A JOIN FOURNISSEUR F ON F.FOU_ID = A.FOU_ID "
                           "WHERE A.ACQ_ID = V.ACQ_ID) AS FOURNISSEUR FROM LIVRAISON V");
    QStringList where;
    if (!c.number.trimmed().isEmpty()) {
        where << d.likeNoCase(QStringLiteral("V.LIV_NUMERO"));
        t.binds << LikePattern(c.number);
    }
    if (!c.orderNumber.trimmed().isEmpty()) {
        where << QStringLiteral("V.ACQ_ID IN (SELECT A.ACQ_ID FROM ACQUISITION A WHERE ") + d.likeNoCase(QStringLiteral("A.ACQ_NUMERO"))
                + u')';
        t.binds << LikePattern(c.orderNumber);
    }
    if (c.supplier != 0) {
        where << QStringLiteral("V.ACQ_ID IN (SELECT A.ACQ_ID FROM ACQUISITION A WHERE A.FOU_ID = ?)");
        t.binds << c.supplier;
    }
    if (c.from.isValid()) {
        where << QStringLiteral("V.LIV_DATE >= ?");
        t.binds << d.toDb(c.from, ColType::Date);
    }
    if (c.to.isValid()) {
        where << QStringLiteral("V.LIV_DATE <= ?");
        t.binds << d.toDb(c.to, ColType::Date);
    }
    if (!where.isEmpty())
        t.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    t.sql += QStringLiteral(" ORDER BY LIV_DATE DESC, LIV_ID DESC");
    return t;
}

QString deliveryCountLine(Database &db)
{
    return LookupCountText(db, QStringLiteral("LIVRAISON"), tr2(QStringLiteral("Livraisons"), QStringLiteral("الاستلامات")),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
