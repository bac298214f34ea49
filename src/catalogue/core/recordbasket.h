#pragma once
// The basket of the record search: records collected from results, each
// listed once, with the captions of its panel. A basket may hold a whole
// result: records are added by batches, and finding whether one is listed
// does not walk the list.

#include <QList>
#include <QSet>
#include <QString>

namespace folian {

class Database;
class Progress;

class RecordBasket
{
public:
    struct Row {
        int docId = 0;
        QString title;  // title proper, then " : " and the other title information
    };

    // Adds a record unless it is listed; false when it was (or does not exist).
    bool add(Database &db, int docId);
    // Adds the records not listed yet, in the given order, reading their
    // titles by batches; `progress` is told how far it is and may stop it.
    // The number of records added; -1 when the titles could not be read
    // (those of the earlier batches stay).
    int addAll(Database &db, const QList<int> &ids, Progress *progress = nullptr);
    void removeAt(int row);
    void clear();
    bool contains(int docId) const { return listed_.contains(docId); }
    bool isEmpty() const { return rows_.isEmpty(); }
    int size() const { return int(rows_.size()); }
    const QList<Row> &rows() const { return rows_; }
    QList<int> ids() const;

    // " n notice(s) sélectionné(s) ", or the panel's title when empty.
    QString caption() const;
    // " n notice(s) trouvé(s) " for a result of n records.
    static QString resultCaption(qint64 n);
    // The line of the progress panel while records are put in the basket.
    static QString progressText(int done);

private:
    QList<Row> rows_;
    QSet<int> listed_;
};

} // namespace folian
