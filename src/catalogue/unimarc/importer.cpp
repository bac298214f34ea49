#include "catalogue/unimarc/importer.h"

#include "catalogue/unimarc/duplicatetest.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/codes.h"
#include "data/core/helpers.h"
#include "data/core/searchcolumns.h"

namespace folian::unimarc {

namespace {

// A record is written again at most this often (rows left out, keys taken
// by another workstation meanwhile).
constexpr int kAttempts = 25;

// A batch writes the rows of a table this many at a time.
constexpr qsizetype kDeferredRows = 32;

// Records tested and written together.
constexpr int kGroupRecords = 32;

QStringList cols(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *n : names)
        out << QLatin1String(n);
    return out;
}

const QStringList &noticeColumns()
{
    static const QStringList c = cols({
        "TYP_ID", "IND_ID", "STA_ID", "LAN_ID", "LAN_ID2", "PER_ID", "DOC_TITRE_PROPRE", "DOC_TITRE_PARALLELE",
        "DOC_TITRE_COMPLEMENT", "DOC_TITRE_ENSEMBLE", "DOC_NUMERO_PARTIE", "DOC_ISBN", "DOC_ISSN", "DOC_NUM",
        "DOC_EDITION", "DOC_LIEU_EDITION", "DOC_LIEU_EDITION2", "EDT_ID", "EDT_ID2", "DOC_ANNEE", "DOC_NBR_UNITE",
        "DOC_ILLUSTRATION", "DOC_FORMAT", "DOC_MATERIEL", "COL_ID", "COL_NUMERO", "SCL_ID", "SCL_NUMERO",
        "DOC_NUMEROTATION", "DOC_MUSIQUE", "DOC_MATHEMATIQUE", "DOC_RESSOURCE", "DOC_NOTE", "DOC_RESUME", "DIP_ID",
        "SPE_ID", "DOC_LIEU_SOUTENANCE", "REL_ID", "REL_TITRE", "REL_VOLUME", "REL_DATE_PUB", "REL_ISBN", "REL_ISSN",
        "DOC_NBR_EXEMPLAIRE", "BIB_ID", "DOC_IDENTIFIANT_SOURCE", "PAY_ID", "DOC_AGENCE", "DOC_PRET_INTERNE",
        "DOC_PRET_EXTERNE", "DOC_KEYWORDS", "DOC_MOTS", "DOC_CLE_FR", "DOC_CLE_AR", "CREATE_USER", "CREATE_DATE",
    });
    return c;
}

QString itemOf(LookupKind kind, const QString &value) { return QStringLiteral("L%1:").arg(int(kind)) + value; }

} // namespace

QString skippedRow(const QString &what, const QString &value, const QString &why)
{
    // A long value is named by its beginning.
    constexpr qsizetype kShown = 80;
    const QString shown = value.size() > kShown ? value.left(kShown) + QStringLiteral("...") : value;
    return tr2(QStringLiteral("%1 « %2 » non enregistré(e) : %3"), QStringLiteral("%1 « %2 » لم يسجل: %3"))
        .arg(what, shown, why);
}

// One attempt at writing a record. A careful attempt runs in its own
// savepoint and writes row by row, so that the row the server refuses is
// known; a quick one writes the rows of a table in one statement, and any
// failure costs it the batch.
struct RecordImporter::Attempt {
    Attempt(RecordImporter &importer, const MappedRecord &record, const RecordOptions &options,
            QList<std::pair<QString, QString>> left, bool quickly, bool inGroup = false)
        : im(importer), m(record), o(options), skips(std::move(left)), quick(quickly || inGroup), grouped(inGroup)
    {
    }

    RecordImporter &im;
    const MappedRecord &m;
    const RecordOptions &o;
    const QList<std::pair<QString, QString>> skips;  // items left out by earlier attempts, and why (a copy: shared, cheap)
    const bool quick;
    // Kept for the group of records written together: the record's row,
    // its duplicate test and its other rows, all but their DOC_ID. Only
    // reference rows already known are taken; a record that names a new
    // one is written on its own.
    const bool grouped;
    QVariantHash notice;
    DuplicateTest test;
    QList<std::pair<PreparedInsert *, QVariantHash>> rowsHeld;

    // A satellite row waiting for the statement of its table.
    struct Row {
        QString item;
        QVariantHash values;
        QString what, value;  // for the operator, when it is refused
    };

    QStringList skipped;       // values refused before anything was sent
    QString failedItem;        // the item the server refused ("N": the record itself)
    QString failedReason;
    bool collision = false;    // a key taken meanwhile by another workstation: try again as it was
    QVariant docId;
    RecordOutcome::Status status = RecordOutcome::Status::Imported;

    bool skip(const QString &item) const
    {
        if (skips.isEmpty())
            return false;
        for (const auto &s : skips)
            if (s.first == item)
                return true;
        return false;
    }

