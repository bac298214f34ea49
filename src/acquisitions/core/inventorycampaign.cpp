#include "acquisitions/core/inventorycampaign.h"

#include "acquisitions/core/inventorytexts.h"
#include "base/cp1256.h"
#include "base/progress.h"
#include "base/rights.h"
#include "base/session.h"
#include "data/core/database.h"
#include "data/core/dialect.h"
#include "data/core/newkey.h"

#include <QFile>
#include <QHash>
#include <QSet>

namespace folian {

namespace {

// Numbers marked per transaction: few statements per batch, each list of
// numbers bound the engine's cheapest way, and a batch short enough that
// another workstation waits little for its turn. Where each statement is a
// round trip to a server the batches are longer: fewer trips and commits.
int batchSize(const Dialect &d) { return d.statementsAreRoundTrips() ? 5000 : 500; }

// The lines of a scanner's file, a batch at a time, whatever their ends.
class ScannedLines
{
public:
    explicit ScannedLines(QIODevice &in) : in_(in) {}

    // Up to `n` numbers; empty at the end of the input.
    QStringList next(int n)
    {
        QStringList out;
        while (out.size() < n) {
            qsizetype end = -1;
            for (qsizetype i = pos_; i < buffer_.size(); ++i)
                if (buffer_.at(i) == '\n' || buffer_.at(i) == '\r') {
                    end = i;
                    break;
                }
            if (end < 0) {
                const QByteArray more = in_.read(64 * 1024);
                if (!more.isEmpty()) {
                    buffer_ = buffer_.mid(pos_) + more;
                    pos_ = 0;
                    continue;
                }
                end = buffer_.size();
                if (end == pos_)
                    break;
            }
            const QString number = decodeText(buffer_.mid(pos_, end - pos_)).trimmed();
            pos_ = end + 1;
            if (!number.isEmpty())
                out << number;
        }
        return out;
    }

private:
    QIODevice &in_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
};

bool campaignExists(Database &db, int campaign, bool *ok)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM INVENTAIRE_CAMPAGNE WHERE CAM_ID = ?"), {campaign}, ok).toInt()
        > 0;
}

// One batch of numbers, in one transaction; false with the reason in the report.
bool markBatch(Database &db, int campaign, const QStringList &batch, QSet<QString> &unknownSeen, ScanReport &r)
{
    Transaction tx(db);
    if (!tx.isActive()) {
        r.message = databaseError(db).message;
        return false;
    }
    // Another workstation marking for the campaign waits here for this batch.
    if (!db.query(db.dialect().lockRow(QStringLiteral("INVENTAIRE_CAMPAGNE"), QStringLiteral("CAM_ID")), {campaign})
             .isActive()) {
        r.message = databaseError(db).message;
        return false;
    }
    QStringList distinct;
    QSet<QString> inBatch;
    for (const QString &n : batch) {
        if (inBatch.contains(n)) {
            ++r.duplicates;
            r.duplicateNumbers << n;
        } else {
            inBatch.insert(n);
            distinct << n;
        }
    }
    struct Copy {
        bool lent = false;
        QVariant selection;  // NULL: not of the campaign yet
        int seen = 0;
    };
    const Dialect &d = db.dialect();
    QHash<QString, Copy> copies;
    {
        const SqlText read = d.oneOf(QStringLiteral("E.EXP_ID"), distinct);
        SqlRows q = db.query(QStringLiteral("SELECT E.EXP_ID, E.LEC_ID, I.INV_SELECTION, I.INV_VU FROM NOTICE_EXEMPLAIRE E "
                                            "LEFT JOIN INVENTAIRE_EXEMPLAIRE I ON I.CAM_ID = ? AND I.EXP_ID = E.EXP_ID WHERE ")
                                 + read.sql,
                             QVariantList{campaign} + read.binds);
        if (!q.isActive()) {
            r.message = databaseError(db).message;
            return false;
        }
        while (q.next())
            copies.insert(q.value(0).toString(),
                          {!q.value(1).toString().trimmed().isEmpty(), q.value(2), q.value(3).toInt()});
    }
    QStringList firstSeen, ofCampaign, outside;
    ScanReport b;  // this batch's counts, added to r once committed
    for (const QString &n : std::as_const(distinct)) {
        const auto it = copies.constFind(n);
        if (it == copies.constEnd()) {
            if (unknownSeen.contains(n)) {
                ++b.duplicates;
                b.duplicateNumbers << n;
            } else {
                ++b.unknown;
                b.unknownNumbers << n;
            }
            continue;
        }
        if (it->selection.isNull())
            outside << n;
        else
            ofCampaign << n;
        if (it->seen > 0) {
            ++b.duplicates;
            b.duplicateNumbers << n;
            continue;
        }
        firstSeen << n;
        ++b.found;
        if (it->selection.isNull() || it->selection.toInt() == 0) {
            ++b.misplaced;
            b.misplacedNumbers << n;
        }
        if (it->lent) {
            ++b.lent;
            b.lentNumbers << n;
        }
    }
    // Each statement for the copies of one list, if there are any.
    const auto forEach = [&](const QStringList &copies, const QString &statement, const QString &column, QVariantList binds) {
        if (copies.isEmpty())
            return true;
        const SqlText in = d.oneOf(column, copies);
        return db.exec(statement + in.sql, binds + in.binds);
    };
    const bool written
        = forEach(firstSeen, QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = 1 WHERE "), QStringLiteral("EXP_ID"), {})
        && forEach(ofCampaign, QStringLiteral("UPDATE INVENTAIRE_EXEMPLAIRE SET INV_VU = INV_VU + 1 WHERE CAM_ID = ? AND "),
                   QStringLiteral("EXP_ID"), {campaign})
        && forEach(outside,
                   QStringLiteral("INSERT INTO INVENTAIRE_EXEMPLAIRE (CAM_ID, EXP_ID, INV_SELECTION, INV_VU) "
                                  "SELECT ?, E.EXP_ID, 0, 1 FROM NOTICE_EXEMPLAIRE E WHERE "),
                   QStringLiteral("E.EXP_ID"), {campaign});
    if (!written || !tx.commit()) {
        r.message = databaseError(db).message;
        return false;
    }
    for (const QString &n : std::as_const(b.unknownNumbers))
        unknownSeen.insert(n);
    r.found += b.found;
    r.unknown += b.unknown;
    r.duplicates += b.duplicates;
    r.misplaced += b.misplaced;
    r.lent += b.lent;
    r.unknownNumbers += b.unknownNumbers;
    r.duplicateNumbers += b.duplicateNumbers;
    r.misplacedNumbers += b.misplacedNumbers;
    r.lentNumbers += b.lentNumbers;
    return true;
}

} // namespace

QString campaignSelection()
{
    return QStringLiteral("E.EXP_ID IN (SELECT I.EXP_ID FROM INVENTAIRE_EXEMPLAIRE I WHERE I.CAM_ID = ? AND I.INV_SELECTION = 1)");
}

AcqResult startCampaign(Database &db, const InventoryCriteria &criteria)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    if (criteria.isEmpty())
        return AcqResult::refused(inv::criterionRequired());
    const SqlCondition where = inventoryConditions(db.dialect(), criteria);
    const AcqResult started = inTransaction(db, [&]() {
        int campaign = 0;
        const KeyedInsert k = insertWithNewKey(
            db, QStringLiteral("INVENTAIRE_CAMPAGNE"), QStringLiteral("CAM_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO INVENTAIRE_CAMPAGNE (CAM_ID, CAM_CRITERES, CREATE_USER, CREATE_DATE) "
                                              "VALUES (?, ?, ?, ?)"),
                               {key, criteria.describe(), session().CurrentUserLogin, auditStamp(db)});
            },
            nullptr, &campaign);
        if (k != KeyedInsert::Done)
            return databaseError(db);
        // The selection is fixed now: a copy added later is not of it.
        if (!db.exec(QStringLiteral("INSERT INTO INVENTAIRE_EXEMPLAIRE (CAM_ID, EXP_ID, INV_SELECTION, INV_VU) "
                                    "SELECT ?, E.EXP_ID, 1, 0 FROM NOTICE_EXEMPLAIRE E WHERE ")
                         + where.sql,
                     QVariantList{campaign} + where.binds)
            || !db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = 0 WHERE EXP_ID IN "
                                       "(SELECT I.EXP_ID FROM INVENTAIRE_EXEMPLAIRE I WHERE I.CAM_ID = ? AND I.INV_SELECTION = 1)"),
                        {campaign}))
            return databaseError(db);
        return AcqResult::done(campaign);
    });
    // The planner learns how large the selection is before the numbers are
    // marked: its plans for a table it still took for empty would read the
    // whole selection for each batch (a refusal costs only time).
    if (started.passed)
        if (const QString refresh = db.dialect().refreshStatistics(QStringLiteral("INVENTAIRE_EXEMPLAIRE")); !refresh.isEmpty())
            db.exec(refresh);
    return started;
}

