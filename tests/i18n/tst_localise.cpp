// Localisation of a form: captions from the translation file with the design
// text as fallback, fonts by language, direction, view column titles.

#include "base/session.h"
#include "i18n/core/translationfile.h"
#include "i18n/widgets/localise.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace folian;

namespace {

// A form like the screens: named captioned controls, a nested form and a
// label whose text is data.
struct TestForm {
    QWidget form;
    QLabel *title, *small, *data, *inner;
    QPushButton *ok;
    QGroupBox *box;
    QTabWidget *tabs;
    QTableView *grid;
    QStandardItemModel model{0, 3};
    QWidget *nested;

    TestForm()
    {
        form.setObjectName(QStringLiteral("FrmEssai"));
        form.setWindowTitle(QStringLiteral("Essai de traduction"));
        auto *layout = new QVBoxLayout(&form);
        title = new QLabel(QStringLiteral("Titre :"), &form);
        title->setObjectName(QStringLiteral("LblTitre"));
        QFont f = title->font();
        f.setPointSize(11);
        title->setFont(f);
        title->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        small = new QLabel(QStringLiteral("Note :"), &form);
        small->setObjectName(QStringLiteral("LblNote"));
        f.setPointSize(10);
        small->setFont(f);
        data = new QLabel(QStringLiteral("12 lecteurs"), &form);
        data->setObjectName(QStringLiteral("LblCount"));
        data->setProperty("localise", false);
        ok = new QPushButton(QStringLiteral("Enregistrer"), &form);
        ok->setObjectName(QStringLiteral("BtnPost"));
        box = new QGroupBox(QStringLiteral(" Options "), &form);
        box->setObjectName(QStringLiteral("GrpOptions"));
        tabs = new QTabWidget(&form);
        auto *p1 = new QWidget;
        p1->setObjectName(QStringLiteral("TabGeneral"));
        auto *p2 = new QWidget;
        p2->setObjectName(QStringLiteral("TabAutres"));
        tabs->addTab(p1, QStringLiteral("Général"));
        tabs->addTab(p2, QStringLiteral("Autres"));
        grid = new QTableView(&form);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        model.setHorizontalHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Rôle")});
        grid->setModel(&model);
        nested = new QWidget(&form);
        nested->setObjectName(QStringLiteral("FrmInterne"));
        inner = new QLabel(QStringLiteral("Interne"), nested);
        inner->setObjectName(QStringLiteral("LblTitre"));
        for (QWidget *w : {static_cast<QWidget *>(title), static_cast<QWidget *>(small), static_cast<QWidget *>(data),
                           static_cast<QWidget *>(ok), static_cast<QWidget *>(box), static_cast<QWidget *>(tabs),
                           static_cast<QWidget *>(grid), nested})
            layout->addWidget(w);
    }

