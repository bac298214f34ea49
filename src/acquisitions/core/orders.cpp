#include "acquisitions/core/orders.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/gifts.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/columnvalue.h"
#include "data/core/database.h"
#include "data/core/documenttotal.h"
#include "data/core/newkey.h"

namespace folian {

namespace {

QVariant dayOrNull(Database &db, const QDate &d) { return d.isValid() ? dateValue(db, d) : QVariant(); }

// A typed criterion matched as it stands, without regard to case: "%",
// "_" and "*" are themselves.
QString literalPattern(const QString &typed)
{
    QString out;
    for (const QChar c : typed.trimmed()) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

// The copies and issues received on (or given away from) the lines of a
// document (`where` picks the lines: "L.ACQ_ID = ?" or "L.ACQ_LIGNE_ID = ?").
const QString kCopiesOfLines = QStringLiteral(
    "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E WHERE E.ACQ_LIGNE_ID IN (SELECT L.ACQ_LIGNE_ID FROM ACQUISITION_LIGNE L WHERE %1) "
    "OR E.ACQ_LIGNE_ID2 IN (SELECT L.ACQ_LIGNE_ID FROM ACQUISITION_LIGNE L WHERE %1)");
const QString kIssuesOfLines = QStringLiteral(
    "SELECT COUNT(*) FROM NOTICE_BULLETIN B WHERE B.ACQ_LIGNE_ID IN (SELECT L.ACQ_LIGNE_ID FROM ACQUISITION_LIGNE L WHERE %1) "
    "OR B.ACQ_LIGNE_ID2 IN (SELECT L.ACQ_LIGNE_ID FROM ACQUISITION_LIGNE L WHERE %1)");

// The type of a document, locked; 0 when there is none (or on failure, with `ok` false).
int lockedDocumentType(Database &db, int id, bool *ok)
{
    *ok = lockDocument(db, id);
    if (!*ok)
        return 0;
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_TYP FROM ACQUISITION WHERE ACQ_ID = ?"), {id});
    *ok = q.isActive();
    return q.next() ? q.value(0).toInt() : 0;
}

AcqResult storeTotal(Database &db, int document)
{
    switch (storeDocumentTotal(db, document)) {
    case TotalStored::Done: return AcqResult::done(document);
    case TotalStored::TooLarge: return AcqResult::refused(amountTooLarge(acq::totalCaption()));
    case TotalStored::Failed: break;
    }
    return databaseError(db);
}

} // namespace

AcqResult saveDocument(Database &db, const DocumentSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const QString number = s.number.trimmed();
    if (number.isEmpty())
        return AcqResult::refused(acq::numberRequired());
    const bool withSupplier = hasSupplier(s.type);
    if (withSupplier && IsBlank(s.supplier))
        return AcqResult::refused(acq::supplierRequired());
    QString refusal;
    const std::optional<QVariant> num = columnValue(db, "ACQUISITION", "ACQ_NUMERO", acq::text(u"Numéro", u"الرقم"), number, &refusal);
    const std::optional<QVariant> partner =
        num ? columnValue(db, "ACQUISITION", "ACQ_PARTENAIRE", acq::text(u"Partenaire", u"الشريك"), s.partner.trimmed(), &refusal)
            : std::nullopt;
    if (!partner)
        return AcqResult::refused(refusal);
    const QDate date = s.date.isValid() ? s.date : serverToday(db);
    const QVariant supplier = withSupplier ? QVariant(s.supplier.toInt()) : QVariant();
    const QVariant currency = withSupplier && !IsBlank(s.currency) ? QVariant(s.currency.toInt()) : QVariant();
    const bool directed = s.type == AcqType::Gift || s.type == AcqType::Exchange;
    const QVariant direction = directed ? QVariant(s.direction) : QVariant();
    const QVariant partnerValue = withSupplier ? QVariant() : *partner;
    const QString login = session().CurrentUserLogin;
    return inTransaction(db, [&] {
        if (withSupplier) {
            // Locked: a deletion of the supplier at another workstation waits and then sees this document.
            if (!db.exec(db.dialect().lockRow(QStringLiteral("FOURNISSEUR"), QStringLiteral("FOU_ID")), {supplier}))
                return databaseError(db);
            bool ok = true;
            if (countRows(db, QStringLiteral("SELECT COUNT(*) FROM FOURNISSEUR WHERE FOU_ID = ?"), {supplier}, &ok) == 0)
                return ok ? AcqResult::refused(acq::supplierGone()) : databaseError(db);
        }
        if (!currency.isNull()) {
            // The same for its currency.
            if (!db.exec(db.dialect().lockRow(QStringLiteral("MONNAIE"), QStringLiteral("MON_ID")), {currency}))
                return databaseError(db);
            bool ok = true;
            if (countRows(db, QStringLiteral("SELECT COUNT(*) FROM MONNAIE WHERE MON_ID = ?"), {currency}, &ok) == 0)
                return ok ? AcqResult::refused(acq::currencyGone()) : databaseError(db);
        }
        if (s.id > 0 && directed) {
            // Locked, then the direction checked against the copies and issues its lines hold.
            bool ok = lockDocument(db, s.id);
            const QString locked = ok ? directionChangeRefusal(db, s.id, s.direction, &ok) : QString();
            if (!ok)
                return databaseError(db);
            if (!locked.isEmpty())
                return AcqResult::refused(locked);
        }
        if (s.id > 0) {
            SqlRows q = db.query(QStringLiteral("UPDATE ACQUISITION SET ACQ_NUMERO = ?, ACQ_DATE = ?, FOU_ID = ?, MON_ID = ?, "
                                                  "ACQ_PARTENAIRE = ?, ACQ_SENS = ?, UPDATE_USER = ?, UPDATE_DATE = ? "
                                                  "WHERE ACQ_ID = ?"),
                                   {*num, dateValue(db, date), supplier, currency, partnerValue, direction, login, auditStamp(db), s.id});
            if (!q.isActive())
                return databaseError(db);
            return q.numRowsAffected() == 1 ? AcqResult::done(s.id) : AcqResult::refused(acq::documentGone());
        }
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("ACQUISITION"), QStringLiteral("ACQ_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO ACQUISITION (ACQ_ID, ACQ_TYP, ACQ_NUMERO, ACQ_DATE, ACQ_STATUT, FOU_ID, "
                                              "MON_ID, ACQ_PARTENAIRE, ACQ_SENS, CREATE_USER, CREATE_DATE) "
                                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                               {key, int(s.type), *num, dateValue(db, date), AcqStatus::ToValidate, supplier, currency,
                                partnerValue, direction, login, auditStamp(db)});
            },
            {}, &id);
        return done == KeyedInsert::Done ? AcqResult::done(id) : databaseError(db);
    });
}

