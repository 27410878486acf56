// The usage of the desktop program, quorvane.
#include "usage/program_usage.h"

namespace qv::usage {

const ProgramUsage& desktopUsage()
{
    static const ProgramUsage usage{
        .name = "quorvane",
        .purpose = "follow a spectrum-licence auction round by round",
        .forms = {"", "--help", "--version"},
        .description =
            "Quorvane follows a multi-round spectrum-licence auction round by round. After every bidding "
            "round "
            "the auctioning agency publishes a round results file: a zip archive (05_012.zip is auction 5, "
            "round 12) holding one small database with that round's tables. Quorvane keeps one auction "
            "database per auction, imports each round as it arrives (or a whole folder in one pass), and "
            "shows it in grid windows, one table and round at a time, with the round summary, the "
            "standings, the pivot analyses, printing and export.\n\n"
            "On start it asks whether to open an auction database, create a new auction from the results "
            "file of round 1, or batch-import one from a folder of round results files. Help > Contents "
            "opens the user guide.\n\n"
            "It also takes the options every Qt program takes, such as -platform NAME.",
        .options = {{"-h", "", "print this help", "--help"}, {"--version", "", "print the version"}},
        .commands = {},
        .sections = {{"Environment",
                      "QUORVANE_HOME: the application folder, which holds the auction "
                      "databases (else ~/.local/share/Quorvane/Quorvane). QUORVANE_KEYSTORE: the "
                      "file naming the program About > System Info starts (else keystore.ini in "
                      "the application folder)."},
                     {"Files", "~/.config/Quorvane/Quorvane.conf keeps the main window's placement. The "
                               "application folder holds AuctionN.mdb, one database per auction, and "
                               "lastimp.inf, the folder of the last import. The user guide is also installed "
                               "as HTML pages: /usr/share/doc/quorvane/html/index.html from the Debian "
                               "package."}},
        .seeAlso = {"quorvane-cli(1)"},
    };
    return usage;
}

} // namespace qv::usage
