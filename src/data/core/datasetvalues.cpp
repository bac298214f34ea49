// The values of a dataset: converted by the type of their column when they
// are set, checked against its length, and read back in one form on both
// engines.

#include "data/core/dataset.h"

#include "data/core/columnvalue.h"

#include "base/messages.h"
#include "data/core/helpers.h"
#include "data/core/money.h"

namespace folian {

namespace {

// Characters as the engines count them (a pair of surrogates is one).
qsizetype codePoints(const QString &s)
{
    qsizetype n = s.size();
    for (const QChar c : s)
        if (c.isLowSurrogate())
            --n;
    return n;
}

std::optional<qint64> toInteger(const QVariant &v)
{
    bool ok = false;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (d != double(qint64(d)))
            return std::nullopt;
        return qint64(d);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    default: {
        const qint64 n = v.toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    }
}

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *format : {"yyyy-MM-dd", "dd/MM/yyyy", "d/M/yyyy", "dd-MM-yyyy", "dd.MM.yyyy"}) {
        const QDate d = QDate::fromString(t.left(10), QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return QDate::fromString(t, QStringLiteral("d/M/yyyy"));
}

QDateTime parseDateTime(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u'T', u' ');
    for (const char *format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm"}) {
        const QDateTime dt = QDateTime::fromString(t, QLatin1String(format));
        if (dt.isValid())
            return dt;
    }
    const QDate d = parseDate(t);
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

} // namespace

QString amountTooLarge(const QString &field)
{
    const QString most = Money::fromCents(Money::MaxCents).toString();
    return tr2(QStringLiteral("Le champ « %1 » ne peut pas dépasser %2."), QStringLiteral("لا يمكن أن يتجاوز الحقل « %1 » %2."))
        .arg(field, most);
}

std::optional<QVariant> toColumnValue(const ColumnDef &column, const QVariant &v, QString *refusal)
{
    const ColumnDef *c = &column;
    const QString &name = column.name;
    if (IsBlank(v) && c->type != ColType::Blob)
        return QVariant();
    if (!v.isValid() || v.isNull())
        return QVariant();
    auto refused = [&](const QString &fr, const QString &ar) -> std::optional<QVariant> {
        if (refusal)
            *refusal = tr2(fr, ar).arg(name, v.toString().left(40));
        return std::nullopt;
    };
    switch (c->type) {
    case ColType::Integer:
    case ColType::SmallInt: {
        const std::optional<qint64> n = toInteger(v);
        const qint64 high = c->type == ColType::SmallInt ? 32767 : 2147483647;
        if (!n || *n > high || *n < -high - 1)
            return refused(QStringLiteral("Le champ « %1 » attend un nombre entier, pas « %2 »."),
                           QStringLiteral("الحقل « %1 » يتطلب عددا صحيحا وليس « %2 »."));
        return QVariant(int(*n));
    }
    case ColType::Text: {
        const QString s = v.toString();
        const int size = c->size > 0 ? c->size : 255;
        if (codePoints(s) > size) {
            if (refusal)
                *refusal = tr2(QStringLiteral("Le champ « %1 » ne peut pas dépasser %2 caractères (%3 saisis)."),
                       QStringLiteral("لا يمكن أن يتجاوز الحقل « %1 » %2 حرفا (أدخل %3)."))
                       .arg(name)
                       .arg(size)
                       .arg(codePoints(s));
            return std::nullopt;
        }
        return QVariant(s);
    }
    case ColType::Memo:
        return QVariant(v.toString());
    case ColType::Date: {
        const QDate d = v.typeId() == QMetaType::QString ? parseDate(v.toString()) : v.toDate();
        if (!d.isValid())
            return refused(QStringLiteral("Le champ « %1 » attend une date, pas « %2 »."),
                           QStringLiteral("الحقل « %1 » يتطلب تاريخا وليس « %2 »."));
        return QVariant(d);
    }
    case ColType::DateTime: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QString)
            dt = parseDateTime(v.toString());
        else if (v.typeId() == QMetaType::QDate)
            dt = QDateTime(v.toDate(), QTime(0, 0));
        else
            dt = v.toDateTime();
        if (!dt.isValid())
            return refused(QStringLiteral("Le champ « %1 » attend une date, pas « %2 »."),
                           QStringLiteral("الحقل « %1 » يتطلب تاريخا وليس « %2 »."));
        return QVariant(dt);
    }
    case ColType::Money: {
        const std::optional<Money> m = Money::fromVariant(v);
        if (!m)
            return refused(QStringLiteral("Le champ « %1 » attend un montant, pas « %2 »."),
                           QStringLiteral("الحقل « %1 » يتطلب مبلغا وليس « %2 »."));
        if (!m->fitsColumn()) {
            if (refusal)
                *refusal = amountTooLarge(name);
            return std::nullopt;
        }
        return m->toVariant();
    }
    case ColType::Blob:
        return QVariant(v.toByteArray());
    }
    return v;
}

