// The record search as an operator uses it, offscreen, on both engines,
// through the cataloguing module: criteria typed and chosen, the count,
// the sort, the basket, the list page, the export read back, deletion with
// the refusals told, "Modifier" by rights and the record form opened on the
// chosen record, the copy list, and "Arréter".

#include "base/cp1256.h"
#include "base/messages.h"
#include "base/outputdir.h"
#include "base/rights.h"
#include "base/session.h"
#include "catalogue/unimarc/splitter.h"
#include "catalogue/unimarc/reader.h"
#include "catalogue/unimarc/widgets/frmnoticepreview.h"
#include "catalogue/unimarc/widgets/frmnoticeview.h"
#include "data/core/searchcolumns.h"
#include "catalogue/widgets/frmcatalogage.h"
#include "catalogue/widgets/frmexemplaireliste.h"
#include "catalogue/widgets/frmnotice.h"
#include "catalogue/widgets/frmnoticesearch.h"
#include "catalogue/widgets/noticebasket.h"
#include "catalogue/widgets/noticesearchcriteria.h"
#include "data/widgets/progresspanel.h"
#include "formdriver.h"
#include "recordfixture.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "searchrecords.h"
#include "support/windows.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>

using namespace folian;
using namespace folian::test;

namespace {

SearchRecord record(int id, const QString &title, const char *type, const char *year, int status, const char *creator)
{
    SearchRecord r;
    r.id = id;
    r.title = title;
    r.type = QLatin1String(type);
    r.year = QLatin1String(year);
    r.status = status;
    r.creator = QLatin1String(creator);
    return r;
}

// Four records with "petit" or not, of types a, b, c, created by the agent
// or another; the first with its author, index and copy; the headings with
// their keywords.
bool addCatalogue(RecordFixture &fx, QString *why)
{
    Database &db = fx.tdb.db();
    SearchRecord prince = record(1, QStringLiteral("Le petit prince"), "a", "1946", 1, "agent.cat");
    prince.isbn = QStringLiteral("207036822X");
    prince.complement = QStringLiteral("conte");
    if (!addRecords(db,
                    {prince, record(2, QStringLiteral("Les petits chevaux"), "b", "1970", 2, "autre"),
                     record(3, QStringLiteral("Petit traité d'histoire"), "c", "2001", 1, "agent.cat"),
                     record(4, QStringLiteral("Contes du Maghreb"), "a", "1990", 1, "autre")},
                    why))
        return false;
    // The headings of the fixture get their keywords and search columns.
    if (!refreshSearchColumns(db, nullptr, why))
        return false;
    return db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, 1, 1)"))
        && db.exec(QStringLiteral("INSERT INTO NOTICE_CLASSIFICATION (NCL_ID, DOC_ID, CLA_ID) VALUES (1, 1, '843')"))
        && db.exec(QStringLiteral("INSERT INTO NOTICE_EXEMPLAIRE (EXP_ID, DOC_ID, EXP_COTE) VALUES "
                                  "('E001', 1, '843 FER'), ('E002', 2, '900 ROB'), ('E003', 4, '843 DIB')"));
}

QString cell(QTableView *grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }

QStringList titles(QTableView *grid)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << cell(grid, r, 2);
    return out;
}

QString readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? decodeCp1256(f.readAll()) : QString();
}

// The records of an exchange file, by their title (field 200 $a).
QStringList exportedTitles(const QString &path)
{
    QStringList out;
    unimarc::RecordSplitter splitter(path);
    unimarc::RawRecord raw;
    while (splitter.next(raw)) {
        const unimarc::ParseResult p = unimarc::parseRecord(raw);
        if (!p.ok())
            return {QStringLiteral("unreadable: ") + p.reason()};
        out << p.record.value("200", 'a');
    }
    return out;
}

QList<TFrmHTMLPreview *> previews() { return shownWindows<TFrmHTMLPreview>(); }
void closePreviews() { closeWindows<TFrmHTMLPreview>(); }

} // namespace

