// Budget commands: currencies, budgets and their chapters, commitments,
// transfers and invoices, through the services the screens use. Amounts are
// printed with two decimals and a point.

#include "ctl_acq.h"

#include "acquisitions/core/budgets.h"
#include "acquisitions/core/budgettexts.h"
#include "acquisitions/core/commitments.h"
#include "acquisitions/core/currencies.h"
#include "acquisitions/core/invoices.h"
#include "data/core/database.h"

namespace folian::ctl {

namespace {

// A command's fixed number of positional words, or why not.
bool takes(const Args &a, int n, const char *command, int *status)
{
    if (a.positional.size() == n)
        return true;
    *status = fail(QStringLiteral("%1 takes %2 argument(s) (see --help)").arg(QLatin1String(command)).arg(n));
    return false;
}

// An AcqResult whose key is not printed (the command named the row itself).
AcqResult quiet(AcqResult r)
{
    r.key = 0;
    return r;
}

int addCurrency(const Args &a)
{
    int status = 0;
    if (!takes(a, 2, "currency-add", &status))
        return status;
    return withDatabase(a, [&](Database &db) { return saveCurrency(db, {0, a.positional.at(0), a.positional.at(1)}); });
}

int addBudget(const Args &a)
{
    int status = 0;
    if (!takes(a, 2, "budget-add", &status))
        return status;
    return withDatabase(a, [&](Database &db) { return quiet(saveBudget(db, {0, a.positional.at(0), a.positional.at(1)})); });
}

int editBudget(const Args &a)
{
    int year = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &year))
        return fail(QStringLiteral("budget-edit takes the budget's year (see --help)"));
    return withDatabase(a, [&](Database &db) {
        const BudgetRow b = loadBudget(db, year);
        return quiet(saveBudget(db, {year, a.value(QStringLiteral("year"), QString::number(year)),
                                     a.value(QStringLiteral("amount"), b.amount.toString())}));
    });
}

int addChapter(const Args &a)
{
    int status = 0, year = 0;
    if (!takes(a, 3, "chapter-add", &status))
        return status;
    if (!toKey(a.positional.at(0), &year))
        return fail(QStringLiteral("chapter-add takes the budget's year first"));
    return withDatabase(a, [&](Database &db) { return saveChapter(db, {0, year, a.positional.at(1), a.positional.at(2)}); });
}

int editChapter(const Args &a)
{
    int id = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("chapter-edit takes the chapter's key (see --help)"));
    return withDatabase(a, [&](Database &db) {
        const ChapterRow c = loadChapter(db, id);
        return quiet(saveChapter(db, {id, c.budget, a.value(QStringLiteral("label"), c.title),
                                      a.value(QStringLiteral("amount"), c.amount.toString())}));
    });
}

int addCommitment(const Args &a)
{
    CommitmentSheet s;
    if (a.positional.size() != 2 || !toKey(a.positional.at(0), &s.chapter))
        return fail(QStringLiteral("commitment-add takes CHAPTER AMOUNT (see --help)"));
    s.amount = a.positional.at(1);
    if (!dayOption(a, "date", &s.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    s.paymentMode = a.value(QStringLiteral("payment-mode"));
    s.paymentNumber = a.value(QStringLiteral("payment-number"));
    return withDatabase(a, [&](Database &db) { return saveCommitment(db, s); });
}

int editCommitment(const Args &a)
{
    int id = 0, chapter = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &id))
        return fail(QStringLiteral("commitment-edit takes the commitment's key (see --help)"));
    if (a.has(QStringLiteral("chapter")) && !toKey(a.value(QStringLiteral("chapter")), &chapter))
        return fail(QStringLiteral("--chapter takes a CHP_ID"));
    return withDatabase(a, [&](Database &db) {
        const CommitmentRow row = loadCommitment(db, id);
        if (row.id == 0)
            return AcqResult::refused(acq::commitmentGone());
        CommitmentSheet s = commitmentSheet(row);
        s.amount = a.value(QStringLiteral("amount"), s.amount);
        if (chapter > 0)
            s.chapter = chapter;
        return quiet(saveCommitment(db, s));
    });
}