    bool fail(const QString &item, const QString &reason, const QSqlError &e, bool counterKey)
    {
        failedItem = item;
        failedReason = reason;
        collision = counterKey && im.db_.dialect().isDuplicateKey(e);
        return false;
    }

    // The key of a reference row; nullopt when the server refused to create
    // it (the attempt ends).
    std::optional<QVariant> resolve(LookupKind kind, const QString &value, const std::function<Lookups::Answer()> &ask)
    {
        if (value.trimmed().isEmpty())
            return QVariant();
        const QString item = itemOf(kind, value);
        if (skip(item))
            return QVariant();
        const Lookups::Answer a = ask();
        if (a.unknown)
            return std::nullopt;  // not known yet: the record is not one of a group
        if (a.failed) {
            // A row created meanwhile by another workstation is found on the next attempt.
            fail(item, skippedRow(Lookups::caption(kind), value, a.error.text()), a.error, true);
            return std::nullopt;
        }
        if (!a.refusal.isEmpty())
            skipped << skippedRow(Lookups::caption(kind), value, a.refusal);
        return a.key;
    }
    std::optional<QVariant> code(LookupKind kind, const QString &value)
    {
        return resolve(kind, value, [&] { return im.lookups_.code(kind, value); });
    }

    // Inserts a satellite row; false when the server refused it (the attempt ends).
    bool insertRow(const QString &item, PreparedInsert &ins, const QVariantHash &values, const QString &what,
                   const QString &value)
    {
        if (skip(item))
            return true;
        switch (ins.insert(values)) {
        case PreparedInsert::Result::Inserted: return true;
        case PreparedInsert::Result::Refused: skipped << skippedRow(what, value, ins.refusal()); return true;
        case PreparedInsert::Result::Failed: break;
        }
        const QSqlError e = ins.error();
        const bool taken = im.db_.dialect().isDuplicateKey(e);
        const QString why = taken && !ins.hasCounter()
            ? tr2(QStringLiteral("ce numéro existe déjà"), QStringLiteral("هذا الرقم موجود"))
            : e.text();
        return fail(item, skippedRow(what, value, why), e, ins.hasCounter());
    }

    // Inserts the rows of one table: row by row when careful, else in as few
    // statements as can be. False when the server refused (the attempt ends).
    bool insertAll(PreparedInsert &ins, const QList<Row> &rows)
    {
        if (!quick) {
            for (const Row &r : rows)
                if (!insertRow(r.item, ins, r.values, r.what, r.value))
                    return false;
            return true;
        }
        if (grouped) {
            for (const Row &r : rows) {
                if (const QString why = ins.refusalOf(r.values); !why.isEmpty())
                    skipped << skippedRow(r.what, r.value, why);
                else
                    rowsHeld.append({&ins, r.values});
            }
            return true;
        }
        // The rows wait with those of the records before, and go in statements of many rows.
        for (const Row &r : rows) {
            if (const QString why = ins.refusalOf(r.values); !why.isEmpty())
                skipped << skippedRow(r.what, r.value, why);
            else
                im.deferred_[&ins] << r.values;
        }
        if (im.flushDeferred(false))
            return true;
        return fail(QStringLiteral("*"), QString(), {}, false);
    }

    // The duplicate test of the record: its criterion and bound values; false
    // when the record has nothing the test could match (it is new).
    bool criterion(int &c, QVariantList &binds) const
    {
        DuplicateTest t = duplicateTestOf(im.db_.dialect(), m, o.library);
        c = t.criterion;
        binds = std::move(t.binds);
        return c != 0;
    }

    // The test reads the authors of the records before this one: they must be written.
    bool authorsWritten(int c)
    {
        if (!(c & WithAuthor) || !quick || im.flushDeferred(true))
            return true;
        return fail(QStringLiteral("*"), QString(), {}, false);
    }

    // The first matching record, null when there is none; nullopt when the attempt ends.
    std::optional<QVariant> duplicate()
    {
        int c = 0;
        QVariantList binds;
        if (!o.checkDuplicates || skip(QStringLiteral("D")) || !criterion(c, binds))
            return QVariant();
        if (!authorsWritten(c))
            return std::nullopt;
        PreparedQuery *&q = im.duplicateQueries_[c];
        if (!q)
            q = new PreparedQuery(im.db_, firstDuplicateSql(im.db_.dialect(), c));
        QVariant match;
        if (!q->first(binds, &match)) {
            // The test could not run: the record counts as new.
            fail(QStringLiteral("D"),
                 tr2(QStringLiteral("contrôle des doubles impossible : %1"), QStringLiteral("تعذرت مراقبة التكرار: %1"))
                     .arg(q->error().text()),
                 q->error(), false);
            return std::nullopt;
        }
        return match;
    }

