// Widgets bound to a dataset, as an operator uses them: the row shows in
// the widgets and follows the current row, typing puts the row in edit and
// writes back, lists match by key, and a value the dataset refuses is told
// to the operator with the field while the widget gets the row's value back.

#include "base/messages.h"
#include "base/session.h"
#include "data/core/shareddata.h"
#include "data/widgets/fieldbinder.h"
#include "support/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace folian;
using namespace folian::test;

class TstBinder : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        session() = Session();
        session().CurrentUserLogin = QStringLiteral("catalogueur");
        sink.clear();
        setMessageSink(&sink);
    }
    void cleanup() { setMessageSink(nullptr); }

    void operatorEditsThroughWidgets_data() { addEngineRows(); }
    void operatorEditsThroughWidgets()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(tdb.db().exec(QStringLiteral("INSERT INTO NOTICE (DOC_ID, DOC_TITRE_PROPRE, LAN_ID, STA_ID) VALUES "
                                             "(1, 'Nedjma', 'fre', 1), (2, 'L''enfant', 'ara', 2)")));
        Dataset *n = data.QNotice;
        QVERIFY(n->open(QStringLiteral("SELECT * FROM NOTICE ORDER BY DOC_ID")));
        QVERIFY(data.QLangue->open(QStringLiteral("SELECT * FROM LANGUE")));

        QWidget form;
        QLineEdit title(&form);
        QComboBox language(&form);
        QComboBox status(&form);
        QPlainTextEdit keywords(&form);
        FieldBinder binder(n);
        FieldBinder::fillList(&language, data.QLangue, QStringLiteral("LAN_ID"), QStringLiteral("LAN_LIBELLE"), true);
        status.addItem(QStringLiteral("Catalogué"), 1);
        status.addItem(QStringLiteral("En cours"), 2);
        binder.bind(&title, QStringLiteral("DOC_TITRE_PROPRE"));
        binder.bind(&language, QStringLiteral("LAN_ID"));
        binder.bind(&status, QStringLiteral("STA_ID"));
        binder.bind(&keywords, QStringLiteral("DOC_KEYWORDS"));
        binder.setCaption(QStringLiteral("DOC_TITRE_PROPRE"), QStringLiteral("Titre propre"));
        binder.refresh();
        form.show();

        // The current row shows, lists by key.
        QCOMPARE(title.text(), QStringLiteral("Nedjma"));
        QCOMPARE(language.currentData().toString(), QStringLiteral("fre"));
        QCOMPARE(status.currentText(), QStringLiteral("Catalogué"));
        QVERIFY(n->next());
        QCOMPARE(title.text(), QStringLiteral("L'enfant"));
        QCOMPARE(status.currentData().toInt(), 2);

        // Typing puts the row in edit; the text is written when the operator leaves the box.
        title.setFocus();
        title.selectAll();
        QTest::keyClicks(&title, QStringLiteral("Éditions d'Aujourd'hui"));
        QCOMPARE(n->state(), Dataset::State::Edit);
        QCOMPARE(n->value(QStringLiteral("UPDATE_USER")).toString(), QStringLiteral("catalogueur"));  // the edit stamp
        // A rule's value shown in another widget does not disturb what is being typed.
        language.setCurrentIndex(language.findData(QStringLiteral("fre")));
        QCOMPARE(title.text(), QStringLiteral("Éditions d'Aujourd'hui"));
        QCOMPARE(n->value(QStringLiteral("LAN_ID")).toString(), QStringLiteral("fre"));
        QVERIFY(binder.post());
        QCOMPARE(n->state(), Dataset::State::Browse);
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT DOC_TITRE_PROPRE FROM NOTICE WHERE DOC_ID = 2")).toString(),
                 QStringLiteral("Éditions d'Aujourd'hui"));
        // The rules' keywords reach the widget after the post.
        QCOMPARE(keywords.toPlainText(), QStringLiteral("/Éditions//d//Aujourd//hui/"));

        // A value too long is refused with the field's caption; the box shows the row again.
        QVERIFY(n->edit());
        title.setText(QString(501, u'x'));
        QVERIFY(!binder.submit());
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY2(sink.messages.first().contains(QStringLiteral("Titre propre")), qPrintable(sink.messages.first()));
        QCOMPARE(title.text(), QStringLiteral("Éditions d'Aujourd'hui"));
        n->cancel();

        // Read-only widgets do not edit.
        binder.setReadOnly(true);
        QVERIFY(title.isReadOnly());
        QVERIFY(!language.isEnabled());
    }

    // Dates: the blank date is NULL.
    void blankDateIsNull_data() { addEngineRows(); }
    void blankDateIsNull()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *e = data.QException;
        QVERIFY(e->open(QStringLiteral("SELECT * FROM JOUR_EXCEPTION")));
        QDateEdit start, end;
        FieldBinder binder(e);
        binder.bind(&start, QStringLiteral("DATE_DEBUT"));
        binder.bind(&end, QStringLiteral("DATE_FIN"));
        QVERIFY(e->append());
        QCOMPARE(start.text().trimmed(), QString());  // NULL shows blank
        start.setDate(QDate(2026, 12, 24));
        QVERIFY(binder.submit());
        QCOMPARE(e->value(QStringLiteral("DATE_DEBUT")).toDate(), QDate(2026, 12, 24));
        QVERIFY(e->value(QStringLiteral("DATE_FIN")).isNull());
        e->cancel();
    }
};

QTEST_MAIN(TstBinder)
#include "tst_binder.moc"