DocumentSheet loadDocument(Database &db, int id)
{
    DocumentSheet s;
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_ID, ACQ_TYP, FOU_ID, MON_ID, ACQ_DATE, ACQ_NUMERO, ACQ_PARTENAIRE, "
                                          "ACQ_SENS, ACQ_STATUT, ACQ_TOTAL FROM ACQUISITION WHERE ACQ_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    s.type = AcqType(q.value(1).toInt());
    s.supplier = q.value(2);
    s.currency = q.value(3);
    s.date = db.dialect().fromDb(q.value(4), ColType::Date).toDate();
    s.number = q.value(5).toString();
    s.partner = q.value(6).toString();
    s.direction = q.value(7).toInt();
    s.status = q.value(8).toInt();
    s.total = Money::fromVariant(q.value(9));
    return s;
}

AcqResult deleteDocument(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        bool ok = true;
        if (lockedDocumentType(db, id, &ok) == 0)
            return ok ? AcqResult::refused(acq::documentGone()) : databaseError(db);
        // Its lines locked too: a copy received on one of them at another
        // workstation is either counted here or finds the line gone.
        if (!db.exec(QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_ID = ACQ_ID WHERE ACQ_ID = ?"), {id}))
            return databaseError(db);
        const QString ofDocument = QStringLiteral("L.ACQ_ID = ?");
        const int deliveries = countRows(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON WHERE ACQ_ID = ?"), {id}, &ok);
        const int invoices = countRows(db, QStringLiteral("SELECT COUNT(*) FROM FACTURE WHERE ACQ_ID = ?"), {id}, &ok);
        const int received = countRows(db, kCopiesOfLines.arg(ofDocument), {id, id}, &ok)
            + countRows(db, kIssuesOfLines.arg(ofDocument), {id, id}, &ok);
        if (!ok)
            return databaseError(db);
        if (deliveries + invoices + received > 0)
            return AcqResult::refused(acq::documentHasDependants(deliveries, invoices, received));
        if (!db.exec(QStringLiteral("DELETE FROM ACQUISITION_LIGNE WHERE ACQ_ID = ?"), {id})
            || !db.exec(QStringLiteral("DELETE FROM ACQUISITION WHERE ACQ_ID = ?"), {id}))
            return databaseError(db);
        return AcqResult::done(id);
    });
}

AcqResult validateDocument(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows q = db.query(QStringLiteral("UPDATE ACQUISITION SET ACQ_STATUT = ?, UPDATE_USER = ?, UPDATE_DATE = ? "
                                              "WHERE ACQ_ID = ? AND ACQ_STATUT = ? AND ACQ_TYP <> ? "
                                              "AND EXISTS (SELECT 1 FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = ?)"),
                               {AcqStatus::Validated, session().CurrentUserLogin, auditStamp(db), id, AcqStatus::ToValidate,
                                int(AcqType::PreOrder), id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done(id);
        const DocumentSheet d = loadDocument(db, id);
        if (d.id == 0)
            return AcqResult::refused(acq::documentGone());
        if (d.type == AcqType::PreOrder)
            return AcqResult::refused(acq::notValidable());
        if (d.status == AcqStatus::Validated)
            return AcqResult::refused(acq::alreadyValidated());
        return AcqResult::refused(acq::validateNoLines());
    });
}

AcqResult convertToOrder(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        SqlRows q = db.query(QStringLiteral("UPDATE ACQUISITION SET ACQ_TYP = ?, UPDATE_USER = ?, UPDATE_DATE = ? "
                                              "WHERE ACQ_ID = ? AND ACQ_TYP = ?"),
                               {int(AcqType::Order), session().CurrentUserLogin, auditStamp(db), id, int(AcqType::PreOrder)});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1)
            return AcqResult::refused(loadDocument(db, id).id == 0 ? acq::documentGone() : acq::notAPreOrder());
        // Titles not on order until now are on order from now on.
        if (!db.exec(QStringLiteral("UPDATE NOTICE SET STA_ID = 3 WHERE STA_ID = 2 "
                                    "AND DOC_ID IN (SELECT L.DOC_ID FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = ?)"),
                     {id}))
            return databaseError(db);
        return AcqResult::done(id);
    });
}

