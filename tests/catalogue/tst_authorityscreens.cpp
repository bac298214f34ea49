// The authorities module and its screens driven as an operator would, on
// both engines: a heading with a rejected form, a publisher, a collection
// with a sub-collection and an index created through the screens, chosen
// through the pickers, reopened; the refusals the screens show; the table
// editor of the code tables.

#include "base/messages.h"
#include "catalogue/widgets/authoritypickers.h"
#include "catalogue/widgets/frmautorite.h"
#include "catalogue/widgets/frmautoritedetail.h"
#include "catalogue/widgets/frmautoriteselect.h"
#include "catalogue/widgets/frmnoticeadmin.h"
#include "catalogue/widgets/frmreferencelists.h"
#include "catalogue/widgets/frmvedette.h"
#include "catalogue/widgets/linkbox.h"
#include "catalogue/widgets/listmodel.h"
#include "data/core/dataset.h"
#include "i18n/widgets/localise.h"
#include "support/screens.h"
#include "support/session.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

template <typename T = QWidget>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qWarning("no control %s in %s", name, qPrintable(w->objectName()));
    return c;
}

void click(QWidget *w, const char *button) { QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton); }
// Replaces the text of a field key by key, as the operator types it.
void type(QWidget *w, const char *field, const QString &text)
{
    QLineEdit *e = child<QLineEdit>(w, field);
    if (!e->text().isEmpty()) {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
    }
    for (const QChar c : text)  // any script, not only the keys of a Latin keyboard
        QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
QString text(QWidget *w, const char *field) { return child<QLineEdit>(w, field)->text(); }

// Runs `drive` on the modal dialog of type T that the next action opens;
// a dialog the drive left open is closed (and counted in `leftOpen`).
template <typename T, typename Drive>
void whenShown(Drive drive, int *leftOpen = nullptr)
{
    QTimer::singleShot(0, [drive, leftOpen] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no %s shown", T::staticMetaObject.className());
            return;
        }
        drive(*dialog);
        if (dialog->isVisible()) {
            if (leftOpen)
                ++*leftOpen;
            dialog->reject();
        }
    });
}

// Searches a list as the operator does and puts it on the row named `name`.
bool findRow(TFrmAuthorityList *list, const QString &typed, const QString &name)
{
    type(list, "KEY", typed);
    click(list, "BtnSearch");
    Dataset *d = list->dataset();
    d->fetchAll();
    for (int r = 0; r < d->rowCount(); ++r)
        if (d->valueAt(r, list->model()->fieldOf(0)).toString() == name) {
            list->grid()->setCurrentIndex(list->model()->index(r, 0));
            return d->currentRow() == r;
        }
    return false;
}

// The editor of the cell being typed into.
QLineEdit *cellEditor(QTableView *grid)
{
    for (QLineEdit *e : grid->viewport()->findChildren<QLineEdit *>())
        if (e->isVisible())
            return e;
    return nullptr;
}

int scalar(Database &db, const QString &sql, const QVariantList &binds = {})
{
    return db.scalar(sql, binds).toInt();
}

} // namespace

// The authorities module on a fresh database of the row's engine, showing
// the list of `entry` as `var`.
#define OPEN_LIST(Type, var, entry)                                                     \
    QFETCH(QString, engine);                                                            \
    FOLIAN_TEST_DB(tdb, engine);                                                        \
    TFrmData data;                                                                      \
    QVERIFY(connectTo(data, tdb));                                                      \
    Database &db = tdb.db();                                                            \
    TFrmAutorite module(data);                                                          \
    module.show();                                                                      \
    QVERIFY(module.trigger(QStringLiteral(entry)));                                     \
    auto *var = qobject_cast<Type *>(module.CurrentScreen());                           \
    QVERIFY(var)

class TstAuthorityScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void initTestCase() { installAuthorityPickers(); }
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        logOn(1, QStringLiteral("admin"), 1);
    }
    void cleanup() { setMessageSink(nullptr); }

    void headings_data() { addEngineRows(); }
    void headings()
    {
        OPEN_LIST(TFrmVedette, list, "BtnVedettes");
        QCOMPARE(session().CurrentScreen, QStringLiteral("FrmVedette"));
        QCOMPARE(module.title(), QStringLiteral("Autorités - Notices"));
        QVERIFY(list->kindList()->isVisible());
        QVERIFY(!child<QPushButton>(list, "BtnSearch")->isEnabled());
        QVERIFY(!child<QPushButton>(list, "BtnSelect")->isVisible());

        // A new heading with no accepted form.
        int leftOpen = 0;
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Nouvelle vedette"));
            type(&sheet, "EdtVedNom", QStringLiteral("Hugo, Victor"));
            click(&sheet, "BtnPost");
        }, &leftOpen);
        click(list, "BtnAppend");
        QCOMPARE(leftOpen, 0);
        const int victor = scalar(db, QStringLiteral("SELECT VED_ID FROM VEDETTE WHERE VED_NOM = 'Hugo, Victor'"));
        QVERIFY(victor > 0);
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {victor}), victor);

        // A rejected form: a key typed in the accepted-form box opens the picker.
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            type(&sheet, "EdtVedNom", QStringLiteral("Hugo, V."));
            whenShown<TFrmAutoriteSelect>([](TFrmAutoriteSelect &select) {
                QCOMPARE(select.searchField()->text(), QStringLiteral("h*"));
                QCOMPARE(select.dataset()->rowCount(), 1);  // searched at once
                type(&select, "KEY", QStringLiteral("hugo, vic*"));
                click(&select, "BtnSearch");
                click(&select, "BtnSelect");
            });
            QTest::keyClick(sheet.linkBox(), Qt::Key_H);
            QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Hugo, Victor"));
            QTest::keyClick(sheet.linkBox(), Qt::Key_Return);  // does nothing
            QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Hugo, Victor"));
            click(&sheet, "BtnPost");
        }, &leftOpen);
        click(list, "BtnAppend");
        QCOMPARE(leftOpen, 0);
        const int rejected = scalar(db, QStringLiteral("SELECT VED_ID FROM VEDETTE WHERE VED_NOM = 'Hugo, V.'"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {rejected}), victor);

        // The list draws the rejected form in red and names its accepted form.
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, V.")));
        QCOMPARE(list->dataset()->rowCount(), 2);
        const int row = list->dataset()->currentRow();
        QCOMPARE(list->model()->data(list->model()->index(row, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(list->model()->data(list->model()->index(row, 2)).toString(), QStringLiteral("Hugo, Victor"));
        QCOMPARE(list->model()->data(list->model()->index(1 - row, 0), Qt::ForegroundRole), QVariant());

        // Chosen as an author through the picker: the key and its accepted form.
        whenShown<TFrmVedette>([](TFrmVedette &picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("Sélection auteur"));
            QVERIFY(!picker.kindList()->isVisible());
            QCOMPARE(picker.dataset()->rowCount(), 1);
            click(&picker, "BtnSelect");
        });
        const Picked author = pick(nullptr, data, {PickList::Heading, 1, QStringLiteral("Hugo, V."), {}});
        QCOMPARE(author.key.toInt(), rejected);
        QCOMPARE(author.accepted.toInt(), victor);
        QCOMPARE(author.name, QStringLiteral("Hugo, V."));
        // Closed without a choice: nothing.
        whenShown<TFrmVedette>([](TFrmVedette &picker) { click(&picker, "BtnClose"); });
        QVERIFY(!pick(nullptr, data, {PickList::Heading, 2, QStringLiteral("Hugo*"), {}}).ok());

        // Reopened: the rejected form names its accepted form, the accepted one shows nothing.
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, V.")));
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Mise à jour vedette"));
            QCOMPARE(text(&sheet, "EdtVedNom"), QStringLiteral("Hugo, V."));
            QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Hugo, Victor"));
            click(&sheet, "BtnCancel");
        });
        click(list, "BtnEdit");
        QVERIFY(!list->dataset()->isEditing());

        // The accepted form cannot take its own rejected form.
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, Victor")));
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QVERIFY(sheet.linkBox()->text().isEmpty());
            whenShown<TFrmAutoriteSelect>([](TFrmAutoriteSelect &select) {
                QVERIFY(select.searchField()->text().isEmpty());
                type(&select, "KEY", QStringLiteral("hugo*"));
                click(&select, "BtnSearch");
                QCOMPARE(select.dataset()->rowCount(), 1);  // itself left out
                click(&select, "BtnSelect");
            });
            child<QPushButton>(&sheet, "BtnRetenue")->click();
            QVERIFY(sheet.linkBox()->text().isEmpty());
            click(&sheet, "BtnCancel");
        });
        sink.clear();
        click(list, "BtnEdit");
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().contains(QStringLiteral("forme rejetée")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {victor}), victor);

        // The Delete key makes the rejected form its own accepted form again.
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, V.")));
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QTest::keyClick(sheet.linkBox(), Qt::Key_Delete);
            QVERIFY(sheet.linkBox()->text().isEmpty());
            click(&sheet, "BtnPost");
        });
        click(list, "BtnEdit");
        QCOMPARE(scalar(db, QStringLiteral("SELECT VED_ID2 FROM VEDETTE WHERE VED_ID = ?"), {rejected}), rejected);

        // A heading that a record uses is not deleted; the operator is told by which table.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE) VALUES (1, 'Les Misérables')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE_AUTEUR (NAU_ID, DOC_ID, VED_ID, AUT_TYPE) VALUES (1, 1, ?, 1)"),
                        {victor}));
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, Victor")));
        sink.clear();
        click(list, "BtnDelete");
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Supprimer la vedette \"Hugo, Victor\" ?")});
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().contains(QStringLiteral("NOTICE_AUTEUR")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE WHERE VED_ID = ?"), {victor}), 1);
        // An unused one goes.
        QVERIFY(findRow(list, QStringLiteral("hugo*"), QStringLiteral("Hugo, V.")));
        sink.clear();
        click(list, "BtnDelete");
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM VEDETTE WHERE VED_ID = ?"), {rejected}), 0);
        QCOMPARE(list->dataset()->rowCount(), 1);

        // Escape closes the screen.
        QTest::keyClick(list->searchField(), Qt::Key_Escape);
        QVERIFY(session().CurrentScreen.isEmpty());
        QVERIFY(!module.CurrentScreen());
    }

    void publishers_data() { addEngineRows(); }
    void publishers()
    {
        OPEN_LIST(TFrmEditeur, list, "BtnEditeurs");
        QCOMPARE(module.title(), QStringLiteral("Autorités - Editeurs"));
        const QString arabic = QStringLiteral("دار لارماتان");

        whenShown<TFrmAutoriteDetail>([&arabic](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Nouvel editeur"));
            type(&sheet, "EdtEdtNom", QStringLiteral("L'Harmattan"));
            type(&sheet, "EdtEdtNomAr", arabic);
            auto *country = child<QComboBox>(&sheet, "CmbPays");
            country->setCurrentIndex(country->findData(QStringLiteral("FR")));
            emit country->activated(country->currentIndex());
            type(&sheet, "EdtEdtTel", QStringLiteral("01 40 46 79 20"));
            click(&sheet, "BtnPost");
        });
        click(list, "BtnAppend");
        SqlRows q = db.query(QStringLiteral("SELECT EDT_ID, EDT_NOM_AR, PAY_ID, EDT_TYPE, EDT_KEYWORDS FROM EDITEUR"));
        QVERIFY(q.next());
        const int id = q.value(0).toInt();
        QCOMPARE(q.value(1).toString(), arabic);
        QCOMPARE(q.value(2).toString(), QStringLiteral("FR"));
        QCOMPARE(q.value(3).toInt(), 1);
        QVERIFY(q.value(4).toString().contains(QStringLiteral("/لارماتان/")));
        QVERIFY(!q.next());

        // Chosen by its Arabic name, with an apostrophe in the French one.
        whenShown<TFrmEditeur>([](TFrmEditeur &picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("Sélection editeur"));
            click(&picker, "BtnSelect");
        });
        Picked p = pick(nullptr, data, {PickList::Publisher, 2, QStringLiteral("دار*"), {}});
        QCOMPARE(p.key.toInt(), id);
        QCOMPARE(p.name, QStringLiteral("L'Harmattan"));
        whenShown<TFrmEditeur>([](TFrmEditeur &picker) { click(&picker, "BtnSelect"); });
        QCOMPARE(pick(nullptr, data, {PickList::Publisher, 1, QStringLiteral("l'harm*"), {}}).key.toInt(), id);

        // Reopened as saved; a name emptied is refused and the dialog stays with the message.
        QVERIFY(findRow(list, QStringLiteral("L'Harmattan"), QStringLiteral("L'Harmattan")));
        int leftOpen = 0;
        whenShown<TFrmAutoriteDetail>([&arabic, this](TFrmAutoriteDetail &sheet) {
            QCOMPARE(text(&sheet, "EdtEdtNomAr"), arabic);
            QCOMPARE(child<QComboBox>(&sheet, "CmbPays")->currentData().toString(), QStringLiteral("FR"));
            QCOMPARE(child<QComboBox>(&sheet, "CmbEdtType")->currentData().toInt(), 1);
            type(&sheet, "EdtEdtNom", QString());
            type(&sheet, "EdtEdtNomAr", QString());
            sink.clear();
            click(&sheet, "BtnPost");
            QVERIFY(sheet.isVisible());
            QCOMPARE(sink.messages.size(), 1);
            QVERIFY(sink.messages.first().contains(QStringLiteral("Nom editeur")));
            QVERIFY(sheet.dataset()->isEditing());
        }, &leftOpen);
        click(list, "BtnEdit");
        QCOMPARE(leftOpen, 1);  // closed by the test, as "Annuler"
        QVERIFY(!list->dataset()->isEditing());
        QCOMPARE(db.scalar(QStringLiteral("SELECT EDT_NOM FROM EDITEUR")).toString(), QStringLiteral("L'Harmattan"));
    }

    void collections_data() { addEngineRows(); }
    void collections()
    {
        OPEN_LIST(TFrmCollection, collections, "BtnCollections");
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            type(&sheet, "EdtTitrePropre", QStringLiteral("Que sais-je ?"));
            type(&sheet, "EdtIssn", QStringLiteral("0768-0066"));
            click(&sheet, "BtnPost");
        });
        click(collections, "BtnAppend");
        const int col = scalar(db, QStringLiteral("SELECT COL_ID FROM COLLECTION"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COL_ISSN FROM COLLECTION")).toString(), QStringLiteral("07680066"));

        // The sub-collection chooses its collection in the collection list.
        QVERIFY(module.trigger(QStringLiteral("BtnSousCollections")));
        auto *subs = qobject_cast<TFrmSousCollection *>(module.CurrentScreen());
        QVERIFY(subs);
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Nouvelle sous collection"));
            whenShown<TFrmCollection>([](TFrmCollection &picker) {
                QCOMPARE(picker.windowTitle(), QStringLiteral("Sélection collection"));
                QVERIFY(!picker.dataset()->isOpen());  // nothing typed: nothing searched
                type(&picker, "KEY", QStringLiteral("que*"));
                QTest::keyClick(picker.searchField(), Qt::Key_Return);  // Return searches
                QCOMPARE(picker.dataset()->rowCount(), 1);
                QApplication::processEvents();
                const QRect cell = picker.grid()->visualRect(picker.grid()->model()->index(0, 0));
                QVERIFY(cell.isValid());
                // A double click chooses the row.
                QTest::mouseClick(picker.grid()->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(picker.grid()->viewport(), Qt::LeftButton, {}, cell.center());
                QVERIFY(!picker.isVisible());
            });
            child<QPushButton>(&sheet, "BtnCollection")->click();
            QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Que sais-je ?"));
            type(&sheet, "EdtTitrePropre", QStringLiteral("Série histoire"));
            click(&sheet, "BtnPost");
        });
        click(subs, "BtnAppend");
        QCOMPARE(scalar(db, QStringLiteral("SELECT COL_ID FROM SOUS_COLLECTION")), col);

        // Picked for a record of that collection; a new one from the picker belongs to it.
        whenShown<TFrmSousCollection>([](TFrmSousCollection &picker) {
            QCOMPARE(picker.dataset()->rowCount(), 1);
            QCOMPARE(picker.model()->data(picker.model()->index(0, 1)).toString(), QStringLiteral("Que sais-je ?"));
            whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
                QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Que sais-je ?"));
                type(&sheet, "EdtTitrePropre", QStringLiteral("Série sciences"));
                click(&sheet, "BtnPost");
            });
            click(&picker, "BtnAppend");
            click(&picker, "BtnSelect");
        });
        const Picked sub = pick(nullptr, data, {PickList::SubCollection, 1, QStringLiteral("série*"), col});
        QCOMPARE(sub.name, QStringLiteral("Série sciences"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM SOUS_COLLECTION WHERE COL_ID = ?"), {col}), 2);
        whenShown<TFrmCollection>([](TFrmCollection &picker) { click(&picker, "BtnSelect"); });
        QCOMPARE(pick(nullptr, data, {PickList::Collection, 1, QStringLiteral("Que*"), {}}).key.toInt(), col);

        // Reopened: the sub-collection names its collection; the collection cannot go while used.
        QVERIFY(findRow(subs, QStringLiteral("Série histoire"), QStringLiteral("Série histoire")));
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.linkBox()->text(), QStringLiteral("Que sais-je ?"));
            click(&sheet, "BtnCancel");
        });
        click(subs, "BtnEdit");
        QVERIFY(module.trigger(QStringLiteral("BtnCollections")));
        collections = qobject_cast<TFrmCollection *>(module.CurrentScreen());
        QVERIFY(findRow(collections, QStringLiteral("que*"), QStringLiteral("Que sais-je ?")));
        sink.clear();
        click(collections, "BtnDelete");
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Supprimer la collection \"Que sais-je ?\" ?")});
        QVERIFY(sink.messages.value(0).contains(QStringLiteral("SOUS_COLLECTION")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM COLLECTION")), 1);
    }

    void classifications_data() { addEngineRows(); }
    void classifications()
    {
        OPEN_LIST(TFrmClassification, list, "BtnClassifications");
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(sheet.windowTitle(), QStringLiteral("Nouvel indice de classification"));
            type(&sheet, "EdtClaId", QStringLiteral("510"));
            type(&sheet, "EdtClaLibelle", QStringLiteral("Mathématiques"));
            type(&sheet, "EdtClaLibelleAr", QStringLiteral("الرياضيات"));
            click(&sheet, "BtnPost");
        });
        click(list, "BtnAppend");
        // The same index again: the post fails, the dialog stays with what was typed.
        int leftOpen = 0;
        whenShown<TFrmAutoriteDetail>([this](TFrmAutoriteDetail &sheet) {
            type(&sheet, "EdtClaId", QStringLiteral("510"));
            type(&sheet, "EdtClaLibelle", QStringLiteral("Doublon"));
            sink.clear();
            click(&sheet, "BtnPost");
            QVERIFY(sheet.isVisible());
            QCOMPARE(sink.messages.size(), 1);
            QVERIFY(sink.messages.first().startsWith(QStringLiteral("Erreur d'enregistrement.")));
            QCOMPARE(text(&sheet, "EdtClaId"), QStringLiteral("510"));
            QCOMPARE(text(&sheet, "EdtClaLibelle"), QStringLiteral("Doublon"));
            // Corrected, it saves.
            type(&sheet, "EdtClaId", QStringLiteral("512.5"));
            click(&sheet, "BtnPost");
        }, &leftOpen);
        click(list, "BtnAppend");
        QCOMPARE(leftOpen, 0);
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM CLASSIFICATION")), 2);
        QCOMPARE(db.scalar(QStringLiteral("SELECT CLA_LIBELLE FROM CLASSIFICATION WHERE CLA_ID = '512.5'")).toString(),
                 QStringLiteral("Doublon"));

        whenShown<TFrmClassification>([](TFrmClassification &picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("Sélection classification"));
            QCOMPARE(picker.dataset()->rowCount(), 2);
            click(&picker, "BtnSelect");
        });
        const Picked index = pick(nullptr, data, {PickList::Classification, 1, QStringLiteral("51*"), {}});
        QCOMPARE(index.key.toString(), QStringLiteral("510"));
        QCOMPARE(index.name, QStringLiteral("510"));

        // Reopened in Arabic: the Arabic caption as saved.
        QVERIFY(findRow(list, QStringLiteral("510"), QStringLiteral("510")));
        whenShown<TFrmAutoriteDetail>([](TFrmAutoriteDetail &sheet) {
            QCOMPARE(text(&sheet, "EdtClaLibelleAr"), QStringLiteral("الرياضيات"));
            click(&sheet, "BtnCancel");
        });
        click(list, "BtnEdit");
    }

    // A user without the authority rights may choose a row, not change the list.
    void pickerWithoutRights_data() { addEngineRows(); }
    void pickerWithoutRights()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO EDITEUR (EDT_ID, EDT_NOM) VALUES (1, 'Gallimard')")));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserRole = 7;
        whenShown<TFrmEditeur>([](TFrmEditeur &picker) {
            QCOMPARE(picker.dataset()->rowCount(), 1);
            for (const char *b : {"BtnAppend", "BtnEdit", "BtnDelete"})
                QVERIFY(!child<QPushButton>(&picker, b)->isEnabled());
            QVERIFY(child<QPushButton>(&picker, "BtnSelect")->isEnabled());
            click(&picker, "BtnSelect");
        });
        QCOMPARE(pick(nullptr, data, {PickList::Publisher, 4, QStringLiteral("gall*"), {}}).name,
                 QStringLiteral("Gallimard"));
    }

    void tableEditor_data() { addEngineRows(); }
    void tableEditor()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Database &db = tdb.db();
        {
            TFrmNoticeAdmin types(data, NoticeAdminPage::DocumentTypes);
            types.show();
            QVERIFY(!child<QPushButton>(&types, "BtnAppend")->isEnabled());
            QVERIFY(!child<QPushButton>(&types, "BtnDelete")->isEnabled());
            QVERIFY(child<QPushButton>(&types, "BtnEdit")->isEnabled());
        }
        TFrmNoticeAdmin screen(data, NoticeAdminPage::Languages);
        screen.show();
        QCOMPARE(noticeAdminTitle(NoticeAdminPage::Languages, false), QStringLiteral("Catalogage - Langues"));
        QTest::keyClicks(screen.searchField(), QStringLiteral("FRAN"));
        QCOMPARE(screen.dataset()->value(QStringLiteral("LAN_ID")).toString(), QStringLiteral("fre"));

        // A label typed into its cell.
        QTableView *grid = screen.grid();
        grid->setCurrentIndex(grid->model()->index(screen.dataset()->currentRow(), 1));
        click(&screen, "BtnEdit");
        QLineEdit *editor = cellEditor(grid);
        QVERIFY(editor);
        editor->setText(QStringLiteral("Français (langue)"));
        click(&screen, "BtnPost");
        QCOMPARE(db.scalar(QStringLiteral("SELECT LAN_LIBELLE FROM LANGUE WHERE LAN_ID = 'fre'")).toString(),
                 QStringLiteral("Français (langue)"));

        // A code too long for its column is refused, naming the column.
        grid->setCurrentIndex(grid->model()->index(screen.dataset()->currentRow(), 0));
        click(&screen, "BtnEdit");
        editor = cellEditor(grid);
        QVERIFY(editor);
        editor->setText(QStringLiteral("fran"));
        sink.clear();
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages.first().contains(QStringLiteral("Code")));
        QCOMPARE(screen.dataset()->value(QStringLiteral("LAN_ID")).toString(), QStringLiteral("fre"));
        click(&screen, "BtnCancel");
        sink.clear();

        // A new language, typed cell by cell, then deleted.
        click(&screen, "BtnAppend");
        QVERIFY(screen.dataset()->state() == Dataset::State::Insert);
        // Each cell typed and taken with Return.
        const int row = screen.dataset()->currentRow();
        const QStringList values{QStringLiteral("tzm"), QStringLiteral("Tamazight"), QStringLiteral("ⵜⴰⵎⴰⵣⵉⵖⵜ")};
        for (int column = 0; column < values.size(); ++column) {
            const QModelIndex cell = grid->model()->index(row, column);
            if (column > 0) {
                grid->setCurrentIndex(cell);
                grid->edit(cell);
            }
            editor = cellEditor(grid);
            QVERIFY(editor);
            editor->setText(values.at(column));
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();  // the cell is taken once the editor is done with the key
            QCOMPARE(grid->model()->data(cell, Qt::EditRole).toString(), values.at(column));
        }
        click(&screen, "BtnPost");
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(db.scalar(QStringLiteral("SELECT LAN_LIBELLE_AR FROM LANGUE WHERE LAN_ID = 'tzm'")).toString(),
                 QStringLiteral("ⵜⴰⵎⴰⵣⵉⵖⵜ"));
        QVERIFY(screen.dataset()->locate(QStringLiteral("LAN_ID"), QStringLiteral("tzm")));
        sink.clear();
        click(&screen, "BtnDelete");
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Supprimer l'enregistrement")});
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM LANGUE WHERE LAN_ID = 'tzm'")), 0);

        // A language that a record uses keeps its row and its code.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, LAN_ID) VALUES (1, 'T', 'fre')")));
        QVERIFY(screen.dataset()->locate(QStringLiteral("LAN_ID"), QStringLiteral("fre")));
        sink.clear();
        click(&screen, "BtnDelete");
        QVERIFY(sink.messages.value(0).contains(QStringLiteral("NOTICE")));
        grid->setCurrentIndex(grid->model()->index(screen.dataset()->currentRow(), 0));
        click(&screen, "BtnEdit");
        editor = cellEditor(grid);
        QVERIFY(editor);
        editor->setText(QStringLiteral("frx"));
        sink.clear();
        click(&screen, "BtnPost");
        QVERIFY(sink.messages.value(0).contains(QStringLiteral("NOTICE")));
        QVERIFY(screen.dataset()->isEditing());
        click(&screen, "BtnCancel");
        QCOMPARE(scalar(db, QStringLiteral("SELECT COUNT(*) FROM LANGUE WHERE LAN_ID = 'fre'")), 1);

        // Closing with a row being edited asks; the answer Yes saves it.
        grid->setCurrentIndex(grid->model()->index(screen.dataset()->currentRow(), 1));
        click(&screen, "BtnEdit");
        editor = cellEditor(grid);
        QVERIFY(editor);
        editor->setText(QStringLiteral("Français"));
        sink.clear();
        click(&screen, "BtnClose");
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Sauvegardez les modifications ?")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT LAN_LIBELLE FROM LANGUE WHERE LAN_ID = 'fre'")).toString(),
                 QStringLiteral("Français"));
        QVERIFY(!screen.dataset()->isEditing());
    }
};

QTEST_MAIN(TstAuthorityScreens)
#include "tst_authorityscreens.moc"