    // Writes the record's row; with `testing`, only when the duplicate test
    // (run by the same statement) finds no match.
    bool writeNotice(bool testing)
    {
        QVariantHash v;
        v.insert(QStringLiteral("IND_ID"), QStringLiteral("a"));
        v.insert(QStringLiteral("STA_ID"), RecordStatus::Catalogued);
        v.insert(QStringLiteral("LAN_ID"), session().ArabicMode ? QStringLiteral("ara") : QStringLiteral("fre"));
        v.insert(QStringLiteral("PAY_ID"), im.defaultCountry);
        v.insert(QStringLiteral("DOC_AGENCE"), im.defaultAgency);
        v.insert(QStringLiteral("DOC_PRET_INTERNE"), 0);
        v.insert(QStringLiteral("DOC_PRET_EXTERNE"), 0);
        for (auto it = m.columns.constBegin(); it != m.columns.constEnd(); ++it)
            v.insert(it.key(), it.value());
        v.insert(QStringLiteral("TYP_ID"), m.typeId);
        if (!m.indication.isEmpty())
            v.insert(QStringLiteral("IND_ID"), m.indication);
        const struct {
            const char *column;
            LookupKind kind;
            const QString &value;
        } codes[] = {
            {"LAN_ID", LookupKind::Language, m.language},     {"LAN_ID2", LookupKind::Language, m.originalLanguage},
            {"PER_ID", LookupKind::Periodicity, m.periodicity}, {"PAY_ID", LookupKind::Country, m.country},
            {"DIP_ID", LookupKind::Diploma, m.diploma},       {"SPE_ID", LookupKind::Speciality, m.speciality},
        };
        for (const auto &c : codes) {
            if (c.value.isEmpty())
                continue;  // the default stays
            const std::optional<QVariant> key = code(c.kind, c.value);
            if (!key)
                return false;
            v.insert(QLatin1String(c.column), *key);
        }
        const struct {
            const char *column;
            const QString &name;
        } publishers[] = {{"EDT_ID", m.publisher}, {"EDT_ID2", m.publisher2}};
        for (const auto &p : publishers) {
            const std::optional<QVariant> key =
                resolve(LookupKind::Publisher, p.name, [&] { return im.lookups_.publisher(p.name); });
            if (!key)
                return false;
            v.insert(QLatin1String(p.column), *key);
        }
        const std::optional<QVariant> collection =
            resolve(LookupKind::Collection, m.collection.title, [&] { return im.lookups_.collection(m.collection); });
        if (!collection)
            return false;
        v.insert(QStringLiteral("COL_ID"), *collection);
        const std::optional<QVariant> sub = resolve(LookupKind::SubCollection, m.subCollection, [&] {
            return im.lookups_.subCollection(m.subCollection, *collection);
        });
        if (!sub)
            return false;
        v.insert(QStringLiteral("SCL_ID"), *sub);
        for (const char *c : {"DOC_ISBN", "DOC_ISSN", "DOC_NUM"})
            v.insert(QLatin1String(c), NormaliseStandardNumber(v.value(QLatin1String(c))));
        // A record of a group gets them once it is known not to be a duplicate.
        if (!grouped)
            addSearchColumns(QStringLiteral("NOTICE"), v);
        v.insert(QStringLiteral("BIB_ID"), o.library);
        if (!m.sourceId.isEmpty())
            v.insert(QStringLiteral("DOC_IDENTIFIANT_SOURCE"), m.sourceId);
        v.insert(QStringLiteral("CREATE_USER"), session().CurrentUserLogin);
        v.insert(QStringLiteral("CREATE_DATE"), im.stamp_);
        // A value the record's row cannot hold is left out and said; without
        // its title proper there is no record.
        for (auto it = v.begin(); it != v.end();) {
            const QString why = im.notice_.refusalOf(it.key(), it.value());
            if (why.isEmpty()) {
                ++it;
                continue;
            }
            if (it.key() == QLatin1String("DOC_TITRE_PROPRE"))
                return fail(QStringLiteral("N"), why, {}, false);
            skipped << skippedRow(tr2(QStringLiteral("valeur"), QStringLiteral("القيمة")), it.value().toString(), why);
            it = v.erase(it);
        }
        if (grouped) {
            if (o.checkDuplicates)
                test = duplicateTestOf(im.db_.dialect(), m, o.library);
            notice = std::move(v);
            return true;
        }
        int c = 0;
        QVariantList binds;
        testing = testing && criterion(c, binds);
        if (testing && !authorsWritten(c))
            return false;
        const PreparedInsert::Result written = testing
            ? im.notice_.insertUnless(v, im.duplicateCondition(c), binds, &docId)
            : im.notice_.insert(v, &docId);
        switch (written) {
        case PreparedInsert::Result::Inserted:
            if (docId.isNull())
                status = RecordOutcome::Status::Duplicate;
            return true;
        case PreparedInsert::Result::Refused: return fail(QStringLiteral("N"), im.notice_.refusal(), {}, false);
        case PreparedInsert::Result::Failed: break;
        }
        return fail(QStringLiteral("N"), im.notice_.error().text(), im.notice_.error(), true);
    }