std::optional<ColType> Dataset::tableColumnType(const QString &field) const
{
    if (const ColumnDef *c = column(field))
        return c->type;
    return std::nullopt;
}

const ColumnDef *Dataset::column(const QString &field) const
{
    if (const TableDef *t = Schema::table(table_))
        return t->column(field);
    return nullptr;
}

QVariant Dataset::convert(int field, const QVariant &v) const
{
    const auto &t = fieldTypes_.at(field);
    return t ? db_.dialect().fromDb(v, *t) : v;
}

bool Dataset::refuse(const QString &message)
{
    refusal_ = message;
    return fail(message);
}

std::optional<QVariant> Dataset::toColumn(int field, const QVariant &v)
{
    const ColumnDef *c = column(fields_.at(field));
    if (!c)
        return v;
    ColumnDef named = *c;
    named.name = captions_.value(named.name.toUpper(), named.name);
    QString why;
    const std::optional<QVariant> out = toColumnValue(named, v, &why);
    if (!out)
        refuse(why);
    return out;
}

bool Dataset::checkRow()
{
    // Values set by the rules, not typed, pass the same checks.
    for (int i = 0; i < fields_.size(); ++i) {
        if (!fieldTypes_.at(i))
            continue;
        if (state_ == State::Edit && sameValue(pending_.at(i), original_.at(i)))
            continue;
        const std::optional<QVariant> v = toColumn(i, pending_.at(i));
        if (!v)
            return false;
        pending_[i] = *v;
    }
    return true;
}

bool Dataset::setValue(const QString &column, const QVariant &v)
{
    const int f = fieldIndex(column);
    refusal_.clear();
    if (!isEditing())
        return fail(QStringLiteral("%1: not in edit mode").arg(name()));
    if (f < 0)
        return fail(QStringLiteral("%1: no field %2").arg(name(), column));
    const std::optional<QVariant> converted = toColumn(f, v);
    if (!converted)
        return false;
    pending_[f] = *converted;
    emit rowChanged(pendingRow_);
    return true;
}

QVariant Dataset::value(const QString &column) const
{
    const int f = fieldIndex(column);
    if (f < 0 || current_ < 0 || current_ >= rowCount())
        return {};
    if (isEditing() && current_ == pendingRow_)
        return pending_.at(f);
    return rows_.at(current_).at(f);
}

QVariant Dataset::storedValue(const QString &column) const
{
    const int f = fieldIndex(column);
    if (f < 0 || current_ < 0)
        return {};
    if (state_ == State::Insert && current_ == pendingRow_)
        return {};
    if (state_ == State::Edit && current_ == pendingRow_)
        return original_.at(f);
    return rows_.at(current_).at(f);
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= fields_.size())
        return {};
    if (isEditing() && row == pendingRow_)
        return pending_.at(column);
    return rows_.at(row).at(column);
}

} // namespace folian
