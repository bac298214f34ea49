// The administration screens driven as an operator would, on both engines:
// logon, the user sheet and list, the parameters and the closed periods.

#include "admin/core/logon.h"
#include "admin/core/passwords.h"
#include "admin/widgets/frmdetailuser.h"
#include "admin/widgets/frmexception.h"
#include "admin/widgets/frmlogon.h"
#include "admin/widgets/frmparametre.h"
#include "admin/widgets/frmutilisateur.h"
#include "base/messages.h"
#include "i18n/core/translationfile.h"
#include "i18n/widgets/localise.h"
#include "support/screens.h"
#include "support/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace folian;
using namespace folian::test;

namespace {

void addUser(Database &db, int id, const QString &login, int role, const QString &password,
             const QStringList &rights = {}, const QStringList &types = {})
{
    QVERIFY(db.exec(QStringLiteral("INSERT INTO UTILISATEUR (UTL_ID, UTL_LOGIN, UTL_NOM, UTL_PRENOM, UTL_ROLE, UTL_PASSWORD) "
                                   "VALUES (?, ?, 'Nom', 'Prénom', ?, ?)"),
                    {id, login, role, HashPassword(password)}));
    for (const QString &r : rights)
        QVERIFY(db.exec(QStringLiteral("UPDATE UTILISATEUR SET %1 = 1 WHERE UTL_ID = ?").arg(r), {id}));
    for (const QString &t : types)
        QVERIFY(db.exec(QStringLiteral("INSERT INTO CATALOGAGE (UTL_ID, TYP_ID) VALUES (?, ?)"), {id, t}));
}

QString storedPassword(Database &db, int id)
{
    return db.scalar(QStringLiteral("SELECT UTL_PASSWORD FROM UTILISATEUR WHERE UTL_ID = ?"), {id}).toString();
}

QStringList catalogage(Database &db, int id)
{
    QStringList out;
    SqlRows q = db.query(QStringLiteral("SELECT TYP_ID FROM CATALOGAGE WHERE UTL_ID = ? ORDER BY TYP_ID"), {id});
    while (q.next())
        out << q.value(0).toString();
    return out;
}

template <typename T>
T *child(QWidget *w, const char *name)
{
    T *c = w->findChild<T *>(QLatin1String(name));
    if (!c)
        qWarning("no control %s", name);
    return c;
}

void setText(QWidget *w, const char *name, const QString &text) { child<QLineEdit>(w, name)->setText(text); }

const QList<Right> kCatalogueRights{Right::CatAcces, Right::CatAdmin, Right::CatNotice,
                                    Right::CatImport, Right::CatAutorite, Right::CatEdition};

// Runs `drive` on the modal sheet that `open` shows, closing it if the drive left it open.
template <typename Open, typename Drive>
bool driveModal(Open open, Drive drive)
{
    bool leftOpen = false;
    QTimer::singleShot(0, [&] {
        auto *sheet = qobject_cast<TFrmDetailUser *>(QApplication::activeModalWidget());
        if (!sheet)
            return;
        drive(*sheet);
        if (sheet->isVisible()) {
            leftOpen = true;
            sheet->reject();
        }
    });
    open();
    return !leftOpen;
}

} // namespace

class TstAdminScreens : public QObject
{
    Q_OBJECT
    RecordingSink sink;

private slots:
    void init()
    {
        freshSession(sink, QStringLiteral("FR"));
        session().CurrentUserRole = 1;  // the users are the administrator's, until a logon says who is there
    }
    void cleanup() { setMessageSink(nullptr); }

