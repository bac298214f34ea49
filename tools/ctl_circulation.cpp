// Circulation commands.

#include "ctl.h"

#include "circulation/core/categories.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/deskreplay.h"
#include "circulation/core/desktexts.h"
#include "circulation/core/loandesk.h"
#include "circulation/core/readerimport.h"
#include "circulation/core/readers.h"
#include "circulation/core/reminders.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

// The day of --date, when given; false when it is not a day.
bool dateOption(const Args &a, QDate *day)
{
    if (!a.has(QStringLiteral("date")))
        return true;
    *day = QDate::fromString(a.value(QStringLiteral("date")), Qt::ISODate);
    return day->isValid();
}

// Creates readers from a ";"-separated file, as the reader import screen does.
int importReaderFile(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("import-readers takes one file (see --help)"));
    ReaderImportOptions options;
    if (!toKey(a.value(QStringLiteral("category")), &options.categoryId))
        return fail(QStringLiteral("import-readers needs --category N (the CAT_ID of the readers)"));
    if (a.has(QStringLiteral("structure"))) {
        int structure = 0;
        if (!toKey(a.value(QStringLiteral("structure")), &structure))
            return fail(QStringLiteral("--structure takes a STR_ID"));
        options.structureId = structure;
    }
    if (!dateOption(a, &options.registrationDate))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const ReaderImportResult result = importReaders(db, a.positional.first(), options);
    if (!result.readable || (result.lines == 0 && !result.error.isEmpty()))
        return fail(result.error);  // nothing was read
    say(result.summary());
    for (const QString &line : result.skippedLines())
        say(line);
    if (!result.error.isEmpty())
        return fail(result.error);
    // A script learns that readers of its file were left out.
    if (!result.skipped.isEmpty())
        return fail(circ::importLinesRejected(int(result.skipped.size())));
    return 0;
}

// One desk operation: READER COPY, or COPY [READER] when the reader is optional.
int deskOperation(const Args &a, LoanOperation op, bool readerFirst)
{
    const qsizetype n = a.positional.size();
    if (readerFirst ? n != 2 : (n < 1 || n > 2))
        return fail(QStringLiteral("wrong number of arguments (see --help)"));
    const QString reader = readerFirst ? a.positional.at(0) : a.positional.value(1);
    const QString copy = readerFirst ? a.positional.at(1) : a.positional.at(0);
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const DeskResult r = LoanDesk(db).run(op, reader, copy);
    return tell(r.passed, r.message());
}

int replayDeskFile(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("desk takes one file (see --help)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const ReplayResult r = replayDesk(db, a.positional.first());
    if (!r.error.isEmpty())
        return fail(r.error);
    for (const QString &line : r.lines)
        say(line);
    const QString counts = circ::replayCounts(r.done, r.refused);
    if (r.refused > 0)
        return fail(counts);
    say(counts);
    return 0;
}

// Deletes a reader who holds nothing, as the reader search does.
int deleteReaderNumber(const Args &a)
{
    if (a.positional.size() != 1 || a.positional.first().trimmed().isEmpty())
        return fail(QStringLiteral("reader-delete takes one reader number (LEC_ID)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const QString refusal = deleteReader(db, a.positional.first().trimmed());
    return refusal.isEmpty() ? 0 : fail(refusal);
}

// Deletes a category no reader belongs to, with its loan rules, as the
// categories screen does.
int deleteCategoryNumber(const Args &a)
{
    int id = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("category-delete takes one category number (CAT_ID)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const QString refusal = deleteCategory(db, id);
    return refusal.isEmpty() ? 0 : fail(refusal);
}

// Writes the reminder letters of every late reader into a directory, for a
// nightly job: one letter per reader and kind of loan.
int writeReminderLetters(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("reminders takes one directory (see --help)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    QDate today = serverToday(db);
    if (!dateOption(a, &today))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    ReminderBatch batch;
    const QString directory = a.positional.first();
    if (!writeAllReminders(db, directory, today, &batch))
        return fail(batch.message);
    say(circ::remindersWritten(batch.loanLetters, batch.interLibraryLetters, directory));
    return 0;
}

} // namespace

void addCirculationCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("loan"), QStringLiteral("loan READER COPY [--user LOGIN]"),
                   QStringLiteral("lend a copy at the loan desk, with every check of the desk"), {}, {},
                   [](const Args &a) { return deskOperation(a, LoanOperation::Loan, true); }};
    out << Command{QStringLiteral("return"), QStringLiteral("return COPY [READER] [--user LOGIN]"),
                   QStringLiteral("return a copy (penalising a late return)"), {}, {},
                   [](const Args &a) { return deskOperation(a, LoanOperation::Return, false); }};
    out << Command{QStringLiteral("reserve"), QStringLiteral("reserve READER COPY [--user LOGIN]"),
                   QStringLiteral("reserve a copy on loan for a reader"), {}, {},
                   [](const Args &a) { return deskOperation(a, LoanOperation::Reservation, true); }};
    out << Command{QStringLiteral("renew"), QStringLiteral("renew COPY [READER] [--user LOGIN]"),
                   QStringLiteral("renew a loan once"), {}, {},
                   [](const Args &a) { return deskOperation(a, LoanOperation::Renewal, false); }};
    out << Command{QStringLiteral("cancel-reservation"), QStringLiteral("cancel-reservation COPY [READER] [--user LOGIN]"),
                   QStringLiteral("cancel the reservation of a copy"), {}, {},
                   [](const Args &a) { return deskOperation(a, LoanOperation::Cancellation, false); }};
    out << Command{QStringLiteral("desk"), QStringLiteral("desk FILE [--user LOGIN]"),
                   QStringLiteral("replay the operations of a desk that worked offline: lines "
                                  "DATE<TAB>loan|return|reserve|renew|cancel<TAB>READER<TAB>COPY, in file order"),
                   {}, {}, replayDeskFile};

    out << Command{QStringLiteral("import-readers"),
                   QStringLiteral("import-readers FILE --category N [--structure N] [--date YYYY-MM-DD]"),
                   QStringLiteral("create readers from a text file of lines \"number; surname; first name; "
                                  "date of birth; address\" (UTF-8 or Windows-1256); lists the lines skipped"),
                   {QStringLiteral("category"), QStringLiteral("structure"), QStringLiteral("date")}, {},
                   importReaderFile};
    out << Command{QStringLiteral("reader-delete"), QStringLiteral("reader-delete NUMBER [--user LOGIN]"),
                   QStringLiteral("delete a reader who holds nothing (no loan, reservation or open inter-library loan)"),
                   {}, {}, deleteReaderNumber};
    out << Command{QStringLiteral("category-delete"), QStringLiteral("category-delete N [--user LOGIN]"),
                   QStringLiteral("delete reader category N and its loan rules, when no reader belongs to it"), {}, {},
                   deleteCategoryNumber};
    out << Command{QStringLiteral("reminders"), QStringLiteral("reminders DIR [--date YYYY-MM-DD]"),
                   QStringLiteral("write the reminder letter of every reader late with a loan or an inter-library "
                                  "loan into DIR (relance-pret-N.html, relance-peb-N.html); prints how many"),
                   {QStringLiteral("date")}, {}, writeReminderLetters};
}

} // namespace folian::ctl
