#include "circulation/core/loandesk.h"

#include "base/rights.h"

#include "admin/core/duedate.h"
#include "circulation/core/copystate.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <optional>

namespace folian {

namespace {

constexpr int StatusInDeposit = 1, StatusLendable = 2, StatusInHouse = 3, StatusInterLibrary = 4;

bool isBlockingStatus(int s) { return s == 1 || s == 3 || (s >= 5 && s <= 8); }

// The loan rule of a category for a document type.
struct Rule {
    int documents = 0;
    int loanDays = 0;
    int renewalDays = 0;
    int holdDays = 0;
};

// The category's side of a reader: his category and its penalty.
struct ReaderRules {
    QString id;
    QVariant catId;
    int penaltyDays = 0;
    QVariant proportional;
};

std::optional<ReaderRules> readReaderRules(Database &db, const QString &id)
{
    SqlRows q = db.query(QStringLiteral("SELECT L.LEC_ID, L.CAT_ID, C.CAT_PENALITE, C.CAT_PENALITE_PROP FROM LECTEUR L "
                                        "LEFT JOIN CATEGORIE C ON C.CAT_ID = L.CAT_ID WHERE L.LEC_ID = ?"),
                         {id});
    if (!q.next())
        return std::nullopt;
    return ReaderRules{q.value(0).toString(), q.value(1), q.value(2).toInt(), q.value(3)};
}

std::optional<Rule> readRule(Database &db, const QVariant &catId, const QString &typeId)
{
    if (IsBlank(catId))
        return std::nullopt;
    SqlRows q = db.query(QStringLiteral("SELECT REG_DOCUMENT, REG_PRET, REG_PROLONGATION, REG_RESERVATION FROM REGLEMENT "
                                        "WHERE CAT_ID = ? AND TYP_ID = ?"),
                         {catId, typeId});
    if (!q.next())
        return std::nullopt;
    return Rule{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
}

// What a loan needs of the reader: his category, the rule of his category
// for the document type, and the quota's count: his current loans of
// copies for external loan of that type (his few copies are read first,
// never every record of the type). One statement; none when he is unknown.
struct LoanTerms {
    QVariant catId;
    std::optional<Rule> rule;
    int held = 0;
};

std::optional<LoanTerms> readLoanTerms(Database &db, const QString &readerId, const QString &typeId)
{
    SqlRows q = db.query(QStringLiteral("SELECT L.CAT_ID, R.CAT_ID, R.REG_DOCUMENT, R.REG_PRET, R.REG_PROLONGATION, "
                                        "R.REG_RESERVATION, (SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E "
                                        "WHERE E.LEC_ID = L.LEC_ID AND E.STA_EXP_ID = ? AND EXISTS "
                                        "(SELECT 1 FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID AND N.TYP_ID = ?)) "
                                        "FROM LECTEUR L LEFT JOIN REGLEMENT R ON R.CAT_ID = L.CAT_ID AND R.TYP_ID = ? "
                                        "WHERE L.LEC_ID = ?"),
                         {StatusLendable, typeId, typeId, readerId});
    if (!q.next())
        return std::nullopt;
    LoanTerms t;
    t.catId = q.value(0);
    if (!q.value(1).isNull())
        t.rule = Rule{q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt(), q.value(5).toInt()};
    t.held = q.value(6).toInt();
    return t;
}

// The copy names nobody in that column: no value, or an empty text (older
// data), as the check reads it.
QString noReader(const char *column)
{
    return QStringLiteral("COALESCE(TRIM(") + QLatin1String(column) + QStringLiteral("), '') = ''");
}

// The copy names the bound reader in that column, as the check reads it.
QString namesReader(const char *column)
{
    return QStringLiteral("TRIM(") + QLatin1String(column) + QStringLiteral(") = ?");
}

// Locks the loan rule of the reader's category for the document type,
// shared: loans under it go on together, and its deletion waits for them
// (or they for it, and then find no rule).
bool holdRule(Database &db, const QString &readerId, const QString &typeId)
{
    return db.exec(db.dialect().lockRows(QStringLiteral("REGLEMENT"),
                                         QStringLiteral("CAT_ID = (SELECT L.CAT_ID FROM LECTEUR L WHERE L.LEC_ID = ?) "
                                                        "AND TYP_ID = ?"),
                                         true),
                   {readerId, typeId});
}

// Was the current loan of the copy renewed? The journal says it: its last
// loan, return or renewal of the copy is a renewal, or the loan it shows
// set another due date than the copy's. A loan the journal does not know
// (made before it was kept) was renewed when its due date lies beyond the
// one its loan day gave.
bool renewedAlready(Database &db, const DeskCopy &c, int loanDays)
{
    SqlRows q = db.query(QStringLiteral("SELECT HIS_OPERATION, HIS_DATE_RETOUR FROM HISTORIQUE_PRET WHERE EXP_ID = ? "
                                          "AND HIS_OPERATION IN (?, ?, ?) ORDER BY HIS_ID DESC LIMIT 1"),
                           {c.id, int(LoanOperation::Loan), int(LoanOperation::Return), int(LoanOperation::Renewal)});
    if (q.next()) {
        const LoanOperation last = LoanOperation(q.value(0).toInt());
        if (last == LoanOperation::Renewal)
            return true;
        if (last == LoanOperation::Loan) {
            const QDate set = db.dialect().fromDb(q.value(1), ColType::Date).toDate();
            return set.isValid() && c.due.isValid() && c.due > set;
        }
    }
    return c.loanDate.isValid() && c.due.isValid() && c.due > DueDate(db, c.loanDate, loanDays);
}

// " AND column = ?" for a day, " AND column IS NULL" for none: the loan seen.
void sameDay(Database &db, QString &sql, QVariantList &binds, const char *column, const QDate &d)
{
    sql += QStringLiteral(" AND ") + QLatin1String(column);
    if (d.isValid()) {
        sql += QStringLiteral(" = ?");
        binds << dateValue(db, d);
    } else {
        sql += QStringLiteral(" IS NULL");
    }
}

} // namespace

QStringList copyRefusal(LoanOperation op, const QString &typed, const DeskCopy &c, const QDate &today)
{
    using Op = LoanOperation;
    if (typed.trimmed().isEmpty())
        return {circ::copyNotEntered()};
    if (!c.found) {
        switch (op) {
        case Op::Loan: return {circ::loanCopyUnknown(typed)};
        case Op::Reservation: return {circ::reservationCopyUnknown(typed)};
        case Op::Renewal: return {circ::renewalCopyUnknown(typed)};
        case Op::Cancellation: return {circ::cancellationCopyUnknown(typed)};
        case Op::Consultation: return {circ::consultationCopyUnknown(typed)};
        default: return {circ::returnCopyUnknown(typed)};
        }
    }
    const bool lent = !c.borrower.isEmpty(), reserved = !c.reserver.isEmpty();
    const int status = c.status.toInt();
    switch (op) {
    case Op::Loan:
        if (IsBlank(c.status))
            return {circ::copyStatusUndefined(typed)};
        // A copy already lent is refused whatever its status: a loan never
        // takes the place of another one.
        if (lent) {
            QStringList lines{circ::copyOnLoanUntil(c.id, c.due)};
            if (reserved)
                lines << circ::andReservedUntil(c.hold);
            return lines;
        }
        if (isBlockingStatus(status))
            return {circ::loanRefusedForStatus(c.id, status)};
        return {};
    case Op::Return:
        if (!lent)
            return {circ::copyNotOnLoan(c.id)};
        // A copy for in-house use that is out is a consultation: its own screen returns it.
        if (status == StatusInHouse)
            return {circ::consultationAtLoanDesk(c.id)};
        if (c.loanDate.isValid() && today < c.loanDate)
            return {circ::returnBeforeLoan(c.id, c.loanDate)};
        return {};
    case Op::Reservation:
        if (!lent)
            return {circ::reservationCopyAvailable(typed)};
        if (reserved)
            return {circ::reservationAlreadyReserved(c.id, c.hold)};
        return {};
    case Op::Renewal:
        if (!lent)
            return {circ::renewalNotLent(c.id)};
        if (c.due.isValid() && c.due < today)
            return {circ::renewalDuePassed(c.id)};
        if (reserved)
            return {circ::renewalReserved(c.id, c.hold)};
        return {};
    case Op::Cancellation:
        return reserved ? QStringList() : QStringList{circ::cancellationNotReserved(c.id)};
    case Op::Consultation:
        if (IsBlank(c.status))
            return {circ::copyStatusUndefined(typed)};
        if (lent)
            return {circ::consultationRefusedForStatus(c.id, StatusInHouse)};
        if (status != StatusInHouse && status >= StatusInDeposit && status <= 8)
            return {circ::consultationRefusedForStatus(c.id, status)};
        return {};
    case Op::ConsultationReturn:
        if (!lent)
            return {circ::consultationNotCurrent(c.id)};
        if (status != StatusInHouse)
            return {circ::loanAtConsultationScreen(c.id)};
        if (c.loanDate.isValid() && today < c.loanDate)
            return {circ::returnBeforeLoan(c.id, c.loanDate)};
        return {};
    case Op::InterLibraryLoan:
    case Op::InterLibraryReturn:
        break;
    }
    return {};
}

struct LoanDesk::Outcome {
    DeskResult result;
    bool changed = false;   // the copy was no longer as checked: nothing written
    bool error = false;     // a statement failed: nothing written
};

LoanDesk::LoanDesk(Database &db, const QDate &today) : db_(db), fixedToday_(today) {}

QDate LoanDesk::today()
{
    if (fixedToday_.isValid())
        return fixedToday_;
    return clock_.isValid() ? clock_.date() : serverToday(db_);
}

ReaderCheck LoanDesk::checkReader(const QString &typed) { return folian::checkReader(db_, typed, CheckPurpose::Desk, today()); }

DeskCopy LoanDesk::readCopy(const QString &typed)
{
    DeskCopy c;
    const QString id = typed.trimmed();
    if (id.isEmpty())
        return c;
    SqlRows q = db_.query(QStringLiteral("SELECT E.EXP_ID, E.DOC_ID, E.STA_EXP_ID, E.LEC_ID, E.EXP_DATE_PRET, "
                                         "E.EXP_DATE_RETOUR, E.LEC_ID2, E.EXP_DATE_RESERVATION, E.EXP_COTE, N.TYP_ID, "
                                         "N.DOC_TITRE_PROPRE FROM NOTICE_EXEMPLAIRE E "
                                         "LEFT JOIN NOTICE N ON N.DOC_ID = E.DOC_ID WHERE E.EXP_ID = ?"),
                          {id});
    if (!q.next())
        return c;
    const Dialect &d = db_.dialect();
    auto day = [&](int i) { return d.fromDb(q.value(i), ColType::Date).toDate(); };
    auto text = [&](int i) { return q.value(i).toString().trimmed(); };
    c.found = true;
    c.id = q.value(0).toString();
    c.docId = q.value(1);
    c.status = IsBlank(q.value(2)) ? QVariant() : q.value(2);
    c.borrower = text(3);
    c.loanDate = day(4);
    c.due = day(5);
    c.reserver = text(6);
    c.hold = day(7);
    c.cote = q.value(8).toString();
    c.typeId = q.value(9).toString();
    c.title = q.value(10).toString();
    return c;
}

bool LoanDesk::lockReader(const QString &typed)
{
    const QString id = typed.trimmed();
    return id.isEmpty() || db_.exec(db_.dialect().lockRow(QStringLiteral("LECTEUR"), QStringLiteral("LEC_ID")), {id});
}

bool LoanDesk::typedIsBorrower(const QString &readerTyped, const DeskCopy &c, DeskResult &r)
{
    const QString typed = readerTyped.trimmed();
    if (typed.isEmpty() || typed == c.borrower)
        return true;
    r.lines = QStringList{circ::readerNotBorrower()};
    return false;
}

DeskResult LoanDesk::checkCopy(LoanOperation op, const QString &typed)
{
    DeskResult r;
    r.copy = readCopy(typed);
    r.lines = copyRefusal(op, typed, r.copy, today());
    r.passed = r.lines.isEmpty();
    if (op == LoanOperation::Cancellation)
        r.readerId = r.copy.reserver;
    else if (op != LoanOperation::Loan && op != LoanOperation::Reservation && op != LoanOperation::Consultation)
        r.readerId = r.copy.borrower;
    if (r.passed && op == LoanOperation::Renewal) {
        // The borrower must be in good standing to keep the copy longer.
        const ReaderCheck rc = checkReader(r.copy.borrower);
        r.passed = rc.passed;
        r.lines = rc.lines;
        r.blue = rc.passed;
    }
    return r;
}

bool LoanDesk::journal(LoanOperation op, const DeskCopy &c, const QString &reader, const QDate &due)
{
    JournalEntry e;
    e.operation = op;
    e.copyId = c.id;
    e.docId = c.docId;
    e.readerId = reader;
    e.due = due;
    e.when = fixedToday_.isValid() ? QDateTime(fixedToday_, QTime::currentTime()) : clock_;
    return writeJournal(db_, e);
}

template <typename Body>
DeskResult LoanDesk::perform(LoanOperation op, const QString &copyTyped, Body body)
{
    if (const QString refusal = rightRefusal(Right::CirculTransact, session()); !refusal.isEmpty()) {
        DeskResult r;
        r.lines = QStringList{refusal};
        return r;
    }
    // One reading of the server's clock serves the whole operation: its day
    // in every rule, its time in the journal.
    struct Forget {
        QDateTime &clock;
        ~Forget() { clock = QDateTime(); }
    } forget{clock_};
    if (!fixedToday_.isValid())
        clock_ = db_.serverDate();
    Outcome o;
    {
        Transaction tx(db_);
        if (!tx.isActive()) {
            o.error = true;
        } else {
            o = body();
            // A refusal comes before any write of the operation: what the
            // checks wrote (the end of a penalty that is over) stands.
            if (!o.error && !tx.commit())
                o.error = true;
        }
        // A failure rolls back here.
    }
    if (o.error) {
        DeskResult r;
        r.copy = o.result.copy;
        r.lines = QStringList{TFrmData::PostErrorMessage(), db_.lastError().text()};
        return r;
    }
    if (o.changed) {
        // Another workstation got there first: tell what the copy is now.
        DeskResult now = checkCopy(op, copyTyped);
        if (!now.passed)
            return now;
        now.passed = false;
        now.blue = false;
        now.lines = QStringList{circ::copyChangedMeanwhile(now.copy.id)};
        return now;
    }
    return o.result;
}

// The start of an operation for a reader: his row locked until the commit
// (he is not deleted meanwhile, and a second operation for him waits for
// this one), the copy read and checked for `op`, then the reader checked.
// His check when the operation may go on; otherwise `o` says why not.
std::optional<ReaderCheck> LoanDesk::readerAndCopy(LoanOperation op, const QString &readerTyped, const QString &copyTyped,
                                                   const QDate &day, Outcome &o)
{
    DeskResult &r = o.result;
    if (!lockReader(readerTyped)) {
        o.error = true;
        return std::nullopt;
    }
    r.copy = readCopy(copyTyped);
    r.lines = copyRefusal(op, copyTyped, r.copy, day);
    if (!r.lines.isEmpty())
        return std::nullopt;
    ReaderCheck rc = checkReader(readerTyped);
    r.readerId = rc.readerId;
    if (!rc.passed) {
        r.lines = rc.lines;
        return std::nullopt;
    }
    return rc;
}

LoanDesk::Outcome LoanDesk::lendIn(const QString &readerTyped, const QString &copyTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    // The reader's row stays locked until the commit: a loan at another
    // desk to the same reader waits, and then counts this one.
    const std::optional<ReaderCheck> rc = readerAndCopy(LoanOperation::Loan, readerTyped, copyTyped, day, o);
    if (!rc)
        return o;
    const DeskCopy &c = r.copy;
    if (!holdRule(db_, rc->readerId, c.typeId)) {
        o.error = true;
        return o;
    }
    const std::optional<LoanTerms> terms = readLoanTerms(db_, rc->readerId, c.typeId);
    if (!terms) {
        o.error = true;
        return o;
    }
    const int status = c.status.toInt();
    const bool correspondent = terms->catId.toInt() == InterLibraryCategory && !IsBlank(terms->catId);
    if (status == StatusInterLibrary && !correspondent) {
        r.lines = QStringList{circ::interLibraryCopyOrdinaryReader(c.id, rc->readerId)};
        return o;
    }
    if (status != StatusInterLibrary && correspondent) {
        r.lines = QStringList{circ::interLibraryReaderOrdinaryCopy(c.id, rc->readerId)};
        return o;
    }
    const std::optional<Rule> &rule = terms->rule;
    if (!rule) {
        r.lines = QStringList{circ::loanNoRule()};
        return o;
    }
    if (rule->documents - terms->held <= 0) {
        r.lines = QStringList{circ::quotaExceeded(rc->readerId)};
        return o;
    }
    if (!c.reserver.isEmpty() && c.reserver != rc->readerId && c.hold.isValid() && c.hold >= day) {
        r.lines = QStringList{circ::loanReservedUntil(c.id, c.hold)};
        return o;
    }
    const QDate due = DueDate(db_, day, rule->loanDays);
    SqlRows q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, EXP_DATE_PRET = ?, EXP_DATE_RETOUR = ?, "
                                         "LEC_ID2 = NULL, EXP_DATE_RESERVATION = NULL "
                                         "WHERE EXP_ID = ? AND ") + noReader("LEC_ID") + QStringLiteral(" AND STA_EXP_ID = ? "
                                         "AND (") + noReader("LEC_ID2") + QStringLiteral(" OR ") + namesReader("LEC_ID2")
                              + QStringLiteral(" OR EXP_DATE_RESERVATION < ?)"),
                          {rc->readerId, dateValue(db_, day), dateValue(db_, due), c.id, c.status, rc->readerId,
                           dateValue(db_, day)});
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!db_.exec(QStringLiteral("UPDATE NOTICE SET DOC_PRET_EXTERNE = COALESCE(DOC_PRET_EXTERNE, 0) + 1 WHERE DOC_ID = ?"),
                  {c.docId})
        || !countReaderLoan(db_, rc->readerId) || !journal(LoanOperation::Loan, c, rc->readerId, due)) {
        o.error = true;
        return o;
    }
    r.passed = r.blue = true;
    r.lines = QStringList{circ::loanDone(c.id)};
    return o;
}

