// Who sees what: the module buttons of the main window and the entries of
// the module frames, for each role with and without rights.

#include "base/rights.h"
#include "app/widgets/frmmain.h"
#include "admin/widgets/frmadministration.h"
#include "app/widgets/modules.h"
#include "appfixture.h"
#include "data/core/shareddata.h"
#include "support/testdb.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

using namespace folian;
using namespace folian::test;

namespace {

using Rights = QList<Right>;

const char *const kModules[ModuleCount] = {"Acquisition", "Catalogage", "Autorite", "Circulation",
                                           "Edition",     "Administration", "Opac"};

void logOnAs(int role, const Rights &rights)
{
    TFrmMain::setLogonHook([role, rights](TFrmData &) {
        Session &s = session();
        s.CurrentUserId = 9;
        s.CurrentUserLogin = QStringLiteral("essai");
        s.CurrentUserRole = role;
        for (Right r : rights)
            s.setRight(r, true);
        return true;
    });
}

} // namespace

Q_DECLARE_METATYPE(Rights)

class TstRights : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetSession(); }
    void cleanup() { TFrmMain::setLogonHook({}); }

    void moduleButtons_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("role");
        QTest::addColumn<Rights>("rights");
        QTest::addColumn<QStringList>("enabled");
        const Rights none;
        const Rights all(allRights().begin(), allRights().end());
        const struct {
            const char *tag;
            int role;
            Rights rights;
            const char *enabled;
        } rows[] = {
            {"administrateur", 1, none, "Acquisition Catalogage Autorite Circulation Edition Administration Opac"},
            {"resp. acquisition", 2, none, "Acquisition Edition Opac"},
            {"resp. catalogage", 3, none, "Catalogage Autorite Edition Opac"},
            {"resp. pret", 4, none, "Circulation Edition Opac"},
            {"agent acquisition", 5, none, "Acquisition Opac"},
            {"agent catalogage", 6, none, "Catalogage Opac"},
            {"agent pret", 7, none, "Circulation Opac"},
            {"saisie sans droit", 0, none, "Opac"},
            {"saisie edition catalogue", 0, {Right::CatEdition}, "Edition Opac"},
            {"saisie edition acquisition", 0, {Right::AcqEdition}, "Edition Opac"},
            {"saisie edition circulation", 0, {Right::CirculEdition}, "Edition Opac"},
            {"saisie acces acquisition", 0, {Right::AcqAcces}, "Acquisition Opac"},
            {"saisie autorites", 0, {Right::CatAutorite}, "Autorite Opac"},
            {"saisie droits de gestion seuls", 0, {Right::CatNotice, Right::CirculTransact, Right::AcqBudget}, "Opac"},
            {"agent pret tous droits", 7, all, "Acquisition Catalogage Autorite Circulation Edition Opac"},
            {"agent acquisition + circulation", 5, {Right::CirculAcces}, "Acquisition Circulation Opac"},
        };
        for (const QString &engine : engines())
            for (const auto &r : rows)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(r.tag)))
                    << engine << r.role << r.rights << QString::fromLatin1(r.enabled).split(u' ');
    }
    void moduleButtons()
    {
        QFETCH(QString, engine);
        QFETCH(int, role);
        QFETCH(Rights, rights);
        QFETCH(QStringList, enabled);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        logOnAs(role, rights);
        TFrmMain w(data);
        QVERIFY(w.loggedOn());
        for (int m = 0; m < ModuleCount; ++m)
            QVERIFY2(w.moduleButton(Module(m))->isEnabled() == enabled.contains(QLatin1String(kModules[m])),
                     kModules[m]);
        QVERIFY(w.languageButton()->isEnabled());
    }

    // The module entries follow allowed(): role 1, the module's manager role, or the right.
    void moduleEntries_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("role");
        QTest::addColumn<Rights>("rights");
        QTest::addColumn<QStringList>("permitted");
        QTest::addColumn<QStringList>("refused");
        const auto list = [](const char *names) { return QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts); };
        const struct {
            const char *tag;
            Module module;
            int role;
            Rights rights;
            const char *permitted;
            const char *refused;
        } rows[] = {
            {"pret seul", Module::Circulation, 7, {Right::CirculTransact},
             "BtnRecherche BtnEditions BtnPret BtnConsultation",
             "BtnInscription BtnImportation BtnRelance BtnEnregistrementPeb BtnRetourPeb BtnRelancePeb "
             "BtnCategories BtnStructure BtnAnnulPenalite BtnSuspLecteur BtnAnnulSuspension"},
            {"resp. pret", Module::Circulation, 4, {},
             "BtnInscription BtnPret BtnEnregistrementPeb BtnCategories BtnAnnulSuspension", ""},
            {"agent pret peb", Module::Circulation, 7, {Right::CirculPeb},
             "BtnEnregistrementPeb BtnRetourPeb BtnRelancePeb", "BtnPret BtnInscription BtnCategories"},
            {"resp. acquisition", Module::Acquisition, 2, {},
             "BtnCommandes BtnBudget BtnFournisseurs BtnMonnaies BtnRelances BtnInventaire BtnSuggestions", ""},
            {"agent acquisition budget", Module::Acquisition, 5, {Right::AcqBudget}, "BtnBudget BtnSuggestions",
             "BtnCommandes BtnDons BtnFournisseurs BtnMonnaies BtnInventaire"},
            {"agent catalogage import", Module::Catalogage, 6, {Right::CatImport}, "BtnRecherche BtnImportation",
             "BtnNouvelleNotice BtnLangues BtnLocalisations"},
            {"resp. catalogage", Module::Catalogage, 3, {}, "BtnNouvelleNotice BtnImportation BtnTypesDocuments", ""},
            {"edition catalogue", Module::Edition, 0, {Right::CatEdition}, "BtnGeneration BtnIndexAuteurs BtnFonds",
             "BtnStatLecteur BtnLecteursInscrits BtnNouvellesAcquisitions BtnStatAcquisitions"},
            {"edition resp. pret", Module::Edition, 4, {}, "BtnStatLecteur BtnLecteursInscrits",
             "BtnGeneration BtnNouvellesAcquisitions"},
            {"edition resp. acquisition", Module::Edition, 2, {}, "BtnNouvellesAcquisitions BtnStatAcquisitions",
             "BtnCatalogue BtnStatDocument"},
        };
        for (const QString &engine : engines())
            for (const auto &r : rows)
                QTest::newRow(qPrintable(engine + u' ' + QLatin1String(r.tag)))
                    << engine << int(r.module) << r.role << r.rights << list(r.permitted) << list(r.refused);
    }
    void moduleEntries()
    {
        QFETCH(QString, engine);
        QFETCH(int, module);
        QFETCH(int, role);
        QFETCH(Rights, rights);
        QFETCH(QStringList, permitted);
        QFETCH(QStringList, refused);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Session &s = session();
        s.CurrentUserRole = role;
        for (Right r : rights)
            s.setRight(r, true);
        std::unique_ptr<TFrmModule> frame(createModuleFrame(Module(module), data));
        for (const QString &name : permitted) {
            QVERIFY2(frame->entry(name), qPrintable(name));
            QVERIFY2(frame->entryPermitted(name), qPrintable(name));
        }
        for (const QString &name : refused) {
            QVERIFY2(frame->entry(name), qPrintable(name));
            QVERIFY2(!frame->entryPermitted(name), qPrintable(name));
            QVERIFY2(!frame->entry(name)->isEnabled(), qPrintable(name));
        }
    }

    // The administration's entries: those whose screens exist are enabled.
    void administrationEntries_data() { addEngineRows(); }
    void administrationEntries()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserRole = 1;
        installModuleScreens();
        TFrmAdministration frame(data);
        for (const char *name :
             {"BtnUtilisateurs", "BtnBibliotheques", "BtnInitialisation", "BtnConstitution", "BtnParametres"})
            QVERIFY2(frame.entry(QLatin1String(name))->isEnabled(), name);
        for (const char *name : {"BtnCatalogueCollectif", "BtnStatistiques"})
            QVERIFY2(!frame.entry(QLatin1String(name))->isEnabled(), name);
    }
};

QTEST_MAIN(TstRights)
#include "tst_rights.moc"
