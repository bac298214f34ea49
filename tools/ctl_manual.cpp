#include "ctl_manual.h"

#include "base/manpage.h"
#include "base/version.h"

#include <QSet>

namespace folian::ctl {

namespace {

const char16_t kUsage[] = u"folianctl [--ini FILE] [--user LOGIN] COMMAND [ARGUMENTS]";

// The options every command takes, before or after its name.
struct GlobalOption {
    const char16_t *synopsis;
    const char16_t *text;
    bool takesValue;
};
const GlobalOption kGlobalOptions[] = {
    {u"--ini FILE", u"The configuration file (default: ./Folian.ini).", true},
    {u"--user LOGIN", u"The user of the database the command acts for, with his rights "
                      u"(default: the first administrator). --login is another name of it.", true},
    {u"--login LOGIN", u"The same as --user.", true},
    {u"--help", u"Lists the commands; after a command, says how to use it.", false},
    {u"--version", u"Prints the release and its date.", false},
};

const char16_t kDescription[] =
    u"Batch access to a Folian database. --ini names the configuration file\n"
    u"(default: ./Folian.ini). --user (or --login) names the user of the database\n"
    u"a command acts for, with his rights (default: the first administrator).";

QString optionWord(const QString &name) { return QStringLiteral("--") + name; }

QStringList commandOptions(const Command &c)
{
    QStringList out;
    for (const QString &o : c.valueOptions)
        out << optionWord(o) + QStringLiteral(" VALUE");
    for (const QString &o : c.flagOptions)
        out << optionWord(o);
    return out;
}

// A name made safe as a bash case pattern (the table's names are plain words).
QString shellWord(const QString &word)
{
    QString out;
    for (const QChar c : word)
        if (c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u'.')
            out += c;
    return out;
}

} // namespace

QString versionLine()
{
    return QStringLiteral("folianctl %1 (%2)").arg(QLatin1String(kVersion), QLatin1String(kReleaseDate));
}

QString helpText(const QVector<Command> &commands)
{
    QString text = QStringLiteral("Usage: ") + QString::fromUtf16(kUsage) + QStringLiteral("\n\n")
        + QString::fromUtf16(kDescription) + QStringLiteral("\n\nCommands:\n");
    for (const Command &c : commands)
        text += QStringLiteral("  %1\n      %2\n").arg(c.synopsis, c.summary);
    return text;
}

ManPage manualPage(const QVector<Command> &commands)
{
    ManPage page = ManPage::ofRelease(QStringLiteral("folianctl"), 1,
                                      QStringLiteral("batch access to a Folian library database"));
    page.synopsis = {QString::fromUtf16(kUsage), QStringLiteral("folianctl COMMAND --help"),
                     QStringLiteral("folianctl --help | --version")};

    ManPage::Section description{QStringLiteral("DESCRIPTION"), {}, {}};
    description.paragraphs << QString::fromUtf16(kDescription)
                           << QStringLiteral("Each command is a face of the same services as the desktop "
                                             "program's screens: it checks the rights of the user it acts "
                                             "for, and changes the database in one transaction or not at all.");
    page.sections << description;

    ManPage::Section options{QStringLiteral("OPTIONS"), {}, {}};
    for (const GlobalOption &o : kGlobalOptions)
        options.entries << ManPage::Entry{QString::fromUtf16(o.synopsis), QString::fromUtf16(o.text)};
    page.sections << options;

    ManPage::Section list{QStringLiteral("COMMANDS"), {}, {}};
    list.paragraphs << QStringLiteral("Positional arguments come first, then the options; an option's value "
                                      "follows it, or is joined to it by \"=\".");
    for (const Command &c : commands) {
        QString text = c.summary;
        if (const QStringList o = commandOptions(c); !o.isEmpty())
            text += QStringLiteral("\n\nOptions: ") + o.join(QStringLiteral(", ")) + u'.';
        list.entries << ManPage::Entry{c.synopsis, text};
    }
    page.sections << list;

    page.sections << ManPage::Section{
        QStringLiteral("EXIT STATUS"),
        {},
        {{QStringLiteral("0"), QStringLiteral("The command did its work; what it made (a key, a count, a "
                                              "file's name) is printed on standard output.")},
         {QStringLiteral("1"), QStringLiteral("The command was refused or failed, or its arguments were "
                                              "wrong: the reason is printed on standard error and nothing "
                                              "was changed by the step that failed.")}}};
    page.sections << ManPage::Section{
        QStringLiteral("FILES"),
        {},
        {{QStringLiteral("./Folian.ini"), QStringLiteral("The configuration read when --ini is not given: the "
                                                          "engine and the database.")}}};
    page.sections << ManPage::Section{QStringLiteral("SEE ALSO"),
                                      {QStringLiteral("folian(1), folian-opac(8)")},
                                      {}};
    return page;
}

QString bashCompletion(const QVector<Command> &commands)
{
    QStringList names, valueOptions{QStringLiteral("--ini"), QStringLiteral("--user"), QStringLiteral("--login")},
        globals;
    for (const GlobalOption &o : kGlobalOptions)
        globals << QString::fromUtf16(o.synopsis).section(u' ', 0, 0);
    QString cases;
    QSet<QString> seen;
    for (const Command &c : commands) {
        const QString name = shellWord(c.name);
        names << name;
        QStringList words;
        for (const QString &o : c.valueOptions) {
            words << optionWord(shellWord(o));
            if (!seen.contains(o)) {
                seen.insert(o);
                valueOptions << optionWord(shellWord(o));
            }
        }
        for (const QString &o : c.flagOptions)
            words << optionWord(shellWord(o));
        words << QStringLiteral("--help");
        cases += QStringLiteral("        %1) options=\"%2\" ;;\n").arg(name, words.join(u' '));
    }
    QString out;
    out += QStringLiteral("# bash completion for folianctl: its commands and their options.\n"
                          "# Made by the build from folianctl's table of commands; do not edit.\n\n"
                          "_folianctl()\n{\n"
                          "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                          "    local commands=\"%1\"\n"
                          "    local global=\"%2\"\n"
                          "    local i word command= options\n"
                          "    COMPREPLY=()\n"
                          "    # After an option that takes a value: the shell's own completion (files).\n"
                          "    case $prev in\n"
                          "        %3) return ;;\n"
                          "    esac\n"
                          "    # The command is the first word that is neither an option nor an option's value.\n"
                          "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
                          "        word=${COMP_WORDS[i]}\n"
                          "        case $word in\n"
                          "            %3) ((i++)) ;;\n"
                          "            -*) ;;\n"
                          "            *) command=$word; break ;;\n"
                          "        esac\n"
                          "    done\n"
                          "    if [[ -z $command ]]; then\n"
                          "        if [[ $cur == -* ]]; then\n"
                          "            mapfile -t COMPREPLY < <(compgen -W \"$global\" -- \"$cur\")\n"
                          "        else\n"
                          "            mapfile -t COMPREPLY < <(compgen -W \"$commands\" -- \"$cur\")\n"
                          "        fi\n"
                          "        return\n"
                          "    fi\n"
                          "    [[ $cur == -* ]] || return\n"
                          "    case $command in\n")
               .arg(names.join(u' '), globals.join(u' '), valueOptions.join(u'|'));
    out += cases;
    out += QStringLiteral("        *) return ;;\n"
                          "    esac\n"
                          "    mapfile -t COMPREPLY < <(compgen -W \"$options --ini --user --login\" -- \"$cur\")\n"
                          "}\n"
                          "complete -o default -F _folianctl folianctl\n");
    return out;
}

} // namespace folian::ctl
