// Circulation commands.

#include "ctl.h"

#include "circulation/core/readerimport.h"
#include "circulation/core/readers.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/reminders.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

bool toId(const QString &text, int *id)
{
    bool ok = false;
    *id = text.toInt(&ok);
    return ok && *id > 0;
}

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
    if (!toId(a.value(QStringLiteral("category")), &options.categoryId))
        return fail(QStringLiteral("import-readers needs --category N (the CAT_ID of the readers)"));
    if (a.has(QStringLiteral("structure"))) {
        int structure = 0;
        if (!toId(a.value(QStringLiteral("structure")), &structure))
            return fail(QStringLiteral("--structure takes a STR_ID"));
        options.structureId = structure;
    }
    if (!dateOption(a, &options.registrationDate))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    const ReaderImportResult result = importReaders(db, a.positional.first(), options);
    if (!result.error.isEmpty())
        return fail(result.error);
    say(result.summary());
    for (const QString &line : result.skippedLines())
        say(line);
    return 0;
}

// Writes the reminder letters of every late reader into a directory, for a
// nightly job: one letter per reader and kind of loan.
int writeReminderLetters(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("reminders takes one directory (see --help)"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
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
    out << Command{QStringLiteral("import-readers"),
                   QStringLiteral("import-readers FILE --category N [--structure N] [--date YYYY-MM-DD]"),
                   QStringLiteral("create readers from a text file of lines \"number; surname; first name; "
                                  "date of birth; address\" (UTF-8 or Windows-1256); lists the lines skipped"),
                   {QStringLiteral("category"), QStringLiteral("structure"), QStringLiteral("date")}, {},
                   importReaderFile};
    out << Command{QStringLiteral("reminders"), QStringLiteral("reminders DIR [--date YYYY-MM-DD]"),
                   QStringLiteral("write the reminder letter of every reader late with a loan or an inter-library "
                                  "loan into DIR (relance-pret-N.html, relance-peb-N.html); prints how many"),
                   {QStringLiteral("date")}, {}, writeReminderLetters};
}

} // namespace folian::ctl
