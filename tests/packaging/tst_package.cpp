// The .deb, built once from this build with cpack, then looked at the way
// Debian looks at a package: its fields and dependencies with dpkg-deb, its
// files in their places, the desktop entry and the AppStream metadata with
// their validators, the manual pages with man, lintian; and the programs it
// holds, unpacked into a throw-away root, run from there and finding their
// files there without writing anything into it.

#include "base/version.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env = {},
        const QByteArray &input = {}, int timeoutMs = 300000)
{
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, arguments);
    Run r;
    if (!p.waitForStarted()) {
        r.err = program + QStringLiteral(" did not start");
        return r;
    }
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = program + QStringLiteral(" did not finish");
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString version() { return QLatin1String(folian::kVersion); }

bool hasOpac() { return QLatin1String(FOLIAN_HAS_OPAC) == QLatin1String("1"); }

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Every path of the unpacked tree (files and links) with its size and time.
QStringList snapshot(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        out << fi.filePath() + u' ' + QString::number(fi.size()) + u' '
                + QString::number(fi.lastModified().toMSecsSinceEpoch());
    }
    out.sort();
    return out;
}

} // namespace

class TstPackage : public QObject
{
    Q_OBJECT
    QTemporaryDir work_;
    QString deb_, root_;
    QStringList contents_;  // "./usr/bin/folian" ...
    QStringList listing_;   // dpkg-deb --contents lines

