// Inventory commands: a campaign started over a selection of copies, the
// numbers a scanner read, the pages of its discrepancies and its counts,
// through the services of the inventory screen.

#include "ctl_acq.h"

#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorypages.h"
#include "acquisitions/core/inventorytexts.h"
#include "data/core/database.h"

#include <QDir>
#include <QTextStream>

namespace folian::ctl {

namespace {

// The copy number criterion as typed: "12*" (beginning), "A..B", "..B" or
// "A.." (a range), ">A", "<A", else the number itself.
void copyCriterion(const QString &typed, InventoryCriteria *c)
{
    const QString t = typed.trimmed();
    const qsizetype range = t.indexOf(QStringLiteral(".."));
    if (range >= 0) {
        c->numberOperator = NumberOperator::Interval;
        c->number = t.left(range);
        c->number2 = t.mid(range + 2);
    } else if (t.startsWith(u'>') || t.startsWith(u'<')) {
        c->numberOperator = t.startsWith(u'>') ? NumberOperator::Greater : NumberOperator::Less;
        c->number = t.mid(1);
    } else {
        c->numberOperator = t.contains(u'*') ? NumberOperator::Contains : NumberOperator::Equal;
        c->number = t;
    }
}

bool criteriaOf(const Args &a, InventoryCriteria *c, QString *why)
{
    copyCriterion(a.value(QStringLiteral("copy")), c);
    if (a.has(QStringLiteral("alternative")))
        c->numberColumn = InventoryNumber::Alternative;
    c->shelfMark = a.value(QStringLiteral("shelfmark"));
    c->type = a.value(QStringLiteral("type"));
    c->location = a.value(QStringLiteral("location"));
    c->language = a.value(QStringLiteral("language"));
    c->titleWords = a.value(QStringLiteral("title"));
    c->author = a.value(QStringLiteral("author"));
    c->standardNumber = a.value(QStringLiteral("isbn"));
    if (a.has(QStringLiteral("mode")))
        c->mode = a.value(QStringLiteral("mode"));
    if (!dayOption(a, "acquired-from", &c->from) || !dayOption(a, "acquired-to", &c->to)) {
        *why = QStringLiteral("--acquired-from and --acquired-to take a day as YYYY-MM-DD");
        return false;
    }
    return true;
}

// The campaign of --campaign, else the latest one.
bool campaignOf(const Args &a, Database &db, int *campaign, QString *why)
{
    if (a.has(QStringLiteral("campaign"))) {
        if (toKey(a.value(QStringLiteral("campaign")), campaign))
            return true;
        *why = QStringLiteral("--campaign takes a campaign's number");
        return false;
    }
    *campaign = latestCampaign(db);
    if (*campaign > 0)
        return true;
    *why = inv::noCampaign();
    return false;
}

int start(const Args &a, Database &db)
{
    InventoryCriteria c;
    QString why;
    if (!criteriaOf(a, &c, &why))
        return fail(why);
    const AcqResult r = startCampaign(db, c);
    if (!r.passed)
        return fail(r.message);
    const CampaignStatus s = campaignStatus(db, r.key);
    if (!s.read)
        return fail(s.message);
    say(QString::number(s.selection));
    QTextStream(stderr) << inv::campaignStarted(r.key, s.selection) << '\n';
    return 0;
}

int mark(const Args &a, Database &db, int campaign)
{
    if (a.positional.size() != 2)
        return fail(QStringLiteral("inventory mark takes one file of scanned numbers (see --help)"));
    const ScanReport r = markScannedFile(db, campaign, a.positional.at(1));
    QTextStream err(stderr);
    const auto list = [&err](const char *what, const QStringList &numbers) {
        for (const QString &n : numbers)
            err << what << '\t' << n << '\n';
    };
    list("unknown", r.unknownNumbers);
    list("duplicate", r.duplicateNumbers);
    list("misplaced", r.misplacedNumbers);
    list("lent", r.lentNumbers);
    err.flush();
    QTextStream out(stdout);
    out << "found\t" << r.found << "\nunknown\t" << r.unknown << "\nduplicates\t" << r.duplicates << "\nmisplaced\t"
        << r.misplaced << "\nlent\t" << r.lent << '\n';
    out.flush();
    if (!r.passed)
        return fail(r.message);
    return 0;
}

int report(const Args &a, Database &db, int campaign)
{
    if (a.positional.size() != 2)
        return fail(QStringLiteral("inventory report takes one directory (see --help)"));
    const QString dir = a.positional.at(1);
    if (!QDir().mkpath(dir))
        return fail(inv::fileUnreadable(dir));
    for (const InventoryPage page : {InventoryPage::Register, InventoryPage::Check, InventoryPage::Discrepancies}) {
        const ReportResult r = writeCampaignPage(db, page, campaign, nullptr, dir);
        if (!r.written())
            return fail(r.message);
        say(r.path);
    }
    const ReportResult summary = writeCampaignSummary(db, campaign, dir);
    if (!summary.written())
        return fail(summary.message);
    say(summary.path);
    int count = 0;
    QString why;
    const QString list = QDir(dir).filePath(QStringLiteral("ecarts.txt"));
    if (!writeDiscrepancyList(db, campaign, list, &count, &why))
        return fail(why);
    say(list);
    return 0;
}

int status(Database &db, int campaign)
{
    const CampaignStatus s = campaignStatus(db, campaign);
    if (!s.read)
        return fail(s.message);
    QTextStream(stdout) << "selection\t" << s.selection << "\nfound\t" << s.found << "\nnot-found\t" << s.notFound
                        << '\n';
    return 0;
}

int inventory(const Args &a)
{
    const QString verb = a.positional.value(0);
    if (verb != QLatin1String("start") && verb != QLatin1String("mark") && verb != QLatin1String("report")
        && verb != QLatin1String("status"))
        return fail(QStringLiteral("inventory takes start, mark, report or status (see --help)"));
    Database db;
    QString why;
    if (!openDatabaseAs(db, &why))
        return fail(why);
    if (verb == QLatin1String("start"))
        return start(a, db);
    int campaign = 0;
    if (!campaignOf(a, db, &campaign, &why))
        return fail(why);
    if (verb == QLatin1String("mark"))
        return mark(a, db, campaign);
    if (verb == QLatin1String("report"))
        return report(a, db, campaign);
    return status(db, campaign);
}

} // namespace

void addInventoryCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("inventory"),
                   QStringLiteral("inventory start [--copy E|E*|A..B|>A|<A] [--alternative] [--shelfmark S] [--type T] "
                                  "[--location L] [--mode N] [--language L] [--acquired-from D] [--acquired-to D] "
                                  "[--title W] [--author A] [--isbn N] | inventory mark FILE | inventory report DIR | "
                                  "inventory status  [--campaign N]"),
                   QStringLiteral("an inventory campaign: start sets the selection's copies to not found and prints its "
                                  "size; mark reads a scanner's file (one number a line) and prints the counts found, "
                                  "unknown, duplicates, misplaced, lent, listing the numbers on standard error; report "
                                  "writes invClassique.html, invPhysique.html, invEcarts.html, invCampagne.html and "
                                  "ecarts.txt into DIR; status prints selection, found and not-found"),
                   {QStringLiteral("copy"), QStringLiteral("shelfmark"), QStringLiteral("type"), QStringLiteral("location"),
                    QStringLiteral("mode"), QStringLiteral("language"), QStringLiteral("acquired-from"),
                    QStringLiteral("acquired-to"), QStringLiteral("title"), QStringLiteral("author"),
                    QStringLiteral("isbn"), QStringLiteral("campaign")},
                   {QStringLiteral("alternative")}, inventory};
}

} // namespace folian::ctl
