// Writing ISO 2709: lengths in bytes, the format's limits, the round trip
// through the reader, and a check by an independent reader (yaz-marcdump).

#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/tagged.h"
#include "catalogue/unimarc/writer.h"
#include "records.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folian::unimarc;
using namespace folian::unimarc::test;

Q_DECLARE_METATYPE(folian::unimarc::Record)

namespace {

Record withField(Field f)
{
    Record r = sampleRecord();
    r.append(std::move(f));
    return r;
}

// A record whose bytes come to exactly `length`, through one field 300 and as many 330 as needed.
Record recordOfLength(qsizetype length)
{
    Record r = sampleRecord();
    const qsizetype base = writeRecord(r).bytes.size();
    qsizetype left = length - base;
    // Each extra field costs 12 directory bytes, 2 indicators, "\x1f" "a", a terminator.
    while (left > 0) {
        const qsizetype value = qMin<qsizetype>(left - 17, 9000);
        if (value < 1)
            break;
        r.append(Field("330", ' ', ' ', {Subfield('a', QByteArray(value, 'r'))}));
        left -= value + 17;
    }
    return r;
}

} // namespace

class TstUnimarcWrite : public QObject
{
    Q_OBJECT
private slots:
    void structure()
    {
        Record r = sampleRecord();
        r.leader = "99999cas0 2299999 i 4500";
        const WriteResult w = writeRecord(r);
        QVERIFY2(w.ok(), qPrintable(w.error));
        const QByteArray b = w.bytes;
        QCOMPARE(b.left(5).toInt(), b.size());
        QCOMPARE(b.mid(5, 5), QByteArray("cas0 "));          // status, type, level kept
        QCOMPARE(b.mid(10, 2), QByteArray("22"));
        QCOMPARE(b.mid(17, 7), QByteArray(" i 4500").replace(3, 3, "450"));
        const int base = b.mid(12, 5).toInt();
        QCOMPARE(base, 24 + 5 * 12 + 1);
        QCOMPARE(b.at(base - 1), '\x1e');
        QCOMPARE(b.back(), '\x1d');
        // Each directory entry gives the field's tag, its length in bytes and its start.
        qsizetype expectStart = 0;
        for (int i = 0; i < 5; ++i) {
            const QByteArray e = b.mid(24 + 12 * i, 12);
            QCOMPARE(e.left(3), QByteArray(r.fields.at(i).tag().data(), 3));
            const int len = e.mid(3, 4).toInt();
            const int start = e.mid(7, 5).toInt();
            QCOMPARE(start, expectStart);
            QCOMPARE(b.at(base + start + len - 1), '\x1e');
            expectStart += len;
        }
        // "Saint-Exupéry" counts 14 bytes, not 13 characters: 700 = 2 + 2+14 + 2+10 + 1.
        QCOMPARE(b.mid(24 + 12 * 4 + 3, 4), QByteArray("0031"));
        QVERIFY(b.contains("\x1f" "aSaint-Exup\xc3\xa9ry\x1f" "bAntoine de\x1e"));
    }