class TstRecordSearchScreen : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

    using Fill = std::function<bool(RecordFixture &, QString *)>;
    using Drive = std::function<void(RecordFixture &, TFrmCatalogage &, TFrmNoticeSearch *)>;

    // The search opened through the cataloguing module, as the operator
    // agent.cat with `role` and `rights` opens it, on a database of the
    // test's engine that `fill` wrote; then `drive` on it.
    static void onSearch(const Fill &fill, int role, const QList<Right> &rights, const Drive &drive)
    {
        QFETCH(QString, engine);
        FOLIAN_RECORD_FIXTURE(fx, tdb, engine);
        QString why;
        QVERIFY2(fill(fx, &why), qPrintable(why));
        fx.logOn(role, rights);
        TFrmCatalogage module(fx.data);
        module.resize(1200, 800);
        module.show();
        module.start();
        TFrmNoticeSearch *s = module.recordSearch();
        QVERIFY(s);
        drive(fx, module, s);
    }
    // The same on the four records of addCatalogue().
    static void onSearch(int role, const QList<Right> &rights, const Drive &drive)
    {
        onSearch(addCatalogue, role, rights, drive);
    }

    static void search(TFrmNoticeSearch *s, const QString &titleWords)
    {
        typeInto(s, QStringLiteral("TIT"), titleWords);
        click(s, QStringLiteral("BtnSearch"));
    }

