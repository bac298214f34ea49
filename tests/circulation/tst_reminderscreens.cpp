// The reminders and the circulation editions driven offscreen from the
// circulation module, on both engines: the late readers of each tab, moving
// through them by the search field, the letter previewed; every list of the
// editions with its count, its search and its page; both in Arabic.

#include "base/messages.h"
#include "base/outputdir.h"
#include "base/session.h"
#include "circulation/core/circulationtexts.h"
#include "circulation/reminderfixture.h"
#include "circulation/widgets/frmcirculation.h"
#include "circulation/widgets/frmcirculationedition.h"
#include "circulation/widgets/frmrelance.h"
#include "circulation/widgets/indexsearch.h"
#include "data/core/dataset.h"
#include "data/core/shareddata.h"
#include "i18n/widgets/localise.h"
#include "reports/core/htmlpage.h"
#include "reports/widgets/frmhtmlpreview.h"
#include "support/screens.h"
#include "support/session.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

// The circulation's manager logged on.
void logOnManager() { logOn(2, QStringLiteral("resp.pret"), 4); }

QStringList gridColumn(QTableView *grid, int column = 0)
{
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, column).data().toString();
    return out;
}

// Chooses the index column by its caption and types the text.
void searchFor(IndexSearch *search, const QString &caption, const QString &text)
{
    const int i = search->index()->findText(caption);
    QVERIFY2(i >= 0, qPrintable(caption));
    search->index()->setCurrentIndex(i);
    search->field()->setText(text);
}

// The preview the last print opened over `owner`, and its page.
QString previewedPage(QWidget *owner, QString *title = nullptr)
{
    const QList<TFrmHTMLPreview *> previews = owner->findChildren<TFrmHTMLPreview *>();
    if (previews.isEmpty())
        return {};
    TFrmHTMLPreview *p = previews.last();
    if (title)
        *title = p->windowTitle();
    QString html;
    readHtmlPage(p->file(), &html);
    for (TFrmHTMLPreview *each : previews)
        delete each;
    return html;
}

QStringList ids(const char *list) { return QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts); }

} // namespace

class TstReminderScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;
    QTemporaryDir pages;

