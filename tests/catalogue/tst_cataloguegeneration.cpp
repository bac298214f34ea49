// The printed catalogue on both engines: sort keys with the stop words and
// the Arabic article, the collator's order, the entries of a classification
// filter with their occurrences, the type, language and form options, the
// three indexes with their numbers, a stop part way through, the pages byte
// for byte in French and Arabic, and folianctl catalogue.

#include "base/cp1256.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/progress.h"
#include "base/session.h"
#include "catalogue/core/sortkeys.h"
#include "catalogue/generation/cataloguegeneration.h"
#include "support/folianctl.h"
#include "support/testdb.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

struct Heading {
    int id, kind;
    const char16_t *name;
};

// Authors, subjects and an Arabic author.
const Heading kHeadings[] = {
    {1, 1, u"Durand, Paul"}, {2, 1, u"Éluard, Paul"}, {3, 6, u"Femmes"}, {4, 6, u"Politique"},
    {5, 1, u"محفوظ، نجيب"},
};

struct Rec {
    int id;
    const char *type;
    const char *language;
    const char16_t *title;
    const char *place;
    const char *year;
    const char16_t *abstract;
    int author;                // VED_ID of the principal author, 0: none
    QList<int> subjects;
    QStringList indices;
};

// R2 has no author and files under its title without "Le"; R1 and R4 share
// their author; R1 is indexed twice under 3; R5 is an Arabic record.
QList<Rec> records()
{
    return {
        {1, "a", "fre", u"Sociologie des femmes", "Paris", "1990", u"Une étude.", 1, {3}, {QStringLiteral("305.4"), QStringLiteral("320")}},
        {2, "a", "fre", u"Le Capital", nullptr, nullptr, nullptr, 0, {}, {QStringLiteral("330")}},
        {3, "a", "fre", u"Capitale de la douleur", "Paris", "1926", nullptr, 2, {}, {QStringLiteral("841")}},
        {4, "b", "fre", u"La politique", nullptr, nullptr, nullptr, 1, {4, 3}, {QStringLiteral("320.1")}},
        {5, "a", "ara", u"الثلاثية", nullptr, nullptr, nullptr, 5, {}, {QStringLiteral("892.7")}},
    };
}

bool fill(Database &db, const QList<Rec> &recs, QString *why)
{
    auto run = [&](const QString &sql, const QVariantList &binds = {}) {
        if (db.exec(sql, binds))
            return true;
        *why = sql + QStringLiteral(": ") + db.lastError().text();
        return false;
    };
    for (const Heading &h : kHeadings)
        if (!run(QStringLiteral("INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (?, ?, ?, ?)"),
                 {h.id, h.kind, QString::fromUtf16(h.name), h.id}))
            return false;
    int link = 0;
    const auto text = [](const char *t) { return t ? QVariant(QString::fromUtf8(t)) : QVariant(); };
    for (const Rec &r : recs) {
        if (!run(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, LAN_ID, STA_ID, DOC_TITRE_PROPRE, DOC_LIEU_EDITION, "
                                "DOC_ANNEE, DOC_RESUME) VALUES (?, ?, ?, 1, ?, ?, ?, ?)"),
                 {r.id, QLatin1String(r.type), QLatin1String(r.language), QString::fromUtf16(r.title), text(r.place),
                  text(r.year), r.abstract ? QVariant(QString::fromUtf16(r.abstract)) : QVariant()}))
            return false;
        if (r.author && !run(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (?, ?, ?, 1)"),
                             {++link, r.id, r.author}))
            return false;
        for (const int s : r.subjects)
            if (!run(QStringLiteral("INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (?, ?, ?)"), {++link, r.id, s}))
                return false;
        for (const QString &i : r.indices)
            if (!run(QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (?, ?, ?)"),
                     {++link, r.id, i}))
                return false;
    }
    return true;
}

// Stops once it has been told of `limit` items.
class StopAfter : public Progress
{
public:
    explicit StopAfter(int limit) : limit_(limit) {}
    void step(int, int, const QString &text) override
    {
        ++steps_;
        texts << text;
    }
    bool stopped() const override { return steps_ >= limit_; }
    QStringList texts;

private:
    int limit_;
    int steps_ = 0;
};

