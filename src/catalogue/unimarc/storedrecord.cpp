#include "catalogue/unimarc/storedrecord.h"

#include <QHash>
#include <QSet>
#include <QSqlRecord>

#include <functional>

namespace folian::unimarc {

namespace {

// Each statement reads the rows of a batch of records, its first column
// the record they belong to; " IN (...) " and the rest of the statement
// follow the text given here.
const char kNoticeSql[] =
    "SELECT N.DOC_ID AS X_KEY, N.*, I.IND_LIBELLE AS X_IND, I.IND_LIBELLE_AR AS X_IND_AR, E1.EDT_NOM AS X_EDT, "
    "E1.EDT_NOM_AR AS X_EDT_AR, E2.EDT_NOM AS X_EDT2, E2.EDT_NOM_AR AS X_EDT2_AR, P.PER_LIBELLE AS X_PER, "
    "P.PER_LIBELLE_AR AS X_PER_AR, D.DIP_LIBELLE AS X_DIP, D.DIP_LIBELLE_AR AS X_DIP_AR, S.SPE_LIBELLE AS X_SPE, "
    "S.SPE_LIBELLE_AR AS X_SPE_AR, R.REL_LIBELLE AS X_REL, R.REL_LIBELLE_AR AS X_REL_AR, T.TYP_REP_ARCHIVAGE AS X_ARCHIVE "
    "FROM NOTICE N LEFT JOIN INDICATION I ON I.IND_ID = N.IND_ID LEFT JOIN EDITEUR E1 ON E1.EDT_ID = N.EDT_ID "
    "LEFT JOIN EDITEUR E2 ON E2.EDT_ID = N.EDT_ID2 LEFT JOIN PERIODICITE P ON P.PER_ID = N.PER_ID "
    "LEFT JOIN DIPLOME D ON D.DIP_ID = N.DIP_ID LEFT JOIN SPECIALITE S ON S.SPE_ID = N.SPE_ID "
    "LEFT JOIN RELATION R ON R.REL_ID = N.REL_ID LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID "
    "WHERE N.DOC_ID";
const char kAuthorsSql[] =
    "SELECT A.DOC_ID, V.VED_NOM, V.TYP_VED_ID, TV.TYP_VED_UNIMARC2, A.FON_ID, F.FON_ABREVIATION, "
    "F.FON_ABREVIATION_AR, A.AUT_TYPE, A.VED_ID FROM NOTICE_AUTEUR A "
    "LEFT JOIN VEDETTE V ON V.VED_ID = A.VED_ID LEFT JOIN TYPE_VEDETTE TV ON TV.TYP_VED_ID = V.TYP_VED_ID "
    "LEFT JOIN FONCTION F ON F.FON_ID = A.FON_ID WHERE A.DOC_ID";
const char kSubjectsSql[] =
    "SELECT M.DOC_ID, V.VED_NOM, V.TYP_VED_ID, TV.TYP_VED_UNIMARC1, M.VED_ID FROM NOTICE_MATIERE M "
    "LEFT JOIN VEDETTE V ON V.VED_ID = M.VED_ID LEFT JOIN TYPE_VEDETTE TV ON TV.TYP_VED_ID = V.TYP_VED_ID "
    "WHERE M.DOC_ID";

QString text(const QVariant &v) { return v.isNull() ? QString() : v.toString().trimmed(); }

// The columns of the current row from the second on, upper-case names;
// `names` holds them once read from the first row.
QVariantHash rowOf(const SqlRows &q, QStringList &names)
{
    if (names.isEmpty()) {
        const QSqlRecord rec = q.record();
        for (int i = 1; i < rec.count(); ++i)
            names << rec.fieldName(i).toUpper();
    }
    QVariantHash out;
    out.reserve(names.size());
    for (int i = 0; i < names.size(); ++i)
        out.insert(names.at(i), q.value(i + 1));
    return out;
}

// A statement reads one record, or a whole batch: two texts of it only, the
// values of a smaller batch completed with NULL, which matches nothing.
QVariantList inList(QList<QVariant> keys, QString *sql)
{
    const qsizetype size = keys.size() <= 1 ? 1 : RecordLoader::kBatch;
    keys.resize(size);
    QStringList marks(size, QStringLiteral("?"));
    *sql += QStringLiteral(" IN (") + marks.join(QStringLiteral(", ")) + QStringLiteral(") ");
    return keys;
}

} // namespace

QString StoredRecord::value(const QString &column) const { return text(notice.value(column)); }

QString rowValue(const QVariantHash &row, const char *column) { return text(row.value(QLatin1String(column))); }

RecordLoader::RecordLoader(Database &db) : db_(db) {}

std::optional<StoredRecord> RecordLoader::load(const QVariant &docId, QString *why)
{
    QList<StoredRecord> out;
    if (!loadMany({docId}, &out, why) || out.isEmpty())
        return std::nullopt;
    return out.takeFirst();
}

bool RecordLoader::loadMany(const QList<QVariant> &docIds, QList<StoredRecord> *out, QString *why)
{
    if (why)
        why->clear();
    for (qsizetype from = 0; from < docIds.size(); from += kBatch)
        if (!loadBatch(docIds.mid(from, kBatch), out, why))
            return false;
    return true;
}

bool RecordLoader::loadBatch(const QList<QVariant> &docIds, QList<StoredRecord> *out, QString *why)
{
    QList<StoredRecord> records;
    QHash<QString, qsizetype> at;  // a record's place in `records`, by its DOC_ID
    // Runs the statement `head` IN (`keys`) `tail`; hands each row to `take`.
    const auto each = [&](QString sql, const QList<QVariant> &keys, const char *tail,
                          const std::function<void(const SqlRows &)> &take) {
        const QVariantList binds = inList(keys, &sql);
        SqlRows q = db_.query(sql + QLatin1String(tail), binds);
        if (!q.isActive()) {
            if (why)
                *why = db_.lastError().text();
            return false;
        }
        while (q.next())
            take(q);
        if (q.lastError().isValid()) {
            if (why)
                *why = q.lastError().text();
            return false;
        }
        return true;
    };
    // The rows of a record's satellite table, to the record they belong to.
    const auto toRecord = [&](const std::function<void(const SqlRows &, StoredRecord &)> &take) {
        return [&, take](const SqlRows &q) {
            const auto it = at.constFind(q.value(0).toString());
            if (it != at.constEnd())
                take(q, records[*it]);
        };
    };

    QStringList names;
    if (!each(QLatin1String(kNoticeSql), docIds, "", [&](const SqlRows &q) {
            at.insert(q.value(0).toString(), records.size());
            StoredRecord r;
            r.notice = rowOf(q, names);
            records << r;
        }))
        return false;
    if (records.isEmpty())
        return true;
    QList<QVariant> keys;
    for (const StoredRecord &r : std::as_const(records))
        keys << r.notice.value(QStringLiteral("DOC_ID"));
    for (StoredRecord &r : records) {
        auto label = [&r](const char *fr, const char *ar) {
            return Label{text(r.notice.take(QLatin1String(fr))), text(r.notice.take(QLatin1String(ar)))};
        };
        r.indication = label("X_IND", "X_IND_AR");
        r.publisher = label("X_EDT", "X_EDT_AR");
        r.publisher2 = label("X_EDT2", "X_EDT2_AR");
        r.periodicity = label("X_PER", "X_PER_AR");
        r.diploma = label("X_DIP", "X_DIP_AR");
        r.speciality = label("X_SPE", "X_SPE_AR");
        r.relation = label("X_REL", "X_REL_AR");
        r.archiveDirectory = text(r.notice.take(QStringLiteral("X_ARCHIVE")));
    }

    // The collection and sub-collection rows the records point to.
    const struct {
        const char *key;
        const char *sql;
        QVariantHash StoredRecord::*row;
    } parents[] = {{"COL_ID", "SELECT COL_ID AS X_KEY, C.* FROM COLLECTION C WHERE COL_ID", &StoredRecord::collection},
                   {"SCL_ID", "SELECT SCL_ID AS X_KEY, S.* FROM SOUS_COLLECTION S WHERE SCL_ID",
                    &StoredRecord::subCollection}};
    for (const auto &p : parents) {
        const QString column = QLatin1String(p.key);
        QList<QVariant> wanted;
        QSet<QString> seen;
        for (const StoredRecord &r : std::as_const(records)) {
            const QVariant k = r.notice.value(column);
            if (!k.isNull() && !seen.contains(k.toString())) {
                seen.insert(k.toString());
                wanted << k;
            }
        }
        if (wanted.isEmpty())
            continue;
        QHash<QString, QVariantHash> rows;
        QStringList columns;
        if (!each(QLatin1String(p.sql), wanted, "",
                  [&](const SqlRows &q) { rows.insert(q.value(0).toString(), rowOf(q, columns)); }))
            return false;
        for (StoredRecord &r : records) {
            const QVariant k = r.notice.value(column);
            if (!k.isNull())
                r.*(p.row) = rows.value(k.toString());
        }
    }

    // Each record's rows in their display order.
    if (!each(QLatin1String(kAuthorsSql), keys, "ORDER BY A.DOC_ID, COALESCE(A.AUT_TYPE, 9), A.NAU_ID",
              toRecord([](const SqlRows &q, StoredRecord &r) {
                  r.authors << StoredAuthor{text(q.value(1)), q.value(2).toInt(), text(q.value(3)), text(q.value(4)),
                                            Label{text(q.value(5)), text(q.value(6))}, q.value(7).toInt(),
                                            q.value(8).toInt()};
              }))
        || !each(QLatin1String(kSubjectsSql), keys, "ORDER BY M.DOC_ID, M.NMA_ID",
                 toRecord([](const SqlRows &q, StoredRecord &r) {
                     r.subjects << StoredSubject{text(q.value(1)), q.value(2).toInt(), text(q.value(3)),
                                                 q.value(4).toInt()};
                 }))
        || !each(QStringLiteral("SELECT DOC_ID, CLA_ID FROM NOTICE_CLASSIFICATION WHERE DOC_ID"), keys,
                 "ORDER BY DOC_ID, NCL_ID",
                 toRecord([](const SqlRows &q, StoredRecord &r) { r.indices << text(q.value(1)); }))
        || !each(QStringLiteral("SELECT DOC_ID, RES_TYPE, RES_LIEN FROM NOTICE_RESSOURCE WHERE DOC_ID"), keys,
                 "ORDER BY DOC_ID, RES_ID", toRecord([](const SqlRows &q, StoredRecord &r) {
                     r.resources << StoredResource{text(q.value(1)), text(q.value(2))};
                 }))
        || !each(QStringLiteral("SELECT DOC_ID, BUL_NUMERO, BUL_DATE, BUL_TITRE FROM NOTICE_BULLETIN WHERE DOC_ID"), keys,
                 "ORDER BY DOC_ID, BUL_ID", toRecord([](const SqlRows &q, StoredRecord &r) {
                     r.issues << StoredIssue{text(q.value(1)), text(q.value(2)), text(q.value(3))};
                 }))
        || !each(QStringLiteral("SELECT DOC_ID, EXP_ID, EXP_INV, EXP_COTE, LOC_ID, SUP_ID, STA_EXP_ID, EXP_OBSERVATION "
                                "FROM NOTICE_EXEMPLAIRE WHERE DOC_ID"),
                 keys, "ORDER BY DOC_ID, EXP_ID", toRecord([](const SqlRows &q, StoredRecord &r) {
                     r.copies << StoredCopy{text(q.value(1)), text(q.value(2)), text(q.value(3)), text(q.value(4)),
                                            text(q.value(5)), text(q.value(6)), text(q.value(7))};
                 })))
        return false;

    // In the order asked, a record asked twice given twice.
    for (const QVariant &id : docIds) {
        const auto it = at.constFind(id.toString());
        if (it != at.constEnd())
            out->append(records.at(*it));
    }
    return true;
}

} // namespace folian::unimarc