    void limits_data()
    {
        QTest::addColumn<Record>("record");
        QTest::addColumn<QString>("refusal");  // empty: written
        // 2 indicators + "\x1f" "a" + value + terminator.
        QTest::newRow("field of 9,999 bytes") << withField(Field("330", ' ', ' ', {Subfield('a', QByteArray(9994, 'x'))})) << QString();
        QTest::newRow("field of 10,000 bytes") << withField(Field("330", ' ', ' ', {Subfield('a', QByteArray(9995, 'x'))}))
                                               << QStringLiteral("field 330: 10000 bytes");
        // Multi-byte text counts in bytes: 4,998 Arabic letters are 9,996 bytes.
        QTest::newRow("Arabic over 9,999 bytes") << withField(Field("330", ' ', ' ', {Subfield('a', QString(4998, QChar(0x0643)))}))
                                                 << QStringLiteral("field 330: 10001 bytes");
        QTest::newRow("record of 99,999 bytes") << recordOfLength(99999) << QString();
        QTest::newRow("record of 100,000 bytes") << recordOfLength(100000) << QStringLiteral("longer than the format's 99999");
        QTest::newRow("delimiter in a value") << withField(Field("300", ' ', ' ', {Subfield('a', QByteArray("a\x1f" "b"))}))
                                              << QStringLiteral("holds a delimiter or terminator");
        QTest::newRow("terminator in control data") << withField(Field::control("005", QByteArray("2024\x1e")))
                                                    << QStringLiteral("holds a terminator");
        QTest::newRow("bad tag") << withField(Field("2 0", ' ', ' ', {Subfield('a', QByteArray("x"))})) << QStringLiteral("tag \"2 0\"");
        QTest::newRow("unprintable indicator") << withField(Field("300", '\x01', ' ', {Subfield('a', QByteArray("x"))}))
                                               << QStringLiteral("indicator");
        Record shortLeader = sampleRecord();
        shortLeader.leader = "00000nam";
        QTest::newRow("short leader") << shortLeader << QStringLiteral("leader");
    }
    void limits()
    {
        QFETCH(Record, record);
        QFETCH(QString, refusal);
        const WriteResult w = writeRecord(record);
        if (refusal.isEmpty()) {
            QVERIFY2(w.ok(), qPrintable(w.error));
            QVERIFY(w.bytes.size() <= 99999);
            QVERIFY(parseRecord(w.bytes).ok());
        } else {
            QVERIFY(!w.ok());
            QVERIFY(w.bytes.isEmpty());  // never a cut record
            QVERIFY2(w.error.contains(refusal), qPrintable(w.error));
        }
    }

    // What does not fit the format is written in several fields where the
    // tag may repeat, else left out and said; the rest is written.
    void fitRecord_data()
    {
        QTest::addColumn<Record>("record");
        QTest::addColumn<QStringList>("tags");    // the tags of the fitted record, each once, in order
        QTest::addColumn<int>("fields330");       // how many 330 it holds
        QTest::addColumn<QString>("leftOut");     // what the remark says, empty: nothing
        QString sentences;
        for (int i = 1; sentences.toUtf8().size() < 25000; ++i)
            sentences += QStringLiteral("Phrase %1 d'un résumé très long. ").arg(i);
        QTest::newRow("fits already") << withField(Field("330", ' ', ' ', {Subfield('a', QByteArray(9994, 'x'))}))
                                      << QStringLiteral("001 100 101 200 700 330").split(u' ') << 1 << QString();
        QTest::newRow("abstract of 25,000 bytes") << withField(Field("330", ' ', ' ', {Subfield('a', sentences)}))
                                                  << QStringLiteral("001 100 101 200 700 330").split(u' ') << 3 << QString();
        QTest::newRow("one word longer than a field") << withField(Field("330", ' ', ' ', {Subfield('a', QString(12000, u'é'))}))
                                                      << QStringLiteral("001 100 101 200 700 330").split(u' ') << 3 << QString();
        QTest::newRow("a title longer than a field") << withField(Field("205", ' ', ' ', {Subfield('a', QByteArray(10000, 'x'))}))
                                                     << QStringLiteral("001 100 101 200 700").split(u' ') << 0
                                                     << QStringLiteral("champ 205 de 10005 octets");
        Record issues = sampleRecord();
        for (int i = 0; i < 4000; ++i)
            issues.append(Field("985", ' ', ' ', {Subfield('a', QByteArray::number(i)), Subfield('d', QByteArray("2001"))}));
        QTest::newRow("4,000 issues") << issues << QStringLiteral("001 100 101 200 700 985").split(u' ') << 0
                                      << QStringLiteral(" champ(s) 985 non écrit(s)");
    }
    void fitRecord()
    {
        QFETCH(Record, record);
        QFETCH(QStringList, tags);
        QFETCH(int, fields330);
        QFETCH(QString, leftOut);
        QStringList said;
        const Record fitted = folian::unimarc::fitRecord(record, {"300", "330"}, {"985", "995", "300", "330"}, &said);
        QStringList seen;
        for (const Field &f : fitted.fields)
            if (!seen.contains(f.tagText()))
                seen << f.tagText();
        QCOMPARE(seen, tags);
        QCOMPARE(fitted.fieldsWithTag("330").size(), fields330);
        QCOMPARE(said.isEmpty(), leftOut.isEmpty());
        if (!leftOut.isEmpty())
            QVERIFY2(said.size() == 1 && said.first().contains(leftOut), qPrintable(said.join(u'\n')));
        const WriteResult w = writeRecord(fitted);
        QVERIFY2(w.ok(), qPrintable(w.error));
        QVERIFY(w.bytes.size() <= 99999);
        // The text split between fields is the whole text.
        if (fields330 > 0) {
            QStringList pieces;
            for (const Field *f : fitted.fieldsWithTag("330"))
                pieces << f->value('a');
            QCOMPARE(pieces.join(QString()).remove(u' '), record.value("330", 'a').remove(u' '));
        }
        // The issues that fitted are the first ones.
        if (const QList<const Field *> kept = fitted.fieldsWithTag("985"); !kept.isEmpty()) {
            QCOMPARE(kept.first()->value('a'), QStringLiteral("0"));
            QCOMPARE(kept.last()->value('a'), QString::number(kept.size() - 1));
            QVERIFY(w.bytes.size() > 99999 - 40);  // as many as the record can hold
        }
    }

