// The "Sauvegarde" screen as an operator uses it, on both engines: a backup
// listed with what it holds, a restore that asks first ("Non" by default,
// nothing done on "Non") and keeps what it replaces.

#include "admin/core/backup.h"
#include "admin/widgets/frmsauvegarde.h"
#include "base/messages.h"
#include "base/session.h"
#include "support/testdb.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstBackupScreen : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("admin");
        session().CurrentUserRole = 1;
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void backupThenRestore_data() { addEngineRows(); }
    void backupThenRestore()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID) VALUES (1, 'a', 'Un', 1)")));
        QTemporaryDir dir;
        TFrmSauvegarde screen(db);
        screen.directoryField()->setText(dir.path());
        screen.Actualiser();
        auto *restore = screen.findChild<QPushButton *>(QStringLiteral("BtnRestaurer"));
        QCOMPARE(screen.grid()->rowCount(), 0);
        QVERIFY(!restore->isEnabled());

        screen.findChild<QPushButton *>(QStringLiteral("BtnSauvegarder"))->click();
        QCOMPARE(sink.kinds.value(0), MessageKind::Information);
        QCOMPARE(screen.grid()->rowCount(), 1);
        QCOMPARE(screen.grid()->item(0, 2)->text(), QStringLiteral("1"));  // its records

        // Something changes after the backup; the restore brings the backup's state back.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, TYP_ID, DOC_TITRE_PROPRE, STA_ID) VALUES (2, 'a', 'Deux', 1)")));
        screen.grid()->selectRow(0);
        QVERIFY(restore->isEnabled());
        sink.clear();
        sink.answer = false;
        restore->click();
        QCOMPARE(sink.questions.size(), 1);
        QCOMPARE(sink.yesByDefault.value(0), false);
        QCOMPARE(screen.grid()->rowCount(), 1);
        QCOMPARE(CountHoldings(db).records, 2);

        sink.clear();
        sink.answer = true;
        screen.grid()->selectRow(0);
        restore->click();
        QVERIFY2(sink.kinds.value(0) == MessageKind::Information, qPrintable(sink.messages.join(u'\n')));
        QVERIFY(sink.messages.value(0).contains(QStringLiteral("Restauration terminée")));
        // The screen's connection reads the restored content.
        QCOMPARE(CountHoldings(db).records, 1);
        // What was replaced is kept, listed beside the backup.
        QCOMPARE(screen.grid()->rowCount(), 2);
        QCOMPARE(screen.grid()->item(0, 2)->text(), QStringLiteral("2"));
    }
};

QTEST_MAIN(TstBackupScreen)
#include "tst_backupscreen.moc"
