#include "catalogue/core/headings.h"

#include "base/messages.h"
#include "base/session.h"
#include "catalogue/core/codes.h"
#include "catalogue/core/searchconditions.h"
#include "catalogue/core/references.h"
#include "data/core/dataset.h"
#include "data/core/helpers.h"
#include "data/core/schema.h"
#include "data/core/shareddata.h"

#include <QSet>

namespace folian {

namespace {

const QString kId = QStringLiteral("VED_ID");
const QString kAccepted = QStringLiteral("VED_ID2");
const QString kName = QStringLiteral("VED_NOM");

// Longer chains than this are not left by any writer; the bound only keeps
// a damaged table from looping.
constexpr int kLongestChain = 64;

} // namespace

QVariant acceptedForm(Database &db, const QVariant &vedId)
{
    if (IsBlank(vedId))
        return {};
    QVariant current = vedId;
    QSet<qint64> seen;
    for (int step = 0; step < kLongestChain; ++step) {
        SqlRows q = db.query(QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {current});
        if (!q.isActive())
            return {};
        if (!q.next())
            return step == 0 ? QVariant() : QVariant(current.toInt());  // points nowhere: ends here
        const QVariant next = q.value(0);
        seen.insert(current.toLongLong());
        if (IsBlank(next) || sameValue(next, current) || seen.contains(next.toLongLong()))
            return QVariant(current.toInt());
        // The target must exist to be the accepted form.
        if (!db.scalar(QStringLiteral("SELECT VED_ID FROM VEDETTE WHERE VED_ID = ?"), {next}).isValid())
            return QVariant(current.toInt());
        current = next;
    }
    return QVariant(current.toInt());
}

AcceptedChoice resolveAcceptedForm(Database &db, const QVariant &heading, const QVariant &chosen)
{
    AcceptedChoice c;
    if (IsBlank(chosen) || (!IsBlank(heading) && sameValue(chosen, heading))) {
        c.accepted = IsBlank(heading) ? QVariant() : QVariant(heading.toInt());
        return c;
    }
    const QVariant accepted = acceptedForm(db, chosen);
    if (!accepted.isValid()) {
        c.refusal = tr2(QStringLiteral("La vedette choisie comme forme retenue n'existe plus."),
                        QStringLiteral("المدخل المختار كشكل مقبول لم يعد موجودا."));
        return c;
    }
    if (!IsBlank(heading) && sameValue(accepted, heading)) {
        c.refusal = tr2(QStringLiteral("La vedette %1 est une forme rejetée de cette vedette : elle ne peut pas "
                                       "en être la forme retenue."),
                        QStringLiteral("المدخل %1 شكل مرفوض لهذا المدخل : لا يمكن أن يكون شكله المقبول."))
                        .arg(quotedName(headingName(db, chosen)));
        return c;
    }
    c.accepted = accepted;
    return c;
}

HeadingSave postHeading(Dataset &d)
{
    HeadingSave out;
    if (!d.isEditing())
        return out;
    if (out.message = referenceRightRefusal(RefTable::Heading, session()); !out.message.isEmpty())
        return out;
    if (IsBlank(d.value(kName))) {
        out.message = tr2(QStringLiteral("Le champ « Nom de vedette » est obligatoire."),
                          QStringLiteral("الحقل « اسم المدخل » إجباري."));
        return out;
    }
    Database &db = d.database();
    Transaction tx(db);
    if (!tx.isActive()) {
        out.message = TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
        return out;
    }
    const bool inserting = d.state() == Dataset::State::Insert;
    const QVariant self = inserting ? QVariant() : d.value(kId);
    const AcceptedChoice choice = resolveAcceptedForm(db, self, d.value(kAccepted));
    if (!choice.ok()) {
        out.message = choice.refusal;
        return out;
    }
    if (!sameValue(choice.accepted, d.value(kAccepted)) && !d.setValue(kAccepted, choice.accepted)) {
        out.message = postFailure(d);
        return out;
    }
    // Its rejected forms follow it to its new accepted form.
    if (!inserting && !IsBlank(choice.accepted) && !sameValue(choice.accepted, self)) {
        SqlRows q = db.query(QStringLiteral("UPDATE VEDETTE SET VED_ID2 = ? WHERE VED_ID2 = ? AND VED_ID <> ?"),
                             {choice.accepted, self, self});
        if (!q.isActive()) {
            out.message = TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
            return out;
        }
        out.repointed = q.numRowsAffected();
    }
    {
        SilentScope quiet;
        if (!d.post()) {
            out.message = postFailure(d);
            out.repointed = 0;
            return out;
        }
    }
    if (!tx.commit()) {
        out.message = TFrmData::PostErrorMessage() + u'\n' + db.lastError().text();
        out.repointed = 0;
    }
    return out;
}

HeadingListMode headingListMode(int mode)
{
    HeadingListMode m;
    switch (mode) {
    case 0:
        m.showsKinds = true;
        m.byChosenKind = true;
        break;
    case 2:
    case 4:
        m.showsKinds = true;
        m.presetKind = HeadingKind::Topical;
        break;
    case 1:
    case 3:
    case 5:
    case 6:
        m.authorKindsOnly = true;
        break;
    default:  // 7: any kind
        break;
    }
    return m;
}

namespace {

// The headings named like `typed`, those of the beginning it gives read
// along the index of the order of `language`.
ListQuery nameLike(const Dialect &dialect, const QString &select, const QString &typed, const QString &language)
{
    ListQuery q{select + dialect.likeNoCase(kName), {LikePattern(typed)}};
    const SqlCondition range = collationPrefixCondition(
        dialect, Schema::collationKeyOf(QStringLiteral("VEDETTE"), kName, language), typed, language);
    if (!range.isEmpty()) {
        q.sql += QStringLiteral(" AND ") + range.sql;
        q.binds << range.binds;
    }
    return q;
}

} // namespace

ListQuery headingSearch(const Dialect &dialect, int mode, int kind, const QString &typed, const QString &language)
{
    if (typed.trimmed().isEmpty())
        return noRows(QStringLiteral("VEDETTE"));
    const HeadingListMode m = headingListMode(mode);
    ListQuery q = nameLike(dialect, QStringLiteral("SELECT * FROM VEDETTE WHERE "), typed, language);
    if (m.byChosenKind) {
        q.sql += QStringLiteral(" AND TYP_VED_ID = ?");
        q.binds << kind;
    } else if (m.authorKindsOnly) {
        q.sql += QStringLiteral(" AND TYP_VED_ID IN (1, 2, 3, 4, 10)");
    }
    return q;
}

ListQuery acceptedFormSearch(const Dialect &dialect, int kind, const QVariant &heading, const QString &typed,
                             const QString &language)
{
    const QString key = Schema::collationKeyOf(QStringLiteral("VEDETTE"), kName, language);
    const QString select = QStringLiteral("SELECT VED_ID, VED_NOM, VED_ID2, %1 FROM VEDETTE WHERE ").arg(key);
    const QString order = QStringLiteral(" ORDER BY %1, VED_ID").arg(key);
    if (typed.trimmed().isEmpty())
        return {select + QStringLiteral("1 = 0") + order, {}};
    ListQuery q = nameLike(dialect, select, typed, language);
    q.sql += QStringLiteral(" AND TYP_VED_ID = ?");
    q.binds << kind;
    if (!IsBlank(heading)) {
        q.sql += QStringLiteral(" AND VED_ID <> ?");
        q.binds << heading;
    }
    q.sql += order;
    return q;
}

QString headingName(Database &db, const QVariant &vedId)
{
    if (IsBlank(vedId))
        return {};
    return db.scalar(QStringLiteral("SELECT VED_NOM FROM VEDETTE WHERE VED_ID = ?"), {vedId}).toString();
}

} // namespace folian
