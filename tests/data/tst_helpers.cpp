#include "data/core/helpers.h"

#include <QTest>

using namespace folian;

class TstHelpers : public QObject
{
    Q_OBJECT
private slots:
    void keywords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("heading") << QStringLiteral("Histoire (Maroc) : 1912-1956")
                                 << QStringLiteral("/Histoire//Maroc//1912//1956/");
        QTest::newRow("apostrophe") << QStringLiteral("L'enfant, (roman)") << QStringLiteral("/L//enfant//roman/");
        QTest::newRow("typographic apostrophe") << QStringLiteral("L’enfant d’Alger") << QStringLiteral("/L//enfant//d//Alger/");
        QTest::newRow("modifier letter apostrophe") << QStringLiteral("Qurʼan") << QStringLiteral("/Qur//an/");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("only separators") << QStringLiteral(" .,;:-+/\\!?[]()'") << QString();
        QTest::newRow("accents and case kept") << QStringLiteral("Été À") << QStringLiteral("/Été//À/");
        QTest::newRow("arabic comma") << QStringLiteral("تاريخ،الجزائر") << QStringLiteral("/تاريخ//الجزائر/");
        QTest::newRow("runs of blanks") << QStringLiteral("  A   B  ") << QStringLiteral("/A//B/");
        QTest::newRow("brackets and marks") << QStringLiteral("[Sans titre]! Vrai?") << QStringLiteral("/Sans//titre//Vrai/");
    }
    void keywords()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(BuildKeywords(text), expected);
    }

    void nextToken()
    {
        const QString seps = QStringLiteral(" ;");
        const QString text = QStringLiteral(";;ab; cd");
        int pos = 1;
        QCOMPARE(NextToken(text, pos, seps), QStringLiteral("ab"));
        QCOMPARE(pos, 6);
        QCOMPARE(NextToken(text, pos, seps), QStringLiteral("cd"));
        QCOMPARE(NextToken(text, pos, seps), QString());
        QCOMPARE(NextToken(text, pos, seps), QString());
    }

    void replaceAndPad_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        QTest::newRow("isbn") << NormaliseStandardNumber(QStringLiteral("2-07-036822 X")).toString()
                              << QStringLiteral("207036822X");
        QTest::newRow("isbn points") << NormaliseStandardNumber(QStringLiteral("2.07.036024-8")).toString()
                                     << QStringLiteral("2070360248");
        QTest::newRow("replace") << ReplaceChars(QStringLiteral("a-b.c"), QStringLiteral("-."), QStringLiteral("_"))
                                 << QStringLiteral("a_b_c");
        QTest::newRow("delete") << ReplaceChars(QStringLiteral("a-b.c"), QStringLiteral("-.")) << QStringLiteral("abc");
        QTest::newRow("pad") << ZeroPad(42, 5) << QStringLiteral("00042");
        QTest::newRow("pad negative") << ZeroPad(-42, 3) << QStringLiteral("042");
        QTest::newRow("never truncated") << ZeroPad(123456, 3) << QStringLiteral("123456");
        QTest::newRow("url kept whole") << ResourceLinkName(QStringLiteral("https://example.org/a/b.pdf")).toString()
                                        << QStringLiteral("https://example.org/a/b.pdf");
        QTest::newRow("http kept whole") << ResourceLinkName(QStringLiteral("HTTP://x.org/y")).toString()
                                         << QStringLiteral("HTTP://x.org/y");
        QTest::newRow("windows path") << ResourceLinkName(QStringLiteral("C:\\docs\\these.pdf")).toString()
                                      << QStringLiteral("these.pdf");
        QTest::newRow("unix path") << ResourceLinkName(QStringLiteral("/srv/docs/sommaire.html")).toString()
                                   << QStringLiteral("sommaire.html");
        QTest::newRow("bare name") << ResourceLinkName(QStringLiteral("a.pdf")).toString() << QStringLiteral("a.pdf");
    }
    void replaceAndPad()
    {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }

    // An address of any kind keeps its whole text (and opens as an address);
    // a file path keeps its file name.
    void resourceLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("address");
        QTest::addColumn<QString>("stored");
        QTest::newRow("ftp") << QStringLiteral("ftp://ftp.example.org/pub/notes.txt") << true
                             << QStringLiteral("ftp://ftp.example.org/pub/notes.txt");
        QTest::newRow("mailto") << QStringLiteral("mailto:bibliotheque@example.org") << true
                                << QStringLiteral("mailto:bibliotheque@example.org");
        QTest::newRow("file url") << QStringLiteral("file:///srv/docs/a.pdf") << true
                                  << QStringLiteral("file:///srv/docs/a.pdf");
        QTest::newRow("www") << QStringLiteral("www.example.org/catalogue/sommaire.html") << true
                             << QStringLiteral("www.example.org/catalogue/sommaire.html");
        QTest::newRow("WWW upper case") << QStringLiteral("WWW.Example.org/a") << true << QStringLiteral("WWW.Example.org/a");
        QTest::newRow("scheme with digits and plus") << QStringLiteral("svn+ssh://depot/x") << true
                                                      << QStringLiteral("svn+ssh://depot/x");
        QTest::newRow("trimmed") << QStringLiteral("  https://x.org/y  ") << true << QStringLiteral("https://x.org/y");
        QTest::newRow("drive letter") << QStringLiteral("D:/docs/these.pdf") << false << QStringLiteral("these.pdf");
        QTest::newRow("colon in a file name") << QStringLiteral("/srv/notes: 2024.pdf") << false
                                              << QStringLiteral("notes: 2024.pdf");
        QTest::newRow("wwwfile") << QStringLiteral("/srv/www.txt") << false << QStringLiteral("www.txt");
        QTest::newRow("arabic name") << QStringLiteral("/srv/ملخص.pdf") << false << QStringLiteral("ملخص.pdf");
        // What was meant as an address keeps what was given, never its last piece alone.
        QTest::newRow("http.//") << QStringLiteral("http.//www.example.org/revue/sommaire.html") << false
                                 << QStringLiteral("http.//www.example.org/revue/sommaire.html");
        QTest::newRow("http// without colon") << QStringLiteral("http//example.org/a.pdf") << false
                                              << QStringLiteral("http//example.org/a.pdf");
        QTest::newRow("network share") << QStringLiteral("//serveur/docs/a.pdf") << false << QStringLiteral("a.pdf");
    }
    void resourceLinks()
    {
        QFETCH(QString, link);
        QFETCH(bool, address);
        QFETCH(QString, stored);
        QCOMPARE(IsResourceAddress(link), address);
        QCOMPARE(ResourceLinkName(link).toString(), stored);
    }

    // Numbers are stored without their separators, a qualifier in
    // parentheses kept as given; they compare by the number alone.
    void standardNumbers_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("qualifier");
        QTest::newRow("plain") << QStringLiteral("2-07-036024-8") << QStringLiteral("2070360248") << QStringLiteral("2070360248")
                               << QString();
        QTest::newRow("qualifier") << QStringLiteral("2-07-036024-8 (br.)") << QStringLiteral("2070360248 (br.)")
                                   << QStringLiteral("2070360248") << QStringLiteral("br.");
        QTest::newRow("qualifier glued") << QStringLiteral("2-07-036024-8(rel.)") << QStringLiteral("2070360248 (rel.)")
                                         << QStringLiteral("2070360248") << QStringLiteral("rel.");
        QTest::newRow("qualifier with blanks") << QStringLiteral(" 978-2-07-036025-3  (Folio ; 2) ")
                                               << QStringLiteral("9782070360253 (Folio ; 2)") << QStringLiteral("9782070360253")
                                               << QStringLiteral("Folio ; 2");
        QTest::newRow("check digit x kept") << QStringLiteral("2-07-036822-x") << QStringLiteral("207036822x")
                                            << QStringLiteral("207036822x") << QString();
        QTest::newRow("parentheses alone") << QStringLiteral("(br.)") << QStringLiteral("(br)") << QStringLiteral("(br)")
                                           << QString();
    }
    void standardNumbers()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QFETCH(QString, key);
        QFETCH(QString, qualifier);
        QCOMPARE(NormaliseStandardNumber(given).toString(), stored);
        QCOMPARE(StandardNumberKey(given), key);
        QCOMPARE(StandardNumberKey(stored), key);
        QCOMPARE(StandardNumberQualifier(stored), qualifier);
        // Stored twice, the same.
        QCOMPARE(NormaliseStandardNumber(stored).toString(), stored);
    }

    void nullsStayNull()
    {
        QVERIFY(NormaliseStandardNumber(QVariant()).isNull());
        QVERIFY(ResourceLinkName(QVariant()).isNull());
    }

    void blank_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("blank");
        QTest::newRow("null") << QVariant() << true;
        QTest::newRow("blanks") << QVariant(QStringLiteral("   ")) << true;
        QTest::newRow("text") << QVariant(QStringLiteral(" a ")) << false;
        QTest::newRow("zero") << QVariant(0) << false;
    }
    void blank()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, blank);
        QCOMPARE(IsBlank(value), blank);
    }

    void scrambleIsItsOwnInverse()
    {
        const QString plain = QStringLiteral("Mot de passe é ع");
        const QString s = ScrambleText(plain, PasswordKey);
        QCOMPARE(s.size(), plain.size());
        QVERIFY(s != plain);
        QCOMPARE(ScrambleText(s, PasswordKey), plain);
        // A character equal to the key becomes the zero character.
        QCOMPARE(ScrambleText(QString(QChar(char16_t(PasswordKey))), PasswordKey).at(0).unicode(), 0);
    }

    void sameValueAcrossRepresentations()
    {
        QVERIFY(sameValue(QVariant(1), QVariant(qlonglong(1))));
        QVERIFY(sameValue(QVariant(QStringLiteral("a")), QVariant(QStringLiteral("a"))));
        QVERIFY(!sameValue(QVariant(), QVariant(0)));
        QVERIFY(!sameValue(QVariant(2), QVariant(3)));
        QVERIFY(sameValue(QVariant(QDate(2026, 1, 2)), QVariant(QDate(2026, 1, 2))));
    }
};

QTEST_GUILESS_MAIN(TstHelpers)
#include "tst_helpers.moc"
