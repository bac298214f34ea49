#include "catalogue/unimarc/storedrecord.h"

#include <QSqlRecord>

namespace folian::unimarc {

namespace {

const char kNoticeSql[] =
    "SELECT N.*, I.IND_LIBELLE AS X_IND, I.IND_LIBELLE_AR AS X_IND_AR, E1.EDT_NOM AS X_EDT, E1.EDT_NOM_AR AS X_EDT_AR, "
    "E2.EDT_NOM AS X_EDT2, E2.EDT_NOM_AR AS X_EDT2_AR, P.PER_LIBELLE AS X_PER, P.PER_LIBELLE_AR AS X_PER_AR, "
    "D.DIP_LIBELLE AS X_DIP, D.DIP_LIBELLE_AR AS X_DIP_AR, S.SPE_LIBELLE AS X_SPE, S.SPE_LIBELLE_AR AS X_SPE_AR, "
    "R.REL_LIBELLE AS X_REL, R.REL_LIBELLE_AR AS X_REL_AR, T.TYP_REP_ARCHIVAGE AS X_ARCHIVE "
    "FROM NOTICE N LEFT JOIN INDICATION I ON I.IND_ID = N.IND_ID LEFT JOIN EDITEUR E1 ON E1.EDT_ID = N.EDT_ID "
    "LEFT JOIN EDITEUR E2 ON E2.EDT_ID = N.EDT_ID2 LEFT JOIN PERIODICITE P ON P.PER_ID = N.PER_ID "
    "LEFT JOIN DIPLOME D ON D.DIP_ID = N.DIP_ID LEFT JOIN SPECIALITE S ON S.SPE_ID = N.SPE_ID "
    "LEFT JOIN RELATION R ON R.REL_ID = N.REL_ID LEFT JOIN TYPE_DOCUMENT T ON T.TYP_ID = N.TYP_ID "
    "WHERE N.DOC_ID = ?";

QString text(const QVariant &v) { return v.isNull() ? QString() : v.toString().trimmed(); }

// The row of the current result, upper-case names.
QVariantHash rowOf(const QSqlRecord &rec, PreparedQuery &q)
{
    QVariantHash out;
    for (int i = 0; i < rec.count(); ++i)
        out.insert(rec.fieldName(i).toUpper(), q.value(i));
    return out;
}

} // namespace

QString StoredRecord::value(const QString &column) const { return text(notice.value(column)); }

QString rowValue(const QVariantHash &row, const char *column) { return text(row.value(QLatin1String(column))); }

struct RecordLoader::Queries {
    explicit Queries(Database &db)
        : notice(db, QLatin1String(kNoticeSql)),
          collection(db, QStringLiteral("SELECT * FROM COLLECTION WHERE COL_ID = ?")),
          subCollection(db, QStringLiteral("SELECT * FROM SOUS_COLLECTION WHERE SCL_ID = ?")),
          authors(db, QStringLiteral(
                          "SELECT V.VED_NOM, V.TYP_VED_ID, TV.TYP_VED_UNIMARC2, A.FON_ID, F.FON_ABREVIATION, "
                          "F.FON_ABREVIATION_AR, A.AUT_TYPE, A.VED_ID FROM NOTICE_AUTEUR A "
                          "LEFT JOIN VEDETTE V ON V.VED_ID = A.VED_ID LEFT JOIN TYPE_VEDETTE TV ON TV.TYP_VED_ID = V.TYP_VED_ID "
                          "LEFT JOIN FONCTION F ON F.FON_ID = A.FON_ID WHERE A.DOC_ID = ? "
                          "ORDER BY COALESCE(A.AUT_TYPE, 9), A.NAU_ID")),
          subjects(db, QStringLiteral("SELECT V.VED_NOM, V.TYP_VED_ID, TV.TYP_VED_UNIMARC1, M.VED_ID FROM NOTICE_MATIERE M "
                                      "LEFT JOIN VEDETTE V ON V.VED_ID = M.VED_ID "
                                      "LEFT JOIN TYPE_VEDETTE TV ON TV.TYP_VED_ID = V.TYP_VED_ID "
                                      "WHERE M.DOC_ID = ? ORDER BY M.NMA_ID")),
          indices(db, QStringLiteral("SELECT CLA_ID FROM NOTICE_CLASSIFICATION WHERE DOC_ID = ? ORDER BY NCL_ID")),
          resources(db, QStringLiteral("SELECT RES_TYPE, RES_LIEN FROM NOTICE_RESSOURCE WHERE DOC_ID = ? ORDER BY RES_ID")),
          issues(db, QStringLiteral(
                         "SELECT BUL_NUMERO, BUL_DATE, BUL_TITRE FROM NOTICE_BULLETIN WHERE DOC_ID = ? ORDER BY BUL_ID")),
          copies(db, QStringLiteral("SELECT EXP_ID, EXP_INV, EXP_COTE, LOC_ID, SUP_ID, STA_EXP_ID, EXP_OBSERVATION "
                                    "FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ? ORDER BY EXP_ID"))
    {
    }
    PreparedQuery notice, collection, subCollection, authors, subjects, indices, resources, issues, copies;
};

RecordLoader::RecordLoader(Database &db) : q_(std::make_unique<Queries>(db)) {}

RecordLoader::~RecordLoader() = default;

std::optional<StoredRecord> RecordLoader::load(const QVariant &docId, QString *why)
{
    auto failed = [&](PreparedQuery &q) -> std::optional<StoredRecord> {
        if (why)
            *why = q.error().text();
        return std::nullopt;
    };
    // Runs `q` for `key` and hands each row to `take`.
    auto each = [&](PreparedQuery &q, const QVariant &key, const std::function<void(PreparedQuery &)> &take) {
        if (!q.run({key}))
            return false;
        while (q.next())
            take(q);
        q.finish();
        return true;
    };
    if (why)
        why->clear();
    StoredRecord r;
    PreparedQuery &n = q_->notice;
    if (!n.run({docId}))
        return failed(n);
    bool found = false;
    if (n.next()) {
        found = true;
        r.notice = rowOf(n.record(), n);
    }
    n.finish();
    if (!found)
        return std::nullopt;
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

    const struct {
        const char *key;
        PreparedQuery &query;
        QVariantHash &row;
    } parents[] = {{"COL_ID", q_->collection, r.collection}, {"SCL_ID", q_->subCollection, r.subCollection}};
    for (const auto &p : parents) {
        const QVariant key = r.notice.value(QLatin1String(p.key));
        if (key.isNull())
            continue;
        if (!each(p.query, key, [&](PreparedQuery &q) { p.row = rowOf(q.record(), q); }))
            return failed(p.query);
    }
    if (!each(q_->authors, docId, [&](PreparedQuery &q) {
            r.authors << StoredAuthor{text(q.value(0)), q.value(1).toInt(), text(q.value(2)), text(q.value(3)),
                                      Label{text(q.value(4)), text(q.value(5))}, q.value(6).toInt(),
                                      q.value(7).toInt()};
        }))
        return failed(q_->authors);
    if (!each(q_->subjects, docId, [&](PreparedQuery &q) {
            r.subjects << StoredSubject{text(q.value(0)), q.value(1).toInt(), text(q.value(2)), q.value(3).toInt()};
        }))
        return failed(q_->subjects);
    if (!each(q_->indices, docId, [&](PreparedQuery &q) { r.indices << text(q.value(0)); }))
        return failed(q_->indices);
    if (!each(q_->resources, docId,
              [&](PreparedQuery &q) { r.resources << StoredResource{text(q.value(0)), text(q.value(1))}; }))
        return failed(q_->resources);
    if (!each(q_->issues, docId, [&](PreparedQuery &q) {
            r.issues << StoredIssue{text(q.value(0)), text(q.value(1)), text(q.value(2))};
        }))
        return failed(q_->issues);
    if (!each(q_->copies, docId, [&](PreparedQuery &q) {
            r.copies << StoredCopy{text(q.value(0)), text(q.value(1)), text(q.value(2)), text(q.value(3)),
                                   text(q.value(4)), text(q.value(5)), text(q.value(6))};
        }))
        return failed(q_->copies);
    return r;
}

} // namespace folian::unimarc