    bool writeHeadings()
    {
        const QString authorCaption = tr2(QStringLiteral("auteur"), QStringLiteral("المؤلف"));
        QList<Row> authors;
        for (qsizetype i = 0; i < m.authors.size(); ++i) {
            const MappedAuthor &a = m.authors.at(i);
            const QString item = u'A' + QString::number(i);
            if (skip(item))
                continue;
            const std::optional<QVariant> heading =
                resolve(LookupKind::Heading, a.name, [&] { return im.lookups_.heading(a.name, a.kind); });
            if (!heading)
                return false;
            if (heading->isNull())
                continue;  // the heading was refused, and said so
            const std::optional<QVariant> function = code(LookupKind::Function, a.function);
            if (!function)
                return false;
            authors << Row{item,
                           {{QStringLiteral("DOC_ID"), docId},
                            {QStringLiteral("VED_ID"), *heading},
                            {QStringLiteral("FON_ID"), *function},
                            {QStringLiteral("AUT_TYPE"), a.type}},
                           authorCaption, a.name};
        }
        if (!insertAll(im.author_, authors))
            return false;
        const QString subjectCaption = tr2(QStringLiteral("matière"), QStringLiteral("الموضوع"));
        QList<Row> subjects;
        for (qsizetype i = 0; i < m.subjects.size(); ++i) {
            const MappedSubject &sub = m.subjects.at(i);
            const QString item = u'M' + QString::number(i);
            if (skip(item))
                continue;
            const std::optional<QVariant> heading =
                resolve(LookupKind::Heading, sub.name, [&] { return im.lookups_.heading(sub.name, sub.kind); });
            if (!heading)
                return false;
            if (!heading->isNull())
                subjects << Row{item, {{QStringLiteral("DOC_ID"), docId}, {QStringLiteral("VED_ID"), *heading}},
                                subjectCaption, sub.name};
        }
        return insertAll(im.subject_, subjects);
    }

    bool writeIndicesAndResources()
    {
        const QString indexCaption = Lookups::caption(LookupKind::Classification);
        QList<Row> indices;
        for (qsizetype i = 0; i < m.indices.size(); ++i) {
            const QString item = u'I' + QString::number(i);
            if (skip(item))
                continue;
            const std::optional<QVariant> index = code(LookupKind::Classification, m.indices.at(i));
            if (!index)
                return false;
            if (!index->isNull())
                indices << Row{item, {{QStringLiteral("DOC_ID"), docId}, {QStringLiteral("CLA_ID"), *index}},
                               indexCaption, m.indices.at(i)};
        }
        if (!insertAll(im.index_, indices))
            return false;
        const QString resourceCaption = tr2(QStringLiteral("ressource"), QStringLiteral("المورد"));
        QList<Row> resources;
        for (qsizetype i = 0; i < m.resources.size(); ++i) {
            const MappedResource &r = m.resources.at(i);
            resources << Row{u'R' + QString::number(i),
                             {{QStringLiteral("DOC_ID"), docId},
                              {QStringLiteral("RES_TYPE"), r.type},
                              {QStringLiteral("RES_LIEN"), ResourceLinkName(r.link)}},
                             resourceCaption, r.link.isEmpty() ? r.type : r.link};
        }
        return insertAll(im.resource_, resources);
    }

    // Is the holding already attached to the matching record for this
    // library (the same file imported again)? nullopt when the test failed.
    std::optional<bool> held(PreparedQuery &q, const QVariantList &binds)
    {
        QVariant found;
        if (!q.first(binds, &found)) {
            fail(QStringLiteral("N"), q.error().text(), q.error(), false);
            return std::nullopt;
        }
        return !found.isNull();
    }