int latestCampaign(Database &db)
{
    return db.scalar(QStringLiteral("SELECT MAX(CAM_ID) FROM INVENTAIRE_CAMPAGNE")).toInt();
}

CampaignStatus campaignStatus(Database &db, int campaign)
{
    CampaignStatus s;
    bool ok = true;
    if (!campaignExists(db, campaign, &ok)) {
        s.message = ok ? inv::campaignUnknown(campaign) : databaseError(db).message;
        return s;
    }
    s.criteria = db.scalar(QStringLiteral("SELECT CAM_CRITERES FROM INVENTAIRE_CAMPAGNE WHERE CAM_ID = ?"), {campaign}).toString();
    // A copy deleted since the start is of no selection; a NULL flag is not found.
    SqlRows q = db.query(QStringLiteral("SELECT I.INV_SELECTION, COUNT(*), "
                                        "SUM(CASE WHEN E.EXP_INVENTORIE <> 0 THEN 1 ELSE 0 END) "
                                        "FROM INVENTAIRE_EXEMPLAIRE I JOIN NOTICE_EXEMPLAIRE E ON E.EXP_ID = I.EXP_ID "
                                        "WHERE I.CAM_ID = ? GROUP BY I.INV_SELECTION"),
                         {campaign});
    if (!q.isActive()) {
        s.message = databaseError(db).message;
        return s;
    }
    while (q.next()) {
        if (q.value(0).toInt() == 1) {
            s.selection = q.value(1).toLongLong();
            s.found = q.value(2).toLongLong();
            s.notFound = s.selection - s.found;
        } else {
            s.misplaced = q.value(1).toLongLong();
        }
    }
    s.read = true;
    return s;
}

