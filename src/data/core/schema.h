#pragma once
// The one description of the database, shared by both engines: every table,
// its columns, keys and indexes, and the reference rows every new database
// receives. The dialects turn it into DDL; the datasets read it to know the
// key of a table and the type of a column.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace folian {

enum class ColType {
    Integer,   // 32-bit integer
    SmallInt,  // small code (0..32767)
    Text,      // bounded text, `size` characters (0 = default 255)
    Memo,      // unbounded text
    Date,      // calendar day
    DateTime,  // date and time
    Money,     // exact decimal amount, two decimals
    Blob       // binary (images)
};

struct ColumnDef {
    QString name;
    ColType type = ColType::Text;
    int size = 0;          // for Text
    bool notNull = false;
};

struct IndexDef {
    QString name;
    QStringList columns;
    bool unique = false;
};

struct TableDef {
    QString name;
    QVector<ColumnDef> columns;
    QStringList primaryKey;      // one or more columns
    bool surrogateKey = false;   // the key is a hidden row number no screen shows
    QVector<IndexDef> indexes;   // secondary indexes (unique or not)

    const ColumnDef *column(const QString &col) const;
    bool hasColumn(const QString &col) const { return column(col) != nullptr; }
};

// An index that serves the searches rather than the program's own lookups.
// Words: the words of a keyword column (DOC_KEYWORDS, ...) found as the
// searches compare them (SearchFold: without regard to case, accents or
// Arabic spelling variants), a "*" anywhere in a word; the index reads the
// folded words the program stores beside the keywords (DOC_MOTS, ...), and
// each engine builds it its own way (see Dialect::createSearchIndex).
// Folded: a column compared without regard to case, whole or by its
// beginning (standard numbers).
struct SearchIndexDef {
    enum class Kind { Words, Folded };
    QString name;
    Kind kind = Kind::Words;
    QString table;
    QString key;      // the table's integer key (Words)
    QString column;
    QString folded;   // the folded words of `column` (Words)
};

// The columns the program derives from a table's titles or names each time
// it writes a row, for the searches and the alphabetical orders: the
// keywords (each word of the sources between slashes), the same words
// folded as the searches compare them (which the word index reads), and
// the collation keys of a text in French and in Arabic (which the orders
// read, see CollationKey). A row that another tool writes without them is
// found by the searches' scan, and found and ordered by the indexes once
// they are written again (refreshSearchColumns).
struct SearchColumnsDef {
    QString table;
    QString key;               // the table's integer key
    QStringList sources;       // the columns whose words are the keywords, in order
    QString keywords, folded;  // DOC_KEYWORDS, DOC_MOTS
    QString frenchText, frenchKey;
    QString arabicText, arabicKey;

    // The collation key of `column` in `language` ("FR" or "AR"); empty
    // when the table keeps none for it.
    QString collationKeyOf(const QString &column, const QString &language) const;
};

// A block of reference rows delivered with every new database.
struct SeedRows {
    QString table;
    QStringList columns;
    QVector<QVariantList> rows;
};

class Schema
{
public:
    // Version of the schema that this build creates and upgrades to.
    static int currentVersion();
    // The table that holds the version: what makes a database one of ours.
    static QString versionTable();

    static const QVector<TableDef> &tables();
    static const TableDef *table(const QString &name);

    // The search indexes, created with the tables (and by the upgrade to
    // version 3); the search whose column has none works as well, by a scan.
    static const QVector<SearchIndexDef> &searchIndexes();
    static const SearchIndexDef *wordIndexOf(const QString &column);

    static const QVector<SearchColumnsDef> &searchColumns();
    static const SearchColumnsDef *searchColumnsOf(const QString &table);
    // The column that orders `column` of `table` alphabetically in
    // `language` (its collation key); empty when there is none.
    static QString collationKeyOf(const QString &table, const QString &column, const QString &language);

    // Reference data inserted by `init-db`, in insertion order.
    static const QVector<SeedRows> &referenceData();
};

} // namespace folian
