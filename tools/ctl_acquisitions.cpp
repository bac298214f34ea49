// Acquisition commands: suppliers, orders and their lines, receipt and copy
// generation, through the services the screens use.

#include "ctl_acq.h"

#include "acquisitions/core/copygeneration.h"
#include "acquisitions/core/gifts.h"
#include "acquisitions/core/gifttexts.h"
#include "acquisitions/core/orders.h"
#include "acquisitions/core/receipt.h"
#include "acquisitions/core/receivedcopies.h"
#include "acquisitions/core/suppliers.h"
#include "data/core/database.h"

#include <QSqlRecord>
#include <functional>

namespace folian::ctl {

bool dayOption(const Args &a, const char *name, QDate *day)
{
    const QString option = QLatin1String(name);
    if (!a.has(option))
        return true;
    *day = QDate::fromString(a.value(option), Qt::ISODate);
    return day->isValid();
}

// Opens the database for the user of --user and runs `body`; its result told:
// the key printed alone when done, the refusal on standard error.
int withDatabase(const Args &, const std::function<AcqResult(Database &)> &body)
{
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    const AcqResult r = body(db);
    if (!r.passed)
        return fail(r.message);
    if (r.key > 0)
        say(QString::number(r.key));
    return 0;
}

int onKey(const Args &a, const char *what, const std::function<AcqResult(Database &, int)> &operation)
{
    int key = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &key))
        return fail(QStringLiteral("give one %1 key (see --help)").arg(QLatin1String(what)));
    return withDatabase(a, [&](Database &db) {
        AcqResult r = operation(db, key);
        r.key = 0;  // nothing new to print
        return r;
    });
}

namespace {

int addSupplier(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("supplier-add takes the supplier's name (see --help)"));
    SupplierSheet s;
    s.name = a.positional.first();
    bool ok = true;
    if (a.has(QStringLiteral("type")))
        s.type = a.value(QStringLiteral("type")).toInt(&ok);
    if (!ok)
        return fail(QStringLiteral("--type takes 0, 1, 2 or 3"));
    const struct {
        const char *option;
        QString SupplierSheet::*member;
    } fields[] = {{"account", &SupplierSheet::account}, {"contact", &SupplierSheet::contact},
                  {"country", &SupplierSheet::country}, {"address", &SupplierSheet::address},
                  {"phone", &SupplierSheet::phone},     {"fax", &SupplierSheet::fax},
                  {"email", &SupplierSheet::email},     {"url", &SupplierSheet::url}};
    for (const auto &f : fields)
        s.*f.member = a.value(QLatin1String(f.option));
    return withDatabase(a, [&](Database &db) { return saveSupplier(db, s); });
}

int addOrder(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("order-add takes options only (see --help)"));
    DocumentSheet d;
    if (a.has(QStringLiteral("preorder")) && a.has(QStringLiteral("subscription")))
        return fail(QStringLiteral("order-add takes --preorder or --subscription, not both"));
    d.type = a.has(QStringLiteral("preorder"))       ? AcqType::PreOrder
        : a.has(QStringLiteral("subscription")) ? AcqType::Subscription
                                                : AcqType::Order;
    int supplier = 0;
    if (!toKey(a.value(QStringLiteral("supplier")), &supplier))
        return fail(QStringLiteral("order-add needs --supplier N (a FOU_ID)"));
    d.supplier = supplier;
    d.number = a.value(QStringLiteral("number"));
    if (!dayOption(a, "date", &d.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    return withDatabase(a, [&](Database &db) { return saveDocument(db, d); });
}

int addOrderLine(const Args &a)
{
    LineSheet l;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &l.document))
        return fail(QStringLiteral("order-line takes the document's key (see --help)"));
    if (!toKey(a.value(QStringLiteral("record")), &l.record))
        return fail(QStringLiteral("order-line needs --record DOC_ID"));
    l.copies = a.value(QStringLiteral("copies"));
    l.price = a.value(QStringLiteral("price"));
    if (!dayOption(a, "expected", &l.expected) || !dayOption(a, "start", &l.subscriptionStart)
        || !dayOption(a, "end", &l.subscriptionEnd))
        return fail(QStringLiteral("--expected, --start and --end take a day as YYYY-MM-DD"));
    l.numbering = a.value(QStringLiteral("numbering"));
    return withDatabase(a, [&](Database &db) {
        // The reference the title picker proposes, unless one is given.
        l.reference = a.has(QStringLiteral("reference")) ? a.value(QStringLiteral("reference")) : recordReference(db, l.record);
        return saveLine(db, l);
    });
}

