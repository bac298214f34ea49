#include "circulation/core/readerpages.h"

#include "base/dates.h"
#include "base/messages.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copystate.h"
#include "data/core/database.h"
#include "data/core/dataset.h"
#include "reports/core/letter.h"

namespace folian {

ReportResult writeClearance(Database &db, const QString &readerId)
{
    SqlRows q = db.query(QStringLiteral("SELECT L.LEC_ID, L.LEC_NOM, L.LEC_PRENOM, L.LEC_DATE_NAISSANCE, "
                                        "C.CAT_LIBELLE, S.STR_LIBELLE FROM LECTEUR L "
                                        "LEFT JOIN CATEGORIE C ON C.CAT_ID = L.CAT_ID "
                                        "LEFT JOIN STRUCTURE S ON S.STR_ID = L.STR_ID WHERE L.LEC_ID = ?"),
                         {readerId});
    if (!q.next()) {
        ReportResult r;
        r.message = q.isActive() ? circ::readerUnknown(readerId) : db.lastError().text();
        return r;
    }
    Letter letter;
    letter.fileName = QStringLiteral("quitus.html");
    letter.title = circ::clearanceTitle();
    const QDate born = db.dialect().fromDb(q.value(3), ColType::Date).toDate();
    letter.fields = {
        {tr2(QStringLiteral("N° lecteur : "), QStringLiteral("رقم القارئ : ")), q.value(0).toString()},
        {tr2(QStringLiteral("Nom : "), QStringLiteral("اللقب : ")), q.value(1).toString()},
        {tr2(QStringLiteral("Prénom : "), QStringLiteral("الاسم : ")), q.value(2).toString()},
        {tr2(QStringLiteral("Date de naissance : "), QStringLiteral("تاريخ الميلاد : ")), ShowDate(born)},
        {tr2(QStringLiteral("Catégorie : "), QStringLiteral("الفئة : ")), q.value(4).toString()},
        {tr2(QStringLiteral("Structure : "), QStringLiteral("الهيكل : ")), q.value(5).toString()},
    };
    letter.text = db.scalar(QStringLiteral("SELECT QUITUS FROM PARAMETRE")).toString();
    letter.closing = circ::clearanceSignature();
    return writeLetter(db, letter);
}

Report readerListReport(Dataset &readers)
{
    Report r;
    r.fileName = QStringLiteral("lecteur.html");
    r.french = QStringLiteral("Liste des lecteurs");
    r.arabic = QStringLiteral("قائمة القراء");
    r.letterhead = true;
    const auto column = [](const char16_t *french, const char16_t *arabic, int width, ColumnKind kind = ColumnKind::Text) {
        return reportColumn(QString::fromUtf16(french), QString::fromUtf16(arabic), width, kind);
    };
    r.columns = {column(u"Numéro", u"الرقم", 80),
                 column(u"Nom", u"اللقب", 140),
                 column(u"Prénom", u"الاسم", 140),
                 column(u"Date de naissance", u"تاريخ الميلاد", 90, ColumnKind::Date),
                 column(u"Catégorie", u"الفئة", 120),
                 column(u"Structure", u"الهيكل", 160),
                 column(u"Statut", u"الحالة", 140)};
    readers.fetchAll();
    for (int row = 0; row < readers.rowCount(); ++row) {
        const auto v = [&](const char *c) { return readers.valueAt(row, QLatin1String(c)); };
        r.rows << QVariantList{v("LEC_ID"), v("LEC_NOM"), v("LEC_PRENOM"), v("LEC_DATE_NAISSANCE"), v("CAT_LIBELLE"),
                               v("STR_LIBELLE"), ReaderStatus::text(v("LEC_STATUT"), v("LEC_FIN_PENALITE"))};
    }
    return r;
}

} // namespace folian
