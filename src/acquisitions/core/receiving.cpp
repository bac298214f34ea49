#include "acquisitions/core/receiving_p.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "data/core/database.h"
#include "data/core/helpers.h"

namespace folian::receiving {

namespace {

constexpr int kRowsPerStatement = 64;
constexpr int kNumbersPerQuery = 200;

} // namespace

AcqResult raise(Database &db, const ReceiptTarget &t, int n, Line *line)
{
    if (t.delivery <= 0
        && !db.exec(db.dialect().lockRows(QStringLiteral("ACQUISITION"),
                                          QStringLiteral("ACQ_ID = (SELECT L.ACQ_ID FROM ACQUISITION_LIGNE L WHERE L.ACQ_LIGNE_ID = ?)")),
                    {t.line}))
        return databaseError(db);
    SqlRows q = db.query(QStringLiteral("SELECT L.DOC_ID, L.ACQ_PRIX, A.ACQ_TYP, A.ACQ_SENS, A.ACQ_DATE FROM ACQUISITION_LIGNE L "
                                          "JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID WHERE L.ACQ_LIGNE_ID = ?"),
                           {t.line});
    if (!q.isActive())
        return databaseError(db);
    if (!q.next())
        return AcqResult::refused(acq::lineGone());
    line->record = q.value(0).toInt();
    line->price = q.value(1);
    const AcqType type = AcqType(q.value(2).toInt());
    if (t.delivery <= 0 && isGiftKind(type) && !incomingDirection(type, q.value(3).toInt()))
        return AcqResult::refused(acq::outgoingTakesExistingCopies());
    line->documentDate = db.dialect().fromDb(q.value(4), ColType::Date).toDate();
    const bool limited = type != AcqType::Subscription;
    // The statement decides: another workstation's copies are counted
    // whatever it read before.
    QString sql = QStringLiteral("UPDATE ACQUISITION_LIGNE SET ACQ_NBR_LIVRE = COALESCE(ACQ_NBR_LIVRE, 0) + ? WHERE ACQ_LIGNE_ID = ?");
    QVariantList binds{n, t.line};
    if (limited && n > 0) {
        sql += QStringLiteral(" AND COALESCE(ACQ_NBR_LIVRE, 0) + ? <= COALESCE(ACQ_EXEMPLAIRE, 0)");
        binds << n;
    }
    SqlRows up = db.query(sql, binds);
    if (!up.isActive())
        return databaseError(db);
    if (up.numRowsAffected() != 1) {
        SqlRows now = db.query(QStringLiteral("SELECT COALESCE(ACQ_EXEMPLAIRE, 0), COALESCE(ACQ_NBR_LIVRE, 0) "
                                                "FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ?"),
                                 {t.line});
        if (!now.isActive())
            return databaseError(db);
        if (!now.next())
            return AcqResult::refused(acq::lineGone());
        return AcqResult::refused(now.value(1).toInt() >= now.value(0).toInt() ? acq::lineFullyDelivered()
                                                                                : acq::countIncorrect());
    }
    if (t.delivery > 0) {
        SqlRows title = db.query(QStringLiteral("UPDATE LIVRAISON_LIGNE SET LIV_EXEMPLAIRE = COALESCE(LIV_EXEMPLAIRE, 0) + ? "
                                                  "WHERE LIV_ID = ? AND ACQ_LIGNE_ID = ?"),
                                   {n, t.delivery, t.line});
        if (!title.isActive())
            return databaseError(db);
        if (title.numRowsAffected() != 1)
            return AcqResult::refused(acq::titleNotDelivered());
        bool ok = false;
        const QVariant day = db.scalar(QStringLiteral("SELECT LIV_DATE FROM LIVRAISON WHERE LIV_ID = ?"), {t.delivery}, &ok);
        if (!ok)
            return databaseError(db);
        line->date = db.dialect().fromDb(day, ColType::Date).toDate();
    } else {
        line->price = QVariant();
        line->date = serverToday(db);
    }
    return AcqResult::done(t.line);
}

bool recordReceived(Database &db, int record)
{
    return db.exec(QStringLiteral("UPDATE NOTICE SET STA_ID = 1 WHERE DOC_ID = ? AND STA_ID = 3"), {record});
}

bool insertCopies(Database &db, const CopyCommon &c, const QVector<CopyNumbers> &copies)
{
    static const QString head = QStringLiteral(
        "INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, EXP_COTE, EXP_INV, DOC_ID, BIB_ID, LOC_ID, SUP_ID, STA_EXP_ID, MOD_ID, "
        "EXP_PRIX, EXP_DATE_ACQUISITION, EXP_OBSERVATION, EXP_INVENTORIE, LIV_ID, ACQ_LIGNE_ID) VALUES ");
    static const QString one = QStringLiteral("(?, ?, ?, ?, 0, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?)");
    const QVariantList shared{c.record, c.location, c.support, c.status, c.mode, c.price, c.date, c.observation, c.delivery, c.line};
    for (qsizetype from = 0; from < copies.size(); from += kRowsPerStatement) {
        const qsizetype to = qMin(copies.size(), from + kRowsPerStatement);
        QStringList rows;
        QVariantList binds;
        for (qsizetype i = from; i < to; ++i) {
            rows << one;
            binds << copies.at(i).id << copies.at(i).shelfMark << copies.at(i).altNumber << shared;
        }
        if (!db.exec(head + rows.join(QStringLiteral(", ")), binds))
            return false;
    }
    return true;
}

bool takenNumbers(Database &db, const QStringList &numbers, QStringList *taken)
{
    QSet<QString> found;
    for (qsizetype from = 0; from < numbers.size(); from += kNumbersPerQuery) {
        const QStringList part = numbers.mid(from, kNumbersPerQuery);
        QVariantList binds;
        for (const QString &n : part)
            binds << n;
        SqlRows q = db.query(QStringLiteral("SELECT EXP_ID FROM NOTICE_EXEMPLAIRE WHERE EXP_ID IN (")
                                   + QStringLiteral("?, ").repeated(int(part.size()) - 1) + QStringLiteral("?)"),
                               binds);
        if (!q.isActive())
            return false;
        while (q.next())
            found.insert(q.value(0).toString());
    }
    taken->clear();
    for (const QString &n : numbers)
        if (found.contains(n))
            *taken << n;
    return true;
}

} // namespace folian::receiving
