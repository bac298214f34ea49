#pragma once
// An updatable row set over SQL text set at run time: a current row, the
// states browse / edit / insert, and hooks around the row events. Rows are
// read lazily, page by page, so a result of a million rows opens at once.
// Updates and deletes locate the row by the key of its table and write only
// the columns that changed.

#include "data/core/database.h"

#include <QObject>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
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
    // Sort the rows on a column (applied at open; lazy reading is kept).
    void setSortField(const QString &column) { sortField_ = column; }
    QString sortField() const { return sortField_; }

    bool open();
    bool open(const QString &sql, const QVariantList &binds = {})
    {
        setSql(sql, binds);
        return open();
    }
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

    // Fields of the result, upper-cased, in result order.
    const QStringList &fieldNames() const { return fields_; }
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    // Rows read so far; fetchMore reads the next page. allFetched() once the end is reached.
    int rowCount() const { return int(rows_.size()); }
    bool fetchMore(int count = 256);
    void fetchAll();
    bool allFetched() const { return atEnd_; }
    bool isEmpty();
    // Number of rows of the whole result (reads everything).
    int recordCount();

    int currentRow() const { return current_; }
    bool moveTo(int row);
    bool first() { return moveTo(0); }
    bool next();
    bool prior() { return current_ > 0 && moveTo(current_ - 1); }
    bool last();
    bool eof() const { return eof_; }
    // Positions on the first row whose column equals the value; false when none.
    bool locate(const QString &column, const QVariant &value);

    // Values of the current row (pending edits included).
    QVariant value(const QString &column) const;
    QVariant valueAt(int row, int column) const;
    bool isNull(const QString &column) const { return value(column).isNull(); }
    bool setValue(const QString &column, const QVariant &v);

    // Row events.
    bool append();
    bool edit();
    bool post();
    void cancel();
    bool remove();
    // Reads the current row again from the database.
    bool refreshRow();

    QString lastError() const { return lastError_; }
    QSqlError lastSqlError() const { return lastSqlError_; }
    int rowsBefore() const { return rowsBeforeInsert_; }

    // Column that receives MAX + 1 when a new row is posted.
    void setAutoKey(const QString &column) { autoKey_ = column.toUpper(); }
    QString autoKey() const { return autoKey_; }

    // Hooks. beforeInsert and beforePost/beforeDelete may refuse by returning false.
    std::function<void(Dataset &)> afterOpen;
    std::function<bool(Dataset &)> beforeInsert;
    std::function<void(Dataset &)> afterInsert;
    std::function<void(Dataset &)> afterEdit;
    std::function<bool(Dataset &)> beforePost;
    std::function<void(Dataset &)> keyAllocated;      // after the auto key is set, before the INSERT
    std::function<void(Dataset &, bool inserted)> afterPost;
    std::function<bool(Dataset &)> beforeDelete;      // runs in the delete's transaction
    std::function<void(Dataset &, const QSqlError &)> postError;
    std::function<void(Dataset &, const QSqlError &)> deleteError;

signals:
    void aboutToReset();
    void reset();
    void rowsFetched(int first, int last);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged();

private:
    struct Row {
        QVariantList values;
    };
    bool startQuery();
    void stopQuery();
    void setFields(const QSqlRecord &rec);
    bool fetchCursorPage(int count);
    QVariantList readRow(const QSqlQuery &q) const;
    QVariant convert(int field, const QVariant &v) const;
    QStringList keyColumns() const;
    std::optional<ColType> tableColumnType(const QString &field) const;
    bool insertRow();
    bool updateRow();
    void setState(State s);
    bool fail(const QString &message, const QSqlError &e = QSqlError());
    QVariant nextKey();

    Database &db_;
    QString table_;
    QString sql_;
    QVariantList binds_;
    QString sortField_;
    QString autoKey_;
    State state_ = State::Inactive;

    QStringList fields_;
    QVector<std::optional<ColType>> fieldTypes_;
    QVector<Row> rows_;
    int current_ = -1;
    bool eof_ = true;
    bool atEnd_ = true;

    std::unique_ptr<QSqlQuery> query_;
    QString streamConnection_;
    bool cursor_ = false;      // reading a server cursor on the stream connection
    bool resetting_ = false;   // rows read while opening are announced by reset()

    Row pending_;            // the row being edited or inserted
    int pendingRow_ = -1;    // its position in rows_
    QVariantList original_;  // the row before an edit
    int rowsBeforeInsert_ = 0;

    QString lastError_;
    QSqlError lastSqlError_;
};

} // namespace folian