private slots:
    void initTestCase()
    {
        setMessageSink(&sink);
        setUserDataDirectory(pages.path());
    }
    void init()
    {
        sink.clear();
        sink.answer = true;
        session().setLanguage(QStringLiteral("FR"));
    }

    // Criteria typed, chosen and picked; the count; Return searches; the
    // year checked; "Initialiser" empties it all.
    void criteria_data() { addEngineRows(); }
    void criteria()
    {
        onSearch(1, {}, [&](RecordFixture &fx, TFrmCatalogage &module, TFrmNoticeSearch *s) {
            QCOMPARE(module.title(), QStringLiteral("Catalogage - Recherche"));
            QCOMPARE(s->countText(), QStringLiteral(" Résultat de recherche"));
            QVERIFY(!child<QPushButton>(s, QStringLiteral("BtnSearch"))->isEnabled());

            search(s, QStringLiteral("petit*"));
            QCOMPARE(s->countText(), QStringLiteral(" 3 notice(s) trouvé(s)"));
            QTableView *grid = s->grid();
            QCOMPARE(grid->model()->rowCount(), 3);
            QCOMPARE(cell(grid, 0, 1), QStringLiteral("207036822X"));
            QCOMPARE(cell(grid, 0, 2), QStringLiteral("Le petit prince : conte"));
            QCOMPARE(cell(grid, 0, 3), QStringLiteral("Feraoun, Mouloud"));
            QCOMPARE(cell(grid, 0, 4), QStringLiteral("1946"));
            QCOMPARE(cell(grid, 1, 5), QStringLiteral("Créée par les acquisitions"));
            QVERIFY(!grid->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());

            // The second status of the list, a number typed with hyphens, Return in a field.
            QVERIFY(chooseIn(s, QStringLiteral("STA"), 2));
            click(s, QStringLiteral("BtnSearch"));
            QCOMPARE(titles(grid), QStringList{QStringLiteral("Les petits chevaux")});
            click(s, QStringLiteral("BtnClear"));
            QCOMPARE(s->countText(), QStringLiteral(" Résultat de recherche"));
            QCOMPARE(grid->model()->rowCount(), 0);
            QVERIFY(child<QLineEdit>(s, QStringLiteral("TIT"))->text().isEmpty());
            typeInto(s, QStringLiteral("NUM"), QStringLiteral("2-07-036822-x"));
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QVERIFY(module.Keyboard(child<QLineEdit>(s, QStringLiteral("NUM")), &enter));
            QCOMPARE(s->countText(), QStringLiteral(" 1 notice(s) trouvé(s)"));

            // The author through the heading list, on a rejected form of the heading.
            click(s, QStringLiteral("BtnClear"));
            {
                Pickers pickers;
                pickers.push(fx.rejectedAuthor, fx.author, QStringLiteral("Ferraoun, M."));
                typeInto(s, QStringLiteral("AUT"), QStringLiteral("Ferr*"));
                click(s, QStringLiteral("BtnAUT"));
                QCOMPARE(pickers.requests.size(), 1);
                QCOMPARE(pickers.requests.first().mode, 3);
                QCOMPARE(pickers.requests.first().text, QStringLiteral("Ferr*"));
                pickers.push(fx.classIndex, {}, QStringLiteral("Roman d'expression française"));
                click(s, QStringLiteral("BtnCLA"));
                QCOMPARE(pickers.requests.last().list, PickList::Classification);
            }
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("AUT"))->text(), QStringLiteral("Ferraoun, M."));
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("CLA"))->text(), QStringLiteral("843"));
            click(s, QStringLiteral("BtnSearch"));
            QCOMPARE(titles(grid), QStringList{QStringLiteral("Le petit prince : conte")});

            // A year that is not one: told, nothing searched.
            click(s, QStringLiteral("BtnClear"));
            typeInto(s, QStringLiteral("DAT"), QStringLiteral("19a0"));
            click(s, QStringLiteral("BtnSearch"));
            QCOMPARE(sink.messages.last(), QStringLiteral("L'année doit être un nombre."));
            typeInto(s, QStringLiteral("DAT"), QStringLiteral("1970"));
            child<QComboBox>(s, QStringLiteral("DAT_OPR"))->setCurrentText(QStringLiteral(">="));
            click(s, QStringLiteral("BtnSearch"));
            QCOMPARE(s->countText(), QStringLiteral(" 3 notice(s) trouvé(s)"));
        });
    }

    // TRI re-sorts the open result; the criteria stay those of the search.
    void sort_data() { addEngineRows(); }
    void sort()
    {
        onSearch(1, {}, [&](RecordFixture &, TFrmCatalogage &, TFrmNoticeSearch *s) {
            search(s, QStringLiteral("petit*"));
            typeInto(s, QStringLiteral("TIT"), QStringLiteral("contes"));  // typed, not searched
            auto *sort = child<QComboBox>(s, QStringLiteral("TRI"));
            const QStringList byTitle{QStringLiteral("Le petit prince : conte"), QStringLiteral("Les petits chevaux"),
                                      QStringLiteral("Petit traité d'histoire")};
            sort->setCurrentIndex(1);
            emit sort->activated(1);
            QCOMPARE(titles(s->grid()), byTitle);
            sort->setCurrentIndex(2);
            emit sort->activated(2);
            QCOMPARE(titles(s->grid()), (QStringList{byTitle.at(2), byTitle.at(1), byTitle.at(0)}));
            QCOMPARE(s->countText(), QStringLiteral(" 3 notice(s) trouvé(s)"));
        });
    }

    // The basket: each record once, the selection or the current record,
    // the whole result; rows removed; its captions.
    void basket_data() { addEngineRows(); }
    void basket()
    {
        onSearch(1, {}, [&](RecordFixture &, TFrmCatalogage &, TFrmNoticeSearch *s) {
            NoticeBasketPage *basket = s->basketPage();
            QCOMPARE(basket->captionText(), QStringLiteral(" Liste des notice(s) sélectionné(s)"));
            search(s, QStringLiteral("petit*"));
            s->grid()->selectRow(1);
            click(s, QStringLiteral("BtnAdd"));
            click(s, QStringLiteral("BtnAdd"));
            QCOMPARE(basket->basket().ids(), QList<int>{2});
            QCOMPARE(basket->captionText(), QStringLiteral(" 1 notice(s) sélectionné(s)"));
            s->grid()->selectAll();
            click(s, QStringLiteral("BtnAdd"));
            QCOMPARE(basket->basket().ids(), (QList<int>{2, 1, 3}));
            QCOMPARE(basket->list()->model()->index(1, 1).data().toString(), QStringLiteral("Le petit prince : conte"));
            s->pages()->setCurrentWidget(basket);
            basket->list()->setCurrentIndex(basket->list()->model()->index(0, 0));
            click(s, QStringLiteral("BtnBasketDelete"));
            QCOMPARE(basket->basket().ids(), (QList<int>{1, 3}));
            click(s, QStringLiteral("BtnBasketClear"));
            QCOMPARE(basket->captionText(), QStringLiteral(" Liste des notice(s) sélectionné(s)"));
            QVERIFY(!child<QPushButton>(s, QStringLiteral("BtnBasketClear"))->isEnabled());
            QVERIFY(!child<QPushButton>(s, QStringLiteral("BtnExport"))->isEnabled());  // the basket page is shown
            click(s, QStringLiteral("BtnAddAll"));
            QCOMPARE(basket->basket().ids(), (QList<int>{1, 2, 3}));
            QVERIFY(child<QPushButton>(s, QStringLiteral("BtnExport"))->isEnabled());
            session().setLanguage(QStringLiteral("AR"));
            click(s, QStringLiteral("BtnAdd"));
            QCOMPARE(basket->captionText(), QStringLiteral(" 3 بطاقة منتقات"));
        });
    }

    // "Imprimer" writes liste.html and previews it; "Exporter" writes the
    // records into the file chosen, which reads back; both take the page shown.
    void printAndExport_data() { addEngineRows(); }
    void printAndExport()
    {
        onSearch(1, {}, [&](RecordFixture &fx, TFrmCatalogage &, TFrmNoticeSearch *s) {
            search(s, QStringLiteral("petit*"));
            s->grid()->selectRow(1);
            closePreviews();
            click(s, QStringLiteral("BtnPrint"));
            const QString page = reportPath(QStringLiteral("liste.html"));
            QCOMPARE(previews().size(), 1);
            QCOMPARE(previews().first()->file(), page);
            QCOMPARE(child<QLabel>(previews().first(), QStringLiteral("LblTitle"))->text(), QStringLiteral(" Liste des notices"));
            QString html = readFile(page);
            QVERIFY(html.contains(QStringLiteral("d&#39;histoire")));  // escaped
            QVERIFY(html.contains(QStringLiteral("843 FER")));
            closePreviews();
            QCOMPARE(fx.data.QNotice->value(QStringLiteral("DOC_ID")).toInt(), 2);  // the grid stays where it was

            const QString file = QDir(pages.path()).filePath(QStringLiteral("export d'essai.txt"));
            QFile::remove(file);  // the save dialog would ask before replacing it
            ModalHandler save([&](QDialog *d) {
                auto *fd = qobject_cast<QFileDialog *>(d);
                QVERIFY(fd);
                fd->selectFile(file);
                static_cast<QDialog *>(fd)->accept();
            });
            click(s, QStringLiteral("BtnExport"));
            QCOMPARE(save.handled, 1);
            QVERIFY2(sink.messages.last().startsWith(QStringLiteral("Exportation terminé.")), qPrintable(sink.messages.last()));
            QCOMPARE(exportedTitles(file), (QStringList{QStringLiteral("Le petit prince"), QStringLiteral("Les petits chevaux"),
                                                        QStringLiteral("Petit traité d'histoire")}));
            QCOMPARE(fx.data.QNotice->value(QStringLiteral("DOC_ID")).toInt(), 2);

            // The basket's page: its records only.
            click(s, QStringLiteral("BtnAdd"));
            s->pages()->setCurrentWidget(s->basketPage());
            click(s, QStringLiteral("BtnPrint"));
            html = readFile(page);
            QVERIFY(html.contains(QStringLiteral("Les petits chevaux")));
            QVERIFY(!html.contains(QStringLiteral("Le petit prince")));
            closePreviews();
            QVERIFY(s->exportTo(file));
            QCOMPARE(exportedTitles(file), QStringList{QStringLiteral("Les petits chevaux")});
        });
    }

    // A cataloguer deletes only his own records, and is told which were
    // not deleted and why; "Modifier" needs a type he may catalogue.
    void deleteAndEditRights_data() { addEngineRows(); }
    void deleteAndEditRights()
    {
        onSearch(6, {Right::CatNotice}, [&](RecordFixture &fx, TFrmCatalogage &, TFrmNoticeSearch *s) {
            search(s, QStringLiteral("petit*"));
            auto *edit = child<QPushButton>(s, QStringLiteral("BtnEdit"));
            auto *remove = child<QPushButton>(s, QStringLiteral("BtnDelete"));
            s->grid()->selectRow(2);  // type c, his own
            QVERIFY(!edit->isEnabled());
            QVERIFY(remove->isEnabled());
            s->grid()->selectRow(1);  // type b, another's
            QVERIFY(edit->isEnabled());
            QVERIFY(!remove->isEnabled());
            s->grid()->selectionModel()->select(s->grid()->model()->index(0, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
            QCOMPARE(s->chosenIds(), (QList<int>{1, 2}));
            QVERIFY(remove->isEnabled());
            click(s, QStringLiteral("BtnDelete"));
            QCOMPARE(sink.questions.last(), QStringLiteral("Supprimer les notices ?"));
            QVERIFY2(sink.messages.last().contains(QStringLiteral("\n2 : ")), qPrintable(sink.messages.join(u'|')));
            QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID IN (1, 2)").toInt(), 1);
            QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE_EXEMPLAIRE WHERE DOC_ID = 1").toInt(), 0);
            QCOMPARE(s->countText(), QStringLiteral(" 2 notice(s) trouvé(s)"));
            QCOMPARE(titles(s->grid()), (QStringList{QStringLiteral("Les petits chevaux"), QStringLiteral("Petit traité d'histoire")}));
            // "Non" deletes nothing.
            sink.answer = false;
            s->grid()->selectRow(1);
            click(s, QStringLiteral("BtnDelete"));
            QCOMPARE(fx.scalar("SELECT COUNT(*) FROM NOTICE WHERE DOC_ID = 3").toInt(), 1);
        });
    }

    // "Modifier" and a double click open the record form on the chosen
    // record; its end brings the search back with the result and the row
    // read again.
    void editFromTheSearch_data() { addEngineRows(); }
    void editFromTheSearch()
    {
        onSearch(3, {}, [&](RecordFixture &fx, TFrmCatalogage &module, TFrmNoticeSearch *s) {
            search(s, QStringLiteral("petit*"));
            s->grid()->selectRow(1);
            // "Aperçu": the preview window on the record chosen.
            click(s, QStringLiteral("BtnPreview"));
            const QList<TFrmNoticePreview *> shown = shownWindows<TFrmNoticePreview>();
            TFrmNoticePreview *preview = shown.isEmpty() ? nullptr : shown.last();
            QVERIFY(preview);
            QCOMPARE(preview->view()->docId(), 2);
            QVERIFY(preview->view()->fragment().contains(QStringLiteral("Les petits chevaux")));
            preview->close();
            click(s, QStringLiteral("BtnEdit"));
            TFrmNotice *form = module.recordForm();
            QVERIFY(form);
            QCOMPARE(module.title(), QStringLiteral("Catalogage - Notice bibliographique"));
            QCOMPARE(child<QLineEdit>(form, QStringLiteral("DOC_TITRE_PROPRE"))->text(), QStringLiteral("Les petits chevaux"));
            typeInto(form, QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Les petits chevaux blancs"));
            click(form, QStringLiteral("BtnPost"));
            QTRY_COMPARE(module.recordSearch(), s);
            QCOMPARE(module.title(), QStringLiteral("Catalogage - Recherche"));
            QCOMPARE(s->countText(), QStringLiteral(" 3 notice(s) trouvé(s)"));
            QCOMPARE(cell(s->grid(), 1, 2), QStringLiteral("Les petits chevaux blancs"));
            QCOMPARE(s->chosenIds(), QList<int>{2});

            // A double click on another row; "Annuler" comes back too.
            QTableView *grid = s->grid();
            const QRect r = grid->visualRect(grid->model()->index(2, 2));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
            form = module.recordForm();
            QVERIFY(form);
            QCOMPARE(fx.data.QNotice->value(QStringLiteral("DOC_ID")).toInt(), 3);
            click(form, QStringLiteral("BtnCancel"));
            QTRY_COMPARE(module.recordSearch(), s);
            QCOMPARE(titles(grid).size(), 3);
            // Another entry of the module frees the search kept meanwhile.
            QPointer<TFrmNoticeSearch> kept = s;
            click(s, QStringLiteral("BtnEdit"));
            QVERIFY(module.trigger(QStringLiteral("BtnNouvelleNotice")));
            QTRY_VERIFY(!kept);
            QVERIFY(module.recordForm());
        });
    }

    // The shelf-mark and copy-number buttons open the copy list; "Choisir"
    // writes the choice, Escape leaves the criterion as it was.
    void copyList_data() { addEngineRows(); }
    void copyList()
    {
        onSearch(1, {}, [&](RecordFixture &, TFrmCatalogage &, TFrmNoticeSearch *s) {
            typeInto(s, QStringLiteral("COT"), QStringLiteral("843*"));
            int listed = 0;
            ModalHandler choose([&](QDialog *d) {
                auto *list = qobject_cast<TFrmExemplaireListe *>(d);
                QVERIFY(list);
                QCOMPARE(list->windowTitle(), QStringLiteral("Liste des exemplaires"));
                listed = list->grid()->model()->rowCount();
                list->grid()->selectRow(1);
                click(list, QStringLiteral("BtnSelect"));
            });
            click(s, QStringLiteral("BtnCOT"));
            QCOMPARE(listed, 2);
            QCOMPARE(child<QLineEdit>(s, QStringLiteral("COT"))->text(), QStringLiteral("843 FER"));
            ModalHandler escape([&](QDialog *d) {
                listed = qobject_cast<TFrmExemplaireListe *>(d)->grid()->model()->rowCount();
                QTest::keyClick(d, Qt::Key_Escape);
            });
            click(s, QStringLiteral("BtnEXP"));
            QCOMPARE(listed, 3);  // an empty criterion lists every copy
            QVERIFY(child<QLineEdit>(s, QStringLiteral("EXP"))->text().isEmpty());
            click(s, QStringLiteral("BtnSearch"));
            QCOMPARE(titles(s->grid()), QStringList{QStringLiteral("Le petit prince : conte")});
        });
    }

    // "Arréter" stops "Tout mettre dans le panier", the list and the export
    // midway; every button comes back.
    void stop_data() { addEngineRows(); }
    void stop()
    {
        const Fill series = [](RecordFixture &fx, QString *why) {
            return addRecords(fx.tdb.db(), numberedRecords(1, 1200), why);
        };
        onSearch(series, 1, {}, [&](RecordFixture &fx, TFrmCatalogage &, TFrmNoticeSearch *s) {
            search(s, QStringLiteral("série"));
            QCOMPARE(s->countText(), QStringLiteral(" 1200 notice(s) trouvé(s)"));
            QVERIFY(fx.data.QNotice->rowCount() < 1200);  // read in pages
            auto stopSoon = [s] {
                QTimer::singleShot(0, s, [s] {
                    QVERIFY(s->isRunning());
                    QVERIFY(!child<QPushButton>(s, QStringLiteral("BtnPrint"))->isEnabled());
                    s->progress()->stopButton()->click();
                });
            };
            stopSoon();
            click(s, QStringLiteral("BtnAddAll"));
            QVERIFY(!s->isRunning());
            const int kept = s->basketPage()->basket().size();
            QVERIFY2(kept > 0 && kept < 1200, qPrintable(QString::number(kept)));
            QVERIFY(child<QPushButton>(s, QStringLiteral("BtnAddAll"))->isEnabled());

            closePreviews();
            QFile::remove(reportPath(QStringLiteral("liste.html")));
            stopSoon();
            click(s, QStringLiteral("BtnPrint"));
            QVERIFY(previews().isEmpty());
            QVERIFY(!QFile::exists(reportPath(QStringLiteral("liste.html"))));
            QVERIFY(child<QPushButton>(s, QStringLiteral("BtnPrint"))->isEnabled());

            stopSoon();
            QVERIFY(s->exportTo(QDir(pages.path()).filePath(QStringLiteral("arret.txt"))));
            QVERIFY2(sink.messages.last().startsWith(QStringLiteral("Exportation interrompue.")),
                     qPrintable(sink.messages.last()));
            QVERIFY(child<QPushButton>(s, QStringLiteral("BtnExport"))->isVisible());
        });
    }
};

QTEST_MAIN(TstRecordSearchScreen)
#include "tst_recordsearchscreen.moc"
