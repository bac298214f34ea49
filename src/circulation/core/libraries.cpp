#include "circulation/core/libraries.h"

#include "base/rights.h"

#include "admin/core/passwords.h"
#include "base/session.h"
#include "circulation/core/copystate.h"
#include "circulation/core/interlibrarytexts.h"
#include "data/core/newkey.h"
#include "circulation/core/readers.h"
#include "data/core/database.h"
#include "data/core/helpers.h"
#include "data/core/shareddata.h"

#include <QHash>

namespace folian {

namespace {

const char *const kLibraryColumns[] = {"BIB_NOM",     "BIB_TUTELLE", "BIB_CONTACT", "BIB_PHONE", "BIB_FAX",
                                       "BIB_CATALOGUE", "BIB_EMAIL", "BIB_ADRESSE", "BIB_SITE",  "BIB_HORAIRES"};

// The sheet's values in the order of kLibraryColumns, trimmed; an empty
// optional field is stored as NULL.
QVariantList libraryValues(const LibrarySheet &s)
{
    QVariantList out;
    for (const QString &v : {s.nom, s.tutelle, s.contact, s.phone, s.fax, s.catalogue, s.email, s.adresse, s.site,
                             s.horaires}) {
        const QString t = v.trimmed();
        out << (t.isEmpty() ? QVariant() : QVariant(t));
    }
    return out;
}

int count(Database &db, const QString &sql, const QVariantList &binds) { return db.scalar(sql, binds).toInt(); }

// Is the pair (name, supervising body) taken by another library than `except`?
bool pairTaken(Database &db, const QString &nom, const QString &tutelle, int except)
{
    return count(db, QStringLiteral("SELECT COUNT(*) FROM BIBLIOTHEQUE WHERE BIB_NOM = ? AND BIB_TUTELLE = ? AND BIB_ID <> ?"),
                 {nom, tutelle, except})
        > 0;
}

bool libraryExists(Database &db, int id)
{
    return count(db, QStringLiteral("SELECT COUNT(*) FROM BIBLIOTHEQUE WHERE BIB_ID = ?"), {id}) > 0;
}

LibrarySave postError() { return {TFrmData::PostErrorMessage()}; }

QVariant textOrNull(const QString &v)
{
    const QString t = v.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// Copies of the library, its inter-library loans and its correspondents
// holding our copies: what keeps it.
const QString kLibraryKept = QStringLiteral(
    "EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE E WHERE E.BIB_ID = ?) "
    "OR EXISTS (SELECT 1 FROM NOTICE N WHERE N.BIB_ID = ?) "
    "OR EXISTS (SELECT 1 FROM NOTICE_BULLETIN B WHERE B.BIB_ID = ?) "
    "OR EXISTS (SELECT 1 FROM PEB P WHERE P.BIB_ID = ?) "
    "OR EXISTS (SELECT 1 FROM LECTEUR L WHERE L.BIB_ID = ? AND (EXISTS (SELECT 1 FROM PEB P2 WHERE P2.LEC_ID = L.LEC_ID) "
    "OR EXISTS (SELECT 1 FROM NOTICE_EXEMPLAIRE E2 WHERE E2.LEC_ID = L.LEC_ID OR E2.LEC_ID2 = L.LEC_ID)))");

QString libraryRefusal(Database &db, int id)
{
    const int copies = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE BIB_ID = ?"), {id});
    const int records = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE WHERE BIB_ID = ?"), {id});
    const int issues = count(db, QStringLiteral("SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BIB_ID = ?"), {id});
    const int loans = count(db, QStringLiteral("SELECT COUNT(*) FROM PEB WHERE BIB_ID = ?"), {id});
    const int holding = count(db,
                              QStringLiteral("SELECT COUNT(*) FROM LECTEUR L WHERE L.BIB_ID = ? AND "
                                             "(EXISTS (SELECT 1 FROM PEB P WHERE P.LEC_ID = L.LEC_ID) OR EXISTS "
                                             "(SELECT 1 FROM NOTICE_EXEMPLAIRE E WHERE E.LEC_ID = L.LEC_ID "
                                             "OR E.LEC_ID2 = L.LEC_ID))"),
                              {id});
    return circ::libraryNotDeletable() + u'\n' + circ::libraryHolds(records, copies + issues, loans, holding);
}

} // namespace

LibrarySave saveLibrary(Database &db, const LibrarySheet &sheet)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return {refusal};
    const QString nom = sheet.nom.trimmed(), tutelle = sheet.tutelle.trimmed();
    if (nom.isEmpty() || tutelle.isEmpty())
        return {circ::libraryIncomplete(), LibraryField::Required};
    const bool isNew = sheet.id <= 0;
    Transaction tx(db);
    if (!tx.isActive())
        return postError();
    if (pairTaken(db, nom, tutelle, isNew ? 0 : sheet.id))
        return {circ::libraryExists(), LibraryField::Pair};
    const QVariantList values = libraryValues(sheet);
    int id = sheet.id;
    if (isNew) {
        QStringList columns{QStringLiteral("BIB_ID")};
        for (const char *c : kLibraryColumns)
            columns << QLatin1String(c);
        const QString sql = QStringLiteral("INSERT INTO BIBLIOTHEQUE (") + columns.join(QStringLiteral(", "))
            + QStringLiteral(") VALUES (?") + QStringLiteral(", ?").repeated(int(std::size(kLibraryColumns)))
            + u')';
        // Another workstation may save the same pair meanwhile: the unique
        // index refuses the second one.
        const KeyedInsert done = insertWithNewKey(
            db, QStringLiteral("BIBLIOTHEQUE"), QStringLiteral("BIB_ID"),
            [&](int key) { return db.exec(sql, QVariantList{key} + values); },
            [&] { return pairTaken(db, nom, tutelle, 0); }, &id);
        if (done == KeyedInsert::Clash)
            return {circ::libraryExists(), LibraryField::Pair};
        if (done != KeyedInsert::Done)
            return postError();
    } else {
        QStringList sets;
        for (const char *c : kLibraryColumns)
            sets << QLatin1String(c) + QStringLiteral(" = ?");
        QSqlError error;
        int rows = 0;
        {
            Transaction savepoint(db);
            SqlRows q = db.query(QStringLiteral("UPDATE BIBLIOTHEQUE SET ") + sets.join(QStringLiteral(", "))
                                     + QStringLiteral(" WHERE BIB_ID = ?"),
                                 values + QVariantList{id});
            if (q.isActive()) {
                rows = q.numRowsAffected();
                if (!savepoint.commit())
                    return postError();
            } else {
                error = db.lastError();
            }
        }
        if (error.isValid()) {
            if (db.dialect().isDuplicateKey(error) && pairTaken(db, nom, tutelle, id))
                return {circ::libraryExists(), LibraryField::Pair};
            return postError();
        }
        if (rows != 1)
            return {circ::libraryGone()};
    }
    if (!tx.commit())
        return postError();
    return {QString(), LibraryField::None, id};
}

LibrarySheet loadLibrary(Database &db, int id)
{
    LibrarySheet s;
    QStringList columns;
    for (const char *c : kLibraryColumns)
        columns << QLatin1String(c);
    SqlRows q = db.query(QStringLiteral("SELECT BIB_ID, ") + columns.join(QStringLiteral(", "))
                             + QStringLiteral(" FROM BIBLIOTHEQUE WHERE BIB_ID = ?"),
                         {id});
    if (!q.next())
        return s;
    s.id = q.value(0).toInt();
    QString *fields[] = {&s.nom, &s.tutelle, &s.contact, &s.phone, &s.fax, &s.catalogue, &s.email, &s.adresse, &s.site,
                         &s.horaires};
    for (int i = 0; i < int(std::size(fields)); ++i)
        *fields[i] = q.value(i + 1).toString();
    return s;
}

QString deleteLibrary(Database &db, int id)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return refusal;
    // The local library (0) is no partner: its readers are never touched.
    if (id <= 0)
        return circ::libraryGone();
    Transaction tx(db);
    if (!tx.isActive())
        return TFrmData::DeleteErrorMessage();
    // The library's row first, then its correspondents' rows: a registration
    // at this library, or a loan to one of them, finishes first or waits,
    // and the statements below see what it did.
    const Dialect &d = db.dialect();
    if (!db.exec(d.lockRow(QStringLiteral("BIBLIOTHEQUE"), QStringLiteral("BIB_ID")), {id})
        || !db.exec(d.lockRow(QStringLiteral("LECTEUR"), QStringLiteral("BIB_ID")), {id}))
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    if (!libraryExists(db, id))
        return circ::libraryGone();
    SqlRows q = db.query(QStringLiteral("DELETE FROM BIBLIOTHEQUE WHERE BIB_ID = ? AND NOT (") + kLibraryKept + u')',
                         {id, id, id, id, id, id});
    if (!q.isActive())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    if (q.numRowsAffected() != 1)
        return libraryRefusal(db, id);
    if (!db.exec(QStringLiteral("DELETE FROM LECTEUR WHERE BIB_ID = ?"), {id}) || !tx.commit())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    return {};
}