    void recordLengthBoundary()
    {
        QCOMPARE(writeRecord(recordOfLength(99999)).bytes.size(), 99999);
    }

    void roundTrip_data()
    {
        QTest::addColumn<Record>("record");
        QTest::newRow("sample") << sampleRecord();
        Record arabic = sampleRecord("50", QStringLiteral("تاريخ الجزائر الحديث"));
        arabic.append(Field("210", ' ', ' ', {Subfield('a', QStringLiteral("الجزائر")), Subfield('c', QStringLiteral("دار الكتاب العربي")),
                                              Subfield('d', QStringLiteral("٢٠١٩"))}));
        arabic.append(Field("700", ' ', '1', {Subfield('a', QStringLiteral("ابن خلدون"))}));
        QTest::newRow("Arabic") << arabic;
        QTest::newRow("dollar in values") << withField(Field("300", ' ', ' ', {Subfield('a', QStringLiteral("Prix : 10 $US $a pas un code")),
                                                                                Subfield('a', QStringLiteral("$")), Subfield('b', QStringLiteral("$$"))}));
        QTest::newRow("0 indicators") << withField(Field("410", '0', '0', {Subfield('t', QStringLiteral("Collection"))}));
        Record empty = withField(Field("200", '#', '1', {Subfield('a', QByteArray()), Subfield('e', QByteArray())}));
        empty.append(Field("830", ' ', ' '));
        QTest::newRow("empty values and no subfields") << empty;
        Record many = sampleRecord();
        for (int i = 0; i < 2500; ++i)
            many.append(Field("995", ' ', ' ', {Subfield('f', QByteArray::number(100000 + i)), Subfield('k', QByteArray("R"))}));
        QTest::newRow("many fields") << many;
        Record subs = sampleRecord();
        Field f606("606", ' ', ' ');
        for (int i = 0; i < 1500; ++i)
            f606.append(i % 2 ? 'x' : 'a', QByteArray::number(i));
        subs.append(f606);
        QTest::newRow("many subfields") << subs;
        QTest::newRow("field near 9,999 bytes") << withField(Field("330", ' ', ' ', {Subfield('a', QString(3330, QChar(0x20AC)))}));
        QTest::newRow("record near 99,999 bytes") << recordOfLength(99990);
        Record latin = sampleRecord("50", QStringLiteral("Ærø, Łódź, Œuvres, Þórr, Straße, Đakovo"));
        QTest::newRow("special letters") << latin;
        Record deleted = sampleRecord();
        deleted.leader[5] = 'd';
        QTest::newRow("deleted") << deleted;
    }
    void roundTrip()
    {
        QFETCH(Record, record);
        const WriteResult w = writeRecord(record);
        QVERIFY2(w.ok(), qPrintable(w.error));
        const ParseResult p = parseRecord(w.bytes);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QVERIFY(sameRecord(p.record, record));
        // Written again, the bytes are the same.
        QCOMPARE(writeRecord(p.record).bytes, w.bytes);
    }

