#pragma once
// Hand-built records and byte helpers shared by the UNIMARC tests.

#include "catalogue/unimarc/record.h"
#include "catalogue/unimarc/writer.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace folian::unimarc::test {

// A small monograph: 001, 100 declaring `charset` ("50", "0103", "  "...), 101, 200, 700.
inline Record sampleRecord(const QByteArray &charset = "50", const QString &title = QStringLiteral("Le petit prince"))
{
    Record r;
    r.append(Field::control("001", QByteArray("REC0001")));
    QByteArray a100 = "20240101d2001    k  y0frey";
    a100 += charset.leftJustified(4, ' ');
    a100 += "    ba";
    r.append(Field("100", ' ', ' ', {Subfield('a', a100)}));
    r.append(Field("101", '0', ' ', {Subfield('a', QByteArray("fre"))}));
    r.append(Field("200", '1', ' ', {Subfield('a', title), Subfield('e', QStringLiteral("roman"))}));
    r.append(Field("700", ' ', '1', {Subfield('a', QStringLiteral("Saint-Exupéry")), Subfield('b', QStringLiteral("Antoine de"))}));
    return r;
}

inline QByteArray bytesOf(const Record &r)
{
    const WriteResult w = writeRecord(r);
    if (!w.ok())
        qWarning("writeRecord refused a test record: %s", qPrintable(w.error));
    return w.bytes;
}

// ISO 2709 bytes built by hand, apart from the writer: each field is its tag
// and its body, terminator included.
inline QByteArray handMade(const QList<std::pair<QByteArray, QByteArray>> &fields,
                           QByteArray leader = QByteArray("00000nam  2200000   450 "))
{
    QByteArray dir, data;
    for (const auto &[tag, body] : fields) {
        dir += tag + QByteArray::number(body.size()).rightJustified(4, '0') +
               QByteArray::number(data.size()).rightJustified(5, '0');
        data += body;
    }
    dir += '\x1e';
    data += '\x1d';
    const qsizetype base = 24 + dir.size();
    leader.replace(0, 5, QByteArray::number(base + data.size()).rightJustified(5, '0'));
    leader.replace(12, 5, QByteArray::number(base).rightJustified(5, '0'));
    return leader + dir + data;
}

// Bytes written as text with "{XX}" for the byte of hexadecimal XX:
// bytes("Soci{E9}t{E9}") is Latin-1 "Société".
inline QByteArray bytes(const char *text)
{
    QByteArray out;
    for (const char *p = text; *p; ++p) {
        if (p[0] == '{' && p[1] && p[2] && p[3] == '}') {
            out += char(QByteArray(p + 1, 2).toInt(nullptr, 16));
            p += 3;
        } else {
            out += *p;
        }
    }
    return out;
}

// The leader without the positions the writer computes (0-4 length, 10-16, 20-22).
inline QByteArray leaderKept(QByteArray leader)
{
    if (leader.size() != 24)
        return leader;
    for (int i : {0, 1, 2, 3, 4, 10, 11, 12, 13, 14, 15, 16, 20, 21, 22})
        leader[i] = '.';
    return leader;
}

// Record equality apart from the computed leader positions.
inline bool sameRecord(const Record &a, const Record &b)
{
    return leaderKept(a.leader) == leaderKept(b.leader) && a.fields == b.fields;
}

// A data field from its tag, its two indicators ("1 ") and its subfields (UTF-8).
inline Field dataField(const char *tag, const char *indicators,
                       std::initializer_list<std::pair<char, const char *>> subfields)
{
    Field f(tag, indicators[0], indicators[1]);
    for (const auto &[code, value] : subfields)
        f.append(code, QString::fromUtf8(value));
    return f;
}

// A record of the given fields; a monograph unless the leader says otherwise.
inline Record recordOf(const QList<Field> &fields, const QByteArray &leader = QByteArray("00000nam  2200000   450 "))
{
    Record r;
    r.leader = leader;
    r.fields = fields;
    return r;
}

// Writes the records into the file `name` of `dir`, `between` after each;
// the file's path.
inline QString writeRecords(const QTemporaryDir &dir, const QList<Record> &records, const QByteArray &between = {},
                            const QString &name = QStringLiteral("notices.txt"))
{
    QByteArray bytes;
    for (const Record &r : records)
        bytes += bytesOf(r) + between;
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

} // namespace folian::unimarc::test