SqlText librariesSql()
{
    return {QStringLiteral("SELECT * FROM BIBLIOTHEQUE ORDER BY BIB_NOM, BIB_TUTELLE, BIB_ID"), {}};
}

SqlText correspondentsSql(int libraryId)
{
    return {QStringLiteral("SELECT * FROM LECTEUR WHERE BIB_ID = ? AND BIB_ID <> 0 ORDER BY LEC_ID"), {libraryId}};
}

QVector<LibraryChoice> libraryChoices(Database &db)
{
    QVector<LibraryChoice> out;
    QVector<QString> bodies;
    QHash<QString, int> names;
    SqlRows q = db.query(QStringLiteral("SELECT BIB_ID, BIB_NOM, BIB_TUTELLE FROM BIBLIOTHEQUE "
                                        "ORDER BY BIB_NOM, BIB_TUTELLE, BIB_ID"));
    while (q.isActive() && q.next()) {
        out.append({q.value(0).toInt(), q.value(1).toString()});
        bodies << q.value(2).toString();
        ++names[q.value(1).toString().trimmed()];
    }
    for (int i = 0; i < out.size(); ++i)
        if (names.value(out[i].label.trimmed()) > 1)
            out[i].label += QStringLiteral(" (") + bodies.at(i) + u')';
    return out;
}

