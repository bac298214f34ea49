#pragma once
// folianctl run by the tests as a librarian's script runs it: on the
// database of a Folian.ini, its output read back. For the test programs
// built with FOLIANCTL_PATH.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace folian::test {

struct CtlRun {
    int code = -1;  // the exit status; -1 when it crashed or did not end
    QString out;    // standard output and standard error, as they came
};

// folianctl --ini `ini` with `args`, given `input` on its standard input;
// `environment` ("NAME=value" each) is added to the test's own.
inline CtlRun runFolianctl(const QString &ini, const QStringList &args, const QByteArray &input = {},
                           const QStringList &environment = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &v : environment)
        env.insert(v.section(u'=', 0, 0), v.section(u'=', 1));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(FOLIANCTL_PATH), QStringList{QStringLiteral("--ini"), ini} + args);
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(120000))
        return {-1, QStringLiteral("timeout")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

} // namespace folian::test
