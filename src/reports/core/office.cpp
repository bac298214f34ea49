#include "reports/core/office.h"

#include "base/messages.h"

#include <QDir>
#include <QStandardPaths>

namespace folian {

QStringList officeSearchPaths()
{
    QStringList paths = qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    paths << QStringLiteral("/usr/bin") << QStringLiteral("/usr/local/bin")
          << QStringLiteral("/usr/lib/libreoffice/program") << QStringLiteral("/opt/libreoffice/program")
          << QStringLiteral("/snap/bin");
    paths.removeDuplicates();
    return paths;
}

OfficeCommand officeCommand(OfficeProgram program, const QString &file, const QStringList &paths)
{
    OfficeCommand cmd;
    for (const char *name : {"soffice", "libreoffice"}) {
        cmd.program = QStandardPaths::findExecutable(QLatin1String(name), paths);
        if (cmd.found())
            break;
    }
    if (!cmd.found())
        return cmd;
    cmd.arguments << (program == OfficeProgram::WordProcessor ? QStringLiteral("--writer")
                                                              : QStringLiteral("--calc"))
                  << QDir::toNativeSeparators(file);
    return cmd;
}

QString officeUnavailableMessage(const QString &file)
{
    return tr2(QStringLiteral("Aucun programme ne peut ouvrir le fichier %1 : installez LibreOffice."),
               QStringLiteral("لا يوجد برنامج لفتح الملف %1 : يرجى تثبيت LibreOffice."))
        .arg(file);
}

} // namespace folian
