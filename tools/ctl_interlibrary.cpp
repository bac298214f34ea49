// Partner libraries, their correspondents and the inter-library loan.

#include "ctl.h"

#include "circulation/core/interlibrary.h"
#include "circulation/core/libraries.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"

#include <QSqlRecord>
#include <QTextStream>
#include <cstdio>

namespace folian::ctl {

namespace {

// The partner library of --library; null when it is missing or not a key.
QVariant libraryOption(const Args &a)
{
    int library = 0;
    return toKey(a.value(QStringLiteral("library")), &library) ? QVariant(library) : QVariant();
}

int listLibraries(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("libraries takes no argument"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    const SqlText sql = librariesSql();
    SqlRows q = db.query(sql.sql, sql.binds);
    if (!q.isActive())
        return fail(db.lastError().text());
    const int id = q.record().indexOf(QStringLiteral("BIB_ID"));
    const int name = q.record().indexOf(QStringLiteral("BIB_NOM"));
    const int body = q.record().indexOf(QStringLiteral("BIB_TUTELLE"));
    while (q.next())
        say(q.value(id).toString() + u'\t' + q.value(name).toString() + u'\t' + q.value(body).toString());
    return 0;
}

int addLibrary(const Args &a)
{
    if (a.positional.size() != 2)
        return fail(QStringLiteral("library-add takes a name and a supervising body (see --help)"));
    LibrarySheet s;
    s.nom = a.positional.at(0);
    s.tutelle = a.positional.at(1);
    s.contact = a.value(QStringLiteral("contact"));
    s.phone = a.value(QStringLiteral("phone"));
    s.fax = a.value(QStringLiteral("fax"));
    s.email = a.value(QStringLiteral("email"));
    s.adresse = a.value(QStringLiteral("address"));
    s.site = a.value(QStringLiteral("site"));
    s.catalogue = a.value(QStringLiteral("catalogue"));
    s.horaires = a.value(QStringLiteral("hours"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const LibrarySave saved = saveLibrary(db, s);
    if (!saved.ok())
        return fail(saved.message);
    say(QString::number(saved.id));
    return 0;
}

int removeLibrary(const Args &a)
{
    int id = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("library-delete takes the BIB_ID of a library"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const QString refusal = deleteLibrary(db, id);
    return refusal.isEmpty() ? 0 : fail(refusal);
}

int addCorrespondent(const Args &a)
{
    int library = 0;
    if (a.positional.size() != 4 || !toKey(a.positional.first(), &library))
        return fail(QStringLiteral("correspondent-add takes LIBRARY NUMBER SURNAME FIRST-NAME (see --help)"));
    CorrespondentSheet s;
    s.id = a.positional.at(1);
    s.nom = a.positional.at(2);
    s.prenom = a.positional.at(3);
    s.email = a.value(QStringLiteral("email"));
    s.tel = a.value(QStringLiteral("phone"));
    s.adresse = a.value(QStringLiteral("address"));
    if (a.has(QStringLiteral("password-stdin"))) {
        // Never on the command line, where other users see it.
        QTextStream in(stdin);
        s.password = in.readLine();
    }
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const CorrespondentSave saved = saveCorrespondent(db, library, s, true, serverToday(db));
    return saved.ok() ? 0 : fail(saved.message);
}

int removeCorrespondent(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("correspondent-delete takes the number of a correspondent"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const QString refusal = deleteCorrespondent(db, a.positional.first());
    return refusal.isEmpty() ? 0 : fail(refusal);
}

int interLibraryLoan(const Args &a)
{
    if (a.positional.size() != 2)
        return fail(QStringLiteral("ill-loan takes READER COPY (see --help)"));
    InterLibraryLoan loan;
    loan.reader = a.positional.at(0);
    loan.copy = a.positional.at(1);
    loan.title = a.value(QStringLiteral("title"));
    loan.author = a.value(QStringLiteral("author"));
    loan.due = a.value(QStringLiteral("due"));
    loan.libraryId = libraryOption(a);
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const InterLibraryResult r = InterLibraryDesk(db).lend(loan);
    return tell(r.passed, r.message());
}

int interLibraryReturn(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("ill-return takes COPY (see --help)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const InterLibraryResult r = InterLibraryDesk(db).giveBack(a.positional.first(), libraryOption(a));
    return tell(r.passed, r.message());
}

} // namespace

void addInterLibraryCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("libraries"), QStringLiteral("libraries"),
                   QStringLiteral("list the partner libraries: key, name and supervising body, tab-separated"), {}, {},
                   listLibraries};
    out << Command{QStringLiteral("library-add"),
                   QStringLiteral("library-add NAME SUPERVISING-BODY [--contact C] [--phone P] [--fax F] [--email E] "
                                  "[--address A] [--site URL] [--catalogue URL] [--hours H]"),
                   QStringLiteral("add a partner library (the pair name and supervising body is unique); prints its key"),
                   {QStringLiteral("contact"), QStringLiteral("phone"), QStringLiteral("fax"), QStringLiteral("email"),
                    QStringLiteral("address"), QStringLiteral("site"), QStringLiteral("catalogue"), QStringLiteral("hours")},
                   {}, addLibrary};
    out << Command{QStringLiteral("library-delete"), QStringLiteral("library-delete N"),
                   QStringLiteral("delete the partner library N with its correspondents, refused while copies, "
                                  "inter-library loans or correspondents' loans refer to it"),
                   {}, {}, removeLibrary};
    out << Command{QStringLiteral("correspondent-add"),
                   QStringLiteral("correspondent-add LIBRARY NUMBER SURNAME FIRST-NAME [--email E] [--phone P] "
                                  "[--address A] [--password-stdin] [--user LOGIN]"),
                   QStringLiteral("add a correspondent (category 9) to the partner library LIBRARY; the password, "
                                  "read from the first line of standard input, is stored hashed"),
                   {QStringLiteral("email"), QStringLiteral("phone"), QStringLiteral("address")},
                   {QStringLiteral("password-stdin")}, addCorrespondent};
    out << Command{QStringLiteral("correspondent-delete"), QStringLiteral("correspondent-delete NUMBER"),
                   QStringLiteral("delete a correspondent, refused while he has inter-library loans, loans or "
                                  "reservations"),
                   {}, {}, removeCorrespondent};
    out << Command{QStringLiteral("ill-loan"),
                   QStringLiteral("ill-loan READER COPY --library N --title T --author A --due DATE [--user LOGIN]"),
                   QStringLiteral("lend a document borrowed from the partner library N to a reader, with the reader "
                                  "check of the loan desk; DATE as DD/MM/YYYY or YYYY-MM-DD"),
                   {QStringLiteral("library"), QStringLiteral("title"), QStringLiteral("author"), QStringLiteral("due")},
                   {}, interLibraryLoan};
    out << Command{QStringLiteral("ill-return"), QStringLiteral("ill-return COPY --library N [--user LOGIN]"),
                   QStringLiteral("record the return of the partner library N's copy (penalising a late return)"),
                   {QStringLiteral("library")}, {}, interLibraryReturn};
}

} // namespace folian::ctl