LoanDesk::Outcome LoanDesk::giveBackIn(const QString &copyTyped, const QString &readerTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::Return, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    if (!typedIsBorrower(readerTyped, c, r))
        return o;
    r.readerId = c.borrower;
    const std::optional<ReaderRules> reader = readReaderRules(db_, c.borrower);
    std::optional<QDate> until =
        reader ? penaltyEnd(day, c.due, reader->penaltyDays, reader->proportional) : std::nullopt;
    // A late return that penalises sets the hold of a reserved copy anew,
    // whoever reserved it by the time the copy is written.
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = NULL, EXP_DATE_PRET = NULL, EXP_DATE_RETOUR = NULL");
    QVariantList binds;
    if (until) {
        const QVariant longest = db_.scalar(QStringLiteral("SELECT MAX(REG_RESERVATION) AS RESERVATION FROM REGLEMENT"));
        if (!longest.isNull()) {
            sql += QStringLiteral(", EXP_DATE_RESERVATION = CASE WHEN ") + noReader("LEC_ID2")
                + QStringLiteral(" THEN EXP_DATE_RESERVATION ELSE ? END");
            binds << dateValue(db_, MoveToOpenDay(db_, day.addDays(longest.toInt())));
        }
    }
    sql += QStringLiteral(" WHERE EXP_ID = ? AND ") + namesReader("LEC_ID");
    binds << c.id << c.borrower;
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    SqlRows q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (until && !(until = penaliseReader(db_, c.borrower, *until))) {
        o.error = true;
        return o;
    }
    // The copy as written: a reservation made meanwhile at another desk is told too.
    const DeskCopy now = readCopy(c.id);
    if (!now.found || !journal(LoanOperation::Return, c, c.borrower, QDate())) {
        o.error = true;
        return o;
    }
    r.passed = true;
    r.blue = !until;
    r.lines = QStringList{until ? circ::returnPenalised(c.borrower, *until) : circ::returnDone(c.id)};
    if (!now.reserver.isEmpty())
        r.lines << circ::returnedCopyReserved(now.reserver, now.hold);
    return o;
}

