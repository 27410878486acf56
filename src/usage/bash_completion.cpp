#include "usage/bash_completion.h"

#include "usage/synopsis.h"

#include <QStringList>

#include <map>
#include <set>

namespace qv::usage {

namespace {

// The helpers every command's completion calls; `cur` is the word being
// completed, `args` the arguments before it that are not options.
const char* const helpers = R"bash(_quorvane_cli_unquoted()
{
    # A word as the program will get it: quotes and backslashes gone, ~ expanded.
    local word=$1
    case $word in
        \'*) word=${word#\'}; word=${word%\'} ;;
        \"*) word=${word#\"}; word=${word%\"} ;;
        *) word=${word//\\/} ;;
    esac
    [[ $word == "~/"* ]] && word=$HOME/${word#"~/"}
    printf '%s' "$word"
}

_quorvane_cli_words()
{
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$cur")
}

_quorvane_cli_files()
{
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}

_quorvane_cli_folders()
{
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
}

# Folders, and the files whose names end in $1.
_quorvane_cli_files_ending()
{
    mapfile -t COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X "!*$1" -- "$cur")
}

# The tables a grid window offers for the auction database $1, as the
# program $2 lists them.
_quorvane_cli_tables()
{
    local program database prefix table
    database=$1
    program=$(_quorvane_cli_unquoted "$2")
    prefix=$(_quorvane_cli_unquoted "$cur")
    [[ -f $database ]] || return 0
    while IFS= read -r table; do
        [[ $table == "$prefix"* ]] && COMPREPLY+=("$table")
    done < <("$program" tables "$database" 2>/dev/null)
}
)bash";

// A case pattern of words: "--sort|--filter".
QString alternatives(const QStringList& words)
{
    return words.join(QLatin1Char('|'));
}

// What completes an argument or an option's value named `name`.
QString completer(const QString& name, int databaseIndex)
{
    const QStringList words = literalWords(name);
    if (!words.isEmpty())
        return QStringLiteral("_quorvane_cli_words \"") + words.join(QLatin1Char(' ')) + QLatin1Char('"');
    if (name == QLatin1String("DIR"))
        return QStringLiteral("_quorvane_cli_folders");
    if (name == QLatin1String("DB"))
        return QStringLiteral("_quorvane_cli_files_ending .mdb");
    if (name == QLatin1String("ZIP"))
        return QStringLiteral("_quorvane_cli_files_ending .zip");
    if (name.startsWith(QLatin1String("FILE")))
        return QStringLiteral("_quorvane_cli_files");
    if (name == QLatin1String("TABLE") && databaseIndex >= 0)
        return QStringLiteral("_quorvane_cli_tables \"${args[%1]}\" \"${COMP_WORDS[0]}\"").arg(databaseIndex);
    return QStringLiteral(":");
}

QString commandCase(const CommandUsage& command)
{
    QStringList options;
    QStringList valued;
    std::map<QString, QStringList> byCompleter; // what completes a value: the options it is for
    for (const OptionUsage& option : command.options) {
        QStringList names{QString::fromUtf8(option.name)};
        if (*option.alias != '\0')
            names << QString::fromUtf8(option.alias);
        options << names;
        if (option.takesValue()) {
            valued << names;
            byCompleter[completer(QString::fromUtf8(option.value), -1)] << names;
        }
    }
    options << QString::fromUtf8(helpOption().name) << QString::fromUtf8(helpOption().alias);

    // Each place's completion: the typed words of every form at that place,
    // else the first argument in capitals there.
    std::map<int, QStringList> words;
    std::map<int, QString> named;
    int databaseIndex = -1;
    for (const char* form : command.forms) {
        const std::vector<Positional> places = positionals(form, command.options);
        for (int i = 0; i < static_cast<int>(places.size()); ++i) {
            if (places[i].name == QLatin1String("DB"))
                databaseIndex = i;
            const QStringList typed = places[i].words();
            if (!typed.isEmpty()) {
                for (const QString& word : typed)
                    if (!words[i].contains(word))
                        words[i] << word;
            } else if (!named.count(i)) {
                named[i] = places[i].name;
            }
        }
    }

    const QString indent = QStringLiteral("            ");
    QString out = QStringLiteral("        ") + QString::fromUtf8(command.name) + QStringLiteral(")\n");
    out += indent + QStringLiteral("options=\"") + options.join(QLatin1Char(' ')) + QStringLiteral("\"\n");
    out += indent + QStringLiteral("valued=\" ") + valued.join(QLatin1Char(' ')) + QStringLiteral(" \"\n");
    if (!byCompleter.empty()) {
        out += indent + QStringLiteral("case $prev in\n");
        for (const auto& [complete, names] : byCompleter)
            out += indent + QStringLiteral("    ") + alternatives(names) + QStringLiteral(") ") + complete +
                   QStringLiteral("; return ;;\n");
        out += indent + QStringLiteral("esac\n");
    }
    out += indent + QStringLiteral("[[ $cur == -* ]] && { _quorvane_cli_words \"$options\"; return; }\n");
    out += indent + QStringLiteral("_quorvane_cli_arguments \"$valued\"\n");
    out += indent + QStringLiteral("case ${#args[@]} in\n");
    std::set<int> places;
    for (const auto& entry : words)
        places.insert(entry.first);
    for (const auto& entry : named)
        places.insert(entry.first);
    for (int place : places) {
        const QString complete = words.count(place)
                                     ? completer(words[place].join(QLatin1Char('|')), databaseIndex)
                                     : completer(named[place], databaseIndex);
        out += indent + QStringLiteral("    ") + QString::number(place) + QStringLiteral(") ") + complete +
               QStringLiteral(" ;;\n");
    }
    out += indent + QStringLiteral("esac ;;\n");
    return out;
}

} // namespace