int addTransferCommand(const Args &a)
{
    TransferSheet s;
    if (a.positional.size() != 3 || !toKey(a.positional.at(0), &s.from) || !toKey(a.positional.at(1), &s.to))
        return fail(QStringLiteral("transfer takes FROM-CHAPTER TO-CHAPTER AMOUNT (see --help)"));
    s.amount = a.positional.at(2);
    return withDatabase(a, [&](Database &db) { return addTransfer(db, s); });
}

int addInvoice(const Args &a)
{
    InvoiceSheet s;
    if (a.positional.size() != 1 || !toKey(a.value(QStringLiteral("document")), &s.document))
        return fail(QStringLiteral("invoice-add takes NUMBER --document ACQ_ID --commitment C --amount A (see --help)"));
    s.number = a.positional.first();
    s.commitment = a.value(QStringLiteral("commitment"));
    s.amount = a.value(QStringLiteral("amount"));
    if (!dayOption(a, "date", &s.date))
        return fail(QStringLiteral("--date takes a day as YYYY-MM-DD"));
    return withDatabase(a, [&](Database &db) { return saveInvoice(db, s); });
}

int editInvoice(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("invoice-edit takes the invoice's number (see --help)"));
    return withDatabase(a, [&](Database &db) {
        const InvoiceRow row = loadInvoice(db, a.positional.first());
        if (row.number.isEmpty())
            return AcqResult::refused(acq::invoiceGone());
        InvoiceSheet s = invoiceSheet(row);
        s.number = a.value(QStringLiteral("number"), s.number);
        s.amount = a.value(QStringLiteral("amount"), s.amount);
        s.commitment = a.value(QStringLiteral("commitment"), s.commitment);
        return saveInvoice(db, s);
    });
}

int deleteInvoiceCommand(const Args &a)
{
    if (a.positional.size() != 1)
        return fail(QStringLiteral("invoice-delete takes the invoice's number (see --help)"));
    return withDatabase(a, [&](Database &db) { return deleteInvoice(db, a.positional.first()); });
}

// budget, then its chapters, then its commitments, one row a line.
int showBudget(const Args &a)
{
    int year = 0;
    if (a.positional.size() != 1 || !toKey(a.positional.first(), &year))
        return fail(QStringLiteral("budget-show takes the budget's year (see --help)"));
    Database db;
    QString why;
    if (!openDatabase(db, false, &why))
        return fail(why);
    const BudgetRow b = loadBudget(db, year);
    if (b.year == 0)
        return fail(QStringLiteral("no budget %1").arg(year));
    say(QStringList{QStringLiteral("budget"), QString::number(year), b.amount.toString(), b.debit.toString()}.join(u'\t'));
    const auto rows = [&](const SqlText &sql, const std::function<QStringList(const SqlRows &)> &line) {
        SqlRows q = db.query(sql.sql, sql.binds);
        while (q.next())
            say(line(q).join(u'\t'));
        return q.isActive();
    };
    const auto amount = [](const QVariant &v) { return Money::fromVariant(v).value_or(Money()).toString(); };
    const bool read = rows(budgetChaptersSql(year),
                           [&](const SqlRows &q) {
                               return QStringList{QStringLiteral("chapter"), q.value(QStringLiteral("CHP_ID")).toString(),
                                                  q.value(QStringLiteral("CHP_INTITULE")).toString(),
                                                  amount(q.value(QStringLiteral("CHP_MONTANT"))),
                                                  amount(q.value(QStringLiteral("CHP_DEBIT")))};
                           })
        && rows(budgetCommitmentsSql(year), [&](const SqlRows &q) {
               return QStringList{QStringLiteral("commitment"), q.value(QStringLiteral("ENG_ID")).toString(),
                                  q.value(QStringLiteral("CHP_ID")).toString(), amount(q.value(QStringLiteral("ENG_MONTANT"))),
                                  amount(q.value(QStringLiteral("ENG_DEBIT")))};
           });
    return read ? 0 : fail(db.lastError().text());
}

} // namespace

