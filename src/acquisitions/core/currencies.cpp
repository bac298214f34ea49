#include "acquisitions/core/currencies.h"

#include "acquisitions/core/budgettexts.h"
#include "base/messages.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/newkey.h"

namespace folian {

AcqResult saveCurrency(Database &db, const CurrencySheet &s)
{
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    if (s.label.trimmed().isEmpty())
        return AcqResult::refused(acq::currencyLabelRequired());
    QVariant label, arabic;
    QString refusal;
    if (!columnValues(db, "MONNAIE",
                      {{"MON_LIBELLE", u"Monnaie", u"العملة", s.label, &label},
                       {"MON_LIBELLE_AR", u"Monnaie (arabe)", u"العملة (بالعربية)", s.labelArabic, &arabic}},
                      &refusal))
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        if (s.id > 0) {
            SqlRows q = db.query(QStringLiteral("UPDATE MONNAIE SET MON_LIBELLE = ?, MON_LIBELLE_AR = ? WHERE MON_ID = ?"),
                                   {label, arabic, s.id});
            if (!q.isActive())
                return databaseError(db);
            return q.numRowsAffected() == 1 ? AcqResult::done(s.id) : AcqResult::refused(acq::currencyGone());
        }
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("MONNAIE"), QStringLiteral("MON_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO MONNAIE (MON_ID, MON_LIBELLE, MON_LIBELLE_AR) VALUES (?, ?, ?)"),
                               {key, label, arabic});
            },
            {}, &id);
        return done == KeyedInsert::Done ? AcqResult::done(id) : databaseError(db);
    });
}

AcqResult deleteCurrency(Database &db, int id)
{
    if (const QString refusal = rightRefusal(Right::AcqAdmin, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    return inTransaction(db, [&] {
        if (!db.exec(db.dialect().lockRow(QStringLiteral("MONNAIE"), QStringLiteral("MON_ID")), {id}))
            return databaseError(db);
        SqlRows q = db.query(QStringLiteral("DELETE FROM MONNAIE WHERE MON_ID = ? "
                                              "AND NOT EXISTS (SELECT 1 FROM ACQUISITION A WHERE A.MON_ID = ?)"),
                               {id, id});
        if (!q.isActive())
            return databaseError(db);
        if (q.numRowsAffected() == 1)
            return AcqResult::done();
        bool ok = true;
        const int documents = countRows(db, QStringLiteral("SELECT COUNT(*) FROM ACQUISITION WHERE MON_ID = ?"), {id}, &ok);
        if (!ok)
            return databaseError(db);
        return AcqResult::refused(documents > 0 ? acq::currencyInUse(documents) : acq::currencyGone());
    });
}

QString currencyCountLine(Database &db)
{
    return LookupCountText(db, QStringLiteral("MONNAIE"), tr2(QStringLiteral("Monnaies"), QStringLiteral("العملات")),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

} // namespace folian