// One line per order line, then the total: LINE DOC_ID ordered received price amount.
int showOrder(const Args &a)
{
    int id = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("order-show takes the document's key (see --help)"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    const DocumentSheet d = loadDocument(db, id);
    if (d.id == 0)
        return fail(QStringLiteral("no document %1").arg(id));
    const SqlText lines = documentLinesSql(id);
    SqlRows q = db.query(lines.sql, lines.binds);
    if (!q.isActive())
        return fail(db.lastError().text());
    const QSqlRecord rec = q.record();
    const auto at = [&](const char *column) { return q.value(rec.indexOf(QLatin1String(column))); };
    const auto amount = [](const QVariant &v) {
        const std::optional<Money> m = Money::fromVariant(v);
        return m ? m->toString() : QString();
    };
    while (q.next())
        say(QStringList{at("ACQ_LIGNE_ID").toString(), at("DOC_ID").toString(), QString::number(at("ACQ_EXEMPLAIRE").toInt()),
                        QString::number(at("ACQ_NBR_LIVRE").toInt()), amount(at("ACQ_PRIX")), amount(at("ACQ_MONTANT"))}
                .join(u'\t'));
    say(QStringLiteral("total\t") + (d.total ? d.total->toString() : QString()));
    return 0;
}

int receiveDelivery(const Args &a)
{
    ReceiptRequest r;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &r.document))
        return fail(QStringLiteral("receive takes the document's key (see --help)"));
    r.number = a.value(QStringLiteral("number"));
    if (!dayOption(a, "date", &r.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    r.selectedOnly = a.has(QStringLiteral("line"));
    for (const QString &line : a.values(QStringLiteral("line"))) {
        int key = 0;
        if (!toKey(line, &key))
            return fail(QStringLiteral("--line takes an ACQ_LIGNE_ID"));
        r.lines << key;
    }
    return withDatabase(a, [&](Database &db) { return receive(db, r); });
}

int generate(const Args &a)
{
    GenerationRequest r;
    // A delivered title, or a line of a gift, an exchange or a deposit alone.
    const bool delivered = a.positional.size() == 2;
    r.context = delivered ? GenerationContext::Delivery : GenerationContext::Line;
    if (!(delivered ? toKey(a.positional.at(0), &r.delivery) && toKey(a.positional.at(1), &r.line)
                    : a.positional.size() == 1 && toKey(a.positional.at(0), &r.line)))
        return fail(QStringLiteral("generate-copies takes DELIVERY LINE, or the LINE of a gift, an exchange or a deposit (see --help)"));
    r.count = a.value(QStringLiteral("count"));
    r.copy = {a.value(QStringLiteral("prefix")), a.value(QStringLiteral("start"))};
    r.shelfMark = {a.value(QStringLiteral("shelfmark-prefix")), a.value(QStringLiteral("shelfmark-start"))};
    r.altNumber = {a.value(QStringLiteral("alt-prefix")), a.value(QStringLiteral("alt-start"))};
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    if (!delivered) {
        const GiftLine line = loadGiftLine(db, r.line);
        if (line.id == 0)
            return fail(acq::notAGiftLine());
        r.mode = giftTarget(line).mode;
    }
    const GenerationResult g = generateCopies(db, r);
    if (!g.passed)
        return fail(g.message);
    for (const QString &id : g.created)
        say(id);
    return 0;
}

} // namespace

void addAcquisitionCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("supplier-add"),
                   QStringLiteral("supplier-add NAME [--type N] [--account A] [--contact C] [--country CODE] [--address A] "
                                  "[--phone P] [--fax F] [--email E] [--url U]"),
                   QStringLiteral("add a supplier (type 0 blank, 1 supplier, 2 donor, 3 partner); prints its key"),
                   {QStringLiteral("type"), QStringLiteral("account"), QStringLiteral("contact"), QStringLiteral("country"),
                    QStringLiteral("address"), QStringLiteral("phone"), QStringLiteral("fax"), QStringLiteral("email"),
                    QStringLiteral("url")},
                   {}, addSupplier};
    out << Command{QStringLiteral("supplier-delete"), QStringLiteral("supplier-delete N"),
                   QStringLiteral("delete a supplier no document names"), {}, {},
                   [](const Args &a) { return onKey(a, "supplier", deleteSupplier); }};
    out << Command{QStringLiteral("order-add"),
                   QStringLiteral("order-add --supplier N --number TEXT [--preorder | --subscription] [--date YYYY-MM-DD]"),
                   QStringLiteral("create an order (or a pre-order, or a serial subscription) to be validated; prints its key"),
                   {QStringLiteral("supplier"), QStringLiteral("number"), QStringLiteral("date")},
                   {QStringLiteral("preorder"), QStringLiteral("subscription")}, addOrder};
    out << Command{QStringLiteral("order-line"),
                   QStringLiteral("order-line DOCUMENT --record DOC_ID --copies N [--price P] [--reference R] "
                                  "[--expected YYYY-MM-DD] [--start YYYY-MM-DD --end YYYY-MM-DD --numbering TEXT]"),
                   QStringLiteral("add a title to an order (a subscription's with its period and numbering) and sum its "
                                  "total again; prints the line's key"),
                   {QStringLiteral("record"), QStringLiteral("copies"), QStringLiteral("price"), QStringLiteral("reference"),
                    QStringLiteral("expected"), QStringLiteral("start"), QStringLiteral("end"), QStringLiteral("numbering")},
                   {}, addOrderLine};
    out << Command{QStringLiteral("order-line-delete"), QStringLiteral("order-line-delete LINE"),
                   QStringLiteral("delete a title on which nothing was received"), {}, {},
                   [](const Args &a) { return onKey(a, "line", deleteLine); }};
    out << Command{QStringLiteral("order-validate"), QStringLiteral("order-validate DOCUMENT"),
                   QStringLiteral("validate an order that has titles"), {}, {},
                   [](const Args &a) { return onKey(a, "document", validateDocument); }};
    out << Command{QStringLiteral("order-convert"), QStringLiteral("order-convert DOCUMENT"),
                   QStringLiteral("turn a pre-order into an order"), {}, {},
                   [](const Args &a) { return onKey(a, "document", convertToOrder); }};
    out << Command{QStringLiteral("order-delete"), QStringLiteral("order-delete DOCUMENT"),
                   QStringLiteral("delete an order or pre-order with its titles, when nothing was delivered or invoiced"),
                   {}, {}, [](const Args &a) { return onKey(a, "document", deleteDocument); }};
    out << Command{QStringLiteral("order-show"), QStringLiteral("order-show DOCUMENT"),
                   QStringLiteral("list the titles as LINE<TAB>DOC_ID<TAB>ordered<TAB>received<TAB>price<TAB>amount, "
                                  "then total<TAB>AMOUNT"),
                   {}, {}, showOrder};
    out << Command{QStringLiteral("receive"), QStringLiteral("receive DOCUMENT --number TEXT [--date YYYY-MM-DD] [--line LINE ...]"),
                   QStringLiteral("record a delivery of a validated order with its titles not fully received (or the "
                                  "lines given); prints the delivery's key"),
                   {QStringLiteral("number"), QStringLiteral("date"), QStringLiteral("line")}, {}, receiveDelivery};
    out << Command{QStringLiteral("generate-copies"),
                   QStringLiteral("generate-copies [DELIVERY] LINE --count N --prefix P --start S [--shelfmark-prefix P "
                                  "--shelfmark-start S] [--alt-prefix P --alt-start S]"),
                   QStringLiteral("create N copies received on a delivered title, or on an incoming line of a gift, an "
                                  "exchange or a deposit, all or none; prints their numbers"),
                   {QStringLiteral("count"), QStringLiteral("prefix"), QStringLiteral("start"), QStringLiteral("shelfmark-prefix"),
                    QStringLiteral("shelfmark-start"), QStringLiteral("alt-prefix"), QStringLiteral("alt-start")},
                   {}, generate};
    out << Command{QStringLiteral("delivered-copy-delete"), QStringLiteral("delivered-copy-delete COPY"),
                   QStringLiteral("delete a copy received and lower the received counts"), {}, {},
                   [](const Args &a) {
                       if (a.positional.size() != 1)
                           return fail(QStringLiteral("give one copy number (see --help)"));
                       return withDatabase(a, [&](Database &db) { return deleteReceivedCopy(db, a.positional.first()); });
                   }};
    addBudgetCommands(out);
    addGiftCommands(out);
    addSerialCommands(out);
}

} // namespace folian::ctl
