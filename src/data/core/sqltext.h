#pragma once
// Reading the shape of a SELECT statement's text: where its top-level ORDER
// BY starts and what it sorts on, so that its result can be read in pages.

#include <QString>
#include <QVector>

namespace folian {

struct SqlOrder {
    struct Item {
        QString column;     // upper-cased output column
        QString collation;  // " COLLATE ..." as written, or empty
        bool descending = false;
    };
    QString base;           // the statement without its top-level ORDER BY
    QVector<Item> items;    // empty when the statement has no ORDER BY
    // False when the order cannot be continued page by page: it sorts on
    // expressions or positions, or the statement limits its own rows.
    bool pageable = true;
    // True when each row comes from one row of one table (a single table in
    // FROM, or SELECT DISTINCT), so that the table's key identifies it; a
    // join may repeat the key.
    bool singleSource = false;
};

SqlOrder splitOrderBy(const QString &sql);

} // namespace folian
