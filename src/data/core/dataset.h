#pragma once
// An updatable row set over SQL text set at run time: a current row, the
// states browse / edit / insert, and handlers around the row events.
//
// Rows are read in pages, each page a complete query on the one connection
// of the workstation, ordered by the SQL's own ORDER BY (or the sort field)
// and then by the table's key, and continued after the last row read. So a
// result of a million rows opens at once, no server connection or
// transaction stays open between pages, and a row posted, re-keyed or
// deleted while the result is half read appears exactly once. A result
// whose order cannot be continued that way (no key in it, an ORDER BY on
// expressions, a LIMIT of its own) is read whole when it opens.
//
// Values are converted by the type of their column when they are set, and
// checked against its length: a value that does not fit is refused with a
// message naming the field, never cut. Updates and deletes locate the row
// by the key of its table and write only the columns that changed.

#include "data/core/database.h"
#include "data/core/handlers.h"

#include <QObject>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>

namespace folian {

class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    // `table` is the table that posts and deletes write (may be empty for a read-only set).
    Dataset(Database &db, const QString &name, const QString &table, QObject *parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    QString table() const { return table_; }
    Database &database() const { return db_; }

    // SQL text and its bound values; takes effect at the next open().
    void setSql(const QString &sql, const QVariantList &binds = {});
    QString sql() const { return sql_; }
    QVariantList binds() const { return binds_; }
    // Sorts the rows on a column instead of the SQL's own order; `collation`
    // is the dialect's clause for a text sort (see Dialect::collate).
    void setSortField(const QString &column, const QString &collation = QString());
    QString sortField() const { return sortField_; }
    // Columns that identify a row of the result, for reading it in pages;
    // without them the table's key is used when the SQL reads one table (or
    // SELECT DISTINCT), else the result is read whole.
    void setUniqueKey(const QStringList &columns) { uniqueKey_ = columns; }

    bool open();
    bool open(const QString &sql, const QVariantList &binds = {})
    {
        setSql(sql, binds);
        return open();
    }
    // Reads the result again, keeping the current row when it is still there.
    bool reopen();
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

    // Fields of the result, upper-cased, in result order.
    const QStringList &fieldNames() const { return fields_; }
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    // The column of the dataset's table behind a field, when there is one.
    const ColumnDef *column(const QString &field) const;

    // Rows read so far; fetchMore reads the next page. allFetched() once the
    // end is reached. A failed read is an error (lastError, fetchFailed), never
    // the end of the data.
    int rowCount() const { return int(rows_.size()); }
    bool fetchMore(int count = 256);
    bool fetchAll();
    bool allFetched() const { return atEnd_; }
    bool fetchFailedState() const { return fetchFailed_; }
    bool isEmpty();
    // Number of rows of the whole result, counted by the database; -1 on failure.
    int recordCount();

    int currentRow() const { return current_; }
    bool moveTo(int row);
    bool first() { return moveTo(0); }
    bool next();
    bool prior() { return current_ > 0 && moveTo(current_ - 1); }
    bool last();
    bool eof() const { return eof_; }
    // Positions on the first row whose column equals the value; false when
    // none. Asks the database first, so a value absent from a large result
    // reads nothing.
    bool locate(const QString &column, const QVariant &value);

    // Values of the current row (pending edits included).
    QVariant value(const QString &column) const;
    // The value of the current row as it was read, before its pending edit
    // (NULL for a row being inserted).
    QVariant storedValue(const QString &column) const;
    QVariant valueAt(int row, int column) const;
    QVariant valueAt(int row, const QString &column) const { return valueAt(row, fieldIndex(column)); }
    bool isNull(const QString &column) const { return value(column).isNull(); }
    // Sets a value of the row being edited, converted by the column's type: a
    // blank value becomes NULL, numbers and dates are parsed; a value that
    // cannot be converted or is too long is refused (false, lastError names
    // the field).
    bool setValue(const QString &column, const QVariant &v);

    // Row events.
    bool append();
    bool edit();
    bool post();
    void cancel();
    bool remove();
    // Reads the current row again from the database (with the columns the
    // result computes, while the result's query still finds the row).
    bool refreshRow();

    QString lastError() const { return lastError_; }
    QSqlError lastSqlError() const { return lastSqlError_; }
    // The name a refusal gives the field (its caption on the screen); the
    // column's name by default.
    void setFieldCaption(const QString &column, const QString &caption) { captions_.insert(column.toUpper(), caption); }
    // The message for the operator when the last failure was a refused value
    // (too long, not a number, ...), else empty.
    QString refusal() const { return refusal_; }
    int rowsBefore() const { return rowsBeforeInsert_; }

    // Column that receives MAX + 1 when a new row is posted.
    void setAutoKey(const QString &column) { autoKey_ = column.toUpper(); }
    QString autoKey() const { return autoKey_; }

    // Row events. The vetoes may refuse by returning false.
    Handlers<Dataset &> afterOpen;
    Vetoes<Dataset &> beforeInsert;
    Handlers<Dataset &> afterInsert;
    Handlers<Dataset &> afterEdit;
    Vetoes<Dataset &> beforePost;
    // After the key is set and before the INSERT; runs again on each attempt,
    // from the row as it was before the first one.
    Handlers<Dataset &> keyAllocated;
    Handlers<Dataset &, bool /*inserted*/> afterPost;
    Vetoes<Dataset &> beforeDelete;  // runs in the delete's transaction
    Handlers<Dataset &> afterDelete;
    Handlers<Dataset &, const QSqlError &> postError;
    Handlers<Dataset &, const QSqlError &> deleteError;
    Handlers<Dataset &> readError;

signals:
    void aboutToReset();
    void reset();
    void rowsFetched(int first, int last);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged();
    void fetchFailed(const QString &message);

private:
    friend class Database;
    struct OrderItem {
        QString column;
        QString collation;
        bool desc = false;
    };
    using Row = QVariantList;

    // Reading (datasetreader.cpp)
    bool startReading();
    bool describe();
    bool planPages(bool singleSource);
    bool readPage(int count, const QString &extraWhere = {}, const QVariantList &extraBinds = {});
    bool readWhole();
    QString afterClause(const QVariantList &frontier, QVariantList &binds) const;
    QString orderClause() const;
    QString pageSql(const QString &where, int limit) const;
    bool readFailed(const QSqlError &e);
    QString keyText(const Row &row) const;
    void rememberLocal(const Row &row);

    // Values (datasetvalues.cpp)
    QVariant convert(int field, const QVariant &v) const;
    std::optional<QVariant> toColumn(int field, const QVariant &v);
    bool checkRow();
    std::optional<ColType> tableColumnType(const QString &field) const;

    QStringList keyColumns() const;
    bool insertRow();
    bool updateRow();
    bool keyWhere(const Row &row, QString &where, QVariantList &binds);
    void setState(State s);
    bool fail(const QString &message, const QSqlError &e = QSqlError());
    bool refuse(const QString &message);
    QVariant nextKey();
    void rolledBack();

    Database &db_;
    QString table_;
    QString sql_;
    QVariantList binds_;
    QString sortField_;
    QString sortCollation_;
    QStringList uniqueKey_;
    QString autoKey_;
    State state_ = State::Inactive;

    QStringList fields_;
    QVector<std::optional<ColType>> fieldTypes_;
    QVector<Row> rows_;
    int current_ = -1;
    bool eof_ = true;

    // Paging
    QString base_;                 // the SQL without its ORDER BY
    QVector<OrderItem> order_;     // sort columns, then the key columns
    QVector<int> orderFields_;     // their field indexes
    QVector<int> keyFields_;       // the fields that identify a row
    bool paged_ = false;
    bool atEnd_ = true;
    bool fetchFailed_ = false;
    QVariantList frontier_;        // order values of the last row read, as the database gave them
    QSet<QString> localRows_;      // keys of rows posted here while the result was half read
    QString describedSql_;
    QStringList describedFields_;

    Row pending_;            // the row being edited or inserted
    int pendingRow_ = -1;    // its position in rows_
    Row original_;           // the row before an edit
    int rowsBeforeInsert_ = 0;

    QString lastError_;
    QSqlError lastSqlError_;
    QString refusal_;
    QHash<QString, QString> captions_;
};

} // namespace folian
