#include "statistics/core/statexport.h"

#include "base/session.h"
#include "data/core/money.h"
#include "statistics/core/statisticstexts.h"

#include <QFile>
#include <QSaveFile>

#include <xlsxwriter.h>

namespace folian {

namespace {

QStringList titles(const StatisticTable &t)
{
    QStringList out;
    const bool arabic = session().ArabicMode;
    for (const EditionColumn &c : t.layout.columns)
        out << (arabic && !c.arabic.isEmpty() ? c.arabic : c.french);
    return out;
}

bool isNumeric(ColumnKind k) { return k == ColumnKind::Number || k == ColumnKind::Rate || k == ColumnKind::Money; }

} // namespace

QString csvLine(const QStringList &fields, const QList<bool> &numeric)
{
    QStringList out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QString f = fields.at(i);
        if (!numeric.value(i) && !f.isEmpty() && QStringLiteral("=+-@").contains(f.front()))
            f.prepend(u'\'');
        if (f.contains(u',') || f.contains(u'"') || f.contains(u'\n') || f.contains(u'\r'))
            f = u'"' + QString(f).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
        out << f;
    }
    return out.join(u',');
}

ExportResult writeStatisticCsv(const StatisticTable &t, const QString &path)
{
    ExportResult r;
    QList<bool> numeric;
    for (const EditionColumn &c : t.layout.columns)
        numeric << isNumeric(c.page.kind);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        r.message = stats::exportFailed(path, file.errorString());
        return r;
    }
    // The byte order mark tells spreadsheets that the text is UTF-8.
    QByteArray text("\xEF\xBB\xBF");
    text += csvLine(titles(t), {}).toUtf8() + "\r\n";
    for (int row = 0; row < t.rows.size(); ++row) {
        QStringList fields;
        for (int c = 0; c < t.layout.columns.size(); ++c)
            fields << cellText(t, row, c);
        text += csvLine(fields, numeric).toUtf8() + "\r\n";
    }
    if (file.write(text) != text.size() || !file.commit()) {
        r.message = stats::exportFailed(path, file.errorString());
        return r;
    }
    r.ok = true;
    r.rows = int(t.rows.size());
    r.message = stats::exportWritten(path, r.rows);
    return r;
}

ExportResult writeStatisticXlsx(const StatisticTable &t, const QString &path)
{
    ExportResult r;
    // The library writes a file of its own at the path: the previous one is
    // replaced only when the new one is complete.
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    lxw_workbook *book = workbook_new(QFile::encodeName(partial).constData());
    if (!book) {
        r.message = stats::exportFailed(path, stats::fileNotWritable());
        return r;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Statistique");
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *twoDecimals = workbook_add_format(book);
    format_set_num_format(twoDecimals, "0.00");
    if (session().ArabicMode)
        worksheet_right_to_left(sheet);
    const QStringList heads = titles(t);
    for (int c = 0; c < heads.size(); ++c) {
        worksheet_write_string(sheet, 0, lxw_col_t(c), heads.at(c).toUtf8().constData(), bold);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), c == t.layout.labelColumn ? 40 : 14, nullptr);
    }
    for (int row = 0; row < t.rows.size(); ++row) {
        const QVariantList &values = t.rows.at(row);
        const lxw_row_t line = lxw_row_t(row + 1);
        for (int c = 0; c < t.layout.columns.size(); ++c) {
            const QVariant v = values.value(c);
            if (v.isNull() || !v.isValid())
                continue;
            const lxw_col_t col = lxw_col_t(c);
            switch (t.layout.columns.at(c).page.kind) {
            case ColumnKind::Number:
                worksheet_write_number(sheet, line, col, double(v.toLongLong()), nullptr);
                break;
            case ColumnKind::Rate:
                worksheet_write_number(sheet, line, col, v.toDouble(), twoDecimals);
                break;
            case ColumnKind::Money:
                // A spreadsheet's numbers are binary: the cell holds the
                // nearest one to the exact amount, shown with its two decimals.
                worksheet_write_number(sheet, line, col, double(Money::fromVariant(v).value_or(Money()).cents()) / 100.0,
                                       twoDecimals);
                break;
            default:
                worksheet_write_string(sheet, line, col, v.toString().toUtf8().constData(), nullptr);
                break;
            }
        }
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        QFile::remove(partial);
        r.message = stats::exportFailed(path, QString::fromUtf8(lxw_strerror(closed)));
        return r;
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        r.message = stats::exportFailed(path, stats::fileNotWritable());
        return r;
    }
    r.ok = true;
    r.rows = int(t.rows.size());
    r.message = stats::exportWritten(path, r.rows);
    return r;
}

} // namespace folian
