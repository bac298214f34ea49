#include "acquisitions/core/inventory.h"

#include "acquisitions/core/inventorytexts.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/core/recordsearch.h"
#include "data/core/database.h"
#include "data/core/dialect.h"
#include "data/core/helpers.h"

namespace folian {

namespace {

QString numberColumnOf(InventoryNumber n)
{
    return n == InventoryNumber::Alternative ? QStringLiteral("E.EXP_INV") : QStringLiteral("E.EXP_ID");
}

// The number criterion: a text compared by its characters' codes, so that a
// range means the same on both engines.
SqlCondition numberCondition(const Dialect &d, const InventoryCriteria &c)
{
    const QString column = numberColumnOf(c.numberColumn);
    const QString ordered = d.byteOrder(column);
    const QString first = c.number.trimmed();
    const QString second = c.number2.trimmed();
    switch (c.numberOperator) {
    case NumberOperator::Equal:
        if (first.isEmpty())
            return {};
        return {ordered + QStringLiteral(" = ?"), {QString(first).remove(u'*')}};
    case NumberOperator::Contains:
        if (first.isEmpty())
            return {};
        return {d.likeNoCase(column), {LikePattern(first)}};
    case NumberOperator::Interval: {
        QList<SqlCondition> bounds;
        if (!first.isEmpty())
            bounds << SqlCondition{ordered + QStringLiteral(" >= ?"), {first}};
        if (!second.isEmpty())
            bounds << SqlCondition{ordered + QStringLiteral(" <= ?"), {second}};
        return allOf(bounds);
    }
    case NumberOperator::Greater:
        if (first.isEmpty())
            return {};
        return {ordered + QStringLiteral(" > ?"), {first}};
    case NumberOperator::Less:
        if (first.isEmpty())
            return {};
        return {ordered + QStringLiteral(" < ?"), {first}};
    }
    return {};
}

SqlCondition keyIs(const QString &column, const QVariant &key)
{
    if (key.isNull() || key.toString().trimmed().isEmpty())
        return {};
    return {column + QStringLiteral(" = ?"), {key.toString().trimmed()}};
}

// The criteria on the record, those of the record search, on the copy's record.
SqlCondition recordCondition(const Dialect &d, const InventoryCriteria &c)
{
    RecordCriteria r;
    r.titleWords = c.titleWords;
    r.author = c.author;
    r.number = c.standardNumber;
    r.type = c.type;
    r.language = c.language;
    SqlCondition where;
    QString why;
    if (r.isEmpty() || !recordSearchConditions(d, r, &where, &why) || where.isEmpty())
        return {};
    where.sql = QStringLiteral("E.DOC_ID IN (SELECT N.DOC_ID FROM NOTICE N WHERE ") + where.sql + u')';
    return where;
}

} // namespace

bool InventoryCriteria::isEmpty() const
{
    for (const QString *s : {&number, &number2, &location, &language, &titleWords, &author, &standardNumber,
                             &shelfMark, &type})
        if (!s->trimmed().isEmpty())
            return false;
    return (mode.isNull() || mode.toString().trimmed().isEmpty()) && !from.isValid() && !to.isValid();
}

QString InventoryCriteria::describe() const
{
    QStringList parts;
    const auto add = [&parts](const char *name, const QString &value) {
        if (!value.trimmed().isEmpty())
            parts << QLatin1String(name) + QStringLiteral("=") + value.trimmed();
    };
    static const char *const ops[] = {"=", "*", "..", ">", "<"};
    const QString num = numberColumnOf(numberColumn).mid(2);
    if (!number.trimmed().isEmpty() || !number2.trimmed().isEmpty())
        parts << num + QLatin1String(ops[int(numberOperator)]) + number.trimmed()
                + (numberOperator == NumberOperator::Interval ? QStringLiteral("..") + number2.trimmed() : QString());
    add("MOD_ID", mode.toString());
    add("LOC_ID", location);
    add("LAN_ID", language);
    add("DU", from.isValid() ? from.toString(Qt::ISODate) : QString());
    add("AU", to.isValid() ? to.toString(Qt::ISODate) : QString());
    add("TIT", titleWords);
    add("AUT", author);
    add("ISBN", standardNumber);
    add("COT", shelfMark);
    add("TYP_ID", type);
    return parts.join(QStringLiteral("; "));
}

SqlCondition inventoryConditions(const Dialect &d, const InventoryCriteria &c)
{
    QList<SqlCondition> parts;
    parts << numberCondition(d, c);
    parts << keyIs(QStringLiteral("E.MOD_ID"), c.mode);
    parts << keyIs(QStringLiteral("E.LOC_ID"), c.location);
    // Each bound day included, whatever time of day a date was stored with.
    if (c.from.isValid())
        parts << SqlCondition{QStringLiteral("E.EXP_DATE_ACQUISITION >= ?"),
                              {d.toDb(c.from, ColType::Date)}};
    if (c.to.isValid())
        parts << SqlCondition{QStringLiteral("E.EXP_DATE_ACQUISITION < ?"),
                              {d.toDb(c.to.addDays(1), ColType::Date)}};
    parts << recordCondition(d, c);
    const QString shelf = c.shelfMark.trimmed();
    if (!shelf.isEmpty())
        parts << SqlCondition{d.likeNoCase(QStringLiteral("E.EXP_COTE")), {LikePattern(shelf)}};
    return allOf(parts);
}

QString inventoryOrder(InventorySort sort)
{
    switch (sort) {
    case InventorySort::Record: return QStringLiteral("E.DOC_ID, E.EXP_ID");
    case InventorySort::ShelfMark: return QStringLiteral("E.EXP_COTE, E.EXP_ID");
    case InventorySort::Copy:
    case InventorySort::None: break;
    }
    return QStringLiteral("E.EXP_ID");
}

QStringList inventoryColumnList(InventoryNumber number)
{
    const QString suffix = session().LanguageSuffix;
    const QString record = QStringLiteral("(SELECT N.%1 FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID)");
    const QString line = QStringLiteral("(SELECT %1 FROM ACQUISITION_LIGNE L JOIN ACQUISITION A ON A.ACQ_ID = L.ACQ_ID "
                                        "%2WHERE L.ACQ_LIGNE_ID = E.ACQ_LIGNE_ID)");
    const QStringList columns = {
        QStringLiteral("E.EXP_INVENTORIE"),
        numberColumnOf(number) + QStringLiteral(" AS INV_NUMERO"),
        QStringLiteral("E.EXP_DATE_ACQUISITION"),
        QStringLiteral("(SELECT N.DOC_TITRE_PROPRE || CASE WHEN N.DOC_TITRE_COMPLEMENT IS NULL OR N.DOC_TITRE_COMPLEMENT = '' "
                       "THEN '' ELSE ' : ' || N.DOC_TITRE_COMPLEMENT END FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID) AS INV_TITRE"),
        QStringLiteral("(SELECT V.VED_NOM FROM NOTICE_AUTEUR NA JOIN VEDETTE V ON V.VED_ID = NA.VED_ID "
                       "WHERE NA.DOC_ID = E.DOC_ID AND NA.AUT_TYPE = 1 ORDER BY NA.NAU_ID LIMIT 1) AS INV_AUTEUR"),
        QStringLiteral("(SELECT ED.EDT_NOM FROM NOTICE N JOIN EDITEUR ED ON ED.EDT_ID = N.EDT_ID "
                       "WHERE N.DOC_ID = E.DOC_ID) AS INV_EDITEUR"),
        record.arg(QStringLiteral("DOC_ANNEE")) + QStringLiteral(" AS INV_ANNEE"),
        record.arg(QStringLiteral("DOC_EDITION")) + QStringLiteral(" AS INV_EDITION"),
        record.arg(QStringLiteral("DOC_LIEU_EDITION")) + QStringLiteral(" AS INV_LIEU"),
        QStringLiteral("(SELECT M.MOD_LIBELLE%1 FROM MODE_ACQUISITION M WHERE M.MOD_ID = E.MOD_ID) AS INV_MODE").arg(suffix),
        QStringLiteral("(SELECT S.STA_EXP_LIBELLE%1 FROM STATUT_EXEMPLAIRE S WHERE S.STA_EXP_ID = E.STA_EXP_ID) AS INV_STATUT")
            .arg(suffix),
        line.arg(QStringLiteral("F.FOU_LIBELLE"), QStringLiteral("JOIN FOURNISSEUR F ON F.FOU_ID = A.FOU_ID "))
            + QStringLiteral(" AS INV_FOURNISSEUR"),
        line.arg(QStringLiteral("A.ACQ_NUMERO"), QString()) + QStringLiteral(" AS INV_ACHAT"),
        QStringLiteral("E.EXP_PRIX"),
        QStringLiteral("E.EXP_COTE"),
        QStringLiteral("(SELECT LO.LOC_LIBELLE FROM LOCALISATION LO WHERE LO.LOC_ID = E.LOC_ID) AS INV_LOCALISATION"),
        QStringLiteral("E.EXP_OBSERVATION"),
        QStringLiteral("E.EXP_ID"),
        QStringLiteral("E.DOC_ID"),
        QStringLiteral("CASE WHEN E.EXP_INVENTORIE <> 0 THEN CAST(? AS VARCHAR(20)) ELSE CAST(? AS VARCHAR(20)) END "
                       "AS INV_INVENTORIE"),
    };
    return columns;
}

QVariantList inventoryLabelBinds() { return {inv::flagLabel(true), inv::flagLabel(false)}; }

QString inventoryColumns(InventoryNumber number)
{
    return inventoryColumnList(number).join(QStringLiteral(", "));
}

SqlCondition inventoryQuery(const Dialect &d, const InventoryCriteria &c)
{
    SqlCondition where = inventoryConditions(d, c);
    SqlCondition q;
    q.sql = QStringLiteral("SELECT ") + inventoryColumns(c.numberColumn) + QStringLiteral(" FROM NOTICE_EXEMPLAIRE E");
    if (!where.isEmpty())
        q.sql += QStringLiteral(" WHERE ") + where.sql;
    q.sql += QStringLiteral(" ORDER BY ") + inventoryOrder(c.sort);
    q.binds = inventoryLabelBinds() + where.binds;
    return q;
}

qint64 countInventory(Database &db, const InventoryCriteria &c, QString *why)
{
    const SqlCondition where = inventoryConditions(db.dialect(), c);
    QString sql = QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE E");
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    bool ok = false;
    const QVariant n = db.scalar(sql, where.binds, &ok);
    if (!ok) {
        if (why)
            *why = db.lastError().text();
        return -1;
    }
    return n.toLongLong();
}

bool isInventoried(const QVariant &flag)
{
    return !flag.isNull() && flag.toInt() != 0;
}

AcqResult toggleInventoried(Database &db, const QString &copy, const QVariant &seen)
{
    if (const QString refusal = rightRefusal(Right::AcqTransact, session()); !refusal.isEmpty())
        return AcqResult::refused(refusal);
    const int now = isInventoried(seen) ? 0 : 1;
    // Written only over the value the operator saw: NULL, 0 or another found value.
    QString seenCondition;
    QVariantList binds{now, copy};
    if (seen.isNull()) {
        seenCondition = QStringLiteral("EXP_INVENTORIE IS NULL");
    } else {
        seenCondition = QStringLiteral("EXP_INVENTORIE = ?");
        binds << seen.toInt();
    }
    SqlRows u = db.query(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = ? WHERE EXP_ID = ? AND ")
                             + seenCondition,
                         binds);
    if (!u.isActive())
        return databaseError(db);
    if (u.numRowsAffected() == 1)
        return AcqResult::done(now);
    u.finish();
    bool ok = false;
    const QVariant stored = db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"),
                                      {copy}, &ok);
    if (!ok)
        return databaseError(db);
    const QVariant exists = db.scalar(QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = ?"), {copy});
    if (exists.toInt() == 0)
        return AcqResult::refused(inv::copyGone(copy));
    AcqResult r = AcqResult::refused(inv::flagChanged(copy, isInventoried(stored)));
    r.key = isInventoried(stored) ? 1 : 0;
    return r;
}

} // namespace folian
