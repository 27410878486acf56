#pragma once

// How to run the two programs, said once: quorvane-cli prints it for --help
// and for a wrong command line, and the build makes the manual pages and the
// shell completion from the same table, so none of them can tell another story.

#include <QStringView>

#include <vector>

namespace qv::usage {

// An option: its name, the value it takes ("FILE", "tsv|csv|json"; empty for
// a switch), what it does, and another name for it ("--output" beside "-o").
struct OptionUsage {
    const char* name = "";
    const char* value = "";
    const char* text = "";
    const char* alias = "";

    bool takesValue() const { return *value != '\0'; }
    bool named(QStringView word) const;
};

// A command of quorvane-cli. Each form is the command line after the command
// word ("DB TABLE [ROUND] [-o FILE]"): words in capitals stand for what the
// user gives, lower-case words are typed as they are, brackets hold what may
// be left out and "..." follows what may be repeated.
struct CommandUsage {
    const char* name = "";
    std::vector<const char*> forms;
    const char* summary = "";     // one line in the list of commands
    const char* description = ""; // paragraphs, separated by blank lines
    std::vector<OptionUsage> options;
    std::vector<const char*> examples; // a long one continued on lines of its own

    const OptionUsage* option(QStringView word) const;
};

// A titled part of the manual page ("Exit status"), also printed by --help.
struct SectionUsage {
    const char* title = "";
    const char* text = "";
};

struct ProgramUsage {
    const char* name = "";
    const char* purpose = ""; // the manual page's one-line description
    std::vector<const char*> forms;
    const char* description = "";
    std::vector<OptionUsage> options;
    std::vector<CommandUsage> commands;
    std::vector<SectionUsage> sections;
    std::vector<const char*> seeAlso; // "quorvane(1)"

    const CommandUsage* command(QStringView name) const;
};

// -h, --help: every command and both programs take it.
const OptionUsage& helpOption();

const ProgramUsage& cliUsage();
const ProgramUsage& desktopUsage();

} // namespace qv::usage
