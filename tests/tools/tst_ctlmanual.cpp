// folianctl's --help, manual page and bash completion come from its one
// table of commands: a command added to the table is in all three, and the
// completion proposes the commands and each command's own options.

#include "ctl_manual.h"

#include "base/manpage.h"
#include "base/version.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folian;
using namespace folian::ctl;

namespace {

QString run(const QString &program, const QStringList &arguments, const QByteArray &input = {},
            QString *errors = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (errors)
        *errors = QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString folianctl(const QString &argument) { return run(QStringLiteral(FOLIANCTL_PATH), {argument}); }

// The page as man shows it, on lines long enough not to be broken.
QString renderedPage(const QString &roff, QString *warnings)
{
    return run(QStringLiteral("groff"),
               {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"), QStringLiteral("-P-cbou"),
                QStringLiteral("-rLL=300n")},
               roff.toUtf8(), warnings);
}

// What the completion script proposes for a command line typed so far (the
// last word is the one being completed; a line ending in a blank completes
// an empty word).
QStringList complete(const QString &script, const QString &line)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("folianctl"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {QStringLiteral("cannot write the script")};
    f.write(script.toUtf8());
    f.close();
    const QStringList typed = line.split(u' ');
    QString array;
    for (const QString &w : typed)
        array += u'\'' + w + QStringLiteral("' ");
    const QString program = QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; _folianctl; "
                                           "printf '%s\\n' \"${COMPREPLY[@]}\"")
                                .arg(path, array)
                                .arg(typed.size() - 1);
    QStringList out = run(QStringLiteral("bash"), {QStringLiteral("--norc"), QStringLiteral("-c"), program})
                          .split(u'\n', Qt::SkipEmptyParts);
    out.sort();
    return out;
}

QStringList words(const char *text) { return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts); }

// A table of two commands, as a subsystem adds them.
QVector<Command> table()
{
    return {
        Command{QStringLiteral("import"), QStringLiteral("import FILE [--library N] [--dry-run]"),
                QStringLiteral("imports a file"), {QStringLiteral("library")}, {QStringLiteral("dry-run")}, {}},
        Command{QStringLiteral("frobnicate"), QStringLiteral("frobnicate DOC_ID [--depth N]"),
                QStringLiteral("does what it says"), {QStringLiteral("depth")}, {QStringLiteral("quiet")}, {}},
    };
}

} // namespace

class TstCtlManual : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char *tool : {"bash", "groff"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP("bash and groff are needed (run scripts/setup.sh)");
    }

    // A command of the table, with its options, is in --help, the manual page and the completion.
    void aCommandIsInAllThree()
    {
        const QVector<Command> commands = table();
        QVERIFY(helpText(commands).contains(QStringLiteral("frobnicate DOC_ID [--depth N]\n      does what it says")));
        QString warnings;
        const QString page = renderedPage(manPageText(manualPage(commands)), &warnings);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
        for (const char *expected : {"frobnicate DOC_ID [--depth N]", "does what it says",
                                     "Options: --depth VALUE, --quiet.", "import FILE [--library N] [--dry-run]",
                                     "EXIT STATUS", "--ini FILE"})
            QVERIFY2(page.contains(QLatin1String(expected)), expected);
        const QString script = bashCompletion(commands);
        QCOMPARE(complete(script, QStringLiteral("folianctl frob")), QStringList{QStringLiteral("frobnicate")});
        // Without the command in the table, it is in none of them.
        const QVector<Command> without{commands.first()};
        QVERIFY(!helpText(without).contains(QStringLiteral("frobnicate")));
        QVERIFY(!manPageText(manualPage(without)).contains(QStringLiteral("frobnicate")));
        QCOMPARE(complete(bashCompletion(without), QStringLiteral("folianctl frob")), QStringList());
    }

    void completion_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("proposed");
        QTest::newRow("commands") << "folianctl " << words("frobnicate import");
        QTest::newRow("a command begun") << "folianctl im" << words("import");
        QTest::newRow("global options") << "folianctl --i" << words("--ini");
        QTest::newRow("after --ini and its file") << "folianctl --ini x.ini fr" << words("frobnicate");
        QTest::newRow("the file after --ini is the shell's") << "folianctl --ini " << QStringList{};
        QTest::newRow("the command's own options")
            << "folianctl import a.mrc --" << words("--dry-run --help --ini --library --login --user");
        QTest::newRow("another command's options are not proposed") << "folianctl import --d" << words("--dry-run");
        QTest::newRow("a value option's value is the shell's") << "folianctl import --library " << QStringList{};
        QTest::newRow("the command after a user") << "folianctl --user admin frobnicate --q" << words("--quiet");
        QTest::newRow("positional words are the shell's") << "folianctl import " << QStringList{};
    }
    void completion()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, proposed);
        QCOMPARE(complete(bashCompletion(table()), line), proposed);
    }

    // The program's own table: every command --help lists is in its manual page and its completion.
    void theProgramAgreesWithItself()
    {
        const QString help = folianctl(QStringLiteral("--help"));
        QStringList names;
        static const QRegularExpression commandLine(QStringLiteral("^  (\\S+)"), QRegularExpression::MultilineOption);
        for (auto it = commandLine.globalMatch(help); it.hasNext();)
            names << it.next().captured(1);
        QVERIFY2(names.size() > 20, qPrintable(help));
        QString warnings;
        const QString page = renderedPage(folianctl(QStringLiteral("--man")), &warnings);
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
        QStringList proposed = complete(folianctl(QStringLiteral("--bash-completion")), QStringLiteral("folianctl "));
        QStringList missingInPage, missingInCompletion;
        for (const QString &name : names) {
            if (!page.contains(QStringLiteral("\n       ") + name))
                missingInPage << name;
            if (!proposed.contains(name))
                missingInCompletion << name;
        }
        QCOMPARE(missingInPage, QStringList());
        QCOMPARE(missingInCompletion, QStringList());
        QCOMPARE(proposed.size(), names.size());
        QCOMPARE(folianctl(QStringLiteral("--version")).trimmed(),
                 QStringLiteral("folianctl %1 (%2)").arg(QLatin1String(kVersion), QLatin1String(kReleaseDate)));
    }
};

QTEST_GUILESS_MAIN(TstCtlManual)
#include "tst_ctlmanual.moc"
