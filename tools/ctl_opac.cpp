// folianctl's public catalogue commands: the server, and the role it reads as.

#include "ctl.h"

#include "opac/core/opacrole.h"
#include "opac/server/opacserver.h"

namespace folian::ctl {

namespace {

int opacServer(const Args &a)
{
    if (!a.positional.isEmpty())
        return fail(QStringLiteral("opac takes only options (see folianctl --help)"));
    opac::RunOptions options;
    options.ini = iniPath();
    options.address = a.value(QStringLiteral("listen"), options.address);
    options.port = a.value(QStringLiteral("port"), options.port);
    options.directory = a.value(QStringLiteral("directory"));
    return opac::runServer(options);
}

int opacRole(const Args &a)
{
    return roleCommand(a, QStringLiteral("opac-role"), opac::GrantCatalogueReaderRole,
                       QStringLiteral("The role \"%1\" %2 reads the catalogue of \"%3\" and nothing else. Give it to "
                                      "the public catalogue server: Username=%1 and its Password under [OPAC] in its "
                                      "Folian.ini."));
}

} // namespace

void addOpacCommands(QVector<Command> &out)
{
    out << Command{QStringLiteral("opac"), QStringLiteral("opac [--listen ADDRESS] [--port N] [--directory DIR]"),
                   QStringLiteral("serve the public catalogue over HTTP, read-only, until stopped (SIGTERM or Ctrl+C): "
                                  "default 127.0.0.1, port 8080, under [OPAC] Directory or opac"),
                   {QStringLiteral("listen"), QStringLiteral("port"), QStringLiteral("directory")}, {}, opacServer};
    out << Command{QStringLiteral("opac-role"), QStringLiteral("opac-role NAME [--password-stdin]"),
                   QStringLiteral("make the PostgreSQL role the public catalogue server connects as: it reads the "
                                  "catalogue and nothing else; its password is read from standard input, or made and "
                                  "printed once"),
                   {}, {QStringLiteral("password-stdin")}, opacRole};
}

} // namespace folian::ctl
