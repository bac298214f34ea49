// Circulation commands.

#include "ctl.h"

#include "circulation/core/readerimport.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

bool toId(const QString &text, int *id)
{
    bool ok = false;
    *id = text.toInt(&ok);
    return ok && *id > 0;
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
    if (a.has(QStringLiteral("date"))) {
        options.registrationDate = QDate::fromString(a.value(QStringLiteral("date")), Qt::ISODate);
        if (!options.registrationDate.isValid())
            return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    }
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

} // namespace

void addCirculationCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("import-readers"),
                   QStringLiteral("import-readers FILE --category N [--structure N] [--date YYYY-MM-DD]"),
                   QStringLiteral("create readers from a text file of lines \"number; surname; first name; "
                                  "date of birth; address\" (UTF-8 or Windows-1256); lists the lines skipped"),
                   {QStringLiteral("category"), QStringLiteral("structure"), QStringLiteral("date")}, {},
                   importReaderFile};
}

} // namespace folian::ctl