LoanDesk::Outcome LoanDesk::reserveIn(const QString &readerTyped, const QString &copyTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    const std::optional<ReaderCheck> rc = readerAndCopy(LoanOperation::Reservation, readerTyped, copyTyped, day, o);
    if (!rc)
        return o;
    const DeskCopy &c = r.copy;
    if (c.borrower == rc->readerId) {
        r.lines = QStringList{circ::reservationReaderHoldsCopy(copyTyped)};
        return o;
    }
    if (!holdRule(db_, rc->readerId, c.typeId)) {
        o.error = true;
        return o;
    }
    const std::optional<ReaderRules> reader = readReaderRules(db_, rc->readerId);
    const std::optional<Rule> rule = reader ? readRule(db_, reader->catId, c.typeId) : std::nullopt;
    if (!rule) {
        r.lines = QStringList{circ::reservationNoRule()};
        return o;
    }
    const QDate hold = MoveToOpenDay(db_, (c.due.isValid() ? c.due : day).addDays(rule->holdDays));
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = ?, EXP_DATE_RESERVATION = ? WHERE EXP_ID = ? AND ")
        + namesReader("LEC_ID") + QStringLiteral(" AND ") + noReader("LEC_ID2");
    QVariantList binds{rc->readerId, dateValue(db_, hold), c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    SqlRows q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!journal(LoanOperation::Reservation, c, rc->readerId, hold)) {
        o.error = true;
        return o;
    }
    r.passed = r.blue = true;
    r.lines = QStringList{circ::reservationDone(c.id)};
    return o;
}

