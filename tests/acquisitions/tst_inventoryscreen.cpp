// The physical inventory screen offscreen, opened from the acquisitions
// launcher: the search by criteria with its count and position, the sort
// asked again of the database, the double click that toggles a copy and
// tells the operator when another workstation changed it first.

#include "acquisitions/inventoryfixture.h"
#include "acquisitions/core/inventorytexts.h"
#include "acquisitions/widgets/frmacquisition.h"
#include "acquisitions/widgets/frminventairephysique.h"
#include "support/screens.h"

#include <QComboBox>
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
};

QTEST_MAIN(TstInventoryScreen)
#include "tst_inventoryscreen.moc"
