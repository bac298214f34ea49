// Gift, exchange and deposit commands, and the purchase suggestions,
// through the services the screens use.

#include "ctl_acq.h"

#include "acquisitions/core/gifts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/suggestions.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

int addGift(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("gift-add takes options only (see --help)"));
    static const QHash<QString, AcqType> kinds{{QStringLiteral("gift"), AcqType::Gift},
                                               {QStringLiteral("exchange"), AcqType::Exchange},
                                               {QStringLiteral("deposit"), AcqType::Deposit}};
    static const QHash<QString, int> directions{{QString(), AcqDirection::Unset},
                                                {QStringLiteral("in"), AcqDirection::Incoming},
                                                {QStringLiteral("out"), AcqDirection::Outgoing}};
    const QString kind = a.value(QStringLiteral("kind"));
    if (!kinds.contains(kind))
        return fail(QStringLiteral("gift-add needs --kind gift, exchange or deposit"));
    const QString direction = a.value(QStringLiteral("direction"));
    if (!directions.contains(direction))
        return fail(QStringLiteral("--direction takes in or out"));
    DocumentSheet d;
    d.type = kinds.value(kind);
    d.number = a.value(QStringLiteral("number"));
    d.partner = a.value(QStringLiteral("partner"));
    d.direction = directions.value(direction);
    if (!dayOption(a, "date", &d.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    return withDatabase(a, [&](Database &db) { return saveDocument(db, d); });
}

int addGiftLine(const Args &a)
{
    LineSheet l;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &l.document))
        return fail(QStringLiteral("gift-line takes DOCUMENT (see --help)"));
    if (!toKey(a.value(QStringLiteral("record")), &l.record))
        return fail(QStringLiteral("gift-line needs --record DOC_ID"));
    l.copies = a.value(QStringLiteral("copies"));
    return withDatabase(a, [&](Database &db) {
        l.reference = a.has(QStringLiteral("reference")) ? a.value(QStringLiteral("reference")) : recordReference(db, l.record);
        return saveLine(db, l);
    });
}

// "NAME LINE COPY": a copy handed over, or taken back.
int onLineCopy(const Args &a, const std::function<AcqResult(Database &, int, const QString &)> &operation)
{
    int line = 0;
    if (a.positional.size() != 2 || !toKey(a.positional.first(), &line))
        return fail(QStringLiteral("give LINE COPY (see --help)"));
    return withDatabase(a, [&](Database &db) {
        AcqResult r = operation(db, line, a.positional.at(1));
        r.key = 0;
        return r;
    });
}

int addSuggestion(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("suggestion-add takes the title (see --help)"));
    SuggestionSheet s;
    s.title = a.positional.first();
    s.author = a.value(QStringLiteral("author"));
    s.publisher = a.value(QStringLiteral("publisher"));
    s.price = a.value(QStringLiteral("price"));
    s.comment = a.value(QStringLiteral("comment"));
    if (!dayOption(a, "date", &s.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    return withDatabase(a, [&](Database &db) { return saveSuggestion(db, s); });
}

int listSuggestions(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("suggestions takes options only (see --help)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why, false))
        return fail(why);
    SqlText sql;
    if (!suggestionSearchSql(db.dialect(), a.value(QStringLiteral("number")), &sql, &why))
        return fail(why);
    SqlRows q = db.query(sql.sql, sql.binds);
    if (!q.isActive())
        return fail(db.lastError().text());
    // The keys first: each suggestion is then read by the one service that reads them.
    QList<int> keys;
    while (q.next())
        keys << q.value(QStringLiteral("SUG_ID")).toInt();
    for (const int key : std::as_const(keys)) {
        const SuggestionSheet s = loadSuggestion(db, key);
        say(QStringList{QString::number(s.id), s.date.toString(Qt::ISODate), s.title, s.author, s.publisher, s.price}.join(u'\t'));
    }
    return 0;
}

} // namespace

void addGiftCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("gift-add"),
                   QStringLiteral("gift-add --kind gift|exchange|deposit --number TEXT [--partner P] [--direction in|out] "
                                  "[--date YYYY-MM-DD]"),
                   QStringLiteral("create a gift, an exchange or a deposit to be validated (no direction: outgoing); "
                                  "prints its key"),
                   {QStringLiteral("kind"), QStringLiteral("number"), QStringLiteral("partner"), QStringLiteral("direction"),
                    QStringLiteral("date")},
                   {}, addGift};
    out << Command{QStringLiteral("gift-line"), QStringLiteral("gift-line DOCUMENT --record DOC_ID --copies N [--reference R]"),
                   QStringLiteral("add a title to a gift, an exchange or a deposit; prints the line's key"),
                   {QStringLiteral("record"), QStringLiteral("copies"), QStringLiteral("reference")}, {}, addGiftLine};
    out << Command{QStringLiteral("gift-attach"), QStringLiteral("gift-attach LINE COPY"),
                   QStringLiteral("hand a free copy of the title over with an outgoing line"), {}, {},
                   [](const Args &a) { return onLineCopy(a, handOverCopy); }};
    out << Command{QStringLiteral("gift-detach"), QStringLiteral("gift-detach LINE COPY"),
                   QStringLiteral("take a copy back from an outgoing line (its status back when it still has the line's)"), {},
                   {}, [](const Args &a) { return onLineCopy(a, takeBackCopy); }};
    out << Command{QStringLiteral("suggestion-add"),
                   QStringLiteral("suggestion-add TITLE [--author A] [--publisher P] [--price P] [--comment C] [--date YYYY-MM-DD]"),
                   QStringLiteral("record a purchase suggestion; prints its key"),
                   {QStringLiteral("author"), QStringLiteral("publisher"), QStringLiteral("price"), QStringLiteral("comment"),
                    QStringLiteral("date")},
                   {}, addSuggestion};
    out << Command{QStringLiteral("suggestions"), QStringLiteral("suggestions [--number N*]"),
                   QStringLiteral("list the suggestions, oldest first, as KEY<TAB>date<TAB>title<TAB>author<TAB>publisher<TAB>price"),
                   {QStringLiteral("number")}, {}, listSuggestions};
}

} // namespace folian::ctl