LoanDesk::Outcome LoanDesk::renewIn(const QString &copyTyped, const QString &readerTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.readerId = c.borrower;
    r.lines = copyRefusal(LoanOperation::Renewal, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    if (!typedIsBorrower(readerTyped, c, r))
        return o;
    const ReaderCheck rc = checkReader(c.borrower);
    if (!rc.passed) {
        r.lines = rc.lines;
        return o;
    }
    if (!holdRule(db_, c.borrower, c.typeId)) {
        o.error = true;
        return o;
    }
    const std::optional<ReaderRules> reader = readReaderRules(db_, c.borrower);
    const std::optional<Rule> rule = reader ? readRule(db_, reader->catId, c.typeId) : std::nullopt;
    if (!rule) {
        r.lines = QStringList{circ::renewalNoRule()};
        return o;
    }
    if (renewedAlready(db_, c, rule->loanDays)) {
        r.lines = QStringList{circ::renewalAlreadyDone(c.id)};
        return o;
    }
    const QDate due = MoveToOpenDay(db_, (c.due.isValid() ? c.due : day).addDays(rule->renewalDays));
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_DATE_RETOUR = ? WHERE EXP_ID = ? AND ") + namesReader("LEC_ID")
        + QStringLiteral(" AND ") + noReader("LEC_ID2");
    QVariantList binds{dateValue(db_, due), c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    SqlRows q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!journal(LoanOperation::Renewal, c, c.borrower, due)) {
        o.error = true;
        return o;
    }
    r.passed = r.blue = true;
    r.lines = QStringList{circ::renewalDone(c.id)};
    return o;
}

LoanDesk::Outcome LoanDesk::cancelIn(const QString &copyTyped, const QString &readerTyped)
{
    Outcome o;
    DeskResult &r = o.result;
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::Cancellation, copyTyped, c, today());
    if (!r.lines.isEmpty())
        return o;
    const QString typedReader = readerTyped.trimmed();
    if (!typedReader.isEmpty() && typedReader != c.reserver) {
        r.lines = QStringList{circ::readerNotReserver()};
        return o;
    }
    r.readerId = c.reserver;
    SqlRows q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = NULL, EXP_DATE_RESERVATION = NULL "
                                         "WHERE EXP_ID = ? AND ")
                              + namesReader("LEC_ID2"),
                          {c.id, c.reserver});
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!journal(LoanOperation::Cancellation, c, c.reserver, c.hold)) {
        o.error = true;
        return o;
    }
    r.passed = r.blue = true;
    r.lines = QStringList{circ::cancellationDone(c.id)};
    return o;
}

