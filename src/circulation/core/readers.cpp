#include "circulation/core/readers.h"

#include "base/rights.h"

#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/core/copystate.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

namespace folian {

namespace {

// What a search without a value asks for: no reader has this number.
const QString kNobody = QStringLiteral("-2147483647");

// The columns of a listed reader: the row, whether he is late, the labels
// of his category and structure. The two binds are today.
const QString kReaderColumns = QStringLiteral(
    "SELECT L.*, "
    "CASE WHEN EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = L.LEC_ID AND E.EXP_DATE_RETOUR < ?) "
    "OR EXISTS (SELECT 1 FROM PEB P WHERE P.LEC_ID = L.LEC_ID AND P.BIB_REMIS = 0 AND P.BIB_RETOUR < ?) "
    "THEN 1 ELSE 0 END AS LEC_RETARD, "
    "(SELECT C.CAT_LIBELLE FROM CATEGORIE C WHERE C.CAT_ID = L.CAT_ID) AS CAT_LIBELLE, "
    "(SELECT S.STR_LIBELLE FROM STRUCTURE S WHERE S.STR_ID = L.STR_ID) AS STR_LIBELLE "
    "FROM LECTEUR L");

QString quoted(QChar c)
{
    return c == u'\'' ? QStringLiteral("''''") : u'\'' + QString(c) + u'\'';
}

// The surname with every word separator turned into a blank, between
// blanks: a word of the surname is then " word " inside it.
QString spacedSurname()
{
    QString expr = QStringLiteral("LEC_NOM");
    for (const QChar c : KeywordSeparators())
        if (c != u' ')
            expr = QStringLiteral("REPLACE(") + expr + QStringLiteral(", ") + quoted(c) + QStringLiteral(", ' ')");
    return QStringLiteral("(' ' || ") + expr + QStringLiteral(" || ' ')");
}

int count(Database &db, const QString &sql, const QVariantList &binds)
{
    return db.scalar(sql, binds).toInt();
}

} // namespace

const QStringList &dateOperators()
{
    static const QStringList ops{QStringLiteral("="), QStringLiteral(">"), QStringLiteral("<"),
                                 QStringLiteral(">="), QStringLiteral("<=")};
    return ops;
}

QStringList nameWords(const QString &text)
{
    QStringList out;
    int pos = 1;
    for (;;) {
        const QString w = NextToken(text.trimmed(), pos, KeywordSeparators());
        if (w.isEmpty())
            break;
        out << w;
    }
    return out;
}

SqlText readerSearchSql(const Dialect &dialect, const ReaderSearch &s, const QDate &today)
{
    const QVariant day = dialect.toDb(today, ColType::Date);
    SqlText out{kReaderColumns, {day, day}};
    QStringList where;
    QVariantList binds;
    switch (s.criterion) {
    case ReaderCriterion::Numero:
        if (!s.text.trimmed().isEmpty()) {
            where << dialect.likeNoCase(QStringLiteral("LEC_ID"));
            binds << LikePattern(s.text);
        }
        break;
    case ReaderCriterion::Nom:
        for (const QString &w : nameWords(s.text)) {
            where << dialect.likeNoCase(spacedSurname());
            binds << QString(QStringLiteral("% ") + LikePattern(w) + QStringLiteral(" %"));
        }
        break;
    case ReaderCriterion::Categorie:
    case ReaderCriterion::Structure:
        if (!IsBlank(s.key)) {
            where << (s.criterion == ReaderCriterion::Categorie ? QStringLiteral("CAT_ID = ?") : QStringLiteral("STR_ID = ?"));
            binds << s.key.toInt();
        }
        break;
    case ReaderCriterion::DateAdhesion:
        if (s.date.isValid() && dateOperators().contains(s.op)) {
            where << QStringLiteral("LEC_DATE_ADHESION ") + s.op + QStringLiteral(" ?");
            binds << dialect.toDb(s.date, ColType::Date);
        }
        break;
    case ReaderCriterion::Statut:
        if (s.status >= ReaderStatus::Normal && s.status <= ReaderStatus::Suspended) {
            where << QStringLiteral("COALESCE(LEC_STATUT, 0) = ?");
            binds << s.status;
            if (s.status == ReaderStatus::Penalised) {
                where << QStringLiteral("LEC_FIN_PENALITE > ?");
                binds << day;
            }
        }
        break;
    }
    if (where.isEmpty()) {
        where << QStringLiteral("LEC_ID = ?");
        binds = {kNobody};
    }
    out.sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")) + QStringLiteral(" ORDER BY LEC_ID");
    out.binds << binds;
    return out;
}

SqlText readerRowSql(const Dialect &dialect, const QString &readerId, const QDate &today)
{
    const QVariant day = dialect.toDb(today, ColType::Date);
    return {kReaderColumns + QStringLiteral(" WHERE LEC_ID = ?"), {day, day, readerId.trimmed()}};
}

QString searchStatusText(const QVariant &status, const QVariant &penaltyEnd, const QVariant &late)
{
    if (ReaderStatus::of(status) == ReaderStatus::Normal)
        return late.toInt() == 1 ? circ::statusLate() : circ::statusNormal();
    return ReaderStatus::text(status, penaltyEnd);
}

SqlText readerLoansSql(const QString &readerId)
{
    return {QStringLiteral("SELECT E.*, "
                           "(SELECT N.DOC_TITRE_PROPRE FROM NOTICE N WHERE N.DOC_ID = E.DOC_ID) AS TITRE, "
                           "(SELECT T.TYP_LIBELLE FROM TYPE_DOCUMENT T WHERE T.TYP_ID IN "
                           "(SELECT N2.TYP_ID FROM NOTICE N2 WHERE N2.DOC_ID = E.DOC_ID)) AS TYPE "
                           "FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = ?"),
            {readerId}};
}

QString recordTitleSql(const QString &docId)
{
    return QStringLiteral("(SELECT N.DOC_TITRE_PROPRE || CASE WHEN N.DOC_TITRE_COMPLEMENT IS NULL "
                          "OR N.DOC_TITRE_COMPLEMENT = '' THEN '' ELSE ' : ' || N.DOC_TITRE_COMPLEMENT END "
                          "FROM NOTICE N WHERE N.DOC_ID = ")
        + docId + u')';
}

SqlText readerReservationsSql(const QString &readerId)
{
    SqlText s = readerLoansSql(readerId);
    s.sql.replace(QStringLiteral("WHERE E.LEC_ID = ?"), QStringLiteral("WHERE E.LEC_ID2 = ?"));
    return s;
}

SqlText readerInterLibrarySql(const QString &readerId)
{
    return {QStringLiteral("SELECT P.*, (SELECT B.BIB_NOM FROM BIBLIOTHEQUE B WHERE B.BIB_ID = P.BIB_ID) AS BIB_NOM "
                           "FROM PEB P WHERE P.LEC_ID = ? AND P.BIB_REMIS = 0"),
            {readerId}};
}

void openReaderHistory(TFrmData &data, const QString &readerId)
{
    // A list that cannot be read is shown empty, without a message.
    SilentScope silent;
    const struct {
        Dataset *d;
        SqlText sql;
    } lists[] = {{data.QPret, readerLoansSql(readerId)},
                 {data.QReservation, readerReservationsSql(readerId)},
                 {data.QPebHistory, readerInterLibrarySql(readerId)}};
    for (const auto &l : lists)
        if (!l.d->open(l.sql.sql, l.sql.binds))
            l.d->close();
}

void closeReaderHistory(TFrmData &data)
{
    for (Dataset *d : {data.QPret, data.QReservation, data.QPebHistory})
        d->close();
}

QString readerNumberRefusal(Database &db, const QString &readerId)
{
    bool ok = false;
    const QVariant found = db.scalar(QStringLiteral("SELECT LEC_ID FROM LECTEUR WHERE LEC_ID = ?"), {readerId}, &ok);
    return ok && found.isValid() ? circ::readerNumberTaken(readerId) : QString();
}

QString deleteReader(Database &db, const QString &readerId)
{
    if (const QString refusal = rightRefusal(Right::CirculLecteur, session()); !refusal.isEmpty())
        return refusal;
    Transaction tx(db);
    if (!tx.isActive())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    // His row first: a loan, a reservation or a consultation to him at a
    // desk finishes first or waits, and the statement below sees what it did.
    if (!db.exec(db.dialect().lockRow(QStringLiteral("LECTEUR"), QStringLiteral("LEC_ID")), {readerId}))
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    SqlRows q = db.query(QStringLiteral("DELETE FROM LECTEUR WHERE LEC_ID = ? AND ") + holdsNothingSql(true),
                         {readerId, readerId, readerId, readerId});
    if (!q.isActive())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    if (q.numRowsAffected() > 0)
        return tx.commit() ? QString() : TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    const ReaderHoldings h = readerHoldings(db, readerId, true);
    if (h.any())
        return circ::readerNotDeletable(readerId, h.loans, h.held, h.peb);
    return circ::readerUnknown(readerId);
}

ReaderHoldings readerHoldings(Database &db, const QString &readerId, bool openInterLibraryOnly)
{
    ReaderHoldings h;
    h.loans = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID = ?"), {readerId});
    h.held = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE LEC_ID2 = ?"), {readerId});
    h.peb = count(db,
                  QStringLiteral("SELECT COUNT(*) FROM PEB WHERE LEC_ID = ?")
                      + (openInterLibraryOnly ? QStringLiteral(" AND BIB_REMIS = 0") : QString()),
                  {readerId});
    return h;
}

QString holdsNothingSql(bool openInterLibraryOnly)
{
    return QStringLiteral("NOT EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = ? OR E.LEC_ID2 = ?) "
                          "AND NOT EXISTS (SELECT 1 FROM PEB P WHERE P.LEC_ID = ?")
        + (openInterLibraryOnly ? QStringLiteral(" AND P.BIB_REMIS = 0)") : QStringLiteral(")"));
}

bool countReaderLoan(Database &db, const QString &readerId)
{
    SqlRows q = db.query(QStringLiteral("UPDATE LECTEUR SET LEC_STAT_PRET = COALESCE(LEC_STAT_PRET, 0) + 1 "
                                        "WHERE LEC_ID = ?"),
                         {readerId});
    return q.isActive() && q.numRowsAffected() == 1;
}

std::optional<QDate> penaltyEnd(const QDate &today, const QDate &due, int penaltyDays, const QVariant &proportional)
{
    if (!due.isValid() || today <= due || penaltyDays <= 0)
        return std::nullopt;
    const qint64 factor = !IsBlank(proportional) && proportional.toInt() == 1 ? due.daysTo(today) : 1;
    return today.addDays(penaltyDays * factor);
}

std::optional<QDate> penaliseReader(Database &db, const QString &readerId, const QDate &until)
{
    // The penalty he has (status 1 or 3) ends at the later of the two days;
    // one the administration cancelled (status 0 or 2) is not revived.
    const QVariant day = dateValue(db, until);
    SqlRows q = db.query(QStringLiteral("UPDATE LECTEUR SET LEC_STATUT = CASE WHEN LEC_STATUT IN (2, 3) THEN 3 ELSE 1 END, "
                                        "LEC_FIN_PENALITE = CASE WHEN LEC_STATUT IN (1, 3) AND LEC_FIN_PENALITE > ? "
                                        "THEN LEC_FIN_PENALITE ELSE ? END WHERE LEC_ID = ?"),
                         {day, day, readerId});
    if (!q.isActive() || q.numRowsAffected() != 1)
        return std::nullopt;
    const QDate end = db.dialect()
                          .fromDb(db.scalar(QStringLiteral("SELECT LEC_FIN_PENALITE FROM LECTEUR WHERE LEC_ID = ?"), {readerId}),
                                  ColType::Date)
                          .toDate();
    return end.isValid() ? std::optional<QDate>(end) : std::nullopt;
}

bool clearEndedPenalty(Database &db, const QString &readerId, const QDate &today)
{
    return db.exec(QStringLiteral("UPDATE LECTEUR SET LEC_STATUT = 0 "
                                  "WHERE LEC_ID = ? AND LEC_STATUT = 1 "
                                  "AND (LEC_FIN_PENALITE IS NULL OR LEC_FIN_PENALITE < ?)"),
                   {readerId, dateValue(db, today)});
}

} // namespace folian
