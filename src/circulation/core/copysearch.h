#pragma once
// The circulation's copy search: records found by title words, author
// (under every form of the heading), shelf mark or standard number; the
// copies of a record with their availability; the change of a copy's
// status, location and remark, refused while the copy is lent.

#include "circulation/core/readers.h"

#include <QDate>
#include <QString>

namespace folian {

class Database;
class Dialect;

struct CopySearch {
    QString titleWords;
    QString author;
    QString cote;       // "*" is the wildcard
    QString number;     // ISBN, ISSN...: blanks, hyphens and full stops do not count
    int sort = 0;       // 0 none, 1 title, 2 year, 3 creation date
};

// NOTICE rows (N.*) with CS_NUMERO (ISBN, else ISSN, else DOC_NUM),
// CS_TITRE (the title with its parallel title and complement) and
// CS_AUTEUR (the first main author's heading). No criterion: every record.
SqlText copySearchSql(const Dialect &dialect, const CopySearch &search);

// The copies of a record (those of the shelf mark when one is given), with
// LOC_LIBELLE and STA_EXP_LIBELLE.
SqlText recordCopiesSql(const Dialect &dialect, const QVariant &docId, const QString &cote);

// "Au prêt jusqu'au ...", "Réservé jusqu'au ..." or "Disponible".
QString availability(const QVariant &borrower, const QDate &due, const QVariant &reserver, const QDate &hold);

// Refusal of the copy-status dialog for a copy that is lent; empty when it may be changed.
QString copyModificationRefusal(Database &db, const QString &copyId);

// Writes the status, location and remark of a copy that is not lent, and
// nothing else. Empty on success, else why not.
QString changeCopyStatus(Database &db, const QString &copyId, const QVariant &status, const QVariant &location,
                         const QVariant &observation);

} // namespace folian