private slots:
    void initTestCase() { setUserDataDirectory(pages.path()); }
    void init() { freshSession(sink, QStringLiteral("FR")); }
    void cleanup()
    {
        SetApplicationLanguage(QStringLiteral("FR"));
        setMessageSink(nullptr);
    }

    void reminders_data() { addEngineRows(); }
    void reminders()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(seed(tdb.db()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager();
        TFrmCirculation module(data);
        module.show();

        auto *screen = openEntry<TFrmRelance>(module, QStringLiteral("BtnRelance"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("Lecteur - Relance"));
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmRelance"));
        ReminderPage *loans = screen->currentPage();
        QCOMPARE(loans->kind(), ReminderKind::Loans);
        QCOMPARE(screen->tabs()->tabText(0), QStringLiteral("Relance prêt"));
        QCOMPARE(gridColumn(loans->readerGrid()), ids("R01 R03"));
        QCOMPARE(gridColumn(loans->readerGrid(), 1).first(), kOBrien);
        QCOMPARE(gridColumn(loans->readerGrid(), 3), ids("Etudiant Etudiant"));
        QCOMPARE(loans->countText(), QStringLiteral("2 lecteur(s) retardataires(s)"));
        // The first reader's late loans only: not the copy he holds that is not due.
        QCOMPARE(gridColumn(loans->loanGrid()), ids("E1"));
        QCOMPARE(gridColumn(loans->loanGrid(), 2), QStringList{QStringLiteral("Titre 1")});

        // The search moves to the reader; a text that matches nobody leaves it there.
        searchFor(loans->search(), QStringLiteral("Nom"), QStringLiteral("dUR"));
        QCOMPARE(loans->readers()->value(QStringLiteral("LEC_ID")).toString(), QStringLiteral("R03"));
        QCOMPARE(gridColumn(loans->loanGrid()), ids("E4"));
        searchFor(loans->search(), QStringLiteral("Nom"), QStringLiteral("Zorro"));
        QCOMPARE(loans->readers()->value(QStringLiteral("LEC_ID")).toString(), QStringLiteral("R03"));

        // His letter, previewed.
        loans->BtnPrintClick();
        QString title;
        QString html = previewedPage(loans, &title);
        QVERIFY(html.contains(QLatin1String(">E4<")));
        QVERIFY(!html.contains(QLatin1String(">E1<")));
        QVERIFY(html.contains(QLatin1String("Durand")));

        // The other tab: inter-library loans, its own letter.
        ReminderPage *peb = screen->page(ReminderKind::InterLibrary);
        screen->tabs()->setCurrentWidget(peb);
        QCOMPARE(gridColumn(peb->readerGrid()), ids("R01 R05"));
        QCOMPARE(gridColumn(peb->loanGrid()), ids("P1"));
        QCOMPARE(gridColumn(peb->loanGrid(), 3), QStringList{QStringLiteral("Bibliothèque <centrale>")});
        peb->BtnPrintClick();
        html = previewedPage(peb);
        QVERIFY(html.contains(QLatin1String(">P1<")));
        QVERIFY(!html.contains(QLatin1String(">E1<")));
        QVERIFY(sink.messages.isEmpty());

        // "Relances" under PEB opens on that tab, and names no screen for the keys.
        screen = openEntry<TFrmRelance>(module, QStringLiteral("BtnRelancePeb"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("PEB - Relance"));
        QVERIFY(session().CurrentScreen.isEmpty());
        QCOMPARE(screen->currentPage()->kind(), ReminderKind::InterLibrary);

        // Nobody late: empty lists, nothing to print.
        QVERIFY(tdb.db().exec(QStringLiteral("UPDATE NOTICE_EXEMPLAIRE SET EXP_DATE_RETOUR = NULL")));
        screen = openEntry<TFrmRelance>(module, QStringLiteral("BtnRelance"));
        QVERIFY(screen);
        QCOMPARE(screen->currentPage()->countText(), QStringLiteral("0 lecteur(s) retardataires(s)"));
        QVERIFY(!screen->currentPage()->printButton()->isEnabled());
        QCOMPARE(screen->currentPage()->loanGrid()->model()->rowCount(), 0);
    }

    void remindersInArabic_data() { addEngineRows(); }
    void remindersInArabic()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(seed(tdb.db()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager();
        SetApplicationLanguage(QStringLiteral("AR"));
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmRelance>(module, QStringLiteral("BtnRelance"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("القراء - التذكير"));
        QVERIFY(screen->isRightToLeft());
        QCOMPARE(screen->tabs()->tabText(0), QStringLiteral("تذكير الإعارة"));
        ReminderPage *loans = screen->currentPage();
        QCOMPARE(loans->readerGrid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("الرقم"));
        QCOMPARE(loans->countText(), circ::lateReadersCount(2));
        searchFor(loans->search(), QStringLiteral("اللقب"), QStringLiteral("o'b"));
        QCOMPARE(loans->readers()->value(QStringLiteral("LEC_ID")).toString(), QStringLiteral("R01"));
        loans->BtnPrintClick();
        const QString html = previewedPage(loans);
        QVERIFY(html.startsWith(QLatin1String("<html dir=\"rtl\">")));
        QVERIFY(html.contains(QStringLiteral("رسالة تذكير")));
        QVERIFY(html.contains(QLatin1String("O&#39;Brien &amp; &lt;Fils&gt;")));
    }

    void editions_data() { addEngineRows(); }
    void editions()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(seed(tdb.db()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager();
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmCirculationEdition>(module, QStringLiteral("BtnEditions"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("Circulation - Editions"));
        QCOMPARE(screen->tabs()->count(), 3);
        QCOMPARE(screen->tabs()->currentIndex(), 0);
        QVERIFY(!screen->page(EditionTab::Documents)->printButton()->isEnabled());  // no list yet

        // Every button on its tab: the list's title, its rows and its count.
        const QList<QPair<CirculationList, QStringList>> expected{
            {CirculationList::Borrowed, ids("E1 E2 E3 E4")},      {CirculationList::Overdue, ids("E1 E4")},
            {CirculationList::Lost, ids("E6")},                   {CirculationList::Reserved, ids("E5")},
            {CirculationList::Suspended, ids("R03 R05")},         {CirculationList::Penalised, ids("R04 R05")},
            {CirculationList::LateReaders, ids("R01 R03 R05")},   {CirculationList::InterLibraryBorrowed, ids("P1 P2 P3")},
            {CirculationList::InterLibraryOverdue, ids("P1 P3")}};
        QCOMPARE(expected.size(), circulationEditions().size());
        for (const auto &[list, rows] : expected) {
            const CirculationEdition &e = circulationEdition(list);
            QPushButton *button = screen->button(list);
            QVERIFY2(button, qPrintable(e.button));
            QCOMPARE(button->text(), e.caption);
            EditionPage *page = screen->page(e.tab);
            screen->tabs()->setCurrentWidget(page);
            button->click();
            QCOMPARE(page->titleText(), e.screenFrench);
            QCOMPARE(gridColumn(page->grid()), rows);
            QCOMPARE(page->countText(), QStringLiteral(" Résultat : %1").arg(rows.size()));
            QCOMPARE(page->grid()->model()->columnCount(), e.columns.size());
            QVERIFY(page->printButton()->isEnabled());
        }

        // The search moves through the list shown.
        EditionPage *docs = screen->page(EditionTab::Documents);
        QVERIFY(screen->showList(CirculationList::Borrowed));
        searchFor(docs->search(), QStringLiteral("Nom"), QStringLiteral("DUR"));
        QCOMPARE(docs->rows()->value(QStringLiteral("EXP_ID")).toString(), QStringLiteral("E4"));

        // "Imprimer": the list's page, previewed.
        QVERIFY(screen->showList(CirculationList::Overdue));
        docs->BtnPrintClick();
        QString html = previewedPage(docs);
        QVERIFY(html.contains(QLatin1String("Documents non remis")));
        QVERIFY(html.contains(QLatin1String(">E1<")) && html.contains(QLatin1String(">E4<")));
        QVERIFY(!html.contains(QLatin1String(">E2<")));
        QVERIFY(QFile::exists(reportPath(QStringLiteral("DocNonRemis.html"))));
        EditionPage *peb = screen->page(EditionTab::InterLibrary);
        QVERIFY(screen->showList(CirculationList::InterLibraryBorrowed));
        peb->BtnPrintClick();
        html = previewedPage(peb);
        QVERIFY(html.contains(QLatin1String("Documents emprunt")));
        QVERIFY(html.contains(QLatin1String(">P2<")));
        QVERIFY(sink.messages.isEmpty());
    }

    void editionsInArabic_data() { addEngineRows(); }
    void editionsInArabic()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(seed(tdb.db()));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnManager();
        SetApplicationLanguage(QStringLiteral("AR"));
        TFrmCirculation module(data);
        module.show();
        auto *screen = openEntry<TFrmCirculationEdition>(module, QStringLiteral("BtnEditions"));
        QVERIFY(screen);
        QCOMPARE(module.title(), QStringLiteral("الإعارة - التقارير"));
        QVERIFY(screen->isRightToLeft());
        QCOMPARE(screen->button(CirculationList::Suspended)->text(), QStringLiteral("القراء الموقوفون"));
        QVERIFY(screen->showList(CirculationList::Suspended));
        EditionPage *readers = screen->page(EditionTab::Readers);
        QCOMPARE(readers->titleText(), QStringLiteral("التقارير - القراء الموقوفون"));
        QCOMPARE(readers->countText(), circ::editionResult(2));
        QCOMPARE(readers->grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("رقم القارئ"));
        QCOMPARE(readers->grid()->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("السبب"));
        readers->BtnPrintClick();
        const QString html = previewedPage(readers);
        QVERIFY(html.startsWith(QLatin1String("<html dir=\"rtl\">")));
        QVERIFY(html.contains(QStringLiteral("القراء الموقوفون")));
        QVERIFY(html.contains(QStringLiteral("Retards répétés")));
    }
};

QTEST_MAIN(TstReminderScreens)
#include "tst_reminderscreens.moc"