    QStringList captions() const
    {
        QStringList out{form.windowTitle(), title->text(), small->text(), data->text(), ok->text(), box->title(),
                        tabs->tabText(0), tabs->tabText(1), inner->text()};
        for (int c = 0; c < 3; ++c)
            out << model.headerData(c, Qt::Horizontal).toString();
        return out;
    }
};

const QStringList kDesign{QStringLiteral("Essai de traduction"), QStringLiteral("Titre :"), QStringLiteral("Note :"),
                          QStringLiteral("12 lecteurs"), QStringLiteral("Enregistrer"), QStringLiteral(" Options "),
                          QStringLiteral("Général"), QStringLiteral("Autres"), QStringLiteral("Interne"),
                          QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Rôle")};

// Every key of the form, and the nested form's key under the outer section
// (which must not be read), and a key for the data label (idem).
const char *const kArabicFile = "[FrmEssai]\n"
                                "FrmEssai=تجربة الترجمة\n"
                                "LblTitre=العنوان :\n"
                                "LblCount=لا يقرأ\n"
                                "BtnPost=تسجيل\n"
                                "GrpOptions=خيارات\n"
                                "TabGeneral=عام\n"
                                "TabAutres=أخرى\n"
                                "DBGrid11=الاسم\n"
                                "DBGrid12=اللقب\n"
                                "DBGrid13=الدور\n"
                                "DBGrid14=لا يوجد\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TstLocalise : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init()
    {
        session() = Session();
        session().AppDir = dir.path() + u'/';
        QFile::remove(dir.filePath(QStringLiteral("Folian.AR")));
        QFile::remove(dir.filePath(QStringLiteral("Folian.FR")));
    }
    void cleanup() { SetApplicationLanguage(QStringLiteral("FR")); }

    // The file's captions, the design text where a key is missing; the
    // nested form and the data label are left alone.
    void captions_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no file") << QByteArray() << kDesign;
        QTest::newRow("empty file") << QByteArray("; nothing\n") << kDesign;
        QTest::newRow("other section") << QByteArray("[FrmAutre]\nLblTitre=x\nBtnPost=y\n") << kDesign;
        QStringList arabic{QStringLiteral("تجربة الترجمة"), QStringLiteral("العنوان :"), QStringLiteral("Note :"),
                           QStringLiteral("12 lecteurs"), QStringLiteral("تسجيل"), QStringLiteral("خيارات"),
                           QStringLiteral("عام"), QStringLiteral("أخرى"), QStringLiteral("Interne"),
                           QStringLiteral("الاسم"), QStringLiteral("اللقب"), QStringLiteral("الدور")};
        QTest::newRow("arabic") << QByteArray(kArabicFile) << arabic;
        // Section and key names are not case-sensitive.
        QTest::newRow("case") << QByteArray("[frmessai]\nbtnpost=OK\n")
                              << QStringList(kDesign).replaceInStrings(QStringLiteral("Enregistrer"), QStringLiteral("OK"));
    }
    void captions()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, expected);
        if (!file.isNull())
            writeFile(dir.filePath(QStringLiteral("Folian.AR")), file);
        TestForm t;
        SetApplicationLanguage(QStringLiteral("AR"));
        LocaliseForm(&t.form);
        QCOMPARE(t.captions(), expected);
    }

    // Arabic and back: captions, fonts and direction return to the design.
    void roundTrip()
    {
        writeFile(dir.filePath(QStringLiteral("Folian.AR")), kArabicFile);
        TestForm t;
        const int designSize = t.ok->font().pointSize();
        const int defaultSize = designSize == 11 ? 8 : designSize;
        SetApplicationLanguage(QStringLiteral("FR"));
        LocaliseForm(&t.form);
        QCOMPARE(t.captions(), kDesign);
        QCOMPARE(t.title->font().pointSize(), 8);  // 11 becomes 8 in French
        QCOMPARE(t.small->font().pointSize(), 10);
        QCOMPARE(t.ok->font().pointSize(), defaultSize);

        SetApplicationLanguage(QStringLiteral("AR"));
        QVERIFY(session().ArabicMode);
        QCOMPARE(session().LanguageSuffix, QStringLiteral("_AR"));
        LocaliseForm(&t.form);
        QCOMPARE(t.form.layoutDirection(), Qt::RightToLeft);
        QCOMPARE(t.ok->text(), QStringLiteral("تسجيل"));
        for (QWidget *w : {static_cast<QWidget *>(t.title), static_cast<QWidget *>(t.small),
                           static_cast<QWidget *>(t.ok), static_cast<QWidget *>(t.box), &t.form}) {
            QCOMPARE(w->font().pointSize(), 11);
            QCOMPARE(w->font().families().value(0), arabicFontFamily());
        }
        // Controls without a caption of their own take the form's font.
        QCOMPARE(t.grid->font().families().value(0), arabicFontFamily());
        // Alignment is logical, so it follows the direction.
        QVERIFY(!(t.title->alignment() & Qt::AlignAbsolute));
        QVERIFY(t.title->alignment() & Qt::AlignRight);

        SetApplicationLanguage(QStringLiteral("FR"));
        LocaliseForm(&t.form);
        QCOMPARE(t.form.layoutDirection(), Qt::LeftToRight);
        QCOMPARE(t.captions(), kDesign);
        QCOMPARE(t.title->font().pointSize(), 8);
        QCOMPARE(t.small->font().pointSize(), 10);
        QCOMPARE(t.ok->font().pointSize(), defaultSize);
        QVERIFY(t.ok->font().families().value(0) != arabicFontFamily());
    }

    // A form first localised in Arabic still knows its French design.
    void firstShownInArabic()
    {
        writeFile(dir.filePath(QStringLiteral("Folian.AR")), kArabicFile);
        TestForm t;
        SetApplicationLanguage(QStringLiteral("AR"));
        LocaliseForm(&t.form);
        SetApplicationLanguage(QStringLiteral("FR"));
        LocaliseForm(&t.form);
        QCOMPARE(t.captions(), kDesign);
        QCOMPARE(t.small->font().pointSize(), 10);
        QCOMPARE(t.title->font().pointSize(), 8);
    }

    // A screen localised inside a form being localised (its show comes while
    // the outer form paints nothing) paints again with the outer form; one
    // that asked to paint nothing keeps asking.
    void nestedFormsPaintAgain()
    {
        QWidget outer;
        auto *inner = new QWidget(&outer);
        auto *quiet = new QWidget(&outer);
        quiet->setUpdatesEnabled(false);
        outer.setUpdatesEnabled(false);
        LocaliseForm(inner);
        LocaliseForm(quiet);
        outer.setUpdatesEnabled(true);
        QVERIFY(inner->updatesEnabled());
        QVERIFY(!quiet->updatesEnabled());
        LocaliseForm(&outer);
        QVERIFY(outer.updatesEnabled());
    }

    // A view reads one key per column and nothing without columns.
    void viewColumns()
    {
        writeFile(dir.filePath(QStringLiteral("Folian.AR")), kArabicFile);
        SetApplicationLanguage(QStringLiteral("AR"));
        TestForm t;
        t.model.setColumnCount(4);
        t.model.setHorizontalHeaderItem(3, new QStandardItem(QStringLiteral("Login")));
        LocaliseForm(&t.form);
        QCOMPARE(t.model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("لا يوجد"));
        QStringList keys = CaptionKeys(&t.form);
        QCOMPARE(keys.first(), QStringLiteral("FrmEssai"));
        QStringList expected{QStringLiteral("FrmEssai"), QStringLiteral("LblTitre"), QStringLiteral("LblNote"),
                             QStringLiteral("BtnPost"), QStringLiteral("GrpOptions"), QStringLiteral("TabGeneral"),
                             QStringLiteral("TabAutres"), QStringLiteral("DBGrid11"), QStringLiteral("DBGrid12"),
                             QStringLiteral("DBGrid13"), QStringLiteral("DBGrid14")};
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
        t.model.setColumnCount(0);
        QVERIFY(!CaptionKeys(&t.form).join(u' ').contains(QLatin1String("DBGrid1")));
        LocaliseForm(&t.form);  // no column, nothing to read, nothing to crash on
    }

    void fontRule_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expected");
        QTest::newRow("fr 11") << "FR" << 11 << 8;
        QTest::newRow("fr 10") << "FR" << 10 << 10;
        QTest::newRow("fr 8") << "FR" << 8 << 8;
        QTest::newRow("fr 14") << "FR" << 14 << 14;
        QTest::newRow("ar 8") << "AR" << 8 << 11;
        QTest::newRow("ar 14") << "AR" << 14 << 11;
    }
    void fontRule()
    {
        QFETCH(QString, language);
        QFETCH(int, size);
        QFETCH(int, expected);
        session().setLanguage(language);
        QFont f(QStringLiteral("Serif"), size);
        f.setBold(true);
        ApplyLanguageFont(f);
        QCOMPARE(f.pointSize(), expected);
        QVERIFY(f.bold());
        QCOMPARE(f.families().value(0) == arabicFontFamily(), language == QLatin1String("AR"));
    }
};

QTEST_MAIN(TstLocalise)
#include "tst_localise.moc"