QString bashCompletion(const ProgramUsage& program)
{
    const QString name = QString::fromUtf8(program.name);
    QStringList commands;
    for (const CommandUsage& command : program.commands)
        commands << QString::fromUtf8(command.name);
    QStringList globalOptions;
    QStringList globalValued;
    for (const OptionUsage& option : program.options) {
        globalOptions << QString::fromUtf8(option.name);
        if (*option.alias != '\0')
            globalOptions << QString::fromUtf8(option.alias);
        if (option.takesValue())
            globalValued << QString::fromUtf8(option.name);
    }

    QString out = QStringLiteral("# bash completion for ") + name +
                  QStringLiteral(", made from the program's usage table when it is built.\n\n");
    out += QString::fromUtf8(helpers);
    out += QStringLiteral(R"bash(
# args: the words after the command that are neither options nor the values
# of the options in $1, up to the word being completed.
_quorvane_cli_arguments()
{
    args=()
    local j
    for (( j = start + 1; j < COMP_CWORD; j++ )); do
        if [[ $1 == *" ${COMP_WORDS[j]} "* ]]; then
            (( j++ ))
        elif [[ ${COMP_WORDS[j]} != -?* ]]; then
            args+=("$(_quorvane_cli_unquoted "${COMP_WORDS[j]}")")
        fi
    done
}

_quorvane_cli()
{
    local cur=$2 prev=$3 options valued args=()
    COMPREPLY=()
    # The command is the first word after the options common to every command.
    local start=1 command=""
    while (( start < COMP_CWORD )); do
        case ${COMP_WORDS[start]} in
)bash");
    for (const QString& option : globalValued)
        out += QStringLiteral("            ") + option + QStringLiteral(") (( start += 2 )) ;;\n");
    out += QStringLiteral("            -*) (( start += 1 )) ;;\n");
    out += QStringLiteral("            *) command=${COMP_WORDS[start]}; break ;;\n        esac\n    done\n");
    out += QStringLiteral("    if [[ -z $command ]]; then\n");
    for (const OptionUsage& option : program.options) {
        if (option.takesValue())
            out += QStringLiteral("        [[ $prev == ") + QString::fromUtf8(option.name) +
                   QStringLiteral(" ]] && { ") + completer(QString::fromUtf8(option.value), -1) +
                   QStringLiteral("; return; }\n");
    }
    out += QStringLiteral("        if [[ $cur == -* ]]; then\n            _quorvane_cli_words \"") +
           globalOptions.join(QLatin1Char(' ')) +
           QStringLiteral("\"\n        else\n            _quorvane_cli_words \"") +
           commands.join(QLatin1Char(' ')) + QStringLiteral("\"\n        fi\n        return\n    fi\n");
    out += QStringLiteral("    case $command in\n");
    for (const CommandUsage& command : program.commands)
        out += commandCase(command);
    out += QStringLiteral("    esac\n}\n\n");
    // -o filenames: the shell quotes what it inserts ("All Bids") and marks folders.
    out += QStringLiteral("complete -o filenames -F _quorvane_cli ") + name + QLatin1Char('\n');
    return out;
}

} // namespace qv::usage
