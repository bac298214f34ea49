#pragma once
// An acquisitions database for the tests: suppliers 1 "L'Harmattan" and 2
// "Dar El Gharb", records 1 to 5 (record 3 in status 2, record 4 in status
// 3, the others catalogued), a location "MAG" and a support 1; and helpers
// that make an order with lines, validate it and read it back.

#include "acquisitions/core/orders.h"
#include "acquisitions/core/receipt.h"
#include "data/core/database.h"
#include "data/core/migrator.h"
#include "support/testdb.h"

#include <QTest>

namespace folian::test {

inline bool acqInsert(Database &db, const char *table, const QStringList &columns, const QVariantList &row)
{
    QString why;
    if (!insertRows(db, QLatin1String(table), columns, {row}, &why)) {
        qWarning("%s: %s", table, qPrintable(why));
        return false;
    }
    return true;
}

inline bool addRecord(Database &db, int id, int status = 1, const QString &title = QString(), const QString &isbn = QString())
{
    return acqInsert(db, "NOTICE",
                     {QStringLiteral("DOC_ID"), QStringLiteral("TYP_ID"), QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("STA_ID"),
                      QStringLiteral("DOC_ISBN"), QStringLiteral("BIB_ID")},
                     {id, QStringLiteral("a"), title.isEmpty() ? QStringLiteral("Titre %1").arg(id) : title, status,
                      isbn.isEmpty() ? QVariant() : QVariant(isbn), 0});
}

inline bool acqSetUp(Database &db)
{
    return acqInsert(db, "FOURNISSEUR", {QStringLiteral("FOU_ID"), QStringLiteral("FOU_LIBELLE"), QStringLiteral("FOU_TYP")},
                     {1, QStringLiteral("L'Harmattan"), 1})
        && acqInsert(db, "FOURNISSEUR", {QStringLiteral("FOU_ID"), QStringLiteral("FOU_LIBELLE"), QStringLiteral("FOU_TYP")},
                     {2, QStringLiteral("Dar El Gharb"), 1})
        && addRecord(db, 1, 1, QString(), QStringLiteral("2070360248")) && addRecord(db, 2) && addRecord(db, 3, 2)
        && addRecord(db, 4, 3) && addRecord(db, 5)
        && db.exec(QStringLiteral("INSERT INTO LOCALISATION (LOC_ID, LOC_LIBELLE) VALUES ('MAG', 'Magasin')"))
        && db.exec(QStringLiteral("INSERT INTO SUPPORT (SUP_ID, SUP_LIBELLE, SUP_LIBELLE_AR) VALUES (1, 'Imprimé', 'مطبوع')"));
}

// A new document of the type with supplier 1; its key, 0 on failure.
inline int newDocument(Database &db, AcqType type = AcqType::Order, const QString &number = QStringLiteral("BC-1"),
                       const QDate &date = QDate(2024, 3, 15), int supplier = 1)
{
    DocumentSheet d;
    d.type = type;
    d.supplier = supplier;
    d.number = number;
    d.date = date;
    const AcqResult r = saveDocument(db, d);
    if (!r.passed)
        qWarning("document: %s", qPrintable(r.message));
    return r.key;
}

// A line of `copies` of the record at `price` (blank for none); its key, 0 when refused.
inline int newLine(Database &db, int document, int record, const QString &copies, const QString &price = QString())
{
    LineSheet l;
    l.document = document;
    l.record = record;
    l.copies = copies;
    l.price = price;
    const AcqResult r = saveLine(db, l);
    if (!r.passed)
        qWarning("line: %s", qPrintable(r.message));
    return r.key;
}

inline QString storedTotal(Database &db, int document)
{
    const std::optional<Money> m = Money::fromVariant(db.scalar(QStringLiteral("SELECT ACQ_TOTAL FROM ACQUISITION WHERE ACQ_ID = ?"), {document}));
    return m ? m->toString() : QStringLiteral("NULL");
}

inline int lineValue(Database &db, int line, const char *column)
{
    return db.scalar(QStringLiteral("SELECT %1 FROM ACQUISITION_LIGNE WHERE ACQ_LIGNE_ID = ?").arg(QLatin1String(column)), {line}).toInt();
}

inline int recordStatus(Database &db, int record)
{
    return db.scalar(QStringLiteral("SELECT STA_ID FROM NOTICE WHERE DOC_ID = ?"), {record}).toInt();
}

inline int countOf(Database &db, const QString &sql, const QVariantList &binds = {}) { return db.scalar(sql, binds).toInt(); }

// A validated order of one line of `copies` copies of record 4 (on order)
// at 12.50, received in a delivery: {document, line, delivery}.
struct Received {
    int document = 0, line = 0, delivery = 0;
};
inline Received receivedOrder(Database &db, int copies = 5)
{
    Received r;
    r.document = newDocument(db);
    r.line = newLine(db, r.document, 4, QString::number(copies), QStringLiteral("12.50"));
    if (!validateDocument(db, r.document).passed)
        return {};
    ReceiptRequest q;
    q.document = r.document;
    q.number = QStringLiteral("BL-1");
    q.date = QDate(2024, 4, 2);
    const AcqResult d = receive(db, q);
    if (!d.passed)
        qWarning("receipt: %s", qPrintable(d.message));
    r.delivery = d.key;
    return r;
}

} // namespace folian::test

// The data row's engine: a fresh database `tdb` (skipped without
// PostgreSQL), its connection `db`, set up as acqSetUp sets it up.
#define FOLIAN_ACQ_DB(tdb, db)                                                   \
    QFETCH(QString, engine);                                                     \
    FOLIAN_TEST_DB(tdb, engine);                                                 \
    folian::Database &db = tdb.db();                                             \
    QVERIFY(folian::test::acqSetUp(db))