// --- Correspondents ------------------------------------------------------------

CorrespondentSave saveCorrespondent(Database &db, int libraryId, const CorrespondentSheet &sheet, bool isNew,
                                    const QDate &today)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return {refusal};
    const QString id = sheet.id.trimmed();
    if (id.isEmpty() || sheet.nom.trimmed().isEmpty() || sheet.prenom.trimmed().isEmpty())
        return {circ::libraryIncomplete(), CorrespondentField::Required};
    const bool setPassword = isNew || !sheet.keepPassword;
    QString hash;
    if (setPassword) {
        hash = HashPassword(sheet.password);
        if (hash.isEmpty())
            return {TFrmData::PostErrorMessage()};
    }
    Transaction tx(db);
    if (!tx.isActive())
        return {TFrmData::PostErrorMessage()};
    // The library stays while its correspondent is saved.
    const Dialect &d = db.dialect();
    if (!db.exec(d.lockRow(QStringLiteral("BIBLIOTHEQUE"), QStringLiteral("BIB_ID")), {libraryId}))
        return {TFrmData::PostErrorMessage()};
    if (libraryId == 0 || !libraryExists(db, libraryId))
        return {circ::libraryGone()};
    const QVariant now = d.toDb(ServerDate(db), ColType::DateTime);
    const QVariant login = textOrNull(session().CurrentUserLogin);
    const QVariant registered = dateValue(db, today);
    const QVariant birth = sheet.naissance.isValid() ? dateValue(db, sheet.naissance) : QVariant();
    const QVariantList identity{sheet.nom.trimmed(), sheet.prenom.trimmed(), birth, textOrNull(sheet.adresse),
                                textOrNull(sheet.tel), textOrNull(sheet.email)};
    if (isNew) {
        if (count(db, QStringLiteral("SELECT COUNT(*) FROM LECTEUR WHERE LEC_ID = ?"), {id}) > 0)
            return {circ::correspondentNumberTaken(), CorrespondentField::Number};
        const bool ok = db.exec(QStringLiteral("INSERT INTO LECTEUR (LEC_ID, LEC_NOM, LEC_PRENOM, LEC_DATE_NAISSANCE, "
                                               "LEC_ADRESSE, LEC_TEL, LEC_EMAIL, CAT_ID, BIB_ID, LEC_DATE_ADHESION, "
                                               "LEC_STATUT, LEC_STAT_PRET, LEC_PASSWORD, CREATE_USER, CREATE_DATE) "
                                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, 0, ?, ?, ?)"),
                                QVariantList{id} + identity
                                    + QVariantList{InterLibraryCategory, libraryId, registered, hash, login, now});
        if (!ok)
            return {d.isDuplicateKey(db.lastError()) ? circ::correspondentNumberTaken() : TFrmData::PostErrorMessage(),
                    d.isDuplicateKey(db.lastError()) ? CorrespondentField::Number : CorrespondentField::None};
    } else {
        QString sql = QStringLiteral("UPDATE LECTEUR SET LEC_NOM = ?, LEC_PRENOM = ?, LEC_DATE_NAISSANCE = ?, "
                                     "LEC_ADRESSE = ?, LEC_TEL = ?, LEC_EMAIL = ?, CAT_ID = ?, LEC_DATE_ADHESION = ?, "
                                     "UPDATE_USER = ?, UPDATE_DATE = ?");
        QVariantList binds = identity + QVariantList{InterLibraryCategory, registered, login, now};
        if (setPassword) {
            sql += QStringLiteral(", LEC_PASSWORD = ?");
            binds << hash;
        }
        sql += QStringLiteral(" WHERE LEC_ID = ? AND BIB_ID = ?");
        binds << id << libraryId;
        SqlRows q = db.query(sql, binds);
        if (!q.isActive())
            return {TFrmData::PostErrorMessage()};
        if (q.numRowsAffected() != 1)
            return {circ::correspondentUnknown(id)};
    }
    if (!tx.commit())
        return {TFrmData::PostErrorMessage()};
    return {};
}

