// Functions the embedded engine lacks, registered on each of its connections.

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

} // namespace

bool registerSqliteFunctions(QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *h = *static_cast<sqlite3 *const *>(handle.constData());
    if (!h)
        return false;
    return sqlite3_create_function_v2(h, "FOLIAN_FOLD", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fold,
                                      nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

} // namespace folian
