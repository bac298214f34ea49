#include "acquisitions/core/claims.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/documents.h"
#include "acquisitions/core/serialtexts.h"
#include "base/dates.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "reports/core/letter.h"

#include <QDir>
#include <QSqlRecord>

namespace folian {

namespace {

// The one definition of late (see claims.h), over the document A, its line
// L and, for issues, the issue B. The title's condition binds today.
const QString kOverdueTitle = QStringLiteral(
    "A.ACQ_STATUT = 2 AND A.ACQ_TYP IN (2, 3) AND L.ACQ_DATE_LIVRAISON < ? "
    "AND COALESCE(L.ACQ_EXEMPLAIRE, 0) > COALESCE(L.ACQ_NBR_LIVRE, 0)");
const QString kAwaitedIssue = QStringLiteral("A.ACQ_STATUT = 2 AND A.ACQ_TYP = 3 AND B.BUL_STATUT = 0");

// The suppliers F owing something; binds today once.
const QString kLateSupplier = QStringLiteral(
    "(EXISTS (SELECT 1 FROM ACQUISITION A JOIN ACQUISITION_LIGNE L ON L.ACQ_ID = A.ACQ_ID "
    "WHERE A.FOU_ID = F.FOU_ID AND %1) "
    "OR EXISTS (SELECT 1 FROM ACQUISITION A JOIN ACQUISITION_LIGNE L ON L.ACQ_ID = A.ACQ_ID "
    "JOIN NOTICE_BULLETIN B ON B.ACQ_LIGNE_ID = L.ACQ_LIGNE_ID WHERE A.FOU_ID = F.FOU_ID AND %2))")
        .arg(kOverdueTitle, kAwaitedIssue);

ReportResult failure(const QString &message)
{
    ReportResult r;
    r.message = message;
    return r;
}

ReportColumn column(const char16_t *french, const char16_t *arabic, int width, ColumnKind kind = ColumnKind::Text)
{
    return reportColumn(QString::fromUtf16(french), QString::fromUtf16(arabic), width, kind);
}

// The rows of a query, the columns named in `fields` in their order.
bool readRows(Database &db, const SqlText &sql, const QStringList &fields, QList<QVariantList> *out, QString *why)
{
    SqlRows q = db.query(sql.sql, sql.binds);
    if (!q.isActive()) {
        *why = db.lastError().text();
        return false;
    }
    QList<int> at;
    for (const QString &f : fields)
        at << q.record().indexOf(f);
    while (q.next()) {
        QVariantList row;
        for (int i : std::as_const(at))
            row << q.value(i);
        *out << row;
    }
    return true;
}

} // namespace

namespace {

// The late suppliers' `columns`, by name.
SqlText lateSuppliersSelect(Database &db, const QString &columns, const QDate &today)
{
    return {QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM FOURNISSEUR F WHERE ") + kLateSupplier
                + QStringLiteral(" ORDER BY F.FOU_LIBELLE, F.FOU_ID"),
            {dateValue(db, today)}};
}

} // namespace

SqlText lateSuppliersSql(Database &db, const QDate &today) { return lateSuppliersSelect(db, QStringLiteral("F.*"), today); }

int lateSupplierCount(Database &db, const QDate &today)
{
    bool ok = false;
    const QVariant n = db.scalar(QStringLiteral("SELECT COUNT(*) FROM FOURNISSEUR F WHERE ") + kLateSupplier,
                                 {dateValue(db, today)}, &ok);
    return ok ? n.toInt() : -1;
}

SqlText overdueTitlesSql(Database &db, int supplier, const QDate &today)
{
    return {QStringLiteral("SELECT A.ACQ_NUMERO AS COMMANDE, L.ACQ_LIGNE_ID, L.ACQ_REFERENCE, N.DOC_TITRE_PROPRE, "
                           "N.DOC_TITRE_COMPLEMENT, L.ACQ_EXEMPLAIRE, L.ACQ_NBR_LIVRE, "
                           "COALESCE(L.ACQ_EXEMPLAIRE, 0) - COALESCE(L.ACQ_NBR_LIVRE, 0) AS MANQUANT, L.ACQ_PRIX, "
                           "L.ACQ_MONTANT, L.ACQ_DATE_LIVRAISON FROM ACQUISITION_LIGNE L "
                           "JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID LEFT JOIN NOTICE N ON N.DOC_ID = L.DOC_ID "
                           "WHERE A.FOU_ID = ? AND ")
                + kOverdueTitle + QStringLiteral(" ORDER BY L.ACQ_DATE_LIVRAISON, A.ACQ_NUMERO, L.ACQ_LIGNE_ID"),
            {supplier, dateValue(db, today)}};
}

SqlText awaitedIssuesSql(int supplier)
{
    return {QStringLiteral("SELECT A.ACQ_NUMERO AS ABONNEMENT, B.BUL_ID, B.BUL_NUMERO, B.BUL_DATE, B.BUL_TITRE, "
                           "N.DOC_TITRE_PROPRE FROM NOTICE_BULLETIN B "
                           "JOIN ACQUISITION_LIGNE L ON L.ACQ_LIGNE_ID = B.ACQ_LIGNE_ID "
                           "JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID LEFT JOIN NOTICE N ON N.DOC_ID = L.DOC_ID "
                           "WHERE A.FOU_ID = ? AND ")
                + kAwaitedIssue + QStringLiteral(" ORDER BY A.ACQ_NUMERO, A.ACQ_ID, B.BUL_ID"),
            {supplier}};
}

ReportResult writeClaimLetter(Database &db, int supplier, const QDate &today, const QString &directory,
                              const QString &fileName)
{
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty())
        return failure(refusal);
    SqlRows f = db.query(QStringLiteral("SELECT FOU_LIBELLE, FOU_ADRESSE, FOU_CONTACT FROM FOURNISSEUR WHERE FOU_ID = ?"),
                         {supplier});
    if (!f.isActive())
        return failure(db.lastError().text());
    if (!f.next())
        return failure(acq::supplierGone());
    Letter letter;
    letter.fileName = fileName.isEmpty() ? QStringLiteral("relanceFournisseur.html") : fileName;
    letter.directory = directory;
    letter.title = acq::claimLetterTitle();
    letter.fields = {{acq::text(u"Nom : ", u"الاسم : "), f.value(0).toString()},
                     {acq::text(u"Adresse : ", u"العنوان : "), f.value(1).toString()},
                     {acq::text(u"Contact : ", u"جهة الاتصال : "), f.value(2).toString()}};
    bool ok = false;
    letter.text = db.scalar(QStringLiteral("SELECT RELANCE_FOURNISSEUR FROM PARAMETRE"), {}, &ok).toString();
    if (!ok)
        return failure(db.lastError().text());

