// folian-opac: the public catalogue server, on the database host or
// beside it, for readers' browsers and the staff's OPAC screen.

#include "base/version.h"
#include "opac/server/opacserver.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: folian-opac [--ini FILE] [--listen ADDRESS] [--port N] [--directory DIR]\n\n"
    "Serves the public catalogue of the Folian database that FILE names\n"
    "(default: ./Folian.ini) over HTTP, read-only: readers search it from any\n"
    "browser, in French or in Arabic. On a PostgreSQL server it connects as the\n"
    "role named by Username and Password under [OPAC] (made by folianctl\n"
    "opac-role), which can only read the catalogue.\n\n"
    "  --listen ADDRESS  the address to listen on (default 127.0.0.1)\n"
    "  --port N          the port (default 8080)\n"
    "  --directory DIR   the path the catalogue answers under (default [OPAC]\n"
    "                    Directory of the file, else opac)\n"
    "  --version         print the version and stop\n\n"
    "It stops cleanly on SIGTERM or SIGINT; one line of log per request goes\n"
    "to standard error.\n";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("folian-opac"));
    folian::opac::RunOptions options;
    options.ini = QDir::current().filePath(QStringLiteral("Folian.ini"));
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i), value;
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            std::printf("%s", kUsage);
            return 0;
        }
        if (name == QLatin1String("--version")) {
            std::printf("folian-opac %s\n", folian::kVersion);
            return 0;
        }
        if (const qsizetype eq = name.indexOf(u'='); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            std::fprintf(stderr, "folian-opac: %s needs a value (see --help)\n", qPrintable(name));
            return 2;
        }
        if (name == QLatin1String("--ini"))
            options.ini = QDir::current().absoluteFilePath(value);
        else if (name == QLatin1String("--listen"))
            options.address = value;
        else if (name == QLatin1String("--port"))
            options.port = value;
        else if (name == QLatin1String("--directory"))
            options.directory = value;
        else {
            std::fprintf(stderr, "folian-opac: unknown option %s (see --help)\n", qPrintable(name));
            return 2;
        }
    }
    return folian::opac::runServer(options);
}