    bool writeHoldings()
    {
        // Attached to a record the catalogue holds, a library's issues and
        // copies that an earlier import attached already are left as they are.
        const bool attaching = status == RecordOutcome::Status::Attached;
        const QString issueCaption = tr2(QStringLiteral("bulletin"), QStringLiteral("العدد"));
        QList<Row> issues;
        for (qsizetype i = 0; i < m.issues.size(); ++i) {
            const MappedIssue &is = m.issues.at(i);
            if (attaching) {
                const std::optional<bool> there =
                    held(im.heldIssue_, {docId, o.library, is.number, is.date, is.title});
                if (!there)
                    return false;
                if (*there)
                    continue;
            }
            issues << Row{u'B' + QString::number(i),
                          {{QStringLiteral("DOC_ID"), docId},
                           {QStringLiteral("BIB_ID"), o.library},
                           {QStringLiteral("BUL_NUMERO"), is.number},
                           {QStringLiteral("BUL_DATE"), is.date},
                           {QStringLiteral("BUL_TITRE"), is.title},
                           {QStringLiteral("BUL_STATUT"), 1}},
                          issueCaption, is.number};
        }
        if (!insertAll(im.issue_, issues))
            return false;
        QList<MappedCopy> copies = m.copies;
        if (copies.isEmpty()) {
            for (const QString &shelf : m.shelfNumbers) {
                MappedCopy c;
                c.id = c.shelfMark = shelf;
                c.status = CopyStatus::Available;
                copies << c;
            }
        }
        if (copies.isEmpty() && o.library != 0) {
            // Another library's holding of the record: numbered after the
            // record and the library, so that each library of the network
            // holding the same record gets its own copy.
            MappedCopy c;
            c.id = docId.toString() + u'-' + QString::number(o.library);
            c.status = CopyStatus::Available;
            copies << c;
        }
        const QString copyCaption = tr2(QStringLiteral("exemplaire"), QStringLiteral("النسخة"));
        QList<Row> rows;
        for (qsizetype i = 0; i < copies.size(); ++i) {
            const MappedCopy &c = copies.at(i);
            const QString item = u'E' + QString::number(i);
            if (skip(item))
                continue;
            if (attaching) {
                const std::optional<bool> there = held(im.heldCopy_, {c.id, docId, o.library});
                if (!there)
                    return false;
                if (*there)
                    continue;
            }
            const std::optional<QVariant> location = code(LookupKind::Location, c.location);
            if (!location)
                return false;
            rows << Row{item,
                        {{QStringLiteral("EXP_ID"), c.id},
                         {QStringLiteral("DOC_ID"), docId},
                         {QStringLiteral("BIB_ID"), o.library},
                         {QStringLiteral("EXP_COTE"), c.shelfMark},
                         {QStringLiteral("EXP_INV"), c.inventory},
                         {QStringLiteral("LOC_ID"), *location},
                         {QStringLiteral("SUP_ID"), c.support},
                         {QStringLiteral("STA_EXP_ID"), c.status},
                         {QStringLiteral("MOD_ID"), 5},
                         {QStringLiteral("EXP_OBSERVATION"), c.remark},
                         {QStringLiteral("EXP_INVENTORIE"), 1}},
                        copyCaption, c.id};
        }
        return insertAll(im.copy_, rows);
    }

    bool run()
    {
        if (grouped)
            return writeNotice(false) && writeHeadings() && writeIndicesAndResources() && writeHoldings();
        // Written quickly for our own library on a server, the record and its
        // duplicate test are one statement.
        if (quick && o.library == 0 && o.checkDuplicates && im.db_.dialect().statementsAreRoundTrips()) {
            if (!writeNotice(true))
                return false;
            if (status == RecordOutcome::Status::Duplicate)
                return true;
            return writeHeadings() && writeIndicesAndResources() && writeHoldings();
        }
        const std::optional<QVariant> match = duplicate();
        if (!match)
            return false;
        if (!match->isNull()) {
            docId = *match;
            if (o.library == 0) {
                status = RecordOutcome::Status::Duplicate;
                return true;
            }
            status = RecordOutcome::Status::Attached;
            return writeHoldings();
        }
        return writeNotice(false) && writeHeadings() && writeIndicesAndResources() && writeHoldings();
    }
};

RecordImporter::RecordImporter(Database &db)
    : db_(db), lookups_(db),
      notice_(db, QStringLiteral("NOTICE"), noticeColumns(), QStringLiteral("DOC_ID")),
      author_(db, QStringLiteral("NOTICE_AUTEUR"), cols({"DOC_ID", "VED_ID", "FON_ID", "AUT_TYPE"}), QStringLiteral("NAU_ID")),
      subject_(db, QStringLiteral("NOTICE_MATIERE"), cols({"DOC_ID", "VED_ID"}), QStringLiteral("NMA_ID")),
      index_(db, QStringLiteral("NOTICE_CLASSIFICATION"), cols({"DOC_ID", "CLA_ID"}), QStringLiteral("NCL_ID")),
      resource_(db, QStringLiteral("NOTICE_RESSOURCE"), cols({"DOC_ID", "RES_TYPE", "RES_LIEN"}), QStringLiteral("RES_ID")),
      issue_(db, QStringLiteral("NOTICE_BULLETIN"),
             cols({"DOC_ID", "BIB_ID", "BUL_NUMERO", "BUL_DATE", "BUL_TITRE", "BUL_STATUT"}), QStringLiteral("BUL_ID")),
      copy_(db, QStringLiteral("NOTICE_EXEMPLAIRE"),
            cols({"EXP_ID", "DOC_ID", "BIB_ID", "EXP_COTE", "EXP_INV", "LOC_ID", "SUP_ID", "STA_EXP_ID", "MOD_ID",
                  "EXP_OBSERVATION", "EXP_INVENTORIE"})),
      heldIssue_(db, QStringLiteral("SELECT 1 FROM NOTICE_BULLETIN WHERE DOC_ID = ? AND BIB_ID = ? "
                                    "AND COALESCE(BUL_NUMERO, '') = COALESCE(?, '') "
                                    "AND COALESCE(BUL_DATE, '') = COALESCE(?, '') "
                                    "AND COALESCE(BUL_TITRE, '') = COALESCE(?, '')")),
      heldCopy_(db, QStringLiteral("SELECT 1 FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ? AND DOC_ID = ? AND BIB_ID = ?"))
{
}

