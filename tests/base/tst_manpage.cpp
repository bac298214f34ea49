// Manual pages: what the roff writer makes of awkward text, and that groff
// shows it back as it was written, without a warning.

#include "base/manpage.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;

namespace {

// The page as man(1) shows it, or a null string when groff is missing.
QString rendered(const QString &roff, QString *warnings)
{
    QProcess groff;
    groff.start(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                                          QStringLiteral("-P-cbou"), QStringLiteral("-rLL=200n")});
    if (!groff.waitForStarted())
        return {};
    groff.write(roff.toUtf8());
    groff.closeWriteChannel();
    groff.waitForFinished();
    *warnings = QString::fromUtf8(groff.readAllStandardError());
    return QString::fromUtf8(groff.readAllStandardOutput());
}

} // namespace

class TstManPage : public QObject
{
    Q_OBJECT
private slots:
    void escapes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("roff");
        QTest::newRow("plain") << "import a file" << "import a file";
        QTest::newRow("option dashes") << "--ini FILE" << "\\-\\-ini FILE";
        QTest::newRow("backslash") << "C:\\dir" << "C:\\edir";
        QTest::newRow("leading dot is no request") << ".hidden file" << "\\&.hidden file";
        QTest::newRow("leading quote is no request") << "'quoted" << "\\&'quoted";
        QTest::newRow("dot inside stays") << "a.b" << "a.b";
        QTest::newRow("accents") << "L'École" << "L'\\[u00C9]cole";
        QTest::newRow("Arabic") << "مكتبة" << "\\[u0645]\\[u0643]\\[u062A]\\[u0628]\\[u0629]";
        QTest::newRow("beyond the BMP") << QString::fromUtf8("a\xF0\x9F\x93\x9A") << "a\\[u1F4DA]";
    }
    void escapes()
    {
        QFETCH(QString, text);
        QFETCH(QString, roff);
        QCOMPARE(roffText(text), roff);
    }

    void synopses_data()
    {
        QTest::addColumn<QString>("synopsis");
        QTest::addColumn<QString>("roff");
        QTest::newRow("command and placeholder") << "import FILE" << "\\fBimport\\fR \\fIFILE\\fR";
        QTest::newRow("optional option with value")
            << "export [--library N]" << "\\fBexport\\fR [\\fB\\-\\-library\\fR \\fIN\\fR]";
        QTest::newRow("alternatives") << "[--status | --drop]" << "[\\fB\\-\\-status\\fR | \\fB\\-\\-drop\\fR]";
        QTest::newRow("key with underscore") << "record DOC_ID" << "\\fBrecord\\fR \\fIDOC_ID\\fR";
        QTest::newRow("ellipsis") << "FILE ..." << "\\fIFILE\\fR ...";
        QTest::newRow("mixed case is a word") << "Folian.ini" << "\\fBFolian.ini\\fR";
    }
    void synopses()
    {
        QFETCH(QString, synopsis);
        QFETCH(QString, roff);
        QCOMPARE(roffSynopsis(synopsis), roff);
    }

    // Whatever the text, groff reads the page without a warning and shows the text as written.
    void groffShowsTheTextBack()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("groff")).isEmpty())
            QSKIP("groff is missing (run scripts/setup.sh)");
        ManPage page;
        page.name = QStringLiteral("folian-test");
        page.summary = QStringLiteral("a page of awkward text");
        page.version = QStringLiteral("Folian 9.9");
        page.date = QStringLiteral("2026-12-10");
        page.synopsis = {QStringLiteral("folian-test [--ini FILE] COMMAND")};
        page.sections << ManPage::Section{
            QStringLiteral("Description"),
            {QStringLiteral(".ini files and 'quotes' start these lines"), QStringLiteral("C:\\temp\\x, L'École, مكتبة")},
            {{QStringLiteral("export [--library N]"), QStringLiteral("First paragraph.\n\n.Second one, after a dot.")}}};
        QString warnings;
        const QString text = rendered(manPageText(page), &warnings);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
        for (const char *expected : {"folian-test - a page of awkward text", "folian-test [--ini FILE] COMMAND",
                                     ".ini files and 'quotes' start these lines", "C:\\temp\\x, L'École, مكتبة",
                                     "export [--library N]", "First paragraph.", ".Second one, after a dot.",
                                     "DESCRIPTION", "Folian 9.9", "2026-12-10"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
};

QTEST_GUILESS_MAIN(TstManPage)
#include "tst_manpage.moc"
