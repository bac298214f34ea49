#include "circulation/core/interlibrary.h"

#include "base/dates.h"
#include "base/rights.h"

#include "circulation/core/circulationtexts.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/interlibrarytexts.h"
#include "circulation/core/loanjournal.h"
#include "data/core/newkey.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"


namespace folian {

namespace {

InterLibraryResult refusal(const QString &line, InterLibraryField field)
{
    InterLibraryResult r;
    r.lines = QStringList{line};
    r.field = field;
    return r;
}

InterLibraryResult failed(Database &db)
{
    InterLibraryResult r;
    r.lines = QStringList{TFrmData::PostErrorMessage()};
    if (const QString why = db.lastError().text().trimmed(); !why.isEmpty())
        r.lines << why;
    return r;
}

// The open loan of a copy at a library.
struct OpenLoan {
    int id = 0;
    QString copy;
    QString reader;
    QDate due;
};

std::optional<OpenLoan> findOpenLoan(Database &db, const QString &copy, int libraryId)
{
    SqlRows q = db.query(QStringLiteral("SELECT PEB_ID, PEB_EXP_ID, LEC_ID, BIB_RETOUR FROM PEB "
                                        "WHERE PEB_EXP_ID = ? AND BIB_ID = ? AND BIB_REMIS = 0 ORDER BY PEB_ID"),
                         {copy, libraryId});
    if (!q.next())
        return std::nullopt;
    return OpenLoan{q.value(0).toInt(), q.value(1).toString(), q.value(2).toString().trimmed(),
                    db.dialect().fromDb(q.value(3), ColType::Date).toDate()};
}

int libraryKey(const QVariant &v)
{
    bool ok = false;
    const int id = IsBlank(v) ? 0 : v.toInt(&ok);
    return ok && id > 0 ? id : 0;
}

} // namespace

std::optional<QDate> interLibraryPenaltyEnd(const QDate &today, const QDate &due, int penaltyDays,
                                            const QVariant &proportional)
{
    if (!due.isValid() || today <= due)
        return std::nullopt;
    // A negative penalty in the category counts as none: the penalty ends today.
    const qint64 days = qMax(0, penaltyDays);
    const bool perDay = !IsBlank(proportional) && proportional.toInt() == 1;
    return today.addDays(perDay ? days * qMax<qint64>(1, due.daysTo(today)) : days);
}

InterLibraryDesk::InterLibraryDesk(Database &db, const QDate &today) : db_(db), fixedToday_(today) {}

QDate InterLibraryDesk::today() { return fixedToday_.isValid() ? fixedToday_ : serverToday(db_); }

ReaderCheck InterLibraryDesk::checkReader(const QString &typed)
{
    return folian::checkReader(db_, typed, CheckPurpose::Desk, today());
}

bool InterLibraryDesk::journal(int operation, const QString &copy, const QString &reader, const QDate &due)
{
    JournalEntry e;
    e.operation = LoanOperation(operation);
    e.copyId = copy;
    e.readerId = reader;
    e.due = due;
    if (fixedToday_.isValid())
        e.when = QDateTime(fixedToday_, QTime::currentTime());
    return writeJournal(db_, e);
}

InterLibraryResult InterLibraryDesk::lend(const InterLibraryLoan &loan)
{
    if (const QString refusal = rightRefusal(Right::CirculPeb, session()); !refusal.isEmpty())
        return {false, false, {refusal}};
    const QDate day = today();
    const QString copy = loan.copy.trimmed(), title = loan.title.trimmed(), author = loan.author.trimmed();
    const int library = libraryKey(loan.libraryId);
    // What the operator typed, before anything is read.
    if (loan.reader.trimmed().isEmpty())
        return refusal(circ::readerNotEntered(), InterLibraryField::Reader);
    if (copy.isEmpty())
        return refusal(circ::copyNotEntered(), InterLibraryField::Copy);
    if (title.isEmpty() || author.isEmpty())
        return refusal(circ::interLibraryFieldsMissing(), InterLibraryField::Title);
    if (library == 0)
        return refusal(circ::libraryNotChosen(), InterLibraryField::Library);
    if (loan.due.trimmed().isEmpty())
        return refusal(circ::dueDateMissing(), InterLibraryField::Due);
    const QDate due = ReadDate(loan.due);
    if (!due.isValid())
        return refusal(circ::dueDateInvalid(loan.due.trimmed(), DateFormat()), InterLibraryField::Due);
    if (due < day)
        return refusal(circ::dueDateBeforeToday(day), InterLibraryField::Due);

    Transaction tx(db_);
    if (!tx.isActive())
        return failed(db_);
    // The library's row, then the reader's: registrations at this library
    // follow one another, and the library is not deleted meanwhile.
    const Dialect &d = db_.dialect();
    if (!db_.exec(d.lockRow(QStringLiteral("BIBLIOTHEQUE"), QStringLiteral("BIB_ID")), {library})
        || !db_.exec(d.lockRow(QStringLiteral("LECTEUR"), QStringLiteral("LEC_ID")), {loan.reader.trimmed()}))
        return failed(db_);
    if (db_.scalar(QStringLiteral("SELECT COUNT(*) FROM BIBLIOTHEQUE WHERE BIB_ID = ?"), {library}).toInt() == 0)
        return refusal(circ::libraryGone(), InterLibraryField::Library);
    const ReaderCheck rc = checkReader(loan.reader);
    if (!rc.passed) {
        InterLibraryResult r = refusal(QString(), InterLibraryField::Reader);
        r.lines = rc.lines;
        r.readerId = rc.readerId;
        return r;
    }
    if (const std::optional<OpenLoan> open = findOpenLoan(db_, copy, library)) {
        InterLibraryResult r = refusal(circ::interLibraryCopyOpen(open->copy, open->reader), InterLibraryField::Copy);
        r.readerId = rc.readerId;
        return r;
    }
    int key = 0;
    const KeyedInsert done = insertWithNewKey(
        db_, QStringLiteral("PEB"), QStringLiteral("PEB_ID"),
        [&](int k) {
            return db_.exec(QStringLiteral("INSERT INTO PEB (PEB_ID, PEB_EXP_ID, PEB_TITRE, PEB_AUTEUR, BIB_ID, LEC_ID, "
                                           "BIB_PRET, BIB_RETOUR, BIB_REMIS) VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                            {k, copy, title, author, library, rc.readerId, dateValue(db_, day), dateValue(db_, due)});
        },
        {}, &key);
    if (done != KeyedInsert::Done || !journal(int(LoanOperation::InterLibraryLoan), copy, rc.readerId, due)
        || !tx.commit())
        return failed(db_);
    InterLibraryResult r;
    r.passed = r.blue = true;
    r.readerId = rc.readerId;
    r.copyId = copy;
    r.due = due;
    r.lines = QStringList{circ::loanDone(copy)};
    return r;
}

InterLibraryResult InterLibraryDesk::giveBack(const QString &typed, const QVariant &libraryId)
{
    if (const QString refusal = rightRefusal(Right::CirculPeb, session()); !refusal.isEmpty())
        return {false, false, {refusal}};
    const QDate day = today();
    const QString copy = typed.trimmed();
    const int library = libraryKey(libraryId);
    if (copy.isEmpty())
        return refusal(circ::copyNotEntered(), InterLibraryField::Copy);
    if (library == 0)
        return refusal(circ::libraryNotChosen(), InterLibraryField::Library);

    Transaction tx(db_);
    if (!tx.isActive())
        return failed(db_);
    const std::optional<OpenLoan> loan = findOpenLoan(db_, copy, library);
    if (!loan)
        return refusal(circ::interLibraryNotFound(), InterLibraryField::Copy);
    // Closed only while still open: of two returns at once, one does it.
    SqlRows q = db_.query(QStringLiteral("UPDATE PEB SET BIB_REMIS = 1 WHERE PEB_ID = ? AND BIB_REMIS = 0"), {loan->id});
    if (!q.isActive())
        return failed(db_);
    if (q.numRowsAffected() != 1)
        return refusal(circ::interLibraryNotFound(), InterLibraryField::Copy);

    std::optional<QDate> until;
    SqlRows c = db_.query(QStringLiteral("SELECT C.CAT_PENALITE, C.CAT_PENALITE_PROP FROM LECTEUR L "
                                         "LEFT JOIN CATEGORIE C ON C.CAT_ID = L.CAT_ID WHERE L.LEC_ID = ?"),
                          {loan->reader});
    if (c.next())
        until = interLibraryPenaltyEnd(day, loan->due, c.value(0).toInt(), c.value(1));
    c.finish();
    if ((until && !(until = penaliseReader(db_, loan->reader, *until)))
        || !journal(int(LoanOperation::InterLibraryReturn), loan->copy, loan->reader, QDate()) || !tx.commit())
        return failed(db_);
    InterLibraryResult r;
    r.passed = true;
    r.blue = !until;
    r.readerId = loan->reader;
    r.copyId = loan->copy;
    r.due = loan->due;
    r.lines = QStringList{until ? circ::interLibraryReturnPenalised(loan->reader, *until) : circ::returnDone(loan->copy)};
    return r;
}

} // namespace folian