RecordImporter::~RecordImporter()
{
    if (batch_)
        rollbackBatch();
    qDeleteAll(duplicateQueries_);
}

bool RecordImporter::start(QString *why)
{
    auto read = [&](const char *sql, const std::function<void(const QVariant &)> &take) {
        SqlRows q = db_.query(QLatin1String(sql));
        if (!q.isActive()) {
            if (why)
                *why = db_.lastError().text();
            return false;
        }
        while (q.next())
            take(q.value(0));
        return true;
    };
    context_ = MappingContext();
    if (!read("SELECT REL_ID FROM RELATION", [&](const QVariant &v) { context_.relations.insert(v.toInt()); })
        || !read("SELECT TYP_ID FROM TYPE_DOCUMENT", [&](const QVariant &v) { context_.documentTypes += v.toString(); })
        || !read("SELECT SUP_ID FROM SUPPORT", [&](const QVariant &v) { context_.supports.insert(v.toInt()); })
        || !read("SELECT STA_EXP_ID FROM STATUT_EXEMPLAIRE",
                 [&](const QVariant &v) { context_.copyStatuses.insert(v.toInt()); }))
        return false;
    SqlRows p = db_.query(QStringLiteral("SELECT CLASSIFICATION, PAY_ID, AGENCE FROM PARAMETRE"));
    if (!p.isActive()) {
        if (why)
            *why = db_.lastError().text();
        return false;
    }
    if (p.next()) {
        context_.classification = p.value(0).toInt();
        defaultCountry = p.value(1);
        defaultAgency = p.value(2);
    }
    return true;
}

bool RecordImporter::beginBatch(QString *why)
{
    pending_.clear();
    if (!beginBatchTransaction(why))
        return false;
    stamp_ = ServerDate(db_);
    return true;
}

bool RecordImporter::add(const MappedRecord &m, const RecordOptions &options, qint64 tag, QString *why)
{
    pending_ << Pending{tag, m, options, {}};
    const qsizetype at = pending_.size() - 1;
    if (careful_ || !batch_) {
        pending_[at].outcome = writeCarefully(m, options);
        return true;
    }
    switch (writeGrouped(at)) {
    case Grouping::Done: return true;
    case Grouping::Alone:
        if (writeQuickly(m, options, pending_[at].outcome))
            return true;
        break;
    case Grouping::Failed: break;
    }
    // The server refused something: the batch, this record included, is written again record by record.
    refused_ = true;
    return writeBatchAgain(why);
}

RecordImporter::Grouping RecordImporter::writeGrouped(qsizetype at)
{
    const Pending &p = pending_.at(at);
    RecordOutcome &out = pending_[at].outcome;
    out = RecordOutcome();
    out.title = p.record.title();
    if (out.title.isEmpty()) {
        out.status = RecordOutcome::Status::Untitled;
        return Grouping::Done;
    }
    // On the embedded engine each statement that writes the word tables
    // ends by writing their pending words out: records written 32 to a
    // statement write them 32 times less often. On a server the record and
    // its duplicate test stay one statement (measured: its statements of 32
    // records cost the server more than they save).
    if (p.options.library != 0 || db_.dialect().statementsAreRoundTrips())
        return group_.isEmpty() || flushGroup() ? Grouping::Alone : Grouping::Failed;
    Attempt a(*this, p.record, p.options, {}, true, true);
    lookups_.setCacheOnly(true);
    const bool known = a.run();
    lookups_.setCacheOnly(false);
    if (!known)
        return group_.isEmpty() || flushGroup() ? Grouping::Alone : Grouping::Failed;
    // A record that could repeat one of the group is tested once the group is written.
    const QStringList probes = a.test.probes();
    if (std::any_of(probes.cbegin(), probes.cend(), [&](const QString &k) { return groupKeys_.contains(k); })
        && !flushGroup())
        return Grouping::Failed;
    out.status = RecordOutcome::Status::Imported;  // unless the group's test finds it
    out.skipped = a.skipped;
    group_.append(Grouped{at, std::move(a.notice), std::move(a.test), std::move(a.rowsHeld)});
    for (const QString &k : duplicateKeys(p.record))
        groupKeys_.insert(k);
    if (group_.size() >= kGroupRecords && !flushGroup())
        return Grouping::Failed;
    return Grouping::Done;
}

