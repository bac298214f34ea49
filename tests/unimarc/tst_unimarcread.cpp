// Reading ISO 2709: the structure checks, what real files hold between
// records, the character sets, and bytes no file should hold.

#include "catalogue/unimarc/charset.h"
#include "catalogue/unimarc/iso5426.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/tagged.h"
#include "records.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

#include <functional>

using namespace folian::unimarc;
using namespace folian::unimarc::test;

Q_DECLARE_METATYPE(QList<folian::unimarc::CharsetUse>)

namespace {

using Mutation = std::function<void(QByteArray &)>;

// Splits `bytes` with a small block (the views then point into `copies`) so that records straddle blocks.
QList<RawRecord> split(const QByteArray &bytes, QList<QByteArray> *copies, qsizetype block = 4096)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    RecordSplitter s(&buf, block);
    QList<RawRecord> out;
    RawRecord r;
    while (s.next(r)) {
        // The splitter's view lasts until its next call; keep the record's own copy.
        copies->append(r.bytes.toByteArray());
        r.bytes = copies->last();
        out.append(r);
    }
    return out;
}

QByteArray field200(const QByteArray &rawTitle, const QByteArray &charset)
{
    Record r = sampleRecord(charset);
    r.field("200")->subfields[0].value = rawTitle;  // raw bytes, written as they are
    r.field("700")->subfields[0].value = "Hugo";
    return bytesOf(r);
}

} // namespace

class TstUnimarcRead : public QObject
{
    Q_OBJECT
private slots:
    void accessors()
    {
        Record r = sampleRecord();
        r.append(Field("606", ' ', ' ', {Subfield('a', QStringLiteral("Histoire")), Subfield('y', QStringLiteral("France")),
                                         Subfield('a', QStringLiteral("Prix 10 $US"))}));
        r.append(Field("606", ' ', ' ', {Subfield('a', QStringLiteral("Géographie"))}));
        const Record back = parseRecord(bytesOf(r)).record;
        QCOMPARE(back.fieldsWithTag("606").size(), 2);
        QCOMPARE(back.value("606", 'a'), QStringLiteral("Histoire"));
        QCOMPARE(back.values("606", 'a'),
                 QStringList({QStringLiteral("Histoire"), QStringLiteral("Prix 10 $US"), QStringLiteral("Géographie")}));
        QCOMPARE(back.field("606")->values('a').size(), 2);
        QCOMPARE(back.value("101", 'a'), QStringLiteral("fre"));
        QCOMPARE(back.field("001")->controlText(), QStringLiteral("REC0001"));
        QVERIFY(back.value("999", 'a').isEmpty());
        QVERIFY(!back.field("999"));
        // A "$" in a value is a character, never a delimiter.
        QCOMPARE(back.fieldsWithTag("606").first()->subfields.size(), 3);
    }

    void wellFormed()
    {
        const QByteArray bytes = bytesOf(sampleRecord());
        const ParseResult p = parseRecord(bytes);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QVERIFY(sameRecord(p.record, sampleRecord()));
        QCOMPARE(p.declared, Charset::Utf8);
        QCOMPARE(p.charset, Charset::Utf8);
        QCOMPARE(p.record.field("200")->ind1, '1');
        QCOMPARE(p.record.field("700")->ind2, '1');
        // The last record of a cut file keeps its fields without the terminator.
        const ParseResult cut = parseRecord(QByteArrayView(bytes).chopped(1));
        QVERIFY2(cut.ok(), qPrintable(cut.reason()));
        QCOMPARE(cut.record.fields, p.record.fields);
    }