LoanDesk::Outcome LoanDesk::consultIn(const QString &readerTyped, const QString &copyTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    const std::optional<ReaderCheck> rc = readerAndCopy(LoanOperation::Consultation, readerTyped, copyTyped, day, o);
    if (!rc)
        return o;
    const DeskCopy &c = r.copy;
    SqlRows q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, EXP_DATE_PRET = ?, EXP_DATE_RETOUR = ? "
                                         "WHERE EXP_ID = ? AND ")
                              + noReader("LEC_ID") + QStringLiteral(" AND STA_EXP_ID = ?"),
                          {rc->readerId, dateValue(db_, day), dateValue(db_, day), c.id, c.status});
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!db_.exec(QStringLiteral("UPDATE NOTICE SET DOC_PRET_INTERNE = COALESCE(DOC_PRET_INTERNE, 0) + 1 WHERE DOC_ID = ?"),
                  {c.docId})
        || !journal(LoanOperation::Consultation, c, rc->readerId, day)) {
        o.error = true;
        return o;
    }
    r.passed = r.blue = true;
    r.lines = QStringList{circ::consultationDone(c.id)};
    return o;
}

LoanDesk::Outcome LoanDesk::endConsultationIn(const QString &copyTyped, const QString &readerTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::ConsultationReturn, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    if (!typedIsBorrower(readerTyped, c, r))
        return o;
    r.readerId = c.borrower;
    // A copy kept past the day of its consultation penalises the reader,
    // whatever his category's penalty.
    std::optional<QDate> until;
    if (c.due.isValid() && day > c.due) {
        const std::optional<ReaderRules> reader = readReaderRules(db_, c.borrower);
        const int days = reader ? reader->penaltyDays : 0;
        const bool proportional = reader && !IsBlank(reader->proportional) && reader->proportional.toInt() == 1;
        until = day.addDays(days * (proportional ? c.due.daysTo(day) : 1));
    }
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = NULL, EXP_DATE_PRET = NULL, EXP_DATE_RETOUR = NULL "
                                 "WHERE EXP_ID = ? AND ")
        + namesReader("LEC_ID");
    QVariantList binds{c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    SqlRows q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if ((until && !(until = penaliseReader(db_, c.borrower, *until)))
        || !journal(LoanOperation::ConsultationReturn, c, c.borrower, QDate())) {
        o.error = true;
        return o;
    }
    r.passed = true;
    r.blue = !until;
    r.lines = QStringList{until ? circ::consultationReturnPenalised(c.borrower, *until) : circ::returnDone(c.id)};
    return o;
}

