// The physical inventory screen offscreen, opened from the acquisitions
// launcher: the search by criteria with its count and position, the sort
// asked again of the database, the double click that toggles a copy and
// tells the operator when another workstation changed it first.

#include "acquisitions/inventoryfixture.h"
#include "acquisitions/core/inventorycampaign.h"
#include "acquisitions/core/inventorytexts.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frminventairephysique.h"
#include "support/screens.h"
#include "support/windows.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace folian;
using namespace folian::test;

class TstInventoryScreen : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(3, QStringLiteral("agent.acq"), 5, {Right::AcqTransact});
    }
    void cleanup() { setMessageSink(nullptr); }

    void searchAndToggle_data() { addEngineRows(); }
    void searchAndToggle()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmAcquisition module(data);
        QVERIFY(module.entry(QStringLiteral("BtnInventaire"))->isEnabled());
        module.entry(QStringLiteral("BtnInventaire"))->click();
        auto *screen = qobject_cast<TFrmInventairePhysique *>(module.CurrentScreen());
        QVERIFY(screen);
        auto *search = screen->findChild<QPushButton *>(QStringLiteral("BtnRechercher"));
        QVERIFY(!search->isEnabled());
        screen->findChild<QLineEdit *>(QStringLiteral("COT"))->setText(QStringLiteral("A*"));
        QVERIFY(search->isEnabled());
        screen->findChild<QComboBox *>(QStringLiteral("TRI"))->setCurrentIndex(int(InventorySort::ShelfMark));
        search->click();
        QCOMPARE(screen->countPanel()->text(), inv::copiesCount(4));
        QCOMPARE(screen->positionPanel()->text(), inv::position(1, 4));
        QTableView *grid = screen->grid();
        QCOMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("100"));  // A-001 first
        QCOMPARE(grid->model()->index(0, 0).data().toString(), inv::flagLabel(true));

        // The double click: found becomes not found, shown at once.
        grid->setCurrentIndex(grid->model()->index(0, 0));
        screen->DBInventaireDblClick();
        QCOMPARE(db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = '100'")).toInt(), 0);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), inv::flagLabel(false));
        // Another workstation sets it back meanwhile: nothing written, the row read again, the operator told.
        QVERIFY(db.exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_INVENTORIE = 1 WHERE EXP_ID = '100'")));
        sink.messages.clear();
        screen->DBInventaireDblClick();
        QCOMPARE(db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = '100'")).toInt(), 1);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), inv::flagLabel(true));
        QVERIFY2(sink.messages.join(u'\n').contains(inv::flagChanged(QStringLiteral("100"), true)),
                 qPrintable(sink.messages.join(u'\n')));

        screen->Clear();
        QCOMPARE(screen->countPanel()->text(), inv::searchResult());
        QVERIFY(!search->isEnabled());
    }

    // "Nouvelle campagne" over the criteria of the fields, asked first;
    // "Lire un fichier" marks the numbers of the file chosen and says the counts.
    void campaignAndScannerFile_data() { addEngineRows(); }
    void campaignAndScannerFile()
    {
        FOLIAN_INVENTORY_DB(tdb, db);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmAcquisition module(data);
        module.entry(QStringLiteral("BtnInventaire"))->click();
        auto *screen = qobject_cast<TFrmInventairePhysique *>(module.CurrentScreen());
        QVERIFY(screen);
        screen->findChild<QLineEdit *>(QStringLiteral("COT"))->setText(QStringLiteral("A*"));
        auto *start = screen->findChild<QPushButton *>(QStringLiteral("BtnCampagne"));
        auto *read = screen->findChild<QPushButton *>(QStringLiteral("BtnFichier"));

        // No campaign yet: the file is not asked for.
        read->click();
        QCOMPARE(sink.messages, QStringList{inv::noCampaign()});
        // The operator says no: nothing starts.
        sink.clear();
        sink.answer = false;
        start->click();
        QCOMPARE(sink.questions, QStringList{inv::startQuestion(4)});
        QCOMPARE(latestCampaign(db), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT EXP_INVENTORIE FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = '100'")).toInt(), 1);

        sink.clear();
        sink.answer = true;
        start->click();
        const int campaign = latestCampaign(db);
        QVERIFY(campaign > 0);
        QCOMPARE(sink.messages, QStringList{inv::campaignStarted(campaign, 4)});
        CampaignStatus status = campaignStatus(db, campaign);
        QCOMPARE(status.selection, qint64(4));
        QCOMPARE(status.found, qint64(0));
        // The grid shows the selection reset.
        QCOMPARE(screen->countPanel()->text(), inv::copiesCount(4));
        for (int row = 0; row < 4; ++row)
            QCOMPARE(screen->grid()->model()->index(row, 0).data().toString(), inv::flagLabel(false));

        // Two copies of the selection, one outside it (misplaced) and a number of no copy.
        const QString path = tdb.dir() + QStringLiteral("scan.txt");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("100\r\n12\r\nZZZ\r\n120\r\n");
        }
        sink.clear();
        whenShown<QFileDialog>([path](QFileDialog *d) {
            d->selectFile(path);
            static_cast<QDialog *>(d)->accept();  // the dialog's own accept, reached through its public base
        });
        read->click();
        QCOMPARE(sink.messages, QStringList{inv::scanSummary(3, 1, 0, 1, 0)});
        status = campaignStatus(db, campaign);
        QCOMPARE(status.found, qint64(2));
        QCOMPARE(status.notFound, qint64(2));
        QCOMPARE(status.misplaced, qint64(1));
        QStringList flags;
        for (int row = 0; row < screen->grid()->model()->rowCount(); ++row)
            flags << screen->grid()->model()->index(row, 1).data().toString() + u'='
                    + screen->grid()->model()->index(row, 0).data().toString();
        QCOMPARE(flags, (QStringList{QStringLiteral("100=") + inv::flagLabel(true), QStringLiteral("12=") + inv::flagLabel(true),
                                     QStringLiteral("20=") + inv::flagLabel(false), QStringLiteral("3=") + inv::flagLabel(false)}));
    }
};

QTEST_MAIN(TstInventoryScreen)
#include "tst_inventoryscreen.moc"
