#include "commandline.h"

#include "base/manpage.h"
#include "base/version.h"

#include <cstdio>
#include <cstring>

namespace folian {

const QVector<ProgramOption> &programOptions()
{
    static const QVector<ProgramOption> options{
        {QStringLiteral("ini"), QStringLiteral("FILE"), QStringLiteral("The configuration file to use.")},
    };
    return options;
}

QString programVersionLine()
{
    return QStringLiteral("Folian %1 (%2)").arg(QLatin1String(kVersion), QLatin1String(kReleaseDate));
}

ManPage programManualPage()
{
    ManPage page = ManPage::ofRelease(QStringLiteral("folian"), 1,
                                      QStringLiteral("library management in French and Arabic"));
    page.synopsis = {QStringLiteral("folian [--ini FILE]"), QStringLiteral("folian --help | --version")};

    page.sections << ManPage::Section{
        QStringLiteral("DESCRIPTION"),
        {QStringLiteral("Folian is the desktop program of a library: acquisitions, cataloguing (UNIMARC), "
                        "authorities, circulation, editions and statistics, administration. Its interface "
                        "is in French or in Arabic (right to left), switched at logon and at any time from "
                        "the main window."),
         QStringLiteral("Every workstation runs the program on one database: an embedded SQLite file for a "
                        "single workstation, or a PostgreSQL server shared by a network of workstations. "
                        "The configuration file names it; folianctl(1) creates and upgrades it.")},
        {}};

    ManPage::Section options{QStringLiteral("OPTIONS"), {}, {}};
    for (const ProgramOption &o : programOptions())
        options.entries << ManPage::Entry{
            QStringLiteral("--") + o.name + (o.valueName.isEmpty() ? QString() : u' ' + o.valueName), o.text};
    options.entries << ManPage::Entry{QStringLiteral("--help"), QStringLiteral("Lists the options.")}
                    << ManPage::Entry{QStringLiteral("--version"), QStringLiteral("Prints the release and its date.")};
    page.sections << options;

    page.sections << ManPage::Section{
        QStringLiteral("EXIT STATUS"),
        {},
        {{QStringLiteral("0"), QStringLiteral("The program was closed, or the logon was cancelled.")},
         {QStringLiteral("1"), QStringLiteral("The database could not be opened; the message said why, and the "
                                              "configuration file was left as it was.")}}};
    page.sections << ManPage::Section{
        QStringLiteral("FILES"),
        {},
        {{QStringLiteral("Folian.ini"),
          QStringLiteral("The configuration: the one --ini names, else Folian.ini beside the program (a portable "
                         "copy), else ~/.config/Folian/Folian.ini. It names the engine (SQLITE or POSTGRESQL), "
                         "the database and the interface's language; the last user and the language are "
                         "written back to it at the end of a session.")},
         {QStringLiteral("/usr/share/folian/Folian.FR, /usr/share/folian/Folian.AR"),
          QStringLiteral("The captions of the screens in French and in Arabic. A copy in the directory of "
                         "Folian.ini is read first.")},
         {QStringLiteral("~/.local/share/Folian/"),
          QStringLiteral("The pages the program writes (lists, letters, previews) and its scratch report "
                         "database.")}}};
    page.sections << ManPage::Section{QStringLiteral("SEE ALSO"),
                                      {QStringLiteral("folianctl(1), folian-opac(8)")},
                                      {}};
    return page;
}

bool printProgramText(int argc, char **argv)
{
    if (argc != 2)
        return false;
    QString text;
    if (std::strcmp(argv[1], "--version") == 0)
        text = programVersionLine() + u'\n';
    else if (std::strcmp(argv[1], "--man") == 0)
        text = manPageText(programManualPage());
    else
        return false;
    std::printf("%s", text.toUtf8().constData());
    return true;
}

} // namespace folian