QStringList strings(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *t : texts)
        out << QString::fromUtf8(t);
    return out;
}

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A page as text, its numeric references ("&#201;") turned back into
// characters, except the escaped apostrophe ("&#39;").
QString pageText(const QString &path)
{
    const QString text = decodeCp1256(bytesOf(path));
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QString out;
    qsizetype done = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const char32_t code = m.captured(1).toUInt();
        out += QStringView(text).mid(done, m.capturedStart() - done);
        out += code == U'\'' ? m.captured() : QString::fromUcs4(&code, 1);
        done = m.capturedEnd();
    }
    return out + QStringView(text).mid(done);
}

// The rows of a scratch table as "ID:NAME=RENVOIS", in ID order.
QStringList indexRows(const QString &scratch, const char *table)
{
    Database db;
    ConnectionParams p;
    p.engine = QStringLiteral("SQLITE");
    p.catalog = scratch;
    QStringList out;
    if (!db.open(p))
        return {QStringLiteral("cannot open ") + scratch};
    SqlRows q = db.query(QStringLiteral("SELECT ID, %1, %1_TRI, RENVOIS FROM %1 ORDER BY ID").arg(QLatin1String(table)));
    while (q.next())
        out << QStringLiteral("%1:%2|%3=%4").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                                 q.value(3).toString());
    return out;
}

} // namespace

class TstCatalogueGeneration : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir work;

    CatalogueOptions optionsIn(const QString &dir) const
    {
        CatalogueOptions o;
        o.directory = dir;
        o.scratch = QDir(dir).filePath(QStringLiteral("Folian.tmp"));
        return o;
    }

