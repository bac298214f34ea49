#include "opac/core/opaccatalogue.h"

#include "catalogue/core/codes.h"
#include "catalogue/core/recordsearch.h"
#include "catalogue/unimarc/isbd.h"
#include "circulation/core/copystate.h"
#include "data/core/database.h"
#include "opac/core/opactexts.h"

namespace folian::opac {

namespace {

// Records the public may see.
const QString kPublic = QStringLiteral("(N.STA_ID IS NULL OR N.STA_ID <> %1)").arg(RecordStatus::FromAcquisitions);
// The copies shown: neither lost nor given away.
const QString kShownCopy = QStringLiteral("(X.STA_EXP_ID IS NULL OR X.STA_EXP_ID NOT IN (%1, %2, %3))")
                               .arg(CopyStatus::Lost)
                               .arg(CopyStatus::Exchanged)
                               .arg(CopyStatus::Given);
// Whether someone holds or reserved the copy, never who.
const QString kCopyFacts = QStringLiteral(
    "X.STA_EXP_ID, CASE WHEN COALESCE(TRIM(X.LEC_ID), '') = '' THEN 0 ELSE 1 END, X.EXP_DATE_RETOUR, "
    "CASE WHEN COALESCE(TRIM(X.LEC_ID2), '') = '' THEN 0 ELSE 1 END, X.EXP_DATE_RESERVATION");

QDate dateOf(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

// The copy facts read from column `first` on (kCopyFacts).
CopyFacts factsAt(const SqlRows &q, int first)
{
    CopyFacts f;
    f.status = q.value(first).isNull() ? 0 : q.value(first).toInt();
    f.lent = q.value(first + 1).toInt() != 0;
    f.due = dateOf(q.value(first + 2));
    f.reserved = q.value(first + 3).toInt() != 0;
    f.reservationDate = dateOf(q.value(first + 4));
    return f;
}

QString label(const QString &french, const QString &arabic, bool inArabic)
{
    return inArabic && !arabic.trimmed().isEmpty() ? arabic.trimmed() : french.trimmed();
}

QString placeholders(qsizetype n)
{
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

Outcome failed(Database &db, QString *why)
{
    if (why)
        *why = db.lastError().text();
    return Outcome::Failed;
}

} // namespace

bool isShown(int status)
{
    return status != CopyStatus::Lost && status != CopyStatus::Exchanged && status != CopyStatus::Given;
}

Availability availabilityOf(const CopyFacts &copy, const QDate &today)
{
    if (copy.lent)
        return copy.status == CopyStatus::ReadingRoomOnly ? Availability::InConsultation : Availability::OnLoan;
    const CopyCirculation c{QVariant(), QVariant(), copy.reserved ? QVariant(1) : QVariant(),
                            copy.reservationDate.isValid() ? QVariant(copy.reservationDate) : QVariant()};
    if (copyState(c, today) == CopyState::HeldForReserver)
        return Availability::Reserved;
    if (copy.status == CopyStatus::Damaged)
        return Availability::Unavailable;
    return copy.status == CopyStatus::ReadingRoomOnly ? Availability::OnSite : Availability::Available;
}

Summary summarise(const QList<CopyFacts> &copies, const QDate &today)
{
    Summary s;
    for (const CopyFacts &c : copies) {
        if (!isShown(c.status))
            continue;
        const Availability a = availabilityOf(c, today);
        if (a < s.kind) {
            s.kind = a;
            s.due = a == Availability::OnLoan ? c.due : QDate();
        } else if (a == s.kind && a == Availability::OnLoan && c.due.isValid() && (!s.due.isValid() || c.due < s.due)) {
            s.due = c.due;
        }
    }
    return s;
}

QString availabilityText(Availability kind, const QDate &due, const QString &statusLabel, bool arabic)
{
    const Words &w = words(arabic);
    switch (kind) {
    case Availability::Available: return text(w.available);
    case Availability::OnSite: return text(w.availableOnSite);
    case Availability::OnLoan: return onLoanUntil(due, arabic);
    case Availability::InConsultation: return text(w.inConsultation);
    case Availability::Reserved: return text(w.reserved);
    case Availability::Unavailable: return statusLabel;
    case Availability::NoCopy: return text(w.noCopy);
    }
    return {};
}

Outcome Catalogue::search(const Criteria &criteria, int page, bool arabic, Results *out, QString *why)
{
    RecordCriteria rc;
    rc.titleWords = criteria.title;
    rc.author = criteria.author;
    rc.subject = criteria.subject;
    rc.number = criteria.number;
    rc.type = criteria.type;
    rc.language = criteria.language;
    rc.sort = RecordSort::Title;
    rc.sortLanguage = arabic ? QStringLiteral("AR") : QStringLiteral("FR");
    const Dialect &d = db_.dialect();
    SqlCondition where;
    if (!recordSearchConditions(d, rc, &where, why))
        return Outcome::Failed;
    where = allOf({where, SqlCondition{kPublic, {}}});
    *out = Results{};
    out->page = page;
    const QString columns = QStringLiteral(
        "SELECT N.DOC_ID, N.DOC_TITRE_PROPRE, N.DOC_TITRE_COMPLEMENT, N.DOC_ANNEE, T.TYP_LIBELLE, T.TYP_LIBELLE_AR");
    const QString order = QStringLiteral(" ORDER BY ") + recordSortOrder(rc.sort, rc.sortLanguage)
        + QStringLiteral(" LIMIT ? OFFSET ?");
    const QVariantList window{kPageSize, (page - 1) * kPageSize};
    auto readHit = [&](const SqlRows &q) {
        Hit h;
        h.id = q.value(0).toInt();
        h.title = q.value(1).toString().trimmed();
        if (const QString more = q.value(2).toString().trimmed(); !more.isEmpty())
            h.title += QStringLiteral(" : ") + more;
        h.year = q.value(3).toString().trimmed();
        h.type = label(q.value(4).toString(), q.value(5).toString(), arabic);
        out->hits << h;
    };

    // The records found are counted up to a bound, which also bounds the
    // pages: beyond them there is no page to read.
    const int lastPage = (countedAtMost_ + kPageSize - 1) / kPageSize;
    if (page > lastPage)
        return Outcome::OutOfRange;
    // Most searches find a few records: the records found, up to the bound
    // and one more, are sorted with their count in one statement, through
    // the indexes of the conditions. When there are more, the page is read
    // in the desktop search's plan below.
    {
        SqlRows q = db_.query(columns + QStringLiteral(", COUNT(*) OVER () FROM (SELECT * FROM NOTICE N WHERE ")
                                  + where.sql + QStringLiteral(" LIMIT ?) N LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID")
                                  + order,
                              where.binds + QVariantList{countedAtMost_ + 1} + window);
        if (!q.isActive())
            return failed(db_, why);
        qint64 found = 0;
        if (q.next()) {
            found = q.value(6).toLongLong();
            if (found <= countedAtMost_) {
                do
                    readHit(q);
                while (q.next());
            }
        }
        q.finish();
        // No row: the page is past the records found, which are within the
        // bound (the page is, and more records would have filled it).
        if (found == 0 && page > 1)
            return Outcome::OutOfRange;
        if (found <= countedAtMost_) {
            out->count = found;
            out->pages = int((found + kPageSize - 1) / kPageSize);
            return readHitFacts(out->hits, why) ? Outcome::Done : Outcome::Failed;
        }
        out->count = countedAtMost_;
        out->more = true;
        out->pages = lastPage;
    }

    // The page is read in the desktop search's plan: along the title's index
    // when the words are common enough for a page to lie among its first rows
    // (a broad search), else from the records found, then sorted.
    const RecordPlan plan = recordPlan(db_, rc);
    SqlCondition onPage;
    if (!recordSearchConditions(d, rc, &onPage, why, plan))
        return Outcome::Failed;
    const bool sortFound = !onPage.isEmpty() && plan == RecordPlan::Conditions;
    onPage = allOf({onPage, SqlCondition{plan == RecordPlan::Order ? d.withoutIndex(kPublic) : kPublic, {}}});
    const QString from = sortFound ? d.foundFirst(QStringLiteral("NOTICE"), QStringLiteral("N"), onPage.sql)
                                   : QStringLiteral("NOTICE N");
    const QString filter = sortFound ? QString() : QStringLiteral(" WHERE ") + onPage.sql;
    SqlRows q = db_.query(columns + QStringLiteral(" FROM ") + from
                              + QStringLiteral(" LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID") + filter + order,
                          onPage.binds + window);
    if (!q.isActive())
        return failed(db_, why);
    while (q.next())
        readHit(q);
    q.finish();
    return readHitFacts(out->hits, why) ? Outcome::Done : Outcome::Failed;
}

bool Catalogue::readHitFacts(QList<Hit> &hits, QString *why)
{
    if (hits.isEmpty())
        return true;
    // The copies and the authors of the page's records in one statement:
    // each copy's facts (kind 0), then each author, the principal one
    // first, else in the order they were added (kind 1).
    QVariantList binds;
    for (const Hit &h : hits)
        binds << h.id;
    binds += binds;
    const QString marks = placeholders(hits.size());
    SqlRows q = db_.query(
        QStringLiteral("SELECT 0, X.DOC_ID, NULL, 0, NULL, ") + kCopyFacts
            + QStringLiteral(" FROM NOTICE_EXEMPLAIRE X WHERE X.DOC_ID IN (") + marks
            + QStringLiteral(") UNION ALL SELECT 1, A.DOC_ID, V.VED_NOM, CASE WHEN A.AUT_TYPE = %1 THEN 0 ELSE 1 END, "
                             "A.NAU_ID, NULL, NULL, NULL, NULL, NULL FROM NOTICE_AUTEUR A JOIN VEDETTE V ON V.VED_ID = "
                             "A.VED_ID WHERE A.DOC_ID IN (")
                  .arg(AuthorType::Principal)
            + marks + QStringLiteral(") ORDER BY 1, 2, 4, 5"),
        binds);
    if (!q.isActive()) {
        failed(db_, why);
        return false;
    }
    QHash<int, QList<CopyFacts>> copies;
    QHash<int, QString> authors;
    while (q.next()) {
        const int id = q.value(1).toInt();
        if (q.value(0).toInt() == 0)
            copies[id] << factsAt(q, 5);
        else if (!authors.contains(id))
            authors.insert(id, q.value(2).toString().trimmed());
    }
    q.finish();
    const QDate today = copies.isEmpty() ? QDate() : db_.serverDate().date();
    for (Hit &h : hits) {
        if (const auto it = copies.constFind(h.id); it != copies.cend())
            h.availability = summarise(*it, today);
        h.author = authors.value(h.id);
    }
    return true;
}

Outcome Catalogue::record(int id, bool arabic, RecordView *out, QString *why)
{
    bool ok = false;
    const QVariant visible =
        db_.scalar(QStringLiteral("SELECT N.DOC_ID FROM NOTICE N WHERE N.DOC_ID = ? AND ") + kPublic, {id}, &ok);
    if (!ok)
        return failed(db_, why);
    if (visible.isNull())
        return Outcome::NotFound;
    unimarc::RecordLoader loader(db_);
    std::optional<unimarc::StoredRecord> stored = loader.load(id, why);
    if (!stored)
        return why && !why->isEmpty() ? Outcome::Failed : Outcome::NotFound;
    // The card's call numbers are those of the copies shown.
    stored->copies.removeIf([](const unimarc::StoredCopy &c) { return !c.status.isEmpty() && !isShown(c.status.toInt()); });
    const unimarc::Isbd isbd = unimarc::formatIsbd(*stored, unimarc::IsbdLayout::Card, true);
    *out = RecordView{};
    out->isbd = isbd.html;
    out->title = isbd.title;
    out->arabicRecord = stored->arabic();

    // The date is read first: a statement run while the copies are still
    // being read would end their reading on a server that streams rows.
    const QDate today = db_.serverDate().date();
    SqlRows q = db_.query(QStringLiteral("SELECT X.EXP_ID, X.EXP_COTE, L.LOC_LIBELLE, S.STA_EXP_LIBELLE, "
                                         "S.STA_EXP_LIBELLE_AR, ")
                              + kCopyFacts
                              + QStringLiteral(" FROM NOTICE_EXEMPLAIRE X LEFT JOIN LOCALISATION L ON L.LOC_ID = X.LOC_ID "
                                               "LEFT JOIN STATUT_EXEMPLAIRE S ON S.STA_EXP_ID = X.STA_EXP_ID "
                                               "WHERE X.DOC_ID = ? AND ")
                              + kShownCopy + QStringLiteral(" ORDER BY X.EXP_ID"),
                          {id});
    if (!q.isActive())
        return failed(db_, why);
    while (q.next()) {
        const CopyFacts f = factsAt(q, 5);
        const Availability a = availabilityOf(f, today);
        CopyLine line;
        line.number = q.value(0).toString().trimmed();
        line.shelfMark = q.value(1).toString().trimmed();
        line.location = q.value(2).toString().trimmed();
        line.state = availabilityText(a, f.due, label(q.value(3).toString(), q.value(4).toString(), arabic), arabic);
        if (a == Availability::OnLoan)
            line.due = f.due;
        out->copies << line;
    }
    return Outcome::Done;
}

Outcome Catalogue::choices(bool arabic, Choices *out, QString *why)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!choicesRead_.isValid() || choicesRead_.secsTo(now) > 300) {
        QList<Labelled> types, languages;
        for (auto [sql, list] : {std::pair{"SELECT TYP_ID, TYP_LIBELLE, TYP_LIBELLE_AR FROM TYPE_DOCUMENT", &types},
                                 std::pair{"SELECT LAN_ID, LAN_LIBELLE, LAN_LIBELLE_AR FROM LANGUE", &languages}}) {
            SqlRows q = db_.query(QLatin1String(sql));
            if (!q.isActive())
                return failed(db_, why);
            while (q.next())
                *list << Labelled{q.value(0).toString().trimmed(), q.value(1).toString().trimmed(),
                                  q.value(2).toString().trimmed()};
        }
        // Both languages' lists are sorted once per reading, not once per page.
        for (const bool inArabic : {false, true}) {
            Choices &sorted = sortedChoices_[inArabic ? 1 : 0];
            sorted = Choices{};
            for (auto [from, to] : {std::pair{&types, &sorted.types}, std::pair{&languages, &sorted.languages}}) {
                for (const Labelled &l : *from)
                    if (!l.code.isEmpty())
                        *to << Choice{l.code, label(l.french, l.arabic, inArabic)};
                std::sort(to->begin(), to->end(), [](const Choice &a, const Choice &b) {
                    return QString::localeAwareCompare(a.second, b.second) < 0;
                });
            }
        }
        choicesRead_ = now;
    }
    *out = sortedChoices_[arabic ? 1 : 0];
    return Outcome::Done;
}

} // namespace folian::opac
