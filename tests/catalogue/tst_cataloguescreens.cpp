// The screens of the printed catalogue and of the union catalogue,
// offscreen on both engines: the generation dialog run to its end and
// stopped, opened from the editions module; the union-catalogue import of a
// partner's file, twice, for two partners, refused without a library or a
// file, and stopped.

#include "admin/widgets/frmadministration.h"
#include "admin/widgets/frmcatalogue.h"
#include "app/widgets/modules.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "catalogue/widgets/frmnoticecatalogue.h"
#include "data/widgets/progresspanel.h"
#include "support/screens.h"
#include "support/session.h"
#include "unimarc/records.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;
using folian::unimarc::test::dataField;
using folian::unimarc::test::recordOf;
using folian::unimarc::test::writeRecords;

namespace {

int count(Database &db, const char *sql, const QVariantList &binds = {})
{
    return db.scalar(QString::fromUtf8(sql), binds).toInt();
}

bool exec(Database &db, const char *sql, const QVariantList &binds = {})
{
    if (db.exec(QString::fromUtf8(sql), binds))
        return true;
    qWarning("%s: %s", sql, qPrintable(db.lastError().text()));
    return false;
}

// Three records by one author, indexed under 3 and 8.
bool fillRecords(Database &db)
{
    return exec(db, "INSERT INTO VEDETTE (VED_ID, TYP_VED_ID, VED_NOM, VED_ID2) VALUES (1, 1, 'Durand, Paul', 1), "
                    "(2, 6, 'Femmes', 2)")
        && exec(db, "INSERT INTO NOTICE (DOC_ID, TYP_ID, STA_ID, LAN_ID, DOC_TITRE_PROPRE) VALUES "
                    "(1, 'a', 1, 'fre', 'Sociologie des femmes'), (2, 'a', 1, 'fre', 'Le Capital'), "
                    "(3, 'b', 1, 'fre', 'La politique')")
        && exec(db, "INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 1, 1), (2, 3, 1, 1)")
        && exec(db, "INSERT INTO NOTICE_MATIERE (NMA_ID, DOC_ID, VED_ID) VALUES (1, 1, 2)")
        && exec(db, "INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (1, 1, '305.4'), (2, 1, '320'), "
                    "(3, 2, '843'), (4, 3, '320.1')");
}

// A partner's file: a book with its copy, a book without one, a serial with
// an issue; then as many books more.
QString partnerFile(const QTemporaryDir &dir, int books = 0)
{
    QList<unimarc::Record> records{
        recordOf({dataField("010", "  ", {{'a', "2-07-036024-8"}}), dataField("200", "1 ", {{'a', "L'Étranger"}}),
                  dataField("995", "  ", {{'f', "P-001"}, {'k', "843 CAM"}})}),
        recordOf({dataField("010", "  ", {{'a', "2070368228"}}), dataField("200", "1 ", {{'a', "La peste"}})}),
        recordOf({dataField("011", "  ", {{'a', "0395-2037"}}), dataField("200", "1 ", {{'a', "Revue d'histoire"}}),
                  dataField("985", "  ", {{'a', "12"}, {'d', "1990"}})},
                 QByteArray("00000nas  2200000   450 "))};
    for (int i = 1; i <= books; ++i)
        records << recordOf({dataField("010", "  ", {{'a', QByteArray::number(2000000000 + i).constData()}}),
                             dataField("200", "1 ", {{'a', "Livre"}})});
    return writeRecords(dir, records, "\r\n", QStringLiteral("partenaire.txt"));
}

} // namespace

class TstCatalogueScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void init()
    {
        freshSession(sink);
        logOn(0, QStringLiteral("admin"), 1);
        setUserDataDirectory(pages.path());
    }
    void cleanup()
    {
        setMessageSink(nullptr);
        setUserDataDirectory(QString());
    }

    // --- Génération du catalogue ------------------------------------------------------

    void generation_data() { addEngineRows(); }
    void generation()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(fillRecords(tdb.db()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmNoticeCatalogue dialog(data);
        dialog.show();
        QVERIFY(dialog.generateButton()->isVisible());
        QVERIFY(!dialog.progress()->isVisible());
        // The lists offer every type and language after a blank first entry.
        QCOMPARE(dialog.typeList()->itemData(0), QVariant());
        QVERIFY(dialog.typeList()->findData(QStringLiteral("b")) > 0);
        QVERIFY(dialog.languageList()->findData(QStringLiteral("ara")) > 0);

        dialog.classification()->setText(QStringLiteral("3*"));
        dialog.analytic()->setChecked(true);
        const CatalogueOptions o = dialog.options();
        QCOMPARE(o.classification, QStringLiteral("3*"));
        QVERIFY(o.analytic);
        QVERIFY(o.type.isEmpty() && o.language.isEmpty());

        // While it runs, "Générer" is hidden and "Fermer" disabled; Escape does not close it.
        bool generateShown = true, closeEnabled = true, closedByEscape = false;
        QTimer::singleShot(0, &dialog, [&] {
            generateShown = dialog.generateButton()->isVisible();
            closeEnabled = dialog.closeButton()->isEnabled();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            closedByEscape = !dialog.isVisible();
        });
        dialog.BtnGenererClick();
        QVERIFY(!generateShown);
        QVERIFY(!closeEnabled);
        QVERIFY(!closedByEscape);
        QCOMPARE(dialog.lastResult().status, CatalogueResult::Status::Completed);
        QCOMPARE(dialog.lastResult().entries, 3);  // 305.4 and 320 for the first record, 320.1
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Génération du catalogue terminé.")),
                 qPrintable(sink.messages.first()));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));  // the screen closes
        for (const QString &name : cataloguePages())
            QVERIFY2(QFile::exists(reportPath(name)), qPrintable(name));

        // Stopped by its button: "Génération du catalogue interrompue."
        sink.clear();
        TFrmNoticeCatalogue again(data);
        again.show();
        QTimer::singleShot(0, &again, [&] { again.progress()->stopButton()->click(); });
        QTest::keyClick(again.classification(), Qt::Key_Return);  // Return in the options generates
        QCOMPARE(again.lastResult().status, CatalogueResult::Status::Stopped);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().startsWith(QStringLiteral("Génération du catalogue interrompue.")));
        QFile page(reportPath(QStringLiteral("catalogue.html")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().endsWith("</body></html>\n"));
    }

    // The editions module opens it from "Génération...", for those with the right.
    void editionEntry_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("catalogueEditions");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("administrator") << 1 << false << true;
        QTest::newRow("head of cataloguing") << 3 << false << true;
        QTest::newRow("right of catalogue editions") << 0 << true << true;
        QTest::newRow("head of circulation") << 4 << false << false;
    }
    void editionEntry()
    {
        QFETCH(int, role);
        QFETCH(bool, catalogueEditions);
        QFETCH(bool, enabled);
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserRole = role;
        session().setRight(Right::CatEdition, catalogueEditions);
        std::unique_ptr<TFrmModule> module(createModuleFrame(Module::Edition, data));
        module->show();
        QAbstractButton *entry = module->entry(QStringLiteral("BtnGeneration"));
        QVERIFY(entry);
        QCOMPARE(entry->isEnabled(), enabled);
        if (!enabled)
            return;
        QString opened;
        QTimer::singleShot(0, module.get(), [&] {
            if (QWidget *w = QApplication::activeModalWidget()) {
                opened = w->objectName();
                w->close();
            }
        });
        QVERIFY(module->trigger(QStringLiteral("BtnGeneration")));
        QCOMPARE(opened, QStringLiteral("FrmNoticeCatalogue"));
        QCOMPARE(module->title(), QStringLiteral("Editions - Génération catalogue"));
    }

    // --- Catalogue Collectif --------------------------------------------------------------

    void unionCatalogue_data() { addEngineRows(); }
    void unionCatalogue()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        // Two libraries of one name under different bodies; our own copies
        // numbered as the partners' unnumbered copies once were (the record's number).
        QVERIFY(exec(db, "INSERT INTO BIBLIOTHEQUE (BIB_ID, BIB_NOM, BIB_TUTELLE) VALUES "
                         "(5, 'Bibliothèque centrale', 'Université d''Alger'), (6, 'Bibliothèque centrale', "
                         "'Université d''Oran'), (7, 'Annexe', NULL)"));
        QVERIFY(exec(db, "INSERT INTO NOTICE (DOC_ID, TYP_ID, STA_ID, DOC_TITRE_PROPRE, BIB_ID) VALUES (1, 'a', 1, 'Ici', 0)"));
        QVERIFY(exec(db, "INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, BIB_ID, STA_EXP_ID) VALUES "
                         "('2', 1, 0, 2), ('3', 1, 0, 2), ('4', 1, 0, 2)"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        const QString file = partnerFile(dir);

        TFrmCatalogue screen(data);
        screen.show();
        QComboBox *libraries = screen.libraryList();
        QCOMPARE(libraries->count(), 3);
        QCOMPARE(libraries->currentIndex(), -1);
        QCOMPARE(libraries->itemText(0), QStringLiteral("Annexe"));
        QCOMPARE(libraries->itemText(1), QStringLiteral("Bibliothèque centrale (Université d'Alger)"));
        QCOMPARE(libraries->itemText(2), QStringLiteral("Bibliothèque centrale (Université d'Oran)"));
        QVERIFY(!screen.duplicateCheck()->isVisible());
        QVERIFY(!screen.findChild<QPushButton *>(QStringLiteral("BtnIntegrer"))->isVisible());

        // Nothing happens without a library, nor without the file; the operator is told.
        screen.fileField()->setText(file);
        screen.importButton()->click();
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().startsWith(QStringLiteral("Choisissez la bibliothèque")));
        QVERIFY(screen.chooseLibrary(5));
        screen.fileField()->setText(dir.filePath(QStringLiteral("absent.txt")));
        screen.importButton()->click();
        QCOMPARE(sink.messages.size(), 2);
        QVERIFY(sink.messages.last().contains(QStringLiteral("absent.txt")));
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE"), 1);

        // The partner's records, each with its copies and issues in its name.
        sink.clear();
        screen.fileField()->setText(file);
        screen.importButton()->click();
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Importation terminé.\n3 notices lues, 3 importées, 0 doubles, 0 rejetées.")),
                 qPrintable(sink.messages.first()));
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE WHERE BIB_ID = 5"), 3);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE BIB_ID = 5"), 3);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BIB_ID = 5"), 1);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE EXP_ID = 'P-001' AND BIB_ID = 5 AND EXP_COTE = '843 CAM'"), 1);
        // A copy without a number is numbered after its record and its library:
        // never the number of one of our copies.
        const int peste = count(db, "SELECT DOC_ID FROM NOTICE WHERE DOC_TITRE_PROPRE = 'La peste'");
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = ? AND BIB_ID = 5 AND EXP_ID = ?",
                       {peste, QStringLiteral("%1-5").arg(peste)}),
                 1);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE BIB_ID = 0"), 3);
        QCOMPARE(screen.logList()->count(), 0);

        // The same file again: attached to the records, nothing written twice.
        sink.clear();
        screen.importButton()->click();
        QVERIFY2(sink.messages.value(0).startsWith(QStringLiteral(
                     "Importation terminé.\n3 notices lues, 3 importées, dont 3 rattachées à une notice existante, 0 doubles, 0 rejetées.")),
                 qPrintable(sink.messages.value(0)));
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE"), 4);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE"), 6);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_BULLETIN"), 1);
        QCOMPARE(screen.logList()->count(), 0);

        // Another partner holding the same records: its own issue and copies,
        // refused only where its copy number is already taken.
        sink.clear();
        QVERIFY(screen.chooseLibrary(6));
        screen.importButton()->click();
        QVERIFY2(sink.messages.value(0).contains(QStringLiteral("dont 3 rattachées")), qPrintable(sink.messages.value(0)));
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE"), 4);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE BIB_ID = 6"), 2);
        QCOMPARE(count(db, "SELECT COUNT(*) FROM NOTICE_BULLETIN WHERE BIB_ID = 6"), 1);
        QCOMPARE(screen.logList()->count(), 1);
        QVERIFY2(screen.logList()->item(0)->text().contains(QStringLiteral("P-001")), qPrintable(screen.logList()->item(0)->text()));
    }

    void unionCatalogueStop_data() { addEngineRows(); }
    void unionCatalogueStop()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(exec(tdb.db(), "INSERT INTO BIBLIOTHEQUE (BIB_ID, BIB_NOM, BIB_TUTELLE) VALUES (5, 'Annexe', 'Ville')"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        TFrmCatalogue screen(data);
        screen.show();
        QVERIFY(screen.chooseLibrary(5));
        screen.fileField()->setText(partnerFile(dir, 20));
        QTimer::singleShot(0, &screen, [&] { screen.progress()->stopButton()->click(); });
        screen.importButton()->click();
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().startsWith(QStringLiteral("Importation interrompue.\n1 notices lues, 1 importées")),
                 qPrintable(sink.messages.first()));
        QCOMPARE(count(tdb.db(), "SELECT COUNT(*) FROM NOTICE WHERE BIB_ID = 5"), 1);
        QVERIFY(!screen.running());
    }

    // A partner's record longer than 10,000 bytes is read whole.
    void unionCatalogueLongRecord()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        QVERIFY(exec(tdb.db(), "INSERT INTO BIBLIOTHEQUE (BIB_ID, BIB_NOM, BIB_TUTELLE) VALUES (5, 'Annexe', 'Ville')"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QTemporaryDir dir;
        // Four notes of 7,800 bytes: a field holds at most 9,999.
        const QByteArray note = QByteArray("Note longue. ").repeated(600);
        QList<unimarc::Field> fields{dataField("200", "1 ", {{'a', "Rapport"}})};
        for (int i = 0; i < 4; ++i)
            fields << dataField("300", "  ", {{'a', note.constData()}});
        const QByteArray bytes = unimarc::test::bytesOf(recordOf(fields));
        QVERIFY(bytes.size() > 30000);
        const QString path = dir.filePath(QStringLiteral("long.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        TFrmCatalogue screen(data);
        QVERIFY(screen.chooseLibrary(5));
        screen.fileField()->setText(path);
        screen.importButton()->click();
        // The notes one after the other, each on a line of its own.
        QCOMPARE(count(tdb.db(), "SELECT LENGTH(DOC_NOTE) FROM NOTICE WHERE BIB_ID = 5"), 4 * int(note.trimmed().size()) + 3 * 2);
    }

    // "Constitution" hosts the screen in the administration module.
    void administrationEntry()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmAdministration module(data);
        module.show();
        QVERIFY(module.trigger(QStringLiteral("BtnConstitution")));
        QVERIFY(qobject_cast<TFrmCatalogue *>(module.CurrentScreen()));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmCatalogue"));
        QCOMPARE(module.title(), QStringLiteral("Administration - Catalogue Collectif"));
    }
};

QTEST_MAIN(TstCatalogueScreens)
#include "tst_cataloguescreens.moc"
