// The translation files are complete: every captioned control of every form
// has its key in Folian.FR and Folian.AR, and both files hold the same keys.

#include "base/session.h"
#include "i18n/formregistry.h"
#include "data/core/shareddata.h"
#include "i18n/core/translationfile.h"
#include "i18n/widgets/localise.h"
#include "support/session.h"

#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

TranslationFile load(const char *name)
{
    TranslationFile f;
    f.load(QStringLiteral(FOLIAN_I18N_FILES_DIR "/") + QLatin1String(name));
    return f;
}

// The keys of `from` that `to` lacks, as "[Section] Key".
QStringList missing(const TranslationFile &from, const TranslationFile &to)
{
    QStringList out;
    for (const QString &section : from.sections())
        for (const QString &key : from.keys(section))
            if (!to.contains(section, key))
                out << u'[' + section + QStringLiteral("] ") + key;
    return out;
}

} // namespace

class TstTranslations : public QObject
{
    Q_OBJECT
    TranslationFile fr = load("Folian.FR");
    TranslationFile ar = load("Folian.AR");

private slots:
    void init() { session() = Session(); }

    void filesAgree()
    {
        QVERIFY(fr.isLoaded());
        QVERIFY(ar.isLoaded());
        QVERIFY(!fr.sections().isEmpty());
        QCOMPARE(missing(fr, ar), QStringList());
        QCOMPARE(missing(ar, fr), QStringList());
        QStringList empty;
        for (const QString &section : ar.sections())
            for (const QString &key : ar.keys(section))
                if (ar.caption(section, key, {}).trimmed().isEmpty())
                    empty << section + u'.' + key;
        QCOMPARE(empty, QStringList());
    }

    void forms_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("index");
        const QList<RegisteredForm> forms = registeredForms();
        for (const QString &engine : engines())
            for (int i = 0; i < forms.size(); ++i)
                QTest::newRow(qPrintable(engine + u' ' + forms.at(i).name)) << engine << i;
    }
    void forms()
    {
        QFETCH(QString, engine);
        QFETCH(int, index);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Session &s = session();
        s.CurrentUserId = 1;
        s.CurrentUserLogin = QStringLiteral("admin");
        s.CurrentUserRole = 1;

        const RegisteredForm form = registeredForms().at(index);
        std::unique_ptr<QWidget> w = form.create(data);
        QVERIFY(w);
        QCOMPARE(w->objectName(), form.name);
        const QStringList keys = CaptionKeys(w.get());
        QVERIFY(keys.size() > 1);
        QStringList lacking;
        for (const QString &key : keys) {
            if (!ar.contains(form.name, key))
                lacking << QStringLiteral("Folian.AR [") + form.name + QStringLiteral("] ") + key;
            if (!fr.contains(form.name, key))
                lacking << QStringLiteral("Folian.FR [") + form.name + QStringLiteral("] ") + key;
        }
        QCOMPARE(lacking, QStringList());
    }
};

QTEST_MAIN(TstTranslations)
#include "tst_translations.moc"