DeskResult LoanDesk::lend(const QString &reader, const QString &copy)
{
    return perform(LoanOperation::Loan, copy, [&] { return lendIn(reader, copy); });
}

DeskResult LoanDesk::giveBack(const QString &copy, const QString &reader)
{
    return perform(LoanOperation::Return, copy, [&] { return giveBackIn(copy, reader); });
}

DeskResult LoanDesk::reserve(const QString &reader, const QString &copy)
{
    return perform(LoanOperation::Reservation, copy, [&] { return reserveIn(reader, copy); });
}

DeskResult LoanDesk::renew(const QString &copy, const QString &reader)
{
    return perform(LoanOperation::Renewal, copy, [&] { return renewIn(copy, reader); });
}

DeskResult LoanDesk::cancelReservation(const QString &copy, const QString &reader)
{
    return perform(LoanOperation::Cancellation, copy, [&] { return cancelIn(copy, reader); });
}

DeskResult LoanDesk::consult(const QString &reader, const QString &copy)
{
    return perform(LoanOperation::Consultation, copy, [&] { return consultIn(reader, copy); });
}

DeskResult LoanDesk::endConsultation(const QString &copy, const QString &reader)
{
    return perform(LoanOperation::ConsultationReturn, copy, [&] { return endConsultationIn(copy, reader); });
}

DeskResult LoanDesk::run(LoanOperation op, const QString &reader, const QString &copy)
{
    switch (op) {
    case LoanOperation::Loan: return lend(reader, copy);
    case LoanOperation::Return: return giveBack(copy, reader);
    case LoanOperation::Reservation: return reserve(reader, copy);
    case LoanOperation::Renewal: return renew(copy, reader);
    case LoanOperation::Cancellation: return cancelReservation(copy, reader);
    case LoanOperation::Consultation: return consult(reader, copy);
    case LoanOperation::ConsultationReturn: return endConsultation(copy, reader);
    default: return {};
    }
}

} // namespace folian