void addBudgetCommands(QVector<Command> &out)
{
    const QString user = QStringLiteral("user");
    const auto one = [&](const char *name, const char *synopsis, const char *summary, std::function<int(const Args &)> run,
                         QStringList options = {}) {
        options << user;
        out << Command{QLatin1String(name), QLatin1String(synopsis), QLatin1String(summary), options, {}, std::move(run)};
    };
    one("currency-add", "currency-add CODE LABEL",
        "add a currency: CODE its name (as the lists show it), LABEL its Arabic name; prints its key", addCurrency);
    one("currency-delete", "currency-delete CURRENCY", "delete a currency no document carries",
        [](const Args &a) { return onKey(a, "currency", deleteCurrency); });
    one("budget-add", "budget-add YEAR AMOUNT", "add the budget of a year", addBudget);
    one("budget-edit", "budget-edit YEAR [--amount A] [--year NEW]",
        "change a budget's amount (not below its debit nor its chapters) or its year (while it has no chapters)", editBudget,
        {QStringLiteral("amount"), QStringLiteral("year")});
    one("budget-delete", "budget-delete YEAR", "delete a budget that has no chapters",
        [](const Args &a) { return onKey(a, "budget", deleteBudget); });
    one("budget-show", "budget-show YEAR",
        "print budget<TAB>YEAR<TAB>amount<TAB>debit, then chapter<TAB>KEY<TAB>label<TAB>amount<TAB>debit for each chapter "
        "and commitment<TAB>KEY<TAB>CHAPTER<TAB>amount<TAB>debit for each commitment",
        showBudget);
    one("chapter-add", "chapter-add YEAR LABEL AMOUNT", "add a chapter to a budget, within its amount; prints its key", addChapter);
    one("chapter-edit", "chapter-edit CHAPTER [--label L] [--amount A]", "change a chapter's title or amount", editChapter,
        {QStringLiteral("label"), QStringLiteral("amount")});
    one("chapter-delete", "chapter-delete CHAPTER", "delete a chapter that has no commitments nor transfers",
        [](const Args &a) { return onKey(a, "chapter", deleteChapter); });
    one("commitment-add", "commitment-add CHAPTER AMOUNT [--date YYYY-MM-DD] [--payment-mode M] [--payment-number N]",
        "commit an amount on a chapter, within what it has left; prints the commitment's key", addCommitment,
        {QStringLiteral("date"), QStringLiteral("payment-mode"), QStringLiteral("payment-number")});
    one("commitment-edit", "commitment-edit COMMITMENT [--amount A] [--chapter C]",
        "change a commitment's amount (not below its invoices) or move it to another chapter", editCommitment,
        {QStringLiteral("amount"), QStringLiteral("chapter")});
    one("commitment-delete", "commitment-delete COMMITMENT", "delete a commitment (its invoices keep its number)",
        [](const Args &a) { return onKey(a, "commitment", deleteCommitment); });
    one("transfer", "transfer FROM-CHAPTER TO-CHAPTER AMOUNT",
        "move credit between two chapters of one budget; prints the transfer's key", addTransferCommand);
    one("transfer-delete", "transfer-delete TRANSFER", "delete a transfer whose credit the destination has not committed",
        [](const Args &a) { return onKey(a, "transfer", deleteTransfer); });
    one("invoice-add", "invoice-add NUMBER --document ACQ_ID --commitment COMMITMENT --amount A [--date YYYY-MM-DD]",
        "invoice a validated order on a commitment, within what it has left", addInvoice,
        {QStringLiteral("document"), QStringLiteral("commitment"), QStringLiteral("amount"), QStringLiteral("date")});
    one("invoice-edit", "invoice-edit NUMBER [--amount A] [--commitment C] [--number NEW]",
        "change an invoice's amount, commitment or number", editInvoice,
        {QStringLiteral("amount"), QStringLiteral("commitment"), QStringLiteral("number")});
    one("invoice-delete", "invoice-delete NUMBER", "delete an invoice and free its amount on its commitment", deleteInvoiceCommand);
}

} // namespace folian::ctl
