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
    QSqlQuery q = db.query(QStringLiteral("SELECT L.LEC_ID, L.CAT_ID, C.CAT_PENALITE, C.CAT_PENALITE_PROP FROM LECTEUR L "
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
    QSqlQuery q = db.query(QStringLiteral("SELECT REG_DOCUMENT, REG_PRET, REG_PROLONGATION, REG_RESERVATION FROM REGLEMENT "
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
    QSqlQuery q = db.query(QStringLiteral("SELECT L.CAT_ID, R.CAT_ID, R.REG_DOCUMENT, R.REG_PRET, R.REG_PROLONGATION, "
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
        return lent ? QStringList() : QStringList{circ::copyNotOnLoan(c.id)};
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
        return lent ? QStringList() : QStringList{circ::consultationNotCurrent(c.id)};
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

QDate LoanDesk::today() { return fixedToday_.isValid() ? fixedToday_ : serverToday(db_); }

ReaderCheck LoanDesk::checkReader(const QString &typed) { return folian::checkReader(db_, typed, CheckPurpose::Desk, today()); }

DeskCopy LoanDesk::readCopy(const QString &typed)
{
    DeskCopy c;
    const QString id = typed.trimmed();
    if (id.isEmpty())
        return c;
    QSqlQuery q = db_.query(QStringLiteral("SELECT E.EXP_ID, E.DOC_ID, E.STA_EXP_ID, E.LEC_ID, E.EXP_DATE_PRET, "
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
    if (fixedToday_.isValid())
        e.when = QDateTime(fixedToday_, QTime::currentTime());
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
    Outcome o;
    {
        Transaction tx(db_);
        if (!tx.isActive()) {
            o.error = true;
        } else {
            o = body();
            if (o.result.passed && !o.error && !tx.commit())
                o.error = true;
        }
        // Anything else rolls back here.
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

LoanDesk::Outcome LoanDesk::lendIn(const QString &readerTyped, const QString &copyTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    // The reader's row stays locked until the commit: a loan at another
    // desk to the same reader waits, and then counts this one.
    const QString readerKey = readerTyped.trimmed();
    if (!readerKey.isEmpty() && !db_.exec(db_.dialect().lockRow(QStringLiteral("LECTEUR"), QStringLiteral("LEC_ID")), {readerKey})) {
        o.error = true;
        return o;
    }
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::Loan, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    const ReaderCheck rc = checkReader(readerTyped);
    r.readerId = rc.readerId;
    if (!rc.passed) {
        r.lines = rc.lines;
        return o;
    }
    const std::optional<LoanTerms> terms = readLoanTerms(db_, rc.readerId, c.typeId);
    if (!terms) {
        o.error = true;
        return o;
    }
    const int status = c.status.toInt();
    const bool correspondent = terms->catId.toInt() == InterLibraryCategory && !IsBlank(terms->catId);
    if (status == StatusInterLibrary && !correspondent) {
        r.lines = QStringList{circ::interLibraryCopyOrdinaryReader(c.id, rc.readerId)};
        return o;
    }
    if (status != StatusInterLibrary && correspondent) {
        r.lines = QStringList{circ::interLibraryReaderOrdinaryCopy(c.id, rc.readerId)};
        return o;
    }
    const std::optional<Rule> &rule = terms->rule;
    if (!rule) {
        r.lines = QStringList{circ::loanNoRule()};
        return o;
    }
    if (rule->documents - terms->held <= 0) {
        r.lines = QStringList{circ::quotaExceeded(rc.readerId)};
        return o;
    }
    if (!c.reserver.isEmpty() && c.reserver != rc.readerId && c.hold.isValid() && c.hold >= day) {
        r.lines = QStringList{circ::loanReservedUntil(c.id, c.hold)};
        return o;
    }
    const QDate due = DueDate(db_, day, rule->loanDays);
    QSqlQuery q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, EXP_DATE_PRET = ?, EXP_DATE_RETOUR = ?, "
                                           "LEC_ID2 = NULL, EXP_DATE_RESERVATION = NULL "
                                           "WHERE EXP_ID = ? AND LEC_ID IS NULL AND STA_EXP_ID = ? "
                                           "AND (LEC_ID2 IS NULL OR LEC_ID2 = ? OR EXP_DATE_RESERVATION < ?)"),
                            {rc.readerId, dateValue(db_, day), dateValue(db_, due), c.id, c.status, rc.readerId,
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
        || !countReaderLoan(db_, rc.readerId) || !journal(LoanOperation::Loan, c, rc.readerId, due)) {
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
    const std::optional<QDate> until =
        reader ? penaltyEnd(day, c.due, reader->penaltyDays, reader->proportional) : std::nullopt;
    // A late return that penalises sets the hold of a reserved copy anew.
    QDate hold = c.hold;
    bool newHold = false;
    if (until && !c.reserver.isEmpty()) {
        const QVariant longest = db_.scalar(QStringLiteral("SELECT MAX(REG_RESERVATION) AS RESERVATION FROM REGLEMENT"));
        if (!longest.isNull()) {
            hold = MoveToOpenDay(db_, day.addDays(longest.toInt()));
            newHold = true;
        }
    }
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = NULL, EXP_DATE_PRET = NULL, EXP_DATE_RETOUR = NULL");
    QVariantList binds;
    if (newHold) {
        sql += QStringLiteral(", EXP_DATE_RESERVATION = ?");
        binds << dateValue(db_, hold);
    }
    sql += QStringLiteral(" WHERE EXP_ID = ? AND LEC_ID = ?");
    binds << c.id << c.borrower;
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    QSqlQuery q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if ((until && !penaliseReader(db_, c.borrower, *until)) || !journal(LoanOperation::Return, c, c.borrower, QDate())) {
        o.error = true;
        return o;
    }
    r.passed = true;
    r.blue = !until;
    r.lines = QStringList{until ? circ::returnPenalised(c.borrower, *until) : circ::returnDone(c.id)};
    if (!c.reserver.isEmpty())
        r.lines << circ::returnedCopyReserved(c.reserver, hold);
    return o;
}

LoanDesk::Outcome LoanDesk::reserveIn(const QString &readerTyped, const QString &copyTyped)
{
    const QDate day = today();
    Outcome o;
    DeskResult &r = o.result;
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::Reservation, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    const ReaderCheck rc = checkReader(readerTyped);
    r.readerId = rc.readerId;
    if (!rc.passed) {
        r.lines = rc.lines;
        return o;
    }
    if (c.borrower == rc.readerId) {
        r.lines = QStringList{circ::reservationReaderHoldsCopy(copyTyped)};
        return o;
    }
    const std::optional<ReaderRules> reader = readReaderRules(db_, rc.readerId);
    const std::optional<Rule> rule = reader ? readRule(db_, reader->catId, c.typeId) : std::nullopt;
    if (!rule) {
        r.lines = QStringList{circ::reservationNoRule()};
        return o;
    }
    const QDate hold = MoveToOpenDay(db_, (c.due.isValid() ? c.due : day).addDays(rule->holdDays));
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = ?, EXP_DATE_RESERVATION = ? "
                                 "WHERE EXP_ID = ? AND LEC_ID = ? AND LEC_ID2 IS NULL");
    QVariantList binds{rc.readerId, dateValue(db_, hold), c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    QSqlQuery q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if (!journal(LoanOperation::Reservation, c, rc.readerId, hold)) {
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
    const std::optional<ReaderRules> reader = readReaderRules(db_, c.borrower);
    const std::optional<Rule> rule = reader ? readRule(db_, reader->catId, c.typeId) : std::nullopt;
    if (!rule) {
        r.lines = QStringList{circ::renewalNoRule()};
        return o;
    }
    // A loan longer than the loan period was renewed already (or its due
    // date was moved past closed days).
    if (c.loanDate.isValid() && c.due.isValid() && c.loanDate.daysTo(c.due) > rule->loanDays) {
        r.lines = QStringList{circ::renewalAlreadyDone(c.id)};
        return o;
    }
    const QDate due = MoveToOpenDay(db_, (c.due.isValid() ? c.due : day).addDays(rule->renewalDays));
    QString sql = QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_DATE_RETOUR = ? WHERE EXP_ID = ? AND LEC_ID = ? "
                                 "AND LEC_ID2 IS NULL");
    QVariantList binds{dateValue(db_, due), c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    QSqlQuery q = db_.query(sql, binds);
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
    QSqlQuery q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID2 = NULL, EXP_DATE_RESERVATION = NULL "
                                           "WHERE EXP_ID = ? AND LEC_ID2 = ?"),
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
    r.copy = readCopy(copyTyped);
    const DeskCopy &c = r.copy;
    r.lines = copyRefusal(LoanOperation::Consultation, copyTyped, c, day);
    if (!r.lines.isEmpty())
        return o;
    const ReaderCheck rc = checkReader(readerTyped);
    r.readerId = rc.readerId;
    if (!rc.passed) {
        r.lines = rc.lines;
        return o;
    }
    QSqlQuery q = db_.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET LEC_ID = ?, EXP_DATE_PRET = ?, EXP_DATE_RETOUR = ? "
                                           "WHERE EXP_ID = ? AND LEC_ID IS NULL AND STA_EXP_ID = ?"),
                            {rc.readerId, dateValue(db_, day), dateValue(db_, day), c.id, c.status});
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
        || !journal(LoanOperation::Consultation, c, rc.readerId, day)) {
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
                                 "WHERE EXP_ID = ? AND LEC_ID = ?");
    QVariantList binds{c.id, c.borrower};
    sameDay(db_, sql, binds, "EXP_DATE_PRET", c.loanDate);
    sameDay(db_, sql, binds, "EXP_DATE_RETOUR", c.due);
    QSqlQuery q = db_.query(sql, binds);
    if (!q.isActive()) {
        o.error = true;
        return o;
    }
    if (q.numRowsAffected() != 1) {
        o.changed = true;
        return o;
    }
    if ((until && !penaliseReader(db_, c.borrower, *until))
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