    QString extracted(const QString &path) const { return root_ + path; }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "man"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is missing: run scripts/setup.sh").arg(QLatin1String(tool))));
        QVERIFY(work_.isValid());
        const QString out = work_.filePath(QStringLiteral("out"));
        const Run cpack = run(QStringLiteral(CPACK_COMMAND),
                              {QStringLiteral("--config"), QStringLiteral(FOLIAN_BUILD_DIR "/CPackConfig.cmake"),
                               QStringLiteral("-B"), out},
                              {}, {}, 540000);
        QVERIFY2(cpack.status == 0, qPrintable(cpack.out + cpack.err));
        const QString arch = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).out.trimmed();
        deb_ = out + QStringLiteral("/folian_%1_%2.deb").arg(version(), arch);
        QVERIFY2(QFileInfo::exists(deb_), qPrintable(deb_ + QStringLiteral(" was not made: ") + cpack.out));

        const Run listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), deb_});
        QCOMPARE(listing.status, 0);
        listing_ = listing.out.split(u'\n', Qt::SkipEmptyParts);
        for (const QString &line : std::as_const(listing_)) {
            QString path = line.section(u' ', -1);
            if (line.contains(QLatin1String(" -> ")))  // a link: its own name
                path = line.section(QStringLiteral(" -> "), 0, 0).section(u' ', -1);
            contents_ << path;
        }
        root_ = work_.filePath(QStringLiteral("root"));
        const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, root_});
        QVERIFY2(unpack.status == 0, qPrintable(unpack.err));
    }

    void fields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");  // a regular expression the value matches
        QTest::newRow("name") << "Package" << "^folian$";
        QTest::newRow("version") << "Version" << QStringLiteral("^%1$").arg(QRegularExpression::escape(version()));
        QTest::newRow("maintainer") << "Maintainer" << "^.+ <.+@.+>$";
        QTest::newRow("section") << "Section" << "^misc$";
        QTest::newRow("description") << "Description" << "^library management in French and Arabic\n .+";
        // Computed from the programs by dpkg-shlibdeps: nobody wrote these.
        QTest::newRow("depends: the C library") << "Depends" << "(^|, )libc6 \\(>= [0-9.]+\\)";
        QTest::newRow("depends: Qt widgets") << "Depends" << "(^|, )libqt6widgets6 \\(>= [0-9.~a-z+]+\\)";
        QTest::newRow("depends: libsodium") << "Depends" << "(^|, )libsodium23 \\(>= [0-9.~a-z+]+\\)";
        QTest::newRow("depends: ICU") << "Depends" << "(^|, )libicu72";
        // Loaded at run time, so named by the build.
        QTest::newRow("depends: SQLite driver") << "Depends" << "(^|, )libqt6sql6-sqlite(,|$)";
        QTest::newRow("depends: PostgreSQL driver") << "Depends" << "(^|, )libqt6sql6-psql(,|$)";
    }
    void fields()
    {
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const Run r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), deb_, field});
        QCOMPARE(r.status, 0);
        const QString value = r.out.trimmed();
        QVERIFY2(QRegularExpression(expected).match(value).hasMatch(), qPrintable(field + QStringLiteral(": ") + value));
    }

    void files_data()
    {
        QTest::addColumn<QString>("path");
        const char *const paths[] = {
            "usr/bin/folian",
            "usr/bin/folianctl",
            "usr/share/folian/Folian.FR",
            "usr/share/folian/Folian.AR",
            "usr/share/applications/org.folian.Folian.desktop",
            "usr/share/metainfo/org.folian.Folian.metainfo.xml",
            "usr/share/icons/hicolor/scalable/apps/org.folian.Folian.svg",
            "usr/share/man/man1/folian.1.gz",
            "usr/share/man/man1/folianctl.1.gz",
            "usr/share/bash-completion/completions/folianctl",
            "usr/share/doc/folian/copyright",
            "usr/share/doc/folian/changelog.gz",
            "lib/systemd/system/folian-backup.service",
            "lib/systemd/system/folian-backup.timer",
        };
        for (const char *p : paths)
            QTest::newRow(p) << QString::fromLatin1(p);
        for (int size : kIconSizes) {
            const QString p = QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/org.folian.Folian.png").arg(size);
            QTest::newRow(qPrintable(p)) << p;
        }
        if (hasOpac())
            for (const char *p : {"usr/bin/folian-opac", "usr/share/man/man8/folian-opac.8.gz",
                                  "lib/systemd/system/folian-opac.service"})
                QTest::newRow(p) << QString::fromLatin1(p);
    }
    void files()
    {
        QFETCH(QString, path);
        QVERIFY2(contents_.contains(QStringLiteral("./") + path), qPrintable(contents_.join(u'\n')));
        QVERIFY(QFileInfo(extracted(u'/' + path)).size() > 0);
    }

    // Only the programs and their files, owned by root, with the usual modes;
    // no test program, no benchmark, no library of the build.
    void nothingElse()
    {
        static const QRegularExpression allowed(QStringLiteral(
            "^\\./(usr/(bin/(folian|folianctl|folian-opac)|share/(folian|applications|metainfo|icons/hicolor|man/man[18]"
            "|bash-completion/completions|doc/folian)(/.*)?)|lib/systemd/system/folian-(opac\\.service|backup\\.(service|timer)))$"));
        QStringList stray;
        for (const QString &path : std::as_const(contents_))
            if (!path.endsWith(u'/') && !allowed.match(path).hasMatch())  // directories hold the files checked
                stray << path;
        QCOMPARE(stray, QStringList());
        QStringList badModes;
        for (const QString &line : std::as_const(listing_)) {
            const QString mode = line.section(u' ', 0, 0), owner = line.simplified().section(u' ', 1, 1);
            const QString path = line.section(u' ', -1);
            const bool program = path.startsWith(QLatin1String("./usr/bin/"));
            const QString wanted = mode.startsWith(u'd') ? QStringLiteral("drwxr-xr-x")
                : program                               ? QStringLiteral("-rwxr-xr-x")
                                                        : QStringLiteral("-rw-r--r--");
            if (mode != wanted || owner != QLatin1String("root/root"))
                badModes << line;
        }
        QCOMPARE(badModes, QStringList());
    }

    void icons()
    {
        for (int size : kIconSizes) {
            const QImage icon(extracted(QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/org.folian.Folian.png").arg(size)));
            QVERIFY2(!icon.isNull(), qPrintable(QString::number(size)));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
        }
    }

    void desktopEntry()
    {
        const QString path = extracted(QStringLiteral("/usr/share/applications/org.folian.Folian.desktop"));
        const Run r = run(QStringLiteral("desktop-file-validate"), {path});
        QVERIFY2(r.status == 0 && QString(r.out + r.err).trimmed().isEmpty(), qPrintable(r.out + r.err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (const char *key : {"Name[ar]=", "GenericName[fr]=", "GenericName[ar]=", "Comment[fr]=", "Comment[ar]=",
                                "Keywords[fr]=", "Keywords[ar]=", "\nExec=folian\n", "\nIcon=org.folian.Folian\n"})
            QVERIFY2(text.contains(QLatin1String(key)), key);
    }

    void appStream()
    {
        const QString path = extracted(QStringLiteral("/usr/share/metainfo/org.folian.Folian.metainfo.xml"));
        const Run r = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), path});
        QVERIFY2(r.status == 0, qPrintable(r.out + r.err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.contains(QStringLiteral("<release version=\"%1\" date=\"%2\"/>")
                                  .arg(version(), QLatin1String(folian::kReleaseDate))));
        QVERIFY(text.contains(QStringLiteral("<summary xml:lang=\"ar\">")));
        QVERIFY(text.contains(QStringLiteral("<p xml:lang=\"fr\">")));
        QVERIFY(text.contains(QStringLiteral("/docs/main-ar.png</image>")));
    }

    void manualPages_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("folian(1)") << "/usr/share/man/man1/folian.1.gz" << "folian";
        QTest::newRow("folianctl(1)") << "/usr/share/man/man1/folianctl.1.gz" << "folianctl";
        if (hasOpac())
            QTest::newRow("folian-opac(8)") << "/usr/share/man/man8/folian-opac.8.gz" << "folian-opac";
    }
    void manualPages()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("100"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        const Run r = run(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), extracted(path)}, env);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("NAME\n       ") + name + QStringLiteral(" - ")));
        QVERIFY(r.out.contains(QStringLiteral("Folian ") + version()));
    }

    // The programs run from the unpacked root and say their release.
    void programs()
    {
        const Run ctl = run(extracted(QStringLiteral("/usr/bin/folianctl")), {QStringLiteral("--version")});
        QCOMPARE(ctl.out.trimmed(), QStringLiteral("folianctl %1 (%2)").arg(version(), QLatin1String(folian::kReleaseDate)));
        const Run help = run(extracted(QStringLiteral("/usr/bin/folianctl")), {QStringLiteral("--help")});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains(QStringLiteral("\n  init-db")));
        const Run program = run(extracted(QStringLiteral("/usr/bin/folian")), {QStringLiteral("--version")});
        QCOMPARE(program.out.trimmed(), QStringLiteral("Folian %1 (%2)").arg(version(), QLatin1String(folian::kReleaseDate)));
        // The completion the package holds is a script bash reads.
        const Run bash = run(QStringLiteral("bash"),
                             {QStringLiteral("--norc"), QStringLiteral("-c"),
                              QStringLiteral("source '%1' && complete -p folianctl")
                                  .arg(extracted(QStringLiteral("/usr/share/bash-completion/completions/folianctl")))});
        QVERIFY2(bash.status == 0 && bash.out.contains(QLatin1String("_folianctl")), qPrintable(bash.err));
    }

    // The desktop program from the unpacked root, in Arabic, on a database
    // its folianctl made: it reads its captions from the root's
    // share/folian, and neither program writes anything into the root.
    void installedProgramFindsItsFiles()
    {
        const QString dir = work_.filePath(QStringLiteral("library"));
        QVERIFY(QDir().mkpath(dir));
        const QString ini = dir + QStringLiteral("/Folian.ini");
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Application]\nEngine=SQLITE\nCatalog=Folian.db\nLogin=1\nLanguage=AR\n");
        f.close();
        const QStringList before = snapshot(root_);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), work_.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), work_.filePath(QStringLiteral("home/config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), work_.filePath(QStringLiteral("home/data")));
        const Run init = run(extracted(QStringLiteral("/usr/bin/folianctl")),
                             {QStringLiteral("--ini"), ini, QStringLiteral("--admin-login"), QStringLiteral("admin"),
                              QStringLiteral("init-db"), QStringLiteral("--admin-password-stdin")},
                             env, "secret\n");
        QVERIFY2(init.status == 0, qPrintable(init.err));

        const QString text = work_.filePath(QStringLiteral("about.txt"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("FOLIAN_SCREENSHOT"), work_.filePath(QStringLiteral("about.png")));
        env.insert(QStringLiteral("FOLIAN_SCREENSHOT_TEXT"), text);
        env.insert(QStringLiteral("FOLIAN_AUTOLOGON"), QStringLiteral("admin:secret"));
        env.insert(QStringLiteral("FOLIAN_OPEN"), QStringLiteral("À propos"));
        const Run program = run(extracted(QStringLiteral("/usr/bin/folian")), {QStringLiteral("--ini"), ini}, env, {},
                                120000);
        QVERIFY2(program.status == 0, qPrintable(program.err));
        QFile shown(text);
        QVERIFY2(shown.open(QIODevice::ReadOnly), "the About dialog was not shown");
        const QString about = QString::fromUtf8(shown.readAll());
        // The dialog's title and button come from Folian.AR; the program's own texts are French.
        QVERIFY2(about.contains(QStringLiteral("حول فوليان")), qPrintable(about));
        QVERIFY2(about.contains(QStringLiteral("إغلاق")), qPrintable(about));
        const QString captions = QFileInfo(extracted(QStringLiteral("/usr/share/folian/Folian.AR"))).canonicalFilePath();
        QVERIFY2(about.contains(QStringLiteral("الترجمة : ") + QChar(0x2066) + captions + QChar(0x2069)), qPrintable(about));
        QVERIFY2(about.contains(QStringLiteral("SQLite")), qPrintable(about));
        QCOMPARE(snapshot(root_), before);
    }

    void lintian()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
            QFAIL("lintian is missing: run scripts/setup.sh");
        const Run r = run(QStringLiteral("lintian"), {QStringLiteral("--tag-display-limit"), QStringLiteral("0"), QStringLiteral("-I"), deb_}, {}, {}, 540000);
        QStringList errors;
        for (const QString &line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
            qInfo("%s", qPrintable(line));
            if (line.startsWith(QLatin1String("E: ")))
                errors << line;
        }
        QVERIFY2(r.status >= 0, qPrintable(r.err));
        QCOMPARE(errors, QStringList());
    }
};

QTEST_GUILESS_MAIN(TstPackage)
#include "tst_package.moc"
