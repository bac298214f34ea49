#pragma once
// Pieces shared by the two halves of the demo writer: the context every
// part writes through, and what the catalogue half hands to the circulation
// and acquisitions half.

#include <QDate>
#include <QDateTime>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <initializer_list>

namespace folian {

class Database;

namespace demo {

struct Context {
    Context(Database &database, const QDate &day) : db(database), today(day) {}

    Database &db;
    QDate today;
    QString why;

    // The library's calendar: weekly closing days (Qt days of the week) and
    // closed periods (first and last day), so that loans, registrations and
    // orders fall on days the library is open.
    QVector<int> closedWeekdays;
    QVector<QPair<QDate, QDate>> closedPeriods;
    bool isOpen(const QDate &d) const;
    QDate openOnOrAfter(QDate d) const;
    QDate openOnOrBefore(QDate d) const;

    // Inserts rows (values converted by column type); on failure `why` is set.
    bool insert(const char *table, const QStringList &columns, const QVector<QVariantList> &rows);
    // Largest key of the table plus one (1 for an empty table).
    int nextId(const char *table, const char *column);
    bool fail(const QString &reason)
    {
        why = reason;
        return false;
    }
};

// A record written by the catalogue half.
struct Record {
    int docId = 0;
    QString type;        // TYP_ID
    QString title;       // DOC_TITRE_PROPRE
    QString reference;   // ISBN, else ISSN, as stored
    qint64 priceCents = 0;
    QStringList copies;  // EXP_ID of its copies, in order
};

struct Catalogue {
    QVector<Record> records;
    int copies = 0;

    const Record *find(const QString &title) const;
};

// Writes the catalogue: reference lists, authorities, records, their
// satellites, issues and copies.
bool writeCatalogue(Context &cx, Catalogue *out);

// Helpers shared by both halves.
QStringList columns(std::initializer_list<const char *> names);
QString text(const char16_t *s);
QVariant optional(const char16_t *s);   // NULL for a missing text
QString money(qint64 cents);            // "1250.00"

} // namespace demo
} // namespace folian
