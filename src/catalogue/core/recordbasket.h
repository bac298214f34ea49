#pragma once
// The basket of the record search: records collected from results, each
// listed once, with the captions of its panel.

#include <QList>
#include <QString>

namespace folian {

class Database;

class RecordBasket
{
public:
    struct Row {
        int docId = 0;
        QString title;  // title proper, then " : " and the other title information
    };

    // Adds a record unless it is listed; false when it was (or does not exist).
    bool add(Database &db, int docId);
    void removeAt(int row);
    void clear() { rows_.clear(); }
    bool contains(int docId) const;
    bool isEmpty() const { return rows_.isEmpty(); }
    int size() const { return int(rows_.size()); }
    const QList<Row> &rows() const { return rows_; }
    QList<int> ids() const;

    // " n notice(s) sélectionné(s) ", or the panel's title when empty.
    QString caption() const;
    // " n notice(s) trouvé(s) " for a result of n records.
    static QString resultCaption(qint64 n);

private:
    QList<Row> rows_;
};

} // namespace folian