bool RecordImporter::flushGroup()
{
    if (group_.isEmpty())
        return true;
    QList<Grouped> group;
    group.swap(group_);
    groupKeys_.clear();
    // The test by author reads the authors of the records written before.
    const bool byAuthor = std::any_of(group.cbegin(), group.cend(), [](const Grouped &g) {
        return (g.test.criterion & WithAuthor) != 0;
    });
    if (byAuthor && !flushDeferred(true))
        return false;
    QSet<int> duplicates;  // places in the group
    if (std::any_of(group.cbegin(), group.cend(), [](const Grouped &g) { return g.test.criterion != 0; })) {
        if (!groupTest_)
            groupTest_ = std::make_unique<PreparedQuery>(db_, groupDuplicateSql(db_.dialect(), kGroupRecords));
        QVariantList binds;
        for (int i = 0; i < kGroupRecords; ++i)
            binds += groupDuplicateBinds(i < group.size() ? &group.at(i).test : nullptr, i);
        if (!groupTest_->run(binds))
            return false;
        while (groupTest_->next())
            duplicates.insert(groupTest_->value(0).toInt());
        groupTest_->finish();
    }
    QList<QVariantHash> rows;
    for (qsizetype i = 0; i < group.size(); ++i) {
        if (!duplicates.contains(int(i))) {
            addSearchColumns(QStringLiteral("NOTICE"), group[i].notice);
            rows << group.at(i).notice;
        }
    }
    QList<QVariant> keys;
    if (!rows.isEmpty() && notice_.insertRows(rows, &keys) != PreparedInsert::Result::Inserted)
        return false;
    if (keys.size() != rows.size())
        return false;
    qsizetype next = 0;
    for (qsizetype i = 0; i < group.size(); ++i) {
        Grouped &g = group[i];
        RecordOutcome &out = pending_[g.pending].outcome;
        if (duplicates.contains(int(i))) {
            // Nothing of it is written, nothing left out.
            out.status = RecordOutcome::Status::Duplicate;
            out.skipped.clear();
            continue;
        }
        out.docId = keys.at(next++);
        for (auto &[table, values] : g.rows) {
            values.insert(QStringLiteral("DOC_ID"), out.docId);
            deferred_[table] << std::move(values);
        }
    }
    return flushDeferred(false);
}

bool RecordImporter::flushDeferred(bool all)
{
    for (auto it = deferred_.begin(); it != deferred_.end(); ++it) {
        QList<QVariantHash> &rows = it.value();
        const qsizetype n = all ? rows.size() : rows.size() - rows.size() % kDeferredRows;
        if (n == 0)
            continue;
        if (it.key()->insertRows(rows.mid(0, n)) != PreparedInsert::Result::Inserted)
            return false;
        rows.remove(0, n);
    }
    return true;
}

bool RecordImporter::writeBatchAgain(QString *why)
{
    batch_.reset();  // rolled back
    deferred_.clear();
    group_.clear();
    groupKeys_.clear();
    lookups_.dropBatch();
    if (!beginBatchTransaction(why))
        return false;
    careful_ = true;
    for (Pending &p : pending_)
        p.outcome = writeCarefully(p.record, p.options);
    return true;
}

bool RecordImporter::beginBatchTransaction(QString *why)
{
    batch_.emplace(db_);
    QString reason;
    if (!batch_->isActive()) {
        reason = db_.lastError().text();
    } else if (db_.dialect().isPostgres()
               && !db_.exec(QStringLiteral("SELECT set_config('plan_cache_mode', 'force_generic_plan', true) "
                                           "WHERE current_setting('server_version_num')::integer >= 120000"))) {
        // The server would otherwise plan the record's statement again for
        // every record (measured: four times as long as running it); for the
        // batch's transaction it keeps one plan of each statement.
        reason = db_.lastError().text();
    } else if (heldLibrary_ > 0) {
        bool ok = db_.exec(db_.dialect().lockRow(QStringLiteral("BIBLIOTHEQUE"), QStringLiteral("BIB_ID")), {heldLibrary_});
        if (ok && !db_.scalar(QStringLiteral("SELECT BIB_ID FROM BIBLIOTHEQUE WHERE BIB_ID = ?"), {heldLibrary_}, &ok).isValid())
            reason = ok ? libraryGoneMessage(heldLibrary_) : db_.lastError().text();
        else if (!ok)
            reason = db_.lastError().text();
    }
    if (reason.isEmpty())
        return true;
    batch_.reset();
    if (why)
        *why = reason;
    return false;
}

QString libraryGoneMessage(int library)
{
    return tr2(QStringLiteral("La bibliothèque %1 n'existe plus : l'importation de ses notices est arrêtée."),
               QStringLiteral("المكتبة %1 لم تعد موجودة : تم توقيف تحصيل بطاقاتها."))
        .arg(library);
}