    void logon_data() { addEngineRows(); }
    void logon()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 1, QStringLiteral("zoe"), 1, QStringLiteral("admin"));
        addUser(tdb.db(), 2, QStringLiteral("amel"), 6, QStringLiteral("cat"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserId = 1;  // the last user of the workstation

        TFrmLogOn dlg(data);
        // Sorted by login, the last user proposed.
        QCOMPARE(dlg.userList()->itemText(0), QStringLiteral("amel"));
        QCOMPARE(dlg.userList()->currentText(), QStringLiteral("zoe"));
        QCOMPARE(dlg.passwordField()->maxLength(), 20);

        dlg.passwordField()->setText(QStringLiteral("ADMIN"));
        dlg.BtnOkClick();
        QCOMPARE(sink.messages, QStringList{QStringLiteral("Mot de passe incorrect.")});
        QCOMPARE(sink.kinds.value(0), MessageKind::Error);
        QVERIFY(dlg.result() != QDialog::Accepted);
        QCOMPARE(session().CurrentUserId, 1);
        QVERIFY(session().CurrentUserLogin.isEmpty());

        dlg.userList()->setCurrentIndex(-1);
        sink.clear();
        dlg.BtnOkClick();
        QVERIFY(sink.messages.isEmpty());  // nobody chosen: no message, the dialog stays
        QVERIFY(dlg.result() != QDialog::Accepted);

        dlg.userList()->setCurrentIndex(0);
        dlg.passwordField()->setText(QStringLiteral("cat"));
        dlg.BtnOkClick();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(session().CurrentUserLogin, QStringLiteral("amel"));
        QCOMPARE(session().CurrentUserRole, 6);
    }

    // An account deleted while the dialog waits: said so, and the list is read again.
    void logonOfADeletedAccount_data() { addEngineRows(); }
    void logonOfADeletedAccount()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 1, QStringLiteral("zoe"), 1, QStringLiteral("admin"));
        addUser(tdb.db(), 2, QStringLiteral("amel"), 6, QStringLiteral("cat"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmLogOn dlg(data);
        dlg.userList()->setCurrentIndex(0);  // amel
        QVERIFY(tdb.db().exec(QStringLiteral("DELETE FROM UTILISATEUR WHERE UTL_ID = 2")));
        dlg.passwordField()->setText(QStringLiteral("cat"));
        dlg.BtnOkClick();
        QVERIFY(dlg.result() != QDialog::Accepted);
        QCOMPARE(sink.messages, QStringList{LogonMessage(LogonResult::UserGone)});
        QCOMPARE(dlg.userList()->count(), 1);
        QCOMPARE(dlg.userList()->itemText(0), QStringLiteral("zoe"));
        QVERIFY(session().CurrentUserLogin.isEmpty());
    }

    void logonLanguageButton()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmLogOn dlg(data);
        dlg.show();
        auto *btn = child<QPushButton>(&dlg, "BtnLangue");
        QCOMPARE(btn->text(), QStringLiteral("AR"));
        btn->click();
        QVERIFY(session().ArabicMode);
        QCOMPARE(btn->text(), QStringLiteral("FR"));
        QCOMPARE(dlg.layoutDirection(), Qt::RightToLeft);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("فتح الجلسة"));
        btn->click();
        QVERIFY(!session().ArabicMode);
        QCOMPARE(btn->text(), QStringLiteral("AR"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Ouverture de session"));
        dlg.reject();
    }

    // Agent de catalogage -> Responsable du catalogage -> back again.
    void sheetFollowsTheRole_data() { addEngineRows(); }
    void sheetFollowsTheRole()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 5, QStringLiteral("amel"), 6, QStringLiteral("cat"),
                {QStringLiteral("UTL_CAT_NOTICE"), QStringLiteral("UTL_ACQ_EDITION")}, {QStringLiteral("a"), QStringLiteral("c")});
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmDetailUser sheet(data, 5);

        QCOMPARE(child<QLineEdit>(&sheet, "EdtLogin")->text(), QStringLiteral("amel"));
        QVERIFY(child<QLineEdit>(&sheet, "EdtPassword")->text().isEmpty());  // never shown
        QVERIFY(child<QLineEdit>(&sheet, "EdtConfirmation")->text().isEmpty());
        QCOMPARE(sheet.documentTypeList()->rowCount() * 2, 24);
        QVERIFY(sheet.isTypeChecked(QStringLiteral("a")) && sheet.isTypeChecked(QStringLiteral("c")));
        QVERIFY(!sheet.isTypeChecked(QStringLiteral("b")));

        auto stored = [&] {
            for (Right r : kCatalogueRights) {
                QVERIFY(sheet.rightBox(r)->isEnabled());
                QCOMPARE(sheet.rightBox(r)->isChecked(), r == Right::CatNotice);
            }
            QVERIFY(sheet.documentTypeList()->isEnabled());
        };
        QCOMPARE(sheet.role(), 6);
        stored();
        sheet.setRole(3);
        for (Right r : kCatalogueRights) {
            QVERIFY(sheet.rightBox(r)->isChecked());
            QVERIFY(!sheet.rightBox(r)->isEnabled());
        }
        QVERIFY(sheet.rightBox(Right::AcqEdition)->isChecked() && sheet.rightBox(Right::AcqEdition)->isEnabled());
        QVERIFY(!sheet.rightBox(Right::AcqAcces)->isChecked());
        QVERIFY(!sheet.documentTypeList()->isEnabled());
        sheet.setRole(6);
        stored();
        // A box changed while free is what its group shows again after a lock.
        sheet.rightBox(Right::CatImport)->setChecked(true);
        sheet.setRole(1);
        QVERIFY(!sheet.rightBox(Right::CirculPeb)->isEnabled() && sheet.rightBox(Right::CirculPeb)->isChecked());
        sheet.setRole(0);
        QVERIFY(sheet.rightBox(Right::CatImport)->isChecked());
        QVERIFY(!sheet.rightBox(Right::CirculPeb)->isChecked());

        // Return goes to the next field; Escape closes without saving.
        sheet.show();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        auto *nom = child<QLineEdit>(&sheet, "EdtNom");
        nom->setFocus();
        nom->setText(QStringLiteral("Changé"));
        QTest::keyClick(nom, Qt::Key_Return);
        QCOMPARE(sheet.focusWidget(), child<QLineEdit>(&sheet, "EdtPrenom"));
        QVERIFY(sheet.isVisible());
        QTest::keyClick(sheet.focusWidget(), Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
        QCOMPARE(sheet.result(), int(QDialog::Rejected));
        QCOMPARE(tdb.db().scalar(QStringLiteral("SELECT UTL_NOM FROM UTILISATEUR WHERE UTL_ID = 5")).toString(), QStringLiteral("Nom"));
    }

    // Insérer on the users list: the sheet saves a hashed password, the
    // rights and the checked document types; the list shows the new user.
    void insertUser_data() { addEngineRows(); }
    void insertUser()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        addUser(tdb.db(), 2, QStringLiteral("zzz"), 7, QStringLiteral("z"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserId = 1;
        TFrmUtilisateur screen(data);
        QString title;
        const bool closed = driveModal([&] { screen.BtnAppendClick(); }, [&](TFrmDetailUser &sheet) {
            title = sheet.windowTitle();
            setText(&sheet, "EdtNom", QStringLiteral("Benali"));
            setText(&sheet, "EdtPrenom", QStringLiteral("Amina"));
            setText(&sheet, "EdtLogin", QStringLiteral("amina"));
            setText(&sheet, "EdtPassword", QStringLiteral("s3cret"));
            setText(&sheet, "EdtConfirmation", QStringLiteral("s3cret"));
            sheet.setRole(6);
            sheet.rightBox(Right::CatNotice)->setChecked(true);
            sheet.setTypeChecked(QStringLiteral("c"), true);
            sheet.setTypeChecked(QStringLiteral("x"), true);
            sheet.BtnPostClick();
        });
        QVERIFY2(closed, qPrintable(sink.messages.join(u'|')));
        QCOMPARE(title, QStringLiteral("Nouvel utilisateur "));
        Database &db = tdb.db();
        const int id = db.scalar(QStringLiteral("SELECT UTL_ID FROM UTILISATEUR WHERE UTL_LOGIN = 'amina'")).toInt();
        QCOMPARE(id, 3);
        const QString hash = storedPassword(db, id);
        QVERIFY(IsPasswordHash(hash));
        QCOMPARE(CheckPassword(QStringLiteral("s3cret"), hash), PasswordCheck::Right);
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_ROLE FROM UTILISATEUR WHERE UTL_ID = 3")).toInt(), 6);
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_CAT_NOTICE FROM UTILISATEUR WHERE UTL_ID = 3")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_CAT_ADMIN FROM UTILISATEUR WHERE UTL_ID = 3")).toInt(), 0);
        QCOMPARE(catalogage(db, id), (QStringList{QStringLiteral("c"), QStringLiteral("x")}));
        // The list was read again and stands on the new user.
        QCOMPARE(data.QUtilisateur->value(QStringLiteral("UTL_LOGIN")).toString(), QStringLiteral("amina"));
        QCOMPARE(screen.grid()->currentIndex().row(), data.QUtilisateur->currentRow());
        QCOMPARE(screen.grid()->model()->rowCount(), 3);
    }

    // Modifier: what happens to the stored password.
    void editPassword_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("works");  // the password that opens the account afterwards
        for (const QString &e : engines()) {
            const QByteArray p = e.toLatin1();
            QTest::newRow(QByteArray(p + "/untouched").constData()) << e << QString() << QString() << true << QStringLiteral("ancien");
            QTest::newRow(QByteArray(p + "/new").constData()) << e << QStringLiteral("neuf") << QStringLiteral("neuf") << true << QStringLiteral("neuf");
            QTest::newRow(QByteArray(p + "/no confirmation").constData()) << e << QStringLiteral("neuf") << QString() << false << QStringLiteral("ancien");
            QTest::newRow(QByteArray(p + "/mismatch").constData()) << e << QStringLiteral("neuf") << QStringLiteral("Neuf") << false << QStringLiteral("ancien");
        }
    }
    void editPassword()
    {
        QFETCH(QString, engine);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(bool, saved);
        QFETCH(QString, works);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 4, QStringLiteral("karim"), 7, QStringLiteral("ancien"), {}, {QStringLiteral("a"), QStringLiteral("b")});
        const QString before = storedPassword(db, 4);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        TFrmDetailUser sheet(data, 4);
        setText(&sheet, "EdtNom", QStringLiteral("Haddad"));
        setText(&sheet, "EdtPassword", password);
        setText(&sheet, "EdtConfirmation", confirmation);
        sheet.setTypeChecked(QStringLiteral("a"), false);
        sheet.BtnPostClick();

        QCOMPARE(sheet.result() == QDialog::Accepted, saved);
        QCOMPARE(CheckPassword(works, storedPassword(db, 4)), PasswordCheck::Right);
        if (password.isEmpty())
            QCOMPARE(storedPassword(db, 4), before);  // the same hash, not a new one
        if (saved) {
            QVERIFY(sink.messages.isEmpty());
            QCOMPARE(db.scalar(QStringLiteral("SELECT UTL_NOM FROM UTILISATEUR WHERE UTL_ID = 4")).toString(), QStringLiteral("Haddad"));
            QCOMPARE(catalogage(db, 4), QStringList{QStringLiteral("b")});
        } else {
            QCOMPARE(sink.messages.size(), 1);
            QVERIFY(sink.messages.at(0).startsWith(QLatin1String("Attention le mot de passe")));
            QVERIFY(child<QLineEdit>(&sheet, "EdtConfirmation")->text().isEmpty());
            QCOMPARE(child<QLineEdit>(&sheet, "EdtPassword")->text(), password);
            QCOMPARE(catalogage(db, 4), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        }
    }

    void deleteUsers_data() { addEngineRows(); }
    void deleteUsers()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        addUser(db, 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        addUser(db, 2, QStringLiteral("agent"), 6, QStringLiteral("b"), {}, {QStringLiteral("a")});
        addUser(db, 3, QStringLiteral("zora"), 7, QStringLiteral("c"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        session().CurrentUserId = 1;
        TFrmUtilisateur screen(data);
        Dataset *users = data.QUtilisateur;
        const auto count = [&] { return db.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILISATEUR")).toInt(); };

        // Oneself: refused.
        QVERIFY(users->locate(QStringLiteral("UTL_ID"), 1));
        screen.BtnDeleteClick();
        QCOMPARE(sink.messages, QStringList{QStringLiteral("Impossible de supprimer cet utilisateur.")});
        QCOMPARE(count(), 3);
        QCOMPARE(users->value(QStringLiteral("UTL_ID")).toInt(), 1);

        // Another user, answered No, then Yes: the user and his document types go.
        QVERIFY(users->locate(QStringLiteral("UTL_ID"), 2));
        sink.clear();
        sink.answer = false;
        screen.BtnDeleteClick();
        QCOMPARE(sink.questions, QStringList{QStringLiteral("Etes-vous sûr de vouloir supprimer l'utilisateur  agent?")});
        QCOMPARE(count(), 3);
        sink.answer = true;
        screen.BtnDeleteClick();
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(count(), 2);
        QVERIFY(catalogage(db, 2).isEmpty());
        QCOMPARE(screen.grid()->model()->rowCount(), 2);
        QCOMPARE(users->value(QStringLiteral("UTL_LOGIN")).toString(), QStringLiteral("zora"));
        QVERIFY(child<QPushButton>(&screen, "BtnDelete")->isEnabled());
    }

    void exceptionDates_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::addColumn<bool>("saved");
        for (const QString &e : engines()) {
            const QByteArray p = e.toLatin1();
            QTest::newRow(QByteArray(p + "/end before start").constData()) << e << QDate(2024, 8, 15) << QDate(2024, 8, 1) << false;
            QTest::newRow(QByteArray(p + "/one day").constData()) << e << QDate(2024, 8, 15) << QDate(2024, 8, 15) << true;
            QTest::newRow(QByteArray(p + "/period").constData()) << e << QDate(2024, 8, 1) << QDate(2024, 8, 15) << true;
        }
    }
    void exceptionDates()
    {
        QFETCH(QString, engine);
        QFETCH(QDate, start);
        QFETCH(QDate, end);
        QFETCH(bool, saved);
        FOLIAN_TEST_DB(tdb, engine);
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        Dataset *q = data.QException;
        QVERIFY(q->open(QStringLiteral("SELECT * FROM JOUR_EXCEPTION")));
        QVERIFY(q->append());
        TFrmException dlg(data, QStringLiteral("Nouvelle exception"));
        auto *post = child<QPushButton>(&dlg, "BtnPost");
        QVERIFY(!post->isEnabled());  // both dates are needed
        TFrmException::setDate(dlg.startField(), start);
        QVERIFY(!post->isEnabled());
        TFrmException::setDate(dlg.endField(), end);
        QVERIFY(post->isEnabled());
        dlg.BtnPostClick();

        const int rows = tdb.db().scalar(QStringLiteral("SELECT COUNT(*) FROM JOUR_EXCEPTION")).toInt();
        QCOMPARE(dlg.result() == QDialog::Accepted, saved);
        if (saved) {
            QCOMPARE(rows, 1);
            SqlRows r = tdb.db().query(QStringLiteral("SELECT DATE_DEBUT, DATE_FIN FROM JOUR_EXCEPTION"));
            QVERIFY(r.next());
            QCOMPARE(r.value(0).toDate(), start);
            QCOMPARE(r.value(1).toDate(), end);
        } else {
            QCOMPARE(rows, 0);
            QCOMPARE(sink.messages, QStringList{QStringLiteral("La date de début est superieure à la date de fin")});
            QCOMPARE(q->state(), Dataset::State::Insert);  // still there to correct
            dlg.reject();
            QCOMPARE(q->state(), Dataset::State::Browse);  // given up
            QCOMPARE(q->rowCount(), 0);
        }
    }

    void parameters_data() { addEngineRows(); }
    void parameters()
    {
        QFETCH(QString, engine);
        FOLIAN_TEST_DB(tdb, engine);
        Database &db = tdb.db();
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        const auto param = [&](const char *c) {
            return db.scalar(QStringLiteral("SELECT %1 FROM PARAMETRE").arg(QLatin1String(c)));
        };
        QCOMPARE(param("WEEKEND1").toInt(), 6);
        QCOMPARE(param("CLASSIFICATION").toInt(), 2);

        {   // Cancelled: nothing written.
            TFrmParametre dlg(data);
            child<QLineEdit>(&dlg, "EdtAgence")->setText(QStringLiteral("Perdu"));
            dlg.reject();
            QVERIFY(param("AGENCE").isNull());
            QCOMPARE(data.QParametre->state(), Dataset::State::Browse);
        }

        TFrmParametre dlg(data);
        auto *w1 = child<QComboBox>(&dlg, "CmbWeekend1");
        auto *w2 = child<QComboBox>(&dlg, "CmbWeekend2");
        QCOMPARE(w1->currentText(), QStringLiteral("Vendredi"));  // stored 6
        QCOMPARE(w2->currentText(), QStringLiteral("Samedi"));    // stored 7
        QVERIFY(child<QRadioButton>(&dlg, "RbCDD")->isChecked());
        QCOMPARE(child<QComboBox>(&dlg, "CmbPays")->currentData().toString(), QStringLiteral("DZ"));

        // A file that is not a picture leaves the letterhead as it was.
        QTemporaryDir dir;
        QFile junk(dir.filePath(QStringLiteral("entete.png")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        junk.close();
        QVERIFY(!dlg.loadLetterhead(junk.fileName()));
        QImage img(8, 4, QImage::Format_RGB32);
        img.fill(Qt::red);
        const QString png = dir.filePath(QStringLiteral("logo.png"));
        QVERIFY(img.save(png));
        QVERIFY(dlg.loadLetterhead(png));

        w1->setCurrentIndex(4);  // Jeudi
        w2->setCurrentIndex(5);  // Vendredi
        child<QRadioButton>(&dlg, "RbCDU")->setChecked(true);
        child<QLineEdit>(&dlg, "EdtAgence")->setText(QStringLiteral("BU d'Alger"));
        dlg.BtnPostClick();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(param("WEEKEND1").toInt(), 5);
        QCOMPARE(param("WEEKEND2").toInt(), 6);
        QCOMPARE(param("CLASSIFICATION").toInt(), 1);
        QCOMPARE(param("AGENCE").toString(), QStringLiteral("BU d'Alger"));
        QVERIFY(!QImage::fromData(param("ENTETE").toByteArray()).isNull());
        QCOMPARE(session().ClassificationScheme, 1);
        QCOMPARE(data.QParametre->state(), Dataset::State::Browse);
    }

    // Every caption key of the screens is in both translation files, in Arabic in Folian.AR.
    void captionsTranslated()
    {
        FOLIAN_TEST_DB(tdb, QStringLiteral("SQLITE"));
        addUser(tdb.db(), 1, QStringLiteral("admin"), 1, QStringLiteral("a"));
        TFrmData data;
        QVERIFY(connectTo(data, tdb));
        QVERIFY(data.QException->open(QStringLiteral("SELECT * FROM JOUR_EXCEPTION")));
        QVERIFY(data.QException->append());
        TranslationFile fr, ar;
        QVERIFY(fr.load(QStringLiteral(FOLIAN_I18N_FILES "/Folian.FR")));
        QVERIFY(ar.load(QStringLiteral(FOLIAN_I18N_FILES "/Folian.AR")));
        TFrmLogOn logon(data);
        TFrmUtilisateur users(data);
        TFrmDetailUser sheet(data, 1);
        TFrmParametre params(data);
        TFrmException period(data, QString());
        const QRegularExpression arabic(QStringLiteral("[\u0600-\u06FF]"));
        for (QWidget *form : std::initializer_list<QWidget *>{&logon, &users, &sheet, &params, &period}) {
            const QString section = form->objectName();
            const QStringList keys = CaptionKeys(form);
            QVERIFY2(keys.size() >= 5, qPrintable(section));
            for (const QString &key : keys) {
                QVERIFY2(fr.contains(section, key), qPrintable(section + u'/' + key + QStringLiteral(" (FR)")));
                QVERIFY2(ar.contains(section, key), qPrintable(section + u'/' + key + QStringLiteral(" (AR)")));
                if (key != QLatin1String("BtnLangue"))
                    QVERIFY2(ar.caption(section, key, QString()).contains(arabic), qPrintable(section + u'/' + key));
            }
        }
        data.QException->cancel();
    }
};

QTEST_MAIN(TstAdminScreens)
#include "tst_adminscreens.moc"