    QString why;
    LetterSection titles{acq::lateTitlesCaption(),
                         {column(u"N° commande", u"رقم الطلبية", 90), column(u"Référence", u"المرجع", 100),
                          column(u"Titre", u"العنوان", 280), column(u"Nbr manquant", u"العدد الناقص", 90, ColumnKind::Number),
                          column(u"Date livraison", u"تاريخ الاستلام", 90, ColumnKind::Date)},
                         {}};
    QList<QVariantList> read;
    if (!readRows(db, overdueTitlesSql(db, supplier, today),
                  {QStringLiteral("COMMANDE"), QStringLiteral("ACQ_REFERENCE"), QStringLiteral("DOC_TITRE_PROPRE"),
                   QStringLiteral("DOC_TITRE_COMPLEMENT"), QStringLiteral("MANQUANT"), QStringLiteral("ACQ_DATE_LIVRAISON")},
                  &read, &why))
        return failure(why);
    for (const QVariantList &r : std::as_const(read))
        titles.rows << QVariantList{r.at(0), r.at(1), shortTitle(r.at(2).toString(), r.at(3).toString()), r.at(4),
                                    db.dialect().fromDb(r.at(5), ColType::Date)};
    LetterSection issues{acq::awaitedIssuesCaption(),
                         {column(u"N° abonnement", u"رقم الاشتراك", 90), column(u"N° Bulletin", u"رقم النشرة", 80),
                          column(u"Date de parution", u"تاريخ الصدور", 100), column(u"Titre", u"العنوان", 380)},
                         {}};
    if (!readRows(db, awaitedIssuesSql(supplier),
                  {QStringLiteral("ABONNEMENT"), QStringLiteral("BUL_NUMERO"), QStringLiteral("BUL_DATE"),
                   QStringLiteral("BUL_TITRE")},
                  &issues.rows, &why))
        return failure(why);
    if (titles.rows.isEmpty() && issues.rows.isEmpty())
        return failure(acq::supplierNotLate(f.value(0).toString()));
    for (const LetterSection &s : {titles, issues})
        if (!s.rows.isEmpty())
            letter.tables << s;
    return writeLetter(db, letter);
}

Report lateSupplierListReport(Database &db, const QDate &today)
{
    Report r;
    r.fileName = QStringLiteral("listeFournisseur.html");
    r.french = QStringLiteral("Liste des fournisseurs retardataires");
    r.arabic = QStringLiteral("قائمة الموردين المتأخرين");
    r.letterhead = true;
    r.columns = {column(u"Nom", u"الاسم", 180),          column(u"Compte", u"الحساب", 90), column(u"Contact", u"جهة الاتصال", 90),
                 column(u"Téléphone", u"الهاتف", 90), column(u"Fax", u"الفاكس", 90), column(u"EMail", u"البريد الإلكتروني", 90)};
    const SqlText late = lateSuppliersSelect(
        db, QStringLiteral("F.FOU_LIBELLE, F.FOU_COMPTE, F.FOU_CONTACT, F.FOU_TEL, F.FOU_FAX, F.FOU_EMAIL"), today);
    r.sql = late.sql;
    r.binds = late.binds;
    return r;
}

ClaimBatch writeClaims(Database &db, const QString &directory, const QDate &today)
{
    ClaimBatch b;
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty()) {
        b.message = refusal;
        return b;
    }
    if (!QDir().mkpath(directory)) {
        b.message = tr2(QStringLiteral("Impossible de créer le dossier "), QStringLiteral("تعذر إنشاء المجلد ")) + directory;
        return b;
    }
    const SqlText late = lateSuppliersSql(db, today);
    {
        SqlRows q = db.query(late.sql, late.binds);
        if (!q.isActive()) {
            b.message = db.lastError().text();
            return b;
        }
        const int id = q.record().indexOf(QStringLiteral("FOU_ID")), name = q.record().indexOf(QStringLiteral("FOU_LIBELLE"));
        while (q.next())
            b.suppliers << LateSupplier{q.value(id).toInt(), q.value(name).toString()};
    }
    for (const LateSupplier &s : std::as_const(b.suppliers)) {
        const ReportResult r =
            writeClaimLetter(db, s.id, today, directory, QStringLiteral("relanceFournisseur-%1.html").arg(s.id));
        if (!r.written()) {
            b.message = r.message;
            return b;
        }
        b.files << r.path;
    }
    Report list = lateSupplierListReport(db, today);
    list.directory = directory;
    const ReportResult r = writeReport(db, list);
    if (!r.written()) {
        b.message = r.message;
        return b;
    }
    b.files << r.path;
    b.passed = true;
    b.message = acq::claimsWritten(int(b.suppliers.size()));
    return b;
}

} // namespace folian