ScanReport markScanned(Database &db, int campaign, QIODevice &input, Progress *progress)
{
    ScanReport r;
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty()) {
        r.message = refusal;
        return r;
    }
    bool ok = true;
    if (!campaignExists(db, campaign, &ok)) {
        r.message = ok ? inv::campaignUnknown(campaign) : databaseError(db).message;
        return r;
    }
    ScannedLines lines(input);
    QSet<QString> unknownSeen;
    const qint64 size = input.size();
    for (;;) {
        const QStringList batch = lines.next(batchSize(db.dialect()));
        if (batch.isEmpty())
            break;
        if (!markBatch(db, campaign, batch, unknownSeen, r))
            return r;
        r.lines += int(batch.size());
        if (progress) {
            const int percent = size > 0 ? int(input.pos() * 100 / size) : 0;
            progress->step(percent, 100, QString::number(r.lines));
            if (progress->stopped()) {
                r.stopped = true;
                r.message = inv::stoppedAfter(r.lines);
                return r;
            }
        }
    }
    r.passed = true;
    return r;
}

ScanReport markScannedFile(Database &db, int campaign, const QString &path, Progress *progress)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ScanReport r;
        r.message = inv::fileUnreadable(path);
        return r;
    }
    return markScanned(db, campaign, f, progress);
}

} // namespace folian
