// Functions the embedded engine lacks, registered on each of its connections.

#include "data/core/helpers.h"
#include "data/core/money.h"

#include <QCollator>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

namespace folian {

namespace {

// FOLIAN_FOLD(text): the text case-folded for every letter (É -> é, ß -> ss).
void fold(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray folded = QString::fromUtf8(text, sqlite3_value_bytes(argv[0])).toCaseFolded().toUtf8();
    sqlite3_result_text(ctx, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// FOLIAN_SEARCHFOLD(text): the text as the searches compare it (SearchFold).
void searchFold(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray folded = SearchFold(QString::fromUtf8(text, sqlite3_value_bytes(argv[0]))).toUtf8();
    sqlite3_result_text(ctx, folded.constData(), int(folded.size()), SQLITE_TRANSIENT);
}

// FOLIAN_CENTS(amount): the exact whole number of cents of an amount as the
// amount columns hold it (decimal text), for sums, comparisons and orders
// that no binary rounding touches. NULL stays NULL; a value that is not an
// amount is an error of the statement, never a wrong sum.
void cents(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) {
        qint64 c = 0;
        if (__builtin_mul_overflow(qint64(sqlite3_value_int64(argv[0])), qint64(100), &c)) {
            sqlite3_result_error(ctx, "FOLIAN_CENTS: amount too large", -1);
            return;
        }
        sqlite3_result_int64(ctx, c);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QString value = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    const std::optional<Money> m = Money::parse(value);
    if (!m) {
        const QByteArray why = "FOLIAN_CENTS: not an amount: " + value.left(40).toUtf8();
        sqlite3_result_error(ctx, why.constData(), int(why.size()));
        return;
    }
    sqlite3_result_int64(ctx, m->cents());
}

int compareWith(void *collator, int n1, const void *s1, int n2, const void *s2)
{
    const QString a = QString::fromUtf8(static_cast<const char *>(s1), n1);
    const QString b = QString::fromUtf8(static_cast<const char *>(s2), n2);
    const int c = static_cast<QCollator *>(collator)->compare(a, b);
    if (c != 0)
        return c;
    return a < b ? -1 : (b < a ? 1 : 0);  // equal to the collator, still distinct texts
}

void freeCollator(void *collator) { delete static_cast<QCollator *>(collator); }

bool addCollation(sqlite3 *h, const char *name, const QLocale &locale)
{
    auto *collator = new QCollator(locale);
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    return sqlite3_create_collation_v2(h, name, SQLITE_UTF8, collator, compareWith, freeCollator) == SQLITE_OK;
}

} // namespace

bool registerSqliteFunctions(QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
    if (!h)
        return false;
    // The search indexes and their triggers call the two folds: pure
    // functions of their argument, harmless wherever the schema puts them.
    // The amounts' function is for the program's statements only.
    constexpr int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function_v2(h, "FOLIAN_FOLD", 1, pure, nullptr, fold, nullptr, nullptr, nullptr)
            == SQLITE_OK
        && sqlite3_create_function_v2(h, "FOLIAN_SEARCHFOLD", 1, pure, nullptr, searchFold, nullptr, nullptr, nullptr)
            == SQLITE_OK
        && sqlite3_create_function_v2(h, "FOLIAN_CENTS", 1, pure, nullptr, cents, nullptr, nullptr, nullptr) == SQLITE_OK
        && addCollation(h, "FOLIAN_FR", QLocale(QLocale::French, QLocale::France))
        && addCollation(h, "FOLIAN_AR", QLocale(QLocale::Arabic));
}

} // namespace folian
