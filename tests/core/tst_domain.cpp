// Codes and small rules of the catalogue, circulation, acquisitions and
// reports cores, and the text encodings of the files the system exchanges.

#include "acquisitions/core/documents.h"
#include "catalogue/core/codes.h"
#include "circulation/core/copystate.h"
#include "data/core/money.h"
#include "base/cp1256.h"
#include "i18n/core/translationfile.h"
#include "reports/core/htmlpage.h"

#include <QTest>

using namespace folian;

Q_DECLARE_METATYPE(CopyState)

class TstDomain : public QObject
{
    Q_OBJECT
private slots:
    void money_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QStringLiteral("1250") << true << qint64(125000) << QStringLiteral("1250.00");
        QTest::newRow("comma") << QStringLiteral("12,5") << true << qint64(1250) << QStringLiteral("12.50");
        QTest::newRow("grouped") << QStringLiteral(" 12 500.05 ") << true << qint64(1250005) << QStringLiteral("12500.05");
        QTest::newRow("negative") << QStringLiteral("-0.07") << true << qint64(-7) << QStringLiteral("-0.07");
        QTest::newRow("trailing zeros") << QStringLiteral("3.1000") << true << qint64(310) << QStringLiteral("3.10");
        QTest::newRow("leading dot") << QStringLiteral(".5") << true << qint64(50) << QStringLiteral("0.50");
        QTest::newRow("three decimals") << QStringLiteral("1.005") << false << qint64(0) << QString();
        QTest::newRow("letters") << QStringLiteral("12a") << false << qint64(0) << QString();
        QTest::newRow("empty") << QString() << false << qint64(0) << QString();
        QTest::newRow("arabic digits refused") << QStringLiteral("١٢") << false << qint64(0) << QString();
    }
    void money()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, cents);
        QFETCH(QString, shown);
        const auto m = Money::parse(text);
        QCOMPARE(m.has_value(), valid);
        if (valid) {
            QCOMPARE(m->cents(), cents);
            QCOMPARE(m->toString(), shown);
        }
    }

    void moneyArithmeticIsExact()
    {
        Money sum;
        for (int i = 0; i < 1000; ++i)
            sum += *Money::parse(QStringLiteral("0.10"));
        QCOMPARE(sum.toString(), QStringLiteral("100.00"));
        QCOMPARE(Money::fromCents(250).roundedToUnitHalfEven().toString(), QStringLiteral("2.00"));
        QCOMPARE(Money::fromCents(350).roundedToUnitHalfEven().toString(), QStringLiteral("4.00"));
        QCOMPARE(Money::fromCents(351).roundedToUnitHalfEven().toString(), QStringLiteral("4.00"));
        QCOMPARE(Money::fromCents(-250).roundedToUnitHalfEven().toString(), QStringLiteral("-2.00"));
        QCOMPARE(lineAmount(QStringLiteral("1250.50"), 3).toString(), QStringLiteral("3751.50"));
        QCOMPARE(lineAmount(QVariant(), 3).toString(), QStringLiteral("0.00"));
        QCOMPARE(lineAmount(QStringLiteral("10"), QVariant()).toString(), QStringLiteral("0.00"));
    }

    void copyStates_data()
    {
        QTest::addColumn<QVariant>("lec");
        QTest::addColumn<QVariant>("due");
        QTest::addColumn<QVariant>("reserver");
        QTest::addColumn<QVariant>("hold");
        QTest::addColumn<CopyState>("state");
        const QDate today(2026, 12, 8);
        const QVariant none;
        const QVariant reader(QStringLiteral("L1"));
        QTest::newRow("available") << none << none << none << none << CopyState::Available;
        QTest::newRow("blank reader is no reader") << QVariant(QStringLiteral(" ")) << none << none << none << CopyState::Available;
        QTest::newRow("on loan") << reader << QVariant(today) << none << none << CopyState::OnLoan;
        QTest::newRow("overdue") << reader << QVariant(today.addDays(-1)) << none << none << CopyState::Overdue;
        QTest::newRow("on loan and reserved") << reader << QVariant(today.addDays(-3)) << QVariant(QStringLiteral("L2")) << QVariant(today.addDays(5)) << CopyState::OnLoanAndReserved;
        QTest::newRow("held") << none << none << QVariant(QStringLiteral("L2")) << QVariant(today) << CopyState::HeldForReserver;
        QTest::newRow("lapsed") << none << none << QVariant(QStringLiteral("L2")) << QVariant(today.addDays(-1)) << CopyState::ReservationLapsed;
    }
    void copyStates()
    {
        QFETCH(QVariant, lec);
        QFETCH(QVariant, due);
        QFETCH(QVariant, reserver);
        QFETCH(QVariant, hold);
        QFETCH(CopyState, state);
        QCOMPARE(copyState({lec, due, reserver, hold}, QDate(2026, 12, 8)), state);
    }

    void readerStatus()
    {
        QCOMPARE(ReaderStatus::of(QVariant()), 0);
        QCOMPARE(ReaderStatus::text(QVariant(), QVariant()), QStringLiteral("Normal"));
        QVERIFY(ReaderStatus::text(1, QDate(2026, 12, 20)).startsWith(QStringLiteral("Pénalisé jusqu'au ")));
        QCOMPARE(ReaderStatus::text(2, QVariant()), QStringLiteral("Suspendu"));
        QVERIFY(ReaderStatus::text(3, QVariant()).isEmpty());
    }

    void headingTags_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("kind");
        for (auto [tag, kind] : QList<QPair<int, int>>{{600, 1}, {701, 1}, {702, 1}, {601, 2}, {712, 2}, {602, 3}, {722, 3},
                                                         {604, 4}, {730, 4}, {605, 5}, {606, 6}, {607, 7}, {608, 8},
                                                         {610, 9}, {616, 10}, {716, 10}, {200, 0}, {703, 0}})
            QTest::newRow(qPrintable(QString::number(tag))) << tag << kind;
    }
    void headingTags()
    {
        QFETCH(int, tag);
        QFETCH(int, kind);
        QCOMPARE(HeadingKind::kindOfTag(tag), kind);
    }

    void headingKinds()
    {
        QList<int> authors;
        for (int k = 1; k <= 10; ++k)
            if (HeadingKind::isAuthorKind(k))
                authors << k;
        QCOMPARE(authors, (QList<int>{1, 2, 3, 4, 10}));
        QCOMPARE(HeadingKind::subjectTag(6), 606);
        QVERIFY(HeadingKind::authorTags(6).isEmpty());
        QVERIFY(!CopyStatus::countsAsExisting(CopyStatus::Lost));
        QVERIFY(CopyStatus::countsAsExisting(CopyStatus::InterLibrary));
    }

    void titles()
    {
        QCOMPARE(fullTitle({QStringLiteral("Oeuvres"), QStringLiteral("2"), QStringLiteral("Poèmes"), QString(), QStringLiteral("choix")}),
                 QStringLiteral("Oeuvres. 2, Poèmes : choix"));
        QCOMPARE(fullTitle({QString(), QString(), QStringLiteral("Nedjma"), QStringLiteral("نجمة"), QString()}),
                 QStringLiteral("Nedjma = نجمة"));
        QCOMPARE(fullTitle({QString(), QStringLiteral("3"), QString(), QString(), QString()}), QStringLiteral("3"));
        QCOMPARE(shortTitle(QStringLiteral("A"), QStringLiteral(" ")), QStringLiteral("A"));
        QCOMPARE(shortTitle(QStringLiteral("A"), QStringLiteral("B")), QStringLiteral("A : B"));
    }

    void encodings()
    {
        const QString arabic = QStringLiteral("الجزائر، تاريخ");
        QCOMPARE(decodeCp1256(encodeCp1256(arabic)), arabic);
        QCOMPARE(encodeCp1256(QStringLiteral("é")), QByteArray("\xE9"));
        // A character the code page lacks is kept as a reference, not lost.
        QCOMPARE(encodeCp1256(QStringLiteral("ş")), QByteArray("&#351;"));
        QCOMPARE(decodeText(QStringLiteral("Élève").toUtf8()), QStringLiteral("Élève"));
        QCOMPARE(decodeText(encodeCp1256(arabic)), arabic);
        QCOMPARE(htmlEscape(QStringLiteral("L'Harmattan <b>&\"")), QStringLiteral("L&#39;Harmattan &lt;b&gt;&amp;&quot;"));
    }

    void translationFiles()
    {
        TranslationFile f;
        QVERIFY(f.loadFromData(QStringLiteral("; comment\n[FrmLogOn]\nFrmLogOn=فتح الجلسة\nBtnLangue = FR \n"
                                              "garbage line\n[frmmain]\nDBGrid13=Date\n").toUtf8()));
        QCOMPARE(f.caption(QStringLiteral("FrmLogOn"), QStringLiteral("FrmLogOn"), QStringLiteral("x")), QStringLiteral("فتح الجلسة"));
        QCOMPARE(f.caption(QStringLiteral("FRMLOGON"), QStringLiteral("btnlangue"), QStringLiteral("x")), QStringLiteral("FR"));
        QCOMPARE(f.caption(QStringLiteral("FrmMain"), QStringLiteral("DBGrid13"), QStringLiteral("x")), QStringLiteral("Date"));
        QCOMPARE(f.caption(QStringLiteral("FrmMain"), QStringLiteral("Absent"), QStringLiteral("design")), QStringLiteral("design"));
        QVERIFY(!f.contains(QStringLiteral("Nowhere"), QStringLiteral("x")));
        // The same file in Windows-1256 reads the same.
        TranslationFile g;
        QVERIFY(g.loadFromData(encodeCp1256(QStringLiteral("[FrmLogOn]\nFrmLogOn=فتح الجلسة\n"))));
        QCOMPARE(g.caption(QStringLiteral("FrmLogOn"), QStringLiteral("FrmLogOn"), QString()), QStringLiteral("فتح الجلسة"));
        TranslationFile missing;
        QVERIFY(!missing.load(QStringLiteral("/nonexistent/Folian.AR")));
        QVERIFY(!missing.isLoaded());
    }
};

QTEST_GUILESS_MAIN(TstDomain)
#include "tst_domain.moc"