private slots:
    void init()
    {
        session() = Session();
        sink.clear();
        setMessageSink(&sink);
        setUserDataDirectory(work.path());
    }
    void cleanup()
    {
        setMessageSink(nullptr);
        setUserDataDirectory(QString());
    }

    // --- Sort keys ---------------------------------------------------------------------

    void sortKeys_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::newRow("article and blank") << QStringLiteral("Le petit prince") << QStringLiteral("petit prince");
        QTest::newRow("upper case") << QStringLiteral("LES MISÉRABLES") << QStringLiteral("MISÉRABLES");
        QTest::newRow("apostrophe") << QStringLiteral("L'Harmattan") << QStringLiteral("'Harmattan");
        QTest::newRow("typographic apostrophe") << QStringLiteral("l’école") << QStringLiteral("’école");
        QTest::newRow("word beginning with an article") << QStringLiteral("Lettres persanes") << QStringLiteral("Lettres persanes");
        QTest::newRow("article alone") << QStringLiteral("La") << QStringLiteral("La");
        QTest::newRow("later word in table order") << QStringLiteral("La mer") << QStringLiteral("mer");
        QTest::newRow("blanks after the article") << QStringLiteral("Un   jour") << QStringLiteral("jour");
        QTest::newRow("English") << QStringLiteral("The end") << QStringLiteral("end");
        QTest::newRow("no article") << QStringLiteral("Capital") << QStringLiteral("Capital");
        QTest::newRow("Arabic article") << QStringLiteral("الكتاب الأخضر") << QStringLiteral("كتاب الأخضر");
        QTest::newRow("Arabic word too short") << QStringLiteral("الم") << QStringLiteral("الم");
        QTest::newRow("Arabic without article") << QStringLiteral("باب") << QStringLiteral("باب");
        QTest::newRow("empty") << QString() << QString();
    }
    void sortKeys()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        // "l" before "la" and "le": the first word that matches wins.
        const SortKeys keys({QStringLiteral("le"), QStringLiteral("l"), QStringLiteral("la"), QStringLiteral("les"),
                             QStringLiteral(" "), QStringLiteral("un"), QStringLiteral("the")});
        QCOMPARE(keys.key(text), key);
    }

    void stopWordsOfTheDatabase_data() { addEngineRows(); }
    void stopWordsOfTheDatabase()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        SortKeys keys;
        QString why;
        QVERIFY2(SortKeys::read(tdb.db(), &keys, &why), qPrintable(why));
        QVERIFY(keys.stopWords().contains(QStringLiteral("les")));
        QCOMPARE(keys.key(QStringLiteral("L'Étranger")), QStringLiteral("'Étranger"));
        QCOMPARE(keys.key(QStringLiteral("Les Mots")), QStringLiteral("Mots"));
    }

    // --- The catalogue and its indexes ----------------------------------------------------

    void entriesAndIndexes_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("classification");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("language");
        // The records in entry order, each "DOC_ID/OCC/INDICE".
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("authors");
        QTest::addColumn<QStringList>("subjects");
        for (const QString &engine : engines()) {
            const QByteArray e = engine.toLatin1();
            QTest::addRow("%s every record", e.constData())
                << engine << QString() << QString() << QString() << strings({"2/1/", "4/1/", "1/1/", "3/1/", "5/1/"})
                << strings({"1:Sociologie des femmes|Sociologie des femmes=3", "2:Le Capital|Capital=1",
                            "3:Capitale de la douleur|Capitale de la douleur=4", "4:La politique|politique=2",
                            "5:الثلاثية|ثلاثية=5"})
                << strings({"1:Durand, Paul|Durand, Paul=2, 3", "2:Éluard, Paul|Éluard, Paul=4",
                            "5:محفوظ، نجيب|محفوظ، نجيب=5"})
                << strings({"3:Femmes|Femmes=2, 3", "4:Politique|Politique=2"});
            QTest::addRow("%s index 3: two occurrences", e.constData())
                << engine << QStringLiteral("3*") << QString() << QString()
                << strings({"2/1/330", "4/1/320.1", "1/1/305.4", "1/2/320"})
                << strings({"1:Sociologie des femmes|Sociologie des femmes=3, 4", "2:Le Capital|Capital=1",
                            "4:La politique|politique=2"})
                << strings({"1:Durand, Paul|Durand, Paul=2, 3, 4"})
                << strings({"3:Femmes|Femmes=2, 3, 4", "4:Politique|Politique=2"});
            QTest::addRow("%s index 32", e.constData())
                << engine << QStringLiteral("32") << QString() << QString() << strings({"4/1/320.1", "1/1/320"})
                << strings({"1:Sociologie des femmes|Sociologie des femmes=2", "4:La politique|politique=1"})
                << strings({"1:Durand, Paul|Durand, Paul=1, 2"})
                << strings({"3:Femmes|Femmes=1, 2", "4:Politique|Politique=1"});
            QTest::addRow("%s type b", e.constData())
                << engine << QString() << QStringLiteral("b") << QString() << strings({"4/1/"})
                << strings({"4:La politique|politique=1"}) << strings({"1:Durand, Paul|Durand, Paul=1"})
                << strings({"3:Femmes|Femmes=1", "4:Politique|Politique=1"});
            QTest::addRow("%s Arabic", e.constData())
                << engine << QString() << QString() << QStringLiteral("ara") << strings({"5/1/"})
                << strings({"5:الثلاثية|ثلاثية=1"}) << strings({"5:محفوظ، نجيب|محفوظ، نجيب=1"}) << QStringList();
            QTest::addRow("%s nothing selected", e.constData())
                << engine << QStringLiteral("999") << QString() << QString() << QStringList() << QStringList()
                << QStringList() << QStringList();
        }
    }
    void entriesAndIndexes()
    {
        QFETCH(QString, engine);
        QFETCH(QString, classification);
        QFETCH(QString, type);
        QFETCH(QString, language);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, authors);
        QFETCH(QStringList, subjects);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), records(), &why), qPrintable(why));
        QTemporaryDir out;
        CatalogueOptions o = optionsIn(out.path());
        o.classification = classification;
        o.type = type;
        o.language = language;
        const CatalogueResult r = generateCatalogue(tdb.db(), o);
        QVERIFY2(r.completed(), qPrintable(r.message));
        QCOMPARE(r.entries, int(entries.size()));
        QCOMPARE(r.pages.size(), 4);

        // The entries numbered in filing order, each number once.
        Database scratch;
        ConnectionParams p;
        p.engine = QStringLiteral("SQLITE");
        p.catalog = o.scratch;
        QVERIFY(scratch.open(p));
        SqlRows q = scratch.query(QStringLiteral("SELECT ID, OCC, COALESCE(INDICE, ''), NUMERO FROM CATALOGUE ORDER BY NUMERO"));
        QStringList got;
        int expectedNumber = 0;
        while (q.next()) {
            got << QStringLiteral("%1/%2/%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
            QCOMPARE(q.value(3).toInt(), ++expectedNumber);
        }
        scratch.close();
        QCOMPARE(got, entries);
        QCOMPARE(indexRows(o.scratch, "TITRE"), titles);
        QCOMPARE(indexRows(o.scratch, "AUTEUR"), authors);
        QCOMPARE(indexRows(o.scratch, "MATIERE"), subjects);
        QCOMPARE(r.titles, int(titles.size()));
        QCOMPARE(r.authors, int(authors.size()));
        QCOMPARE(r.subjects, int(subjects.size()));

        // The page shows the entries with their numbers, in that order.
        const QString page = pageText(QDir(out.path()).filePath(QStringLiteral("catalogue.html")));
        qsizetype at = 0;
        for (int n = 1; n <= entries.size(); ++n) {
            const qsizetype next = page.indexOf(QStringLiteral("<b>%1.&nbsp;&nbsp;</b>").arg(n));
            QVERIFY2(next > at, qPrintable(QStringLiteral("entry %1").arg(n)));
            at = next;
        }
        QVERIFY(!page.contains(QStringLiteral("<code></code>")));
    }

    // É files with E, the Arabic article is passed over, "L'" before H files under H.
    void collatorOrder_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected");
        const QStringList titles{QStringLiteral("École des femmes"), QStringLiteral("Economie"), QStringLiteral("Ethique"),
                                 QStringLiteral("Étude"), QStringLiteral("L'Harmattan"), QStringLiteral("Histoire"),
                                 QStringLiteral("Zola")};
        const QStringList arabic{QStringLiteral("باب"), QStringLiteral("جمل"), QStringLiteral("الكتاب")};
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" French"))) << engine << QStringLiteral("FR") << titles + arabic;
            QTest::newRow(qPrintable(engine + QStringLiteral(" Arabic"))) << engine << QStringLiteral("AR") << arabic + titles;
        }
    }
    void collatorOrder()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        FOLIAN_TEST_DB(tdb, engine);
        session().setLanguage(language);
        // Stored in the reverse of the expected order.
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, STA_ID, DOC_TITRE_PROPRE) VALUES (?, 'a', 1, ?)"),
                                  {int(i + 1), expected.at(expected.size() - 1 - i)}));
        QTemporaryDir out;
        const CatalogueOptions o = optionsIn(out.path());
        const CatalogueResult r = generateCatalogue(tdb.db(), o);
        QVERIFY2(r.completed(), qPrintable(r.message));
        // The title index lists them in filing order.
        const QString page = pageText(QDir(out.path()).filePath(QStringLiteral("titres.html")));
        QStringList filed;
        for (const QString &line : page.split(u'\n'))
            if (line.startsWith(QLatin1String("<tr><td width=\"60%\">")))
                filed << line.section(u'>', 2, 2).section(u'<', 0, 0);
        QStringList escaped;
        for (const QString &t : expected)
            escaped << QString(t).replace(u'\'', QStringLiteral("&#39;"));
        QCOMPARE(filed, escaped);
        // So does the catalogue: no record has an author, each files under its title.
        const QString catalogue = pageText(QDir(out.path()).filePath(QStringLiteral("catalogue.html")));
        qsizetype at = 0;
        for (const QString &t : std::as_const(escaped)) {
            const qsizetype next = catalogue.indexOf(u'>' + t + u'<');
            QVERIFY2(next > at, qPrintable(t));
            at = next;
        }
    }

    // Subjects and abstracts only in the analytic form; a record without an
    // author has no author line.
    void forms_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<bool>("analytic");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" signaletique"))) << engine << false;
            QTest::newRow(qPrintable(engine + QStringLiteral(" analytique"))) << engine << true;
        }
    }
    void forms()
    {
        QFETCH(QString, engine);
        QFETCH(bool, analytic);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), records(), &why), qPrintable(why));
        QTemporaryDir out;
        CatalogueOptions o = optionsIn(out.path());
        o.analytic = analytic;
        const CatalogueResult r = generateCatalogue(tdb.db(), o);
        QVERIFY2(r.completed(), qPrintable(r.message));
        const QString page = pageText(QDir(out.path()).filePath(QStringLiteral("catalogue.html")));
        QCOMPARE(page.contains(QStringLiteral("<b>Catalogue analytique</b>")), analytic);
        QCOMPARE(page.contains(QStringLiteral("<b>Catalogue signaletique</b>")), !analytic);
        QCOMPARE(page.contains(QStringLiteral("<br>Femmes<br>")), analytic);
        QCOMPARE(page.contains(QStringLiteral("Une étude.")), analytic);
        // Le Capital, first, without an author: its title is the heading of the entry.
        QVERIFY(page.contains(QStringLiteral("<p><b>1.&nbsp;&nbsp;</b><b>Le Capital</b>. - [s.l] : [s.n], [s.d].<br>")));
        // The subject index is made in both forms.
        QCOMPARE(r.subjects, 2);
        QVERIFY(sink.messages.isEmpty());
        QVERIFY(r.message.startsWith(QStringLiteral("Génération du catalogue terminé.")));
    }

    // Stopping ends every loop at once; each page is still whole.
    void stop_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("entries");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" while reading"))) << engine << 2 << 0;
            QTest::newRow(qPrintable(engine + QStringLiteral(" while numbering"))) << engine << 7 << 2;
        }
    }
    void stop()
    {
        QFETCH(QString, engine);
        QFETCH(int, limit);
        QFETCH(int, entries);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), records(), &why), qPrintable(why));
        QTemporaryDir out;
        StopAfter progress(limit);
        const CatalogueResult r = generateCatalogue(tdb.db(), optionsIn(out.path()), &progress);
        QCOMPARE(r.status, CatalogueResult::Status::Stopped);
        QVERIFY(r.message.startsWith(QStringLiteral("Génération du catalogue interrompue.")));
        QCOMPARE(r.entries, entries);
        QCOMPARE(progress.texts.size(), limit);  // nothing more once stopped
        QCOMPARE(progress.texts.first(), QStringLiteral("Génération : 1 notices"));
        QCOMPARE(r.pages.size(), 4);
        for (const QString &name : cataloguePages()) {
            const QString page = pageText(QDir(out.path()).filePath(name));
            QVERIFY2(page.startsWith(QStringLiteral("<html><head>")), qPrintable(name));
            QVERIFY2(page.endsWith(name == u"catalogue.html" ? QStringLiteral("</body></html>\n")
                                                             : QStringLiteral("</table></body></html>\n")),
                     qPrintable(name));
        }
        const QString catalogue = pageText(QDir(out.path()).filePath(QStringLiteral("catalogue.html")));
        QCOMPARE(catalogue.count(QStringLiteral("&nbsp;&nbsp;</b>")), entries);
        // The indexes send to no entry: they have no line.
        QVERIFY(!pageText(QDir(out.path()).filePath(QStringLiteral("auteurs.html"))).contains(QStringLiteral("<tr>")));
    }

    // Pages that cannot be written: a failure, said as such.
    void unwritable()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QString why;
        QVERIFY2(fill(tdb.db(), records(), &why), qPrintable(why));
        QTemporaryDir out;
        QFile blocker(QDir(out.path()).filePath(QStringLiteral("pages")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        CatalogueOptions o = optionsIn(out.path());
        o.directory = QDir(out.path()).filePath(QStringLiteral("pages/catalogue"));
        const CatalogueResult r = generateCatalogue(tdb.db(), o);
        QCOMPARE(r.status, CatalogueResult::Status::Failed);
        QVERIFY2(r.message.startsWith(QStringLiteral("La génération du catalogue a échoué : Impossible d'écrire")),
                 qPrintable(r.message));
        QVERIFY(r.pages.isEmpty());
    }

    // --- The pages, byte for byte ---------------------------------------------------------

    void pages_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("language");
        for (const QString &engine : engines()) {
            QTest::newRow(qPrintable(engine + QStringLiteral(" FR"))) << engine << QStringLiteral("FR");
            QTest::newRow(qPrintable(engine + QStringLiteral(" AR"))) << engine << QStringLiteral("AR");
        }
    }
    void pages()
    {
        QFETCH(QString, engine);
        QFETCH(QString, language);
        FOLIAN_TEST_DB(tdb, engine);
        session().setLanguage(language);
        const QList<Rec> all = records();
        QString why;
        // Le Capital, Capitale de la douleur (by Éluard, with a title to escape) and the Arabic record.
        QList<Rec> some{all.at(1), all.at(2), all.at(4)};
        some[1].title = u"Capitale de la douleur <1926> & autres";
        QVERIFY2(fill(tdb.db(), some, &why), qPrintable(why));
        QTemporaryDir out;
        CatalogueOptions o = optionsIn(out.path());
        const CatalogueResult r = generateCatalogue(tdb.db(), o);
        QVERIFY2(r.completed(), qPrintable(r.message));
        const bool ar = language == u"AR";
        const QByteArray head = ar ? QByteArray("<html dir=\"rtl\">") : QByteArray("<html>");
        const QByteArray opening = head + "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1256\"/></head><body>\n";
        const QByteArray tableEnd = "</table></body></html>\n";
        const auto title = [](const QByteArray &t) -> QByteArray { return "<p align=\"center\"><b>" + t + "</b></p>\n"; };
        // Windows-1256 holds é, è and the Arabic letters; É is a reference.
        const QByteArray capitale = "Capitale de la douleur &lt;1926&gt; &amp; autres";
        const QByteArray eluard = "&#201;luard, Paul";
        const QByteArray mahfouz = "\xE3\xCD\xDD\xE6\xD9\xA1 \xE4\xCC\xED\xC8";  // محفوظ، نجيب
        const QByteArray trilogy = "\xC7\xE1\xCB\xE1\xC7\xCB\xED\xC9";                   // الثلاثية
        // The Arabic record files first in Arabic, last in French.
        const int capital = ar ? 2 : 1, capitaleN = ar ? 3 : 2, arabicN = ar ? 1 : 3;
        const auto number = [](int n) -> QByteArray { return "<b>" + QByteArray::number(n) + ".&nbsp;&nbsp;</b>"; };
        const QByteArray ltr = ar ? QByteArray("<p dir=\"ltr\">") : QByteArray("<p>");
        const QByteArray capitalEntry = ltr + number(capital) + "<b>Le Capital</b>. - [s.l] : [s.n], [s.d].<br></p>\n";
        const QByteArray capitaleEntry = ltr + number(capitaleN) + "<b>" + eluard + "</b><br>" + capitale
            + " / Paul &#201;luard. - Paris : [s.n], 1926.<br></p>\n";
        const QByteArray arabicEntry = "<p dir=\"rtl\">" + number(arabicN) + "<b>" + mahfouz + "</b><br>" + trilogy
            + " / \xE4\xCC\xED\xC8 \xE3\xCD\xDD\xE6\xD9. - [\xCF.\xE3] : [\xCF.\xE4], [\xCF.\xCA].<br></p>\n";
        const QByteArray catalogue = opening
            + title(ar ? QByteArray("\xDD\xE5\xD1\xD3 \xC8\xC8\xE1\xED\xE6\xDB\xD1\xC7\xDD\xED")
                       : QByteArray("Catalogue signaletique"))
            + (ar ? QByteArray(arabicEntry + capitalEntry + capitaleEntry) : QByteArray(capitalEntry + capitaleEntry + arabicEntry))
            + "</body></html>\n";
        QCOMPARE(bytesOf(QDir(out.path()).filePath(QStringLiteral("catalogue.html"))), catalogue);

        const QByteArray cell = ar ? QByteArray("</td><td width=\"40%\" align=\"left\">")
                                   : QByteArray("</td><td width=\"40%\" align=\"right\">");
        const auto line = [&cell](const QByteArray &name, int n) -> QByteArray {
            return "<tr><td width=\"60%\">" + name + cell + QByteArray::number(n) + "</td></tr>\n";
        };
        const QByteArray titleLines = line("Le Capital", capital) + line(capitale, capitaleN);
        const QByteArray titles = opening
            + title(ar ? QByteArray("\xDF\xD4\xC7\xDD \xC7\xE1\xDA\xE4\xC7\xE6\xED\xE4") : QByteArray("Index titres"))
            + "<table width=\"100%\">\n"
            + (ar ? QByteArray(line(trilogy, arabicN) + titleLines) : QByteArray(titleLines + line(trilogy, arabicN))) + tableEnd;
        QCOMPARE(bytesOf(QDir(out.path()).filePath(QStringLiteral("titres.html"))), titles);

        const QByteArray authors = opening
            + title(ar ? QByteArray("\xDF\xD4\xC7\xDD \xC7\xE1\xE3\xC4\xE1\xDD\xED\xE4") : QByteArray("Index auteurs"))
            + "<table width=\"100%\">\n"
            + (ar ? QByteArray(line(mahfouz, arabicN) + line(eluard, capitaleN)) : QByteArray(line(eluard, capitaleN) + line(mahfouz, arabicN)))
            + tableEnd;
        QCOMPARE(bytesOf(QDir(out.path()).filePath(QStringLiteral("auteurs.html"))), authors);

        const QByteArray subjects = opening
            + title(ar ? QByteArray("\xDF\xD4\xC7\xDD \xD1\xC4\xE6\xD3 \xC7\xE1\xE3\xE6\xD6\xE6\xDA\xC7\xCA")
                       : QByteArray("Index mati\xE8res"))
            + "<table width=\"100%\">\n" + tableEnd;
        QCOMPARE(bytesOf(QDir(out.path()).filePath(QStringLiteral("matieres.html"))), subjects);
    }

    // --- folianctl catalogue ----------------------------------------------------------------

    void command_data() { addEngineRows(); }
    void command()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QString why;
        QVERIFY2(fill(tdb.db(), records(), &why), qPrintable(why));
        const QString ini = tdb.writeIni();
        QTemporaryDir out;
        CtlRun r = runFolianctl(ini, {QStringLiteral("catalogue"), out.path(), QStringLiteral("--classification"),
                                      QStringLiteral("3"), QStringLiteral("--title"), QStringLiteral("Sciences <sociales>"),
                                      QStringLiteral("--analytic")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral("3 records, 4 entries; index lines: 3 titles, 1 authors, 2 subjects")),
                 qPrintable(r.out));
        for (const QString &name : cataloguePages())
            QVERIFY2(QFile::exists(QDir(out.path()).filePath(name)), qPrintable(name));
        const QString page = pageText(QDir(out.path()).filePath(QStringLiteral("catalogue.html")));
        QVERIFY(page.contains(QStringLiteral("<p align=\"center\"><b>Sciences &lt;sociales&gt;</b></p>")));
        QVERIFY(page.contains(QStringLiteral("<br>Femmes<br>")));

        r = runFolianctl(ini, {QStringLiteral("catalogue"), out.path(), QStringLiteral("--type"), QStringLiteral("b")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral("1 records, 1 entries")), qPrintable(r.out));
        QVERIFY(runFolianctl(ini, {QStringLiteral("catalogue"), out.path(), QStringLiteral("--type"), QStringLiteral("9")}).code != 0);
        QVERIFY(runFolianctl(ini, {QStringLiteral("catalogue"), out.path(), QStringLiteral("--language"), QStringLiteral("xyz")}).code
                != 0);
        QVERIFY(runFolianctl(ini, {QStringLiteral("catalogue")}).code != 0);
    }
};

QTEST_GUILESS_MAIN(TstCatalogueGeneration)
#include "tst_cataloguegeneration.moc"
