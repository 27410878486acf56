#pragma once

#include "usage/program_usage.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv::usage {

// A form split into the pieces a line may break between: a bracketed group
// with what follows it ("[--row-break N]..."), an option with its value
// ("--from N"), or a word.
QStringList synopsisUnits(const char* form, const std::vector<OptionUsage>& options);

// What the user gives at one place on the command line, after the command
// word and apart from options: an argument in capitals ("DB", "TABLE"), or
// one of the words typed as they are ("markets|bidders|rounds").
struct Positional {
    QString name;
    bool optional = false;
    QStringList words() const; // the typed words; none for an argument in capitals
};
std::vector<Positional> positionals(const char* form, const std::vector<OptionUsage>& options);

// The words of a value typed as they are ("tsv|csv|json"); none when the
// value is something the user names ("FILE", "licence:NAME|net").
QStringList literalWords(const QString& value);

} // namespace qv::usage