    void tolerated_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("tagged200");
        auto one = [](const QByteArray &body) { return handMade({{"001", "X1\x1e"}, {"200", body}}); };
        // A data field that starts at once with its subfields has blank indicators;
        // text before the first delimiter and empty delimiters are dropped.
        QTest::newRow("no indicators") << one("\x1f" "aTitre\x1e") << QStringLiteral("200 ## $aTitre");
        QTest::newRow("one indicator") << one("1\x1f" "aTitre\x1e") << QStringLiteral("200 1# $aTitre");
        QTest::newRow("text before delimiter") << one("1 xy\x1f" "aTitre\x1e") << QStringLiteral("200 1# $aTitre");
        QTest::newRow("empty delimiters") << one("1 \x1f\x1f" "aTitre\x1f\x1e") << QStringLiteral("200 1# $aTitre");
        QTest::newRow("no subfield") << one("10\x1e") << QStringLiteral("200 10 ");
        QTest::newRow("repeated codes") << one("  \x1f" "aA\x1f" "aB\x1f" "e$\x1e") << QStringLiteral("200 ## $aA$aB$e$");
        // NUL bytes that no length counts, as some systems pad their records.
        QByteArray padded = one("1 \x1f" "aTitre\x1e");
        padded.insert(padded.indexOf("Titre"), '\0');
        padded.insert(padded.size() - 1, QByteArray(2, '\0'));
        QTest::newRow("NUL padding") << padded << QStringLiteral("200 1# $aTitre");
        QByteArray blanks = one("1 \x1f" "aTitre\x1e");
        blanks.replace(10, 2, "  ");
        blanks.replace(20, 2, "  ");
        QTest::newRow("blank leader counts") << blanks << QStringLiteral("200 1# $aTitre");
    }
    void tolerated()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, tagged200);
        const ParseResult p = parseRecord(bytes);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.record.field("001")->controlText(), QStringLiteral("X1"));
        const QStringList lines = taggedText(p.record).split(u'\n');
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.at(2), tagged200);
    }

    void refused_data()
    {
        QTest::addColumn<Mutation>("mutate");
        QTest::addColumn<QString>("reason");
        auto set = [](qsizetype at, QByteArray what) { return Mutation([=](QByteArray &b) { b.replace(at, what.size(), what); }); };
        QTest::newRow("empty") << Mutation([](QByteArray &b) { b.clear(); }) << QStringLiteral("empty record");
        QTest::newRow("shorter than leader") << Mutation([](QByteArray &b) { b.truncate(10); }) << QStringLiteral("shorter than the 24-byte leader");
        QTest::newRow("indicator count") << set(10, "3") << QStringLiteral("indicator count");
        QTest::newRow("subfield code length") << set(11, "1") << QStringLiteral("subfield code length");
        QTest::newRow("base not digits") << set(12, "0x100") << QStringLiteral("base address \"0x100\"");
        QTest::newRow("base beyond record") << set(12, "99999") << QStringLiteral("base address 99999 outside");
        QTest::newRow("base inside leader") << set(12, "00010") << QStringLiteral("base address 10 outside");
        QTest::newRow("entry map") << set(20, "36") << QStringLiteral("directory entry map");
        QTest::newRow("no directory terminator") << Mutation([](QByteArray &b) { b[b.mid(12, 5).toInt() - 1] = 'X'; })
                                                 << QStringLiteral("no directory terminator");
        QTest::newRow("directory not whole entries") << Mutation([](QByteArray &b) {
            // One byte more in the directory, base address moved with it.
            b.insert(36, '0');
            b.replace(12, 5, QByteArray::number(b.mid(12, 5).toInt() + 1).rightJustified(5, '0'));
            b.replace(0, 5, QByteArray::number(b.size()).rightJustified(5, '0'));
        }) << QStringLiteral("not a whole number of 12-byte entries");
    }
    void refused()
    {
        QFETCH(Mutation, mutate);
        QFETCH(QString, reason);
        QByteArray bytes = bytesOf(sampleRecord());
        mutate(bytes);
        const ParseResult p = parseRecord(bytes);
        QVERIFY2(!p.ok(), "a malformed record was read");
        QVERIFY2(p.error.contains(reason), qPrintable(p.error));
        QVERIFY(p.record.fields.isEmpty());
        QVERIFY(p.errorAt >= 0 && (bytes.isEmpty() || p.errorAt < qMax<qsizetype>(bytes.size(), 24)));
        QVERIFY(!rejectionMessage(3, 1200, p.reason()).isEmpty());
    }

    // A record cut before its fields is refused; cut among them, it keeps
    // the fields before the cut and says what it lost.
    void truncations()
    {
        const QByteArray bytes = bytesOf(sampleRecord());
        const qsizetype base = bytes.mid(12, 5).toInt();
        for (qsizetype n = 0; n < bytes.size() - 1; ++n) {
            const ParseResult p = parseRecord(QByteArrayView(bytes).first(n));
            QCOMPARE(p.ok(), n >= base);
            if (p.ok()) {
                QVERIFY2(!p.remarks.isEmpty(), qPrintable(QString::number(n)));
                QVERIFY(p.record.fields.size() < sampleRecord().fields.size());
            }
        }
        const ParseResult whole = parseRecord(QByteArrayView(bytes).chopped(1));
        QVERIFY(whole.ok() && whole.remarks.isEmpty());
    }

    // One bad directory entry costs its own field, never the record: the
    // other fields are read, and what was ignored is said. A field whose
    // length is wrong but which starts where a field starts is read up to
    // its terminator.
    void damagedDirectory_data()
    {
        QTest::addColumn<Mutation>("mutate");
        QTest::addColumn<QString>("note");   // 300 $a read, or "-" when the field is ignored
        QTest::addColumn<QString>("remark");  // what the remark says, empty: none
        // 001 X1, 200 Titre, 300 Note, 700 Auteur: entry 3 (300) starts at byte 48.
        auto entry = [](qsizetype offset, QByteArray what) {
            return Mutation([=](QByteArray &b) { b.replace(24 + 2 * 12 + offset, what.size(), what); });
        };
        QTest::newRow("length 0, start right") << entry(3, "0000") << QStringLiteral("Note") << QStringLiteral("length 0");
        QTest::newRow("past the end") << entry(7, "90000") << QStringLiteral("-") << QStringLiteral("points outside the record");
        QTest::newRow("length past the end, start right") << entry(3, "9999") << QStringLiteral("Note")
                                                          << QStringLiteral("read up to its terminator");
        QTest::newRow("length too short") << entry(3, "0005") << QStringLiteral("Note")
                                          << QStringLiteral("does not end with a field terminator");
        QTest::newRow("length over two fields") << Mutation([](QByteArray &b) {
            // 300 runs into 700: its length covers both.
            const qsizetype e300 = 24 + 2 * 12, e700 = e300 + 12;
            const int both = b.mid(e300 + 3, 4).toInt() + b.mid(e700 + 3, 4).toInt();
            b.replace(e300 + 3, 4, QByteArray::number(both).rightJustified(4, '0'));
        }) << QStringLiteral("Note") << QStringLiteral("holds a field terminator before its end");
        QTest::newRow("start inside a field") << entry(7, "00005") << QStringLiteral("-") << QStringLiteral("entry ignored");
        QTest::newRow("tag not letters") << entry(0, "3#0") << QStringLiteral("-") << QStringLiteral("is not three letters or digits");
        QTest::newRow("length not a number") << entry(3, "00x4") << QStringLiteral("-") << QStringLiteral("is not a number");
        QTest::newRow("record length wrong") << Mutation([](QByteArray &b) { b.replace(0, 5, "99999"); })
                                             << QStringLiteral("Note") << QStringLiteral("record length 99999 declared");
        QTest::newRow("record length not digits") << Mutation([](QByteArray &b) { b.replace(0, 5, "00a12"); })
                                                  << QStringLiteral("Note") << QStringLiteral("is not five digits");
        QTest::newRow("unprintable indicator") << Mutation([](QByteArray &b) { b[b.indexOf("  \x1f" "aNote")] = '\x80'; })
                                               << QStringLiteral("-") << QStringLiteral("indicator byte 0x80");
        QTest::newRow("unprintable subfield code") << Mutation([](QByteArray &b) { b[b.indexOf("\x1f" "aNote") + 1] = '\x07'; })
                                                   << QStringLiteral("-") << QStringLiteral("subfield code byte 0x07");
        QTest::newRow("intact") << Mutation([](QByteArray &) {}) << QStringLiteral("Note") << QString();
    }
    void damagedDirectory()
    {
        QFETCH(Mutation, mutate);
        QFETCH(QString, note);
        QFETCH(QString, remark);
        QByteArray b = handMade({{"001", "X1\x1e"}, {"200", "1 \x1f" "aTitre\x1e"}, {"300", "  \x1f" "aNote\x1e"},
                                 {"700", " 1\x1f" "aAuteur\x1e"}});
        mutate(b);
        const ParseResult p = parseRecord(b);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.record.field("001")->controlText(), QStringLiteral("X1"));
        QCOMPARE(p.record.value("200", 'a'), QStringLiteral("Titre"));
        QCOMPARE(p.record.value("700", 'a'), QStringLiteral("Auteur"));
        QCOMPARE(p.record.field("300") ? p.record.value("300", 'a') : QStringLiteral("-"), note);
        if (remark.isEmpty()) {
            QVERIFY(p.remarks.isEmpty());
        } else {
            QCOMPARE(p.remarks.size(), 1);
            QVERIFY2(p.remarks.first().contains(remark), qPrintable(p.remarks.first()));
            QVERIFY(p.remarks.first().contains(u"byte "));
        }
    }

    // Whatever the bytes: no crash, no read outside them (the sanitizer build
    // checks that), and a record that was read writes back and reads the same.
    void hostileBytes()
    {
        QRandomGenerator rng(20240611);
        const QByteArray good = bytesOf(sampleRecord("0103"));
        int read = 0;
        for (int round = 0; round < 30000; ++round) {
            QByteArray b;
            if (round % 3 == 0) {
                b.resize(rng.bounded(0, 400));
                for (char &c : b)
                    c = char(rng.bounded(256));
                if (b.size() >= 5 && rng.bounded(2))
                    b.replace(0, 5, QByteArray::number(b.size()).rightJustified(5, '0'));
            } else {
                b = good;
                for (int k = rng.bounded(1, 6); k > 0; --k)
                    b[rng.bounded(int(b.size()))] = char(rng.bounded(256));
            }
            const ParseResult p = parseRecord(b);
            if (!p.ok()) {
                QVERIFY(!p.error.isEmpty());
                continue;
            }
            ++read;
            const WriteResult w = writeRecord(p.record);
            if (!w.ok())
                continue;
            const ParseResult again = parseRecord(w.bytes);
            QVERIFY2(again.ok(), qPrintable(again.reason()));
            QVERIFY2(sameRecord(again.record, p.record), b.toHex().constData());
        }
        QVERIFY(read > 100);  // the mutations must reach the decoding, not only the checks
    }

    void splitter()
    {
        const QByteArray a = bytesOf(sampleRecord("50", QStringLiteral("Premier")));
        Record deleted = sampleRecord("50", QStringLiteral("Effacé"));
        deleted.leader[5] = 'd';
        const QByteArray d = bytesOf(deleted);
        Record big = sampleRecord("50", QStringLiteral("Grand"));
        big.append(Field("300", ' ', ' ', {Subfield('a', QByteArray(6000, 'x'))}));
        const QByteArray c = bytesOf(big);
        const QByteArray last = bytesOf(sampleRecord("50", QStringLiteral("Dernier"))).chopped(1);
        const QByteArray file = "\r\n" + a + "\r\n" + QByteArray(3, '\0') + d + c + "\n\x1d  " + c + last;
        QList<QByteArray> copies;
        const QList<RawRecord> recs = split(file, &copies);
        QCOMPARE(recs.size(), 5);
        QCOMPARE(copies.at(0), a);
        QCOMPARE(recs.at(0).offset, 2);
        QCOMPARE(recs.at(1).offset, 2 + a.size() + 5);
        QVERIFY(recs.at(1).isDeleted());
        QVERIFY(!recs.at(0).isDeleted());
        QCOMPARE(copies.at(2), c);
        QCOMPARE(copies.at(3), c);
        QCOMPARE(recs.at(3).offset, file.indexOf(c, recs.at(2).offset + 1));
        QCOMPARE(copies.at(4), last);
        QVERIFY(!recs.at(4).terminated);
        for (int i = 0; i < recs.size(); ++i) {
            QCOMPARE(recs.at(i).ordinal, i + 1);
            QCOMPARE(file.mid(recs.at(i).offset, copies.at(i).size()), copies.at(i));
            QVERIFY2(parseRecord(copies.at(i)).ok(), qPrintable(parseRecord(copies.at(i)).reason()));
        }
        QCOMPARE(parseRecord(copies.at(4)).record.value("200", 'a'), QStringLiteral("Dernier"));
    }

    void splitterOversizeAndJunk()
    {
        const QByteArray a = bytesOf(sampleRecord());
        // Digits without a terminator for longer than the format allows, then a record.
        const QByteArray file = QByteArray(150000, '7') + "\x1d" + a + "junk without digits";
        QList<QByteArray> copies;
        const QList<RawRecord> recs = split(file, &copies, 65536);
        QCOMPARE(recs.size(), 2);
        QVERIFY(recs.at(0).oversize);
        QCOMPARE(recs.at(0).bytes.size(), 99999);
        const ParseResult p = parseRecord(recs.at(0));
        QVERIFY(!p.ok());
        QVERIFY(p.error.contains(u"no record terminator"));
        QCOMPARE(copies.at(1), a);
        QCOMPARE(recs.at(1).offset, 150001);
        // Nothing but junk, and an empty file: no record at all.
        QVERIFY(split(QByteArray("\r\n\x1d\0\0 -", 7), &copies).isEmpty());
        QVERIFY(split(QByteArray(), &copies).isEmpty());
        RecordSplitter missing(QStringLiteral("/nonexistent/file.mrc"));
        QVERIFY(!missing.isOpen());
        QVERIFY(!missing.error().isEmpty());
    }

    void declared_data()
    {
        QTest::addColumn<QByteArray>("positions");  // 100 $a 26-29
        QTest::addColumn<Charset>("declared");
        QTest::newRow("50") << QByteArray("50  ") << Charset::Utf8;
        QTest::newRow("0103") << QByteArray("0103") << Charset::Iso5426;
        QTest::newRow("01") << QByteArray("01  ") << Charset::Iso646;
        QTest::newRow("blank") << QByteArray("    ") << Charset::Undeclared;
        QTest::newRow("unknown 02") << QByteArray("02  ") << Charset::Undeclared;
    }
    void declared()
    {
        QFETCH(QByteArray, positions);
        QFETCH(Charset, declared);
        QCOMPARE(declaredCharset(QByteArray(QByteArray(26, ' ') + positions + "    ba")), declared);
        QCOMPARE(declaredCharset("short"), Charset::Undeclared);
    }

    // The declaration is believed only when the bytes fit it.
    void recordCharset_data()
    {
        QTest::addColumn<QByteArray>("declaration");
        QTest::addColumn<QByteArray>("rawTitle");
        QTest::addColumn<Charset>("used");
        QTest::addColumn<QString>("title");
        QTest::newRow("UTF-8 declared and held") << QByteArray("50") << QByteArray("Caf\xc3\xa9") << Charset::Utf8 << QStringLiteral("Café");
        QTest::newRow("ISO 5426 declared and held") << QByteArray("0103") << QByteArray("Caf\xc2" "e \xe9rsted") << Charset::Iso5426
                                                    << QStringLiteral("Café Ørsted");
        QTest::newRow("ISO 5426 declared, UTF-8 held") << QByteArray("0103") << QByteArray("R\xc3\xa9sum\xc3\xa9") << Charset::Utf8
                                                       << QStringLiteral("Résumé");
        QTest::newRow("ISO 646 declared, UTF-8 held") << QByteArray("01") << QByteArray("\xc3\x89t\xc3\xa9") << Charset::Utf8
                                                      << QStringLiteral("Été");
        QTest::newRow("undeclared UTF-8") << QByteArray("  ") << QByteArray("\xd8\xa7\xd9\x84\xd9\x83\xd8\xaa\xd8\xa7\xd8\xa8")
                                          << Charset::Utf8 << QStringLiteral("الكتاب");
        QTest::newRow("UTF-8 declared, Windows-1256 held") << QByteArray("50") << QByteArray("\xc7\xe1\xdf\xca\xc7\xc8")
                                                           << Charset::Windows1256 << QStringLiteral("الكتاب");
        QTest::newRow("ISO 5426 declared, Windows-1256 held") << QByteArray("0103") << QByteArray("\xc7\xe1\xdf\xca\xc7\xc8 \xca\xc7\xd1\xed\xce")
                                                              << Charset::Windows1256 << QStringLiteral("الكتاب تاريخ");
        QTest::newRow("undeclared Windows-1256") << QByteArray("  ") << QByteArray("\xe3\xcf\xed\xe4\xc9") << Charset::Windows1256
                                                 << QStringLiteral("مدينة");
        QTest::newRow("ASCII") << QByteArray("0103") << QByteArray("Plain title") << Charset::Iso5426 << QStringLiteral("Plain title");
        QTest::newRow("ISO 5426 declared, Latin-1 held") << QByteArray("0103") << bytes("Soci{E9}t{E9} g{E9}n{E9}rale")
                                                         << Charset::Windows1252 << QStringLiteral("Société générale");
        QTest::newRow("UTF-8 declared, ISO 5426 held") << QByteArray("50") << bytes("Soci{C2}et{C2}e") << Charset::Iso5426
                                                       << QStringLiteral("Société");
    }
    void recordCharset()
    {
        QFETCH(QByteArray, declaration);
        QFETCH(QByteArray, rawTitle);
        QFETCH(Charset, used);
        QFETCH(QString, title);
        const ParseResult p = parseRecord(field200(rawTitle, declaration));
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.charset, used);
        QCOMPARE(p.record.value("200", 'a'), title);
        QCOMPARE(p.record.value("700", 'a'), QStringLiteral("Hugo"));
    }

    // Each field in the set it was written in: one field that is not valid
    // in the declared set never changes how the others are read, and is
    // read in the set its bytes fit (ISO 5426 writes its diacritics before
    // the letter, Latin-1 letters stand alone, Windows-1256 has its Arabic
    // ranges).
    void fieldCharsets_data()
    {
        QTest::addColumn<QByteArray>("declaration");
        QTest::addColumn<QByteArray>("rawTitle");
        QTest::addColumn<QByteArray>("rawNote");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("note");
        auto row = [](const char *name, const char *declared, const char *title, const char *note, const char *t, const char *n) {
            QTest::newRow(name) << QByteArray(declared) << bytes(title) << bytes(note) << QString::fromUtf8(t) << QString::fromUtf8(n);
        };
        // One bad byte in a note of a UTF-8 record.
        row("UTF-8 with a Latin-1 note", "50", "{C3}{89}tudes sur l{E2}{80}{99}{C3}{A9}conomie", "Premi{E8}re {E9}dition",
            "Études sur l’économie", "Première édition");
        row("UTF-8 with a Windows-1256 note", "50", "Le livre d{E2}{80}{99}or", "{C7}{E1}{DF}{CA}{C7}{C8} {C7}{E1}{C3}{E6}{E1}",
            "Le livre d’or", "الكتاب الأول");
        row("ISO 5426 with a UTF-8 note", "0103", "Soci{C2}et{C2}e", "R{C3}{A9}sum{C3}{A9}", "Société", "Résumé");
        // French Latin-1 or Windows-1252 declared ISO 646 or ISO 5426.
        row("Latin-1 declared 0103", "0103", "Soci{E9}t{E9} g{E9}n{E9}rale des {E9}tudes fran{E7}aises", "{C9}tudes et {E9}conomie",
            "Société générale des études françaises", "Études et économie");
        row("Latin-1 declared 01", "01", "Soci{E9}t{E9} g{E9}n{E9}rale des {E9}tudes fran{E7}aises",
            "Premi{E8}re {E9}dition, fran{E7}ais s{FB}r", "Société générale des études françaises", "Première édition, français sûr");
        row("Latin-1 with letters ISO 5426 lacks", "0103", "Ma{EE}tre {E0} bord", "H{F4}tel", "Maître à bord", "Hôtel");
        row("Windows-1252 declared 0103", "0103", "L{92}{9C}uvre de l{92}ann{E9}e", "{93}Citation{94} {96} fin{85}",
            "L’œuvre de l’année", "“Citation” – fin…");
        row("Latin-1 capitals", "0103", "SOCI{C9}T{C9} G{C9}N{C9}RALE", "{C0} propos de {C7}a", "SOCIÉTÉ GÉNÉRALE", "À propos de Ça");
        row("Latin-1 with ISO 5426 note", "01", "Biblioth{E8}que d{92}{C9}tat", "Soci{C2}et{C2}e g{C2}en{C2}erale",
            "Bibliothèque d’État", "Société générale");
        // ISO 5426 undeclared, or declared UTF-8.
        row("ISO 5426 undeclared", "  ", "Soci{C2}et{C2}e g{C2}en{C2}erale", "Biblioth{C1}eque nationale", "Société générale",
            "Bibliothèque nationale");
        row("ISO 5426 declared 50", "50", "Soci{C2}et{C2}e g{C2}en{C2}erale", "Biblioth{C1}eque {C8}a {D0}ca", "Société générale",
            "Bibliothèque ä ça");
        row("ISO 5426 capital first", "  ", "{C2}Etudes fran{D0}caises", "{E9}rsted, {C2}ecrit", "Études françaises", "Ørsted, écrit");
        // Arabic in Windows-1256 beside French.
        row("Windows-1256 declared 0103", "0103", "{E3}{CF}{ED}{E4}{C9} {C7}{E1}{CC}{D2}{C7}{C6}{D1}", "Biblioth{E8}que",
            "مدينة الجزائر", "Bibliothèque");
    }
    void fieldCharsets()
    {
        QFETCH(QByteArray, declaration);
        QFETCH(QByteArray, rawTitle);
        QFETCH(QByteArray, rawNote);
        QFETCH(QString, title);
        QFETCH(QString, note);
        const QByteArray a100 = "20240101d2001    k  y0frey" + declaration.leftJustified(4, ' ') + "    ba";
        const QByteArray b = handMade({{"001", "X1\x1e"}, {"100", "  \x1f" "a" + a100 + "\x1e"},
                                       {"200", "1 \x1f" "a" + rawTitle + "\x1e"}, {"300", "  \x1f" "a" + rawNote + "\x1e"}});
        const ParseResult p = parseRecord(b);
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.record.value("200", 'a'), title);
        QCOMPARE(p.record.value("300", 'a'), note);
        // The same through the scanned view, as the dump reads it.
        const QString tagged = taggedText(p.record);
        QVERIFY(tagged.contains(title) && tagged.contains(note));
    }

    // What the record says of the sets it was read in.
    void charsetRemarks_data()
    {
        QTest::addColumn<QByteArray>("declaration");
        QTest::addColumn<QByteArray>("rawTitle");
        QTest::addColumn<QByteArray>("rawNote");
        QTest::addColumn<QList<CharsetUse>>("readOtherwise");
        using C = Charset;
        QTest::newRow("as declared") << QByteArray("50") << bytes("Caf{C3}{A9}") << bytes("Note") << QList<CharsetUse>{};
        QTest::newRow("ASCII under any declaration") << QByteArray("01") << bytes("Cafe") << bytes("Note") << QList<CharsetUse>{};
        QTest::newRow("undeclared UTF-8") << QByteArray("  ") << bytes("Caf{C3}{A9}") << bytes("Note") << QList<CharsetUse>{};
        QTest::newRow("ISO 646 declared, UTF-8 held") << QByteArray("01") << bytes("Caf{C3}{A9}") << bytes("R{C3}{A9}sum{C3}{A9}")
                                                      << QList<CharsetUse>{{C::Utf8, {QStringLiteral("200"), QStringLiteral("300")}}};
        QTest::newRow("UTF-8 declared, one Latin-1 note") << QByteArray("50") << bytes("Caf{C3}{A9}") << bytes("Caf{E9}")
                                                          << QList<CharsetUse>{{C::Windows1252, {QStringLiteral("300")}}};
        QTest::newRow("ISO 5426 declared, two sets held")
            << QByteArray("0103") << bytes("Soci{E9}t{E9}") << bytes("R{C3}{A9}sum{C3}{A9}")
            << QList<CharsetUse>{{C::Windows1252, {QStringLiteral("200")}}, {C::Utf8, {QStringLiteral("300")}}};
        QTest::newRow("undeclared Windows-1256") << QByteArray("  ") << bytes("{E3}{CF}{ED}{E4}{C9}") << bytes("Note")
                                                 << QList<CharsetUse>{{C::Windows1256, {QStringLiteral("200")}}};
    }
    void charsetRemarks()
    {
        QFETCH(QByteArray, declaration);
        QFETCH(QByteArray, rawTitle);
        QFETCH(QByteArray, rawNote);
        QFETCH(QList<CharsetUse>, readOtherwise);
        const QByteArray a100 = "20240101d2001    k  y0frey" + declaration.leftJustified(4, ' ') + "    ba";
        const ParseResult p = parseRecord(handMade({{"001", "X1\x1e"}, {"100", "  \x1f" "a" + a100 + "\x1e"},
                                                    {"200", "1 \x1f" "a" + rawTitle + "\x1e"},
                                                    {"300", "  \x1f" "a" + rawNote + "\x1e"}}));
        QVERIFY2(p.ok(), qPrintable(p.reason()));
        QCOMPARE(p.readOtherwise, readOtherwise);
        QCOMPARE(p.charsetMismatch(), !readOtherwise.isEmpty());
        const QString remark = p.charsetRemark();
        QCOMPARE(remark.isEmpty(), readOtherwise.isEmpty());
        for (const CharsetUse &u : readOtherwise)
            QVERIFY2(remark.contains(charsetName(u.charset) + QStringLiteral(" (champs ") + u.tags.join(QStringLiteral(", "))),
                     qPrintable(remark));
        if (!readOtherwise.isEmpty() && declaration.trimmed().size())
            QVERIFY2(remark.contains(QStringLiteral("déclaré ") + charsetName(p.declared)), qPrintable(remark));
    }

    void iso5426_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("acute") << QByteArray("\xc2" "e") << QStringLiteral("é");
        QTest::newRow("grave") << QByteArray("\xc1" "a") << QStringLiteral("à");
        QTest::newRow("circumflex") << QByteArray("\xc3" "o") << QStringLiteral("ô");
        QTest::newRow("diaeresis") << QByteArray("\xc8" "u") << QStringLiteral("ü");
        QTest::newRow("umlaut") << QByteArray("\xc9" "O") << QStringLiteral("Ö");
        QTest::newRow("cedilla") << QByteArray("Fran\xd0" "cais") << QStringLiteral("Français");
        QTest::newRow("tilde") << QByteArray("Espa\xc4" "na") << QStringLiteral("España");
        QTest::newRow("caron") << QByteArray("\xcf" "Capek") << QStringLiteral("Čapek");
        QTest::newRow("ring") << QByteArray("\xca" "Angstr\xc8" "om") << QStringLiteral("Ångström");
        QTest::newRow("ogonek") << QByteArray("\xd3" "a") << QStringLiteral("ą");
        QTest::newRow("dot below") << QByteArray("\xd6" "h") << QStringLiteral("ḥ");
        QTest::newRow("double acute") << QByteArray("Erd\xcd" "os") << QStringLiteral("Erdős");
        QTest::newRow("macron") << QByteArray("\xc5" "a") << QStringLiteral("ā");
        QTest::newRow("unknown combination") << QByteArray("\xc2" "q") << QStringLiteral("q\u0301");
        QTest::newRow("letters") << QByteArray("\xe1\xe2\xe8\xe9\xea\xec\xf1\xf2\xf3\xf5\xf8\xf9\xfa\xfb\xfc")
                                 << QStringLiteral("ÆĐŁØŒÞæđðıłøœßþ");
        QTest::newRow("signs") << QByteArray("\xab" "cit\xc2" "e\xbb \xa3" "5 \xad \xbf") << QStringLiteral("«cité» £5 © ¿");
        QTest::newRow("markers removed") << QByteArray("\x88" "Les \x89" "Mis\xc2" "erables") << QStringLiteral("Les Misérables");
        QTest::newRow("angle brackets kept") << QByteArray("<<Les>> Mis\xc2" "erables") << QStringLiteral("<<Les>> Misérables");
    }
    void iso5426()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(QString::fromUtf8(decoded(bytes, Charset::Iso5426)), text);
    }

    void utf8Cleaning_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("markers U+0098 U+009C") << QByteArray("\xc2\x98Lo \xc2\x9cStato") << QStringLiteral("Lo Stato");
        QTest::newRow("markers U+0088 U+0089") << QByteArray("\xc2\x88" "The \xc2\x89" "End") << QStringLiteral("The End");
        QTest::newRow("decomposed acute") << QByteArray("Cafe\xcc\x81") << QStringLiteral("Café");
        QTest::newRow("alef and madda") << QByteArray("\xd8\xa7\xd9\x93") << QStringLiteral("آ");
        QTest::newRow("angle brackets kept") << QByteArray("<<The>> End") << QStringLiteral("<<The>> End");
        QTest::newRow("other C1 kept") << QByteArray("a\xc2\x85" "b") << QStringLiteral("a\u0085b");
    }
    void utf8Cleaning()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(QString::fromUtf8(decoded(bytes, Charset::Utf8)), text);
        // The same through a whole record, and through the scanned view.
        const QByteArray rec = field200(bytes, "50");
        QCOMPARE(parseRecord(rec).record.value("200", 'a'), text);
    }

    void utf8Validity_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ascii") << QByteArray("plain text, long enough for the word loop") << true;
        QTest::newRow("two-byte") << QByteArray("\xc3\xa9") << true;
        QTest::newRow("three-byte") << QByteArray("\xe2\x82\xac") << true;
        QTest::newRow("four-byte") << QByteArray("\xf0\x9f\x93\x9a") << true;
        QTest::newRow("lone continuation") << QByteArray("\x80") << false;
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << false;
        QTest::newRow("overlong three") << QByteArray("\xe0\x80\xaf") << false;
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("abcdefgh\xe2\x82") << false;
        QTest::newRow("ISO 5426 acute") << QByteArray("\xc2" "e") << false;
    }
    void utf8Validity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(isValidUtf8(bytes), valid);
    }
};

QTEST_GUILESS_MAIN(TstUnimarcRead)
#include "tst_unimarcread.moc"
