#include "acquisitions/core/suggestions.h"

#include "acquisitions/core/acqtexts.h"
#include "acquisitions/core/gifttexts.h"
#include "base/messages.h"
#include "data/core/database.h"
#include "data/core/newkey.h"

namespace folian {

AcqResult saveSuggestion(Database &db, const SuggestionSheet &s)
{
    if (s.title.trimmed().isEmpty())
        return AcqResult::refused(acq::suggestionTitleRequired());
    QVariant title, author, publisher, comment, price;
    QString refusal;
    if (!columnValues(db, "SUGGESTION",
                      {{"SUG_TITRE", u"Titre", u"العنوان", s.title, &title},
                       {"SUG_AUTEUR", u"Auteur", u"المؤلف", s.author, &author},
                       {"SUG_EDITEUR", u"Editeur", u"الناشر", s.publisher, &publisher},
                       {"SUG_COMMENTAIRE", u"Commentaire", u"تعليق", s.comment, &comment}},
                      &refusal))
        return AcqResult::refused(refusal);
    if (!s.price.trimmed().isEmpty()) {
        const std::optional<Money> m = typedAmount(db, "SUGGESTION", "SUG_PRIX", acq::priceCaption(), s.price, &refusal);
        if (!m)
            return AcqResult::refused(refusal);
        price = db.dialect().toDb(m->toVariant(), ColType::Money);
    }
    const QVariant day = dateValue(db, s.date.isValid() ? s.date : serverToday(db));
    const QVariantList values{title, author, publisher, price, day, comment};
    return inTransaction(db, [&] {
        if (s.id > 0) {
            SqlRows q = db.query(QStringLiteral("UPDATE SUGGESTION SET SUG_TITRE = ?, SUG_AUTEUR = ?, SUG_EDITEUR = ?, SUG_PRIX = ?, "
                                                  "SUG_DATE = ?, SUG_COMMENTAIRE = ? WHERE SUG_ID = ?"),
                                   values + QVariantList{s.id});
            if (!q.isActive())
                return databaseError(db);
            return q.numRowsAffected() == 1 ? AcqResult::done(s.id) : AcqResult::refused(acq::suggestionGone());
        }
        int id = 0;
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("SUGGESTION"), QStringLiteral("SUG_ID"),
            [&](int key) {
                return db.exec(QStringLiteral("INSERT INTO SUGGESTION (SUG_TITRE, SUG_AUTEUR, SUG_EDITEUR, SUG_PRIX, SUG_DATE, "
                                              "SUG_COMMENTAIRE, SUG_ID) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                               values + QVariantList{key});
            },
            {}, &id);
        return done == KeyedInsert::Done ? AcqResult::done(id) : databaseError(db);
    });
}

SuggestionSheet loadSuggestion(Database &db, int id)
{
    SuggestionSheet s;
    SqlRows q = db.query(QStringLiteral("SELECT SUG_ID, SUG_TITRE, SUG_AUTEUR, SUG_EDITEUR, SUG_PRIX, SUG_DATE, SUG_COMMENTAIRE "
                                          "FROM SUGGESTION WHERE SUG_ID = ?"),
                           {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    s.title = q.value(1).toString();
    s.author = q.value(2).toString();
    s.publisher = q.value(3).toString();
    const std::optional<Money> price = Money::fromVariant(q.value(4));
    s.price = price ? price->toString() : QString();
    s.date = db.dialect().fromDb(q.value(5), ColType::Date).toDate();
    s.comment = q.value(6).toString();
    return s;
}

AcqResult deleteSuggestion(Database &db, int id)
{
    SqlRows q = db.query(QStringLiteral("DELETE FROM SUGGESTION WHERE SUG_ID = ?"), {id});
    if (!q.isActive())
        return databaseError(db);
    return q.numRowsAffected() == 1 ? AcqResult::done() : AcqResult::refused(acq::suggestionGone());
}

bool suggestionSearchSql(const Dialect &d, const QString &number, SqlText *out, QString *why)
{
    SqlText t;
    t.sql = QStringLiteral("SELECT * FROM SUGGESTION");
    const QString typed = number.trimmed();
    if (!typed.isEmpty()) {
        for (const QChar c : typed)
            if (c != u'*' && (c < u'0' || c > u'9')) {
                *why = acq::suggestionNumberNotANumber(typed);
                return false;
            }
        // The key is a number: matched as its decimal text, on every engine.
        t.sql += QStringLiteral(" WHERE ") + d.likeNoCase(QStringLiteral("CAST(SUG_ID AS VARCHAR(20))"));
        t.binds << LikePattern(typed);
    }
    t.sql += QStringLiteral(" ORDER BY SUG_DATE, SUG_ID");
    *out = t;
    return true;
}

QString suggestionCountLine(Database &db)
{
    return LookupCountText(db, QStringLiteral("SUGGESTION"), tr2(QStringLiteral("Suggestions"), QStringLiteral("الاقتراحات")),
                           tr2(QStringLiteral("enreg(s)"), QStringLiteral("تسجيلة")));
}

bool suggestionListReport(const Dialect &d, const QString &number, Report *out, QString *why)
{
    SqlText search;
    if (!suggestionSearchSql(d, number, &search, why))
        return false;
    Report r;
    r.fileName = QStringLiteral("suggestion.html");
    r.french = QStringLiteral("Liste des suggestions");
    r.arabic = QStringLiteral("قائمة الاقتراحات");
    r.letterhead = true;
    r.columns = {reportColumn(QStringLiteral("Titre"), QStringLiteral("العنوان"), 240),
                 reportColumn(QStringLiteral("Auteur"), QStringLiteral("المؤلف"), 200),
                 reportColumn(QStringLiteral("Editeur"), QStringLiteral("الناشر"), 90),
                 reportColumn(QStringLiteral("Prix"), QStringLiteral("السعر"), 90, ColumnKind::Money)};
    r.sql = search.sql.replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT SUG_TITRE, SUG_AUTEUR, SUG_EDITEUR, SUG_PRIX"));
    r.binds = search.binds;
    *out = r;
    return true;
}

} // namespace folian
