#pragma once
// What the printed pages of the acquisitions share: the page in the layout
// of the order form (letterhead, title, labelled paragraphs, the bordered
// table and what follows it), every value escaped.

#include "reports/core/report.h"

#include <QStringList>

namespace folian {

class Database;
class SqlRows;

namespace acqpage {

// A caption written into a page (accented letters as references in French).
QString caption(const QString &text);
// A left-aligned paragraph: the label in bold, then the value.
QString labelled(const QString &label, const QString &value);
// A page not written, with the reason.
ReportResult refusedWith(const QString &message);
// The page written as `fileName` in the directory of pages.
ReportResult writePage(Database &db, const QString &fileName, const QString &title, const QStringList &paragraphs,
                       const QList<ReportColumn> &columns, const QList<QVariantList> &rows, const QString &after);
// The short title read at column `propre` (the complement after it).
QString titleOf(const SqlRows &q, int propre);

} // namespace acqpage
} // namespace folian