CorrespondentSheet loadCorrespondent(Database &db, const QString &id)
{
    CorrespondentSheet s;
    SqlRows q = db.query(QStringLiteral("SELECT LEC_ID, LEC_NOM, LEC_PRENOM, LEC_DATE_NAISSANCE, LEC_ADRESSE, LEC_TEL, "
                                        "LEC_EMAIL FROM LECTEUR WHERE LEC_ID = ?"),
                         {id.trimmed()});
    if (!q.next())
        return s;
    s.id = q.value(0).toString();
    s.nom = q.value(1).toString();
    s.prenom = q.value(2).toString();
    s.naissance = db.dialect().fromDb(q.value(3), ColType::Date).toDate();
    s.adresse = q.value(4).toString();
    s.tel = q.value(5).toString();
    s.email = q.value(6).toString();
    s.keepPassword = true;
    return s;
}

bool correspondentPasswordMatches(Database &db, const QString &id, const QString &typed)
{
    SqlRows q = db.query(QStringLiteral("SELECT LEC_PASSWORD FROM LECTEUR WHERE LEC_ID = ? AND CAT_ID = ?"),
                         {id.trimmed(), InterLibraryCategory});
    if (!q.next())
        return false;
    return CheckPassword(typed, q.value(0).toString(), q.value(0).isNull()) != PasswordCheck::Wrong;
}

QString deleteCorrespondent(Database &db, const QString &typed)
{
    if (const QString refusal = administratorRefusal(session()); !refusal.isEmpty())
        return refusal;
    const QString id = typed.trimmed();
    Transaction tx(db);
    if (!tx.isActive())
        return TFrmData::DeleteErrorMessage();
    // His row first: a loan to him at a desk finishes first or waits.
    if (!db.exec(db.dialect().lockRow(QStringLiteral("LECTEUR"), QStringLiteral("LEC_ID")), {id}))
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    SqlRows q = db.query(QStringLiteral("DELETE FROM LECTEUR WHERE LEC_ID = ? AND BIB_ID <> 0 AND ") + holdsNothingSql(false),
                         {id, id, id, id});
    if (!q.isActive())
        return TFrmData::DeleteErrorMessage() + u'\n' + db.lastError().text();
    if (q.numRowsAffected() == 1)
        return tx.commit() ? QString() : TFrmData::DeleteErrorMessage();
    if (count(db, QStringLiteral("SELECT COUNT(*) FROM LECTEUR WHERE LEC_ID = ? AND BIB_ID <> 0"), {id}) == 0)
        return circ::correspondentUnknown(id);
    const ReaderHoldings h = readerHoldings(db, id, false);
    return circ::correspondentNotDeletable() + u'\n' + circ::correspondentHolds(h.peb, h.loans, h.held);
}

} // namespace folian