bool RecordImporter::commitBatch(QList<BatchOutcome> *outcomes, QString *why)
{
    bool ok = true;
    QString reason;
    if (batch_ && (!flushGroup() || !flushDeferred(true))) {
        // A row of the batch was refused: written again record by record.
        refused_ = true;
        ok = writeBatchAgain(&reason);
    }
    if (batch_ && ok) {
        ok = batch_->commit();
        if (!ok)
            reason = db_.lastError().text();
        batch_.reset();
    }
    if (ok)
        lookups_.keepBatch();
    else
        lookups_.dropBatch();
    for (Pending &p : pending_) {
        if (!ok && p.outcome.result() == 1) {
            p.outcome.status = RecordOutcome::Status::Failed;
            p.outcome.error = reason;
            p.outcome.skipped.clear();
        }
        if (ok && p.outcome.status == RecordOutcome::Status::Imported)
            session().DefaultDocumentType = p.record.typeId;
        if (outcomes)
            outcomes->append(BatchOutcome{p.tag, std::move(p.outcome)});
    }
    pending_.clear();
    // The tables the import reads grow: after the 1st, 2nd, 4th, 8th... batch
    // the server learns their new sizes, so that its plans keep using the indexes.
    if (ok && (++batches_, (batches_ & (batches_ - 1)) == 0))
        refreshStatistics();
    // A batch the server refused something in is followed by a careful one.
    careful_ = refused_;
    refused_ = false;
    if (!ok && why)
        *why = reason;
    return ok;
}

const QString &RecordImporter::duplicateCondition(int criterion)
{
    QString &sql = duplicateConditions_[criterion];
    if (sql.isEmpty())
        sql = duplicateSql(db_.dialect(), criterion, "1");
    return sql;
}

void RecordImporter::refreshStatistics()
{
    for (const char *table : {"NOTICE", "NOTICE_AUTEUR", "VEDETTE", "EDITEUR", "COLLECTION", "SOUS_COLLECTION"})
        if (const QString sql = db_.dialect().refreshStatistics(QLatin1String(table)); !sql.isEmpty())
            db_.exec(sql);  // a failure leaves the plans as they were
}

void RecordImporter::rollbackBatch()
{
    batch_.reset();
    deferred_.clear();
    group_.clear();
    groupKeys_.clear();
    pending_.clear();
    lookups_.dropBatch();
}

RecordOutcome RecordImporter::importRecord(const Record &record, const RecordOptions &options)
{
    return importMapped(mapRecord(record, context_), options);
}

RecordOutcome RecordImporter::importMapped(const MappedRecord &m, const RecordOptions &options)
{
    const RecordOutcome out = writeCarefully(m, options);
    if (!batch_) {
        if (out.result() == 1)
            lookups_.keepBatch();
        if (out.status == RecordOutcome::Status::Imported)
            session().DefaultDocumentType = m.typeId;
    }
    return out;
}

bool RecordImporter::writeQuickly(const MappedRecord &m, const RecordOptions &options, RecordOutcome &out)
{
    out = RecordOutcome();
    out.title = m.title();
    if (out.title.isEmpty()) {
        out.status = RecordOutcome::Status::Untitled;
        return true;
    }
    Attempt a(*this, m, options, {}, true);
    if (!a.run())
        return false;
    lookups_.keepRecord();
    out.status = a.status;
    out.docId = a.docId;
    out.skipped = a.skipped;
    return true;
}

RecordOutcome RecordImporter::writeCarefully(const MappedRecord &m, const RecordOptions &options)
{
    RecordOutcome out;
    out.title = m.title();
    if (out.title.isEmpty()) {
        out.status = RecordOutcome::Status::Untitled;
        return out;
    }
    if (!batch_)
        stamp_ = ServerDate(db_);
    QList<std::pair<QString, QString>> skips;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Attempt a(*this, m, options, skips, false);
        bool ok = false;
        {
            Transaction savepoint(db_);
            if (!savepoint.isActive()) {
                out.error = db_.lastError().text();
                return out;
            }
            ok = a.run();
            if (ok && !savepoint.commit()) {
                ok = false;
                a.failedItem = QStringLiteral("N");
                a.failedReason = db_.lastError().text();
            }
        }  // an attempt that failed is rolled back here
        if (ok) {
            lookups_.keepRecord();
            out.status = a.status;
            out.docId = a.docId;
            out.skipped = a.skipped;
            for (const auto &sk : skips)
                out.skipped << sk.second;
            return out;
        }
        lookups_.dropRecord();
        if (a.collision)
            continue;
        if (a.failedItem == QLatin1String("N")) {
            out.error = a.failedReason;
            return out;
        }
        skips << std::pair{a.failedItem, a.failedReason};
    }
    out.error = tr2(QStringLiteral("trop de tentatives"), QStringLiteral("محاولات كثيرة جدا"));
    return out;
}

} // namespace folian::unimarc