AcqResult saveLine(Database &db, const LineSheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const QString copiesText = s.copies.trimmed();
    if (copiesText.isEmpty())
        return AcqResult::refused(acq::copiesRequired());
    QString refusal;
    const std::optional<QVariant> copiesValue =
        columnValue(db, "ACQUISITION_LIGNE", "ACQ_EXEMPLAIRE", acq::text(u"Nb exemplaire", u"عدد النسخ"), copiesText, &refusal);
    if (!copiesValue)
        return AcqResult::refused(refusal);
    const int copies = copiesValue->toInt();
    if (copies < 0)
        return AcqResult::refused(acq::copiesNegative());
    std::optional<Money> price;
    if (!s.price.trimmed().isEmpty()) {
        if (!columnValue(db, "ACQUISITION_LIGNE", "ACQ_PRIX", acq::priceCaption(), s.price, &refusal))
            return AcqResult::refused(refusal);
        price = Money::parse(s.price);
        if (price->cents() < 0)
            return AcqResult::refused(acq::priceNegative());
    }
    const std::optional<Money> amount = price ? price->times(copies) : std::optional<Money>(Money());
    if (!amount)
        return AcqResult::refused(amountTooLarge(acq::amountCaption()));
    if (s.record <= 0)
        return AcqResult::refused(acq::recordRequired());
    const std::optional<QVariant> reference = columnValue(db, "ACQUISITION_LIGNE", "ACQ_REFERENCE",
                                                          acq::text(u"Référence", u"المرجع"), s.reference.trimmed(), &refusal);
    const std::optional<QVariant> numbering =
        reference ? columnValue(db, "ACQUISITION_LIGNE", "ACQ_NUMEROTATION", acq::text(u"Numérotation", u"الترقيم"),
                                s.numbering.trimmed(), &refusal)
                  : std::nullopt;
    if (!numbering)
        return AcqResult::refused(refusal);
    const QVariant priceValue = price ? db.dialect().toDb(price->toVariant(), ColType::Money) : QVariant();
    const QVariantList values{s.record,
                              *reference,
                              copies,
                              priceValue,
                              db.dialect().toDb(amount->toVariant(), ColType::Money),
                              dayOrNull(db, s.expected),
                              dayOrNull(db, s.subscriptionStart),
                              dayOrNull(db, s.subscriptionEnd),
                              *numbering};
    return inTransaction(db, [&] {
        // The document first: every workstation changing its lines waits here.
        bool ok = true;
        const int type = lockedDocumentType(db, s.document, &ok);
        if (type == 0)
            return ok ? AcqResult::refused(acq::documentGone()) : databaseError(db);
        if (countRows(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID = ?"), {s.record}, &ok) == 0)
            return ok ? AcqResult::refused(acq::recordGone()) : databaseError(db);
        // An outgoing gift or exchange gives no more copies than the title has.
        const QString tooMany = outgoingLineRefusal(db, s.document, s.id, s.record, copies, &ok);
        if (!ok)
            return databaseError(db);
        if (!tooMany.isEmpty())
            return AcqResult::refused(tooMany);
        int id = s.id;
        if (id > 0) {
            // Copies are not lowered below those received (a subscription
            // receives beyond them); a title received stays the same record.
            QString sql = QStringLiteral("UPDATE ACQUISITION_LIGNE SET DOC_ID = ?, ACQ_REFERENCE = ?, ACQ_EXEMPLAIRE = ?, "
                                         "ACQ_PRIX = ?, ACQ_MONTANT = ?, ACQ_DATE_LIVRAISON = ?, ACQ_DEBUT_ABONNEMENT = ?, "
                                         "ACQ_FIN_ABONNEMENT = ?, ACQ_NUMEROTATION = ? WHERE ACQ_LIGNE_ID = ? AND ACQ_ID = ? "
                                         "AND (DOC_ID = ? OR COALESCE(ACQ_NBR_LIVRE, 0) = 0)");
            QVariantList binds = values + QVariantList{id, s.document, s.record};
            if (type != int(AcqType::Subscription)) {
                sql += QStringLiteral(" AND COALESCE(ACQ_NBR_LIVRE, 0) <= ?");
                binds << copies;
            }
            SqlRows q = db.query(sql, binds);
            if (!q.isActive())
                return databaseError(db);
            if (q.numRowsAffected() != 1) {
                const LineSheet stored = loadLine(db, id);
                if (stored.id == 0 || stored.document != s.document)
                    return AcqResult::refused(acq::lineGone());
                if (stored.record != s.record)
                    return AcqResult::refused(acq::recordFixedOnceReceived());
                return AcqResult::refused(acq::copiesBelowReceived(stored.received));
            }
        } else {
            const KeyedInsert done = insertWithNewKey(
                db, QStringLiteral("ACQUISITION_LIGNE"), QStringLiteral("ACQ_LIGNE_ID"),
                [&](int key) {
                    return db.exec(QStringLiteral("INSERT INTO ACQUISITION_LIGNE (DOC_ID, ACQ_REFERENCE, ACQ_EXEMPLAIRE, ACQ_PRIX, "
                                                  "ACQ_MONTANT, ACQ_DATE_LIVRAISON, ACQ_DEBUT_ABONNEMENT, ACQ_FIN_ABONNEMENT, "
                                                  "ACQ_NUMEROTATION, ACQ_LIGNE_ID, ACQ_ID, ACQ_NBR_LIVRE) "
                                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                                   values + QVariantList{key, s.document});
                },
                {}, &id);
            if (done != KeyedInsert::Done)
                return databaseError(db);
        }
        const AcqResult total = storeTotal(db, s.document);
        return total.passed ? AcqResult::done(id) : total;
    });
}

LineSheet loadLine(Database &db, int id)
{
    LineSheet s;
    SqlRows q = db.query(QStringLiteral("SELECT ACQ_LIGNE_ID, ACQ_ID, DOC_ID, ACQ_REFERENCE, ACQ_DATE_LIVRAISON, ACQ_PRIX, "
                                          "ACQ_EXEMPLAIRE, ACQ_DEBUT_ABONNEMENT, ACQ_FIN_ABONNEMENT, ACQ_NUMEROTATION, "
                                          "ACQ_NBR_LIVRE, ACQ_MONTANT FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    const Dialect &d = db.dialect();
    auto day = [&](int i) { return d.fromDb(q.value(i), ColType::Date).toDate(); };
    s.id = q.value(0).toInt();
    s.document = q.value(1).toInt();
    s.record = q.value(2).toInt();
    s.reference = q.value(3).toString();
    s.expected = day(4);
    const std::optional<Money> price = Money::fromVariant(q.value(5));
    s.price = price ? price->toString() : QString();
    s.copies = q.value(6).isNull() ? QString() : QString::number(q.value(6).toInt());
    s.subscriptionStart = day(7);
    s.subscriptionEnd = day(8);
    s.numbering = q.value(9).toString();
    s.received = q.value(10).toInt();
    s.amount = Money::fromVariant(q.value(11)).value_or(Money());
    return s;
}

AcqResult deleteLine(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const int document = loadLine(db, id).document;
    if (document == 0)
        return AcqResult::refused(acq::lineGone());
    return inTransaction(db, [&] {
        bool ok = true;
        if (lockedDocumentType(db, document, &ok) == 0)
            return ok ? AcqResult::refused(acq::documentGone()) : databaseError(db);
        // The line locked: a copy or an issue received on it at another
        // workstation is either counted here or finds the line gone.
        if (!db.exec(db.dialect().lockRow(QStringLiteral("ACQUISITION_LIGNE"), QStringLiteral("ACQ_LIGNE_ID")), {id}))
            return databaseError(db);
        const QString ofLine = QStringLiteral("L.ACQ_LIGNE_ID = ?");
        const int received = countRows(db, QStringLiteral("SELECT COALESCE(MAX(ACQ_NBR_LIVRE), 0) FROM ACQUISITION_LIGNE "
                                                      "WHERE ACQ_LIGNE_ID = ?"),
                                   {id}, &ok);
        const int deliveries = countRows(db, QStringLiteral("SELECT COUNT(*) FROM LIVRAISON_LIGNE WHERE ACQ_LIGNE_ID = ?"), {id}, &ok);
        const int copies = countRows(db, kCopiesOfLines.arg(ofLine), {id, id}, &ok);
        const int issues = countRows(db, kIssuesOfLines.arg(ofLine), {id, id}, &ok);
        if (!ok)
            return databaseError(db);
        if (received + deliveries + copies + issues > 0)
            return AcqResult::refused(acq::lineHasReceipts(received, deliveries, copies, issues));
        SqlRows q = db.query(QStringLiteral("DELETE FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ? AND ACQ_ID = ?"), {id, document});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() != 1)
            return AcqResult::refused(acq::lineGone());
        const AcqResult total = storeTotal(db, document);
        return total.passed ? AcqResult::done(id) : total;
    });
}

QString recordReference(Database &db, int record)
{
    SqlRows q = db.query(QStringLiteral("SELECT DOC_ISBN, DOC_ISSN, DOC_NUM FROM NOTICE WHERE DOC_ID = ?"), {record});
    if (!q.next())
        return {};
    for (int i = 0; i < 3; ++i)
        if (!IsBlank(q.value(i)))
            return q.value(i).toString();
    return {};
}

QString recordShortTitle(Database &db, int record)
{
    SqlRows q = db.query(QStringLiteral("SELECT DOC_TITRE_PROPRE, DOC_TITRE_COMPLEMENT FROM NOTICE WHERE DOC_ID = ?"), {record});
    return q.next() ? shortTitle(q.value(0).toString(), q.value(1).toString()) : QString();
}

QString recordFullTitle(Database &db, int record)
{
    SqlRows q = db.query(QStringLiteral("SELECT DOC_TITRE_ENSEMBLE, DOC_NUMERO_PARTIE, DOC_TITRE_PROPRE, DOC_TITRE_PARALLELE, "
                                          "DOC_TITRE_COMPLEMENT FROM NOTICE WHERE DOC_ID = ?"),
                           {record});
    if (!q.next())
        return {};
    return fullTitle({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                      q.value(4).toString()});
}

bool documentSearchSql(const Dialect &d, const DocumentCriteria &c, SqlText *out, QString *why)
{
    SqlText t;
    t.sql = QStringLiteral("SELECT A.*, (SELECT F.FOU_LIBELLE FROM FOURNISSEUR F WHERE F.FOU_ID = A.FOU_ID) AS FOU_LIBELLE "
                           "FROM ACQUISITION A WHERE A.ACQ_TYP = ?");
    t.binds << int(c.type);
    if (!c.number.trimmed().isEmpty()) {
        t.sql += QStringLiteral(" AND ") + d.likeNoCase(QStringLiteral("A.ACQ_NUMERO"));
        t.binds << LikePattern(c.number);
    }
    if (!c.supplier.trimmed().isEmpty()) {
        t.sql += QStringLiteral(" AND A.FOU_ID IN (SELECT F.FOU_ID FROM FOURNISSEUR F WHERE ")
            + d.likeNoCase(QStringLiteral("F.FOU_LIBELLE")) + u')';
        t.binds << literalPattern(c.supplier);
    }
    if (c.status == AcqStatus::ToValidate || c.status == AcqStatus::Validated) {
        t.sql += QStringLiteral(" AND A.ACQ_STATUT = ?");
        t.binds << c.status;
    }
    const QString year = c.year.trimmed();
    if (!year.isEmpty()) {
        bool ok = false;
        const int y = year.toInt(&ok);
        if (!ok || y < 1 || y > 9998) {
            *why = acq::yearNotANumber(year);
            return false;
        }
        // The days of the year, as a range the index by type and date serves.
        t.sql += QStringLiteral(" AND A.ACQ_DATE >= ? AND A.ACQ_DATE < ?");
        t.binds << d.toDb(QDate(y, 1, 1), ColType::Date) << d.toDb(QDate(y + 1, 1, 1), ColType::Date);
    }
    t.sql += QStringLiteral(" ORDER BY ACQ_DATE DESC, ACQ_ID DESC");
    *out = t;
    return true;
}

SqlText documentLinesSql(int document)
{
    return {QStringLiteral("SELECT L.*, (SELECT N.DOC_TITRE_PROPRE FROM NOTICE N WHERE N.DOC_ID = L.DOC_ID) AS DOC_TITRE_PROPRE, "
                           "(SELECT N.DOC_TITRE_COMPLEMENT FROM NOTICE N WHERE N.DOC_ID = L.DOC_ID) AS DOC_TITRE_COMPLEMENT, ")
                + periodicitySql(QStringLiteral("L.DOC_ID"))
                + QStringLiteral(" AS PERIODICITE FROM ACQUISITION_LIGNE L WHERE L.ACQ_ID = ? ORDER BY ACQ_LIGNE_ID"),
            {document}};
}

QString periodicitySql(const QString &record)
{
    return QStringLiteral("(SELECT P.PER_LIBELLE%1 FROM NOTICE N JOIN PERIODICITE P ON P.PER_ID = N.PER_ID WHERE N.DOC_ID = %2)")
        .arg(session().LanguageSuffix == QLatin1String("_AR") ? QStringLiteral("_AR") : QString(), record);
}

QString documentCountLine(Database &db, AcqType type)
{
    return LookupCountText(db, QStringLiteral("ACQUISITION WHERE ACQ_TYP = %1").arg(int(type)), acqTypeLabel(type),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