    void declareUtf8_data()
    {
        QTest::addColumn<Record>("record");
        QTest::addColumn<QByteArray>("expected100a");
        QTest::newRow("ISO 5426 declared") << sampleRecord("0103") << QByteArray("20240101d2001    k  y0frey50      ba");
        Record none;
        none.append(Field::control("001", QByteArray("1")));
        none.append(Field("200", '1', ' ', {Subfield('a', QByteArray("T"))}));
        QTest::newRow("no 100") << none << QByteArray(26, ' ') + "50" + QByteArray(8, ' ');
        Record shortA = none;
        shortA.insertInTagOrder(Field("100", ' ', ' ', {Subfield('a', QByteArray("20240101"))}));
        QTest::newRow("short 100 $a") << shortA << QByteArray("20240101") + QByteArray(18, ' ') + "50" + QByteArray(8, ' ');
    }
    void declareUtf8()
    {
        QFETCH(Record, record);
        QFETCH(QByteArray, expected100a);
        folian::unimarc::declareUtf8(record);
        QCOMPARE(record.fieldsWithTag("100").size(), 1);
        QCOMPARE(record.value("100", 'a').toUtf8(), expected100a);
        // The field stands in tag order.
        for (qsizetype i = 1; i < record.fields.size(); ++i)
            QVERIFY(record.fields.at(i - 1).tag() <= record.fields.at(i).tag());
        const ParseResult p = parseRecord(writeRecord(record).bytes);
        QCOMPARE(p.declared, Charset::Utf8);
    }

    void tagged()
    {
        Record r = sampleRecord();
        r.append(Field("606", ' ', ' ', {Subfield('a', QStringLiteral("Prix $10"))}));
        const QString expected = QStringLiteral(
            "LDR 00000nam  2200000   450 \n"
            "001 REC0001\n"
            "100 ## $a20240101d2001    k  y0frey50      ba\n"
            "101 0# $afre\n"
            "200 1# $aLe petit prince$eroman\n"
            "700 #1 $aSaint-Exupéry$bAntoine de\n"
            "606 ## $aPrix $10\n");
        QCOMPARE(taggedText(r), expected);
        // The form of a scanned record is the same as that of the record it gives.
        const QByteArray bytes = bytesOf(r);
        RecordView view;
        QVERIFY(scanRecord(bytes, view));
        QByteArray fromView;
        appendTagged(fromView, view);
        QCOMPARE(QString::fromUtf8(fromView), taggedText(parseRecord(bytes).record));
    }

    // An independent reader takes our files without a complaint and sees what we wrote.
    void yazReadsOurFiles()
    {
        const QString yaz = QStandardPaths::findExecutable(QStringLiteral("yaz-marcdump"));
        if (yaz.isEmpty())
            QSKIP("yaz-marcdump is not installed (Debian package yaz; scripts/setup.sh installs it)");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.mrc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QList<Record> written;
        for (const Record &r : {sampleRecord(), sampleRecord("50", QStringLiteral("تاريخ الجزائر")), recordOfLength(99999),
                                withField(Field("300", ' ', ' ', {Subfield('a', QStringLiteral("Prix 10 $US"))})),
                                withField(Field("330", ' ', ' ', {Subfield('a', QByteArray(9994, 'x'))}))}) {
            const WriteResult w = writeRecord(r);
            QVERIFY2(w.ok(), qPrintable(w.error));
            file.write(w.bytes);
            written << r;
        }
        file.close();
        QProcess p;
        p.start(yaz, {QStringLiteral("-f"), QStringLiteral("utf-8"), QStringLiteral("-t"), QStringLiteral("utf-8"), path});
        QVERIFY(p.waitForFinished(60000));
        const QByteArray out = p.readAllStandardOutput();
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(err.isEmpty(), err.constData());
        QVERIFY2(!out.contains("<!--"), out.left(400).constData());  // yaz reports faults as comments
        const QList<QByteArray> lines = out.split('\n');
        int leaders = 0, fieldLines = 0;
        for (const QByteArray &l : lines) {
            if (l.size() == 24 && l.at(0) >= '0' && l.at(0) <= '9')
                ++leaders;
            else if (l.size() >= 3)
                ++fieldLines;
        }
        QCOMPARE(leaders, written.size());
        qsizetype fields = 0;
        for (const Record &r : written)
            fields += r.fields.size();
        QCOMPARE(fieldLines, fields);
        QVERIFY(out.contains("200 1  $a \xd8\xaa\xd8\xa7\xd8\xb1\xd9\x8a\xd8\xae"));
        QVERIFY(out.contains("$a Prix 10 $US"));
    }
};

QTEST_GUILESS_MAIN(TstUnimarcWrite)
#include "tst_unimarcwrite.moc"
