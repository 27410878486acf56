// The usage of quorvane-cli: every command with its forms and options.
#include "usage/program_usage.h"

namespace qv::usage {

namespace {

const OptionUsage formatOption{"--format", "tsv|csv|json",
                               "tab-delimited (the default), CSV quoted as RFC 4180, or a JSON array of one "
                               "object per row"};
const OptionUsage sortOption{"--sort", "SPEC",
                             "order the rows as the grid's Sort does, such as \"[Gross Bid Amount] DESC\""};
const OptionUsage allOption{"--all", "",
                            "the whole table, every round, in the table's order (instead of ROUND)"};
const OptionUsage filterOption{"--filter", "EXPR",
                               "keep the rows that match a condition, as the grid's Filter does, such as "
                               "\"[Bidder] = 'Acme'\""};

std::vector<CommandUsage> commands()
{
    return {
        {.name = "sample",
         .forms = {"DIR [--auction N] [--rounds R] [--licenses L] [--bidders B] [--seed S]"},
         .summary = "write generated round results files NN_RRR.zip into DIR",
         .description = "Writes the round results files of a generated auction into DIR, made when missing: "
                        "NN_001.zip, NN_002.zip and so on, each holding one round's database as the agency "
                        "publishes it. The same options always give the same files.",
         .options = {{"--auction", "N",
                      "the auction number, from 1 to 99: the first two characters of every "
                      "file name (5)"},
                     {"--rounds", "R", "how many rounds (10)"},
                     {"--licenses", "L", "how many licences are offered (60)"},
                     {"--bidders", "B", "how many bidders take part (12)"},
                     {"--seed", "S", "the generator's seed (1): another seed gives another auction"}},
         .examples = {"quorvane-cli sample ~/Downloads/quorvane-sample --auction 5 --rounds 12"}},
        {.name = "sql",
         .forms = {"DB STATEMENT [--format tsv|csv|json]"},
         .summary = "run one statement on a database; a result set prints with a header line "
                    "(tab-delimited unless --format)",
         .description = "Runs one SQL statement on the database DB, in the desktop program's dialect (names "
                        "in square brackets, TOP n). A SELECT, or a crosstab (TRANSFORM ... PIVOT), prints "
                        "its rows: a line of field names, then one line per row. Any other statement changes "
                        "the database and prints nothing; on the tables drop refuses (the round results "
                        "files' tables, sysRounds and Quorvane's other own tables) it is refused with error "
                        "3033: imports alone change them. A statement nested more than 64 levels deep is "
                        "error 3360, \"Query is too complex\".",
         .options = {formatOption},
         .examples = {"quorvane-cli sql Auction5.mdb \\\n"
                      "    \"SELECT TOP 5 * FROM [All Bids] WHERE [Round] = 3\" --format csv",
                      "quorvane-cli sql Auction5.mdb \\\n"
                      "    \"TRANSFORM Sum([Gross Bid Amount]) SELECT [Bidder] FROM [All Bids] \\\n"
                      "    GROUP BY [Bidder] PIVOT [Round]\""}},
        {.name = "create",
         .forms = {"ZIP"},
         .summary = "create a new auction from a first round's results file",
         .description = "Creates the auction database AuctionN.mdb in the application folder from the "
                        "results file of round 1 (NN_001.zip) and imports that round. When that database "
                        "exists already, it is replaced only when the question is answered with --yes.",
         .options = {},
         .examples = {"quorvane-cli --yes create ~/Downloads/05_001.zip"}},
        {.name = "batch",
         .forms = {"ZIP"},
         .summary = "create an auction from round 1 and import the rounds that follow it in the same "
                    "folder",
         .description = "Creates the auction from the results file of round 1, as create does, then imports "
                        "rounds 2, 3 and so on from the same folder for as long as the next file is there. "
                        "Each round's progress is printed on standard error.",
         .options = {},
         .examples = {"quorvane-cli --yes batch ~/Downloads/quorvane-sample/05_001.zip"}},
        {.name = "import",
         .forms = {"DB [ZIP]"},
         .summary = "import ZIP into the auction DB; without ZIP, the next expected round file from the "
                    "last import folder",
         .description = "Imports one round results file into the auction database DB, replacing that "
                        "round's rows when it was imported before, and rebuilds the tables you built.\n\n"
                        "Without ZIP it takes the next expected file (NN_RRR.zip for the round after the "
                        "newest) from the folder of the last import, so a cron job can run it every few "
                        "minutes during a live auction.",
         .options = {},
         .examples = {"quorvane-cli import Auction5.mdb ~/Downloads/05_013.zip",
                      "quorvane-cli import Auction5.mdb"}},
        {.name = "show",
         .forms = {"DB TABLE [ROUND | --all] [--format tsv|csv|json]"},
         .summary = "print the rows a grid window shows for a table",
         .description = "Prints the rows a grid window shows for TABLE and ROUND (a whole number; the newest "
                        "round when omitted), in the grid's order: a line of field names, then one line per "
                        "row. --all prints the whole table instead.",
         .options = {allOption, formatOption},
         .examples = {"quorvane-cli show Auction5.mdb \"Round Statistics\" 2 --format json",
                      "quorvane-cli show Auction5.mdb \"Round Statistics\" --all"}},
        {.name = "watch",
         .forms = {"DB [--folder DIR] [--interval SECONDS]"},
         .summary = "import each next round file as soon as it is complete in DIR (else the last import "
                    "folder), until SIGINT, SIGTERM or SIGHUP; one line per round",
         .description =
             "Waits, asleep, for the next expected round file, imports it once it has stopped "
             "changing and opens as a whole zip, prints one line of standings for the round "
             "(\"Round 13: 41 new high bids, ...\") and goes on. A file that is itself at fault is "
             "tried again only when it changes; a failure that can pass (a full disk, an auction "
             "another program is writing) after waits that grow to a minute.\n\n"
             "SIGINT, SIGTERM or SIGHUP (a closed terminal) end it between rounds, or roll back the "
             "round in progress (or the table being rebuilt after it) and exit with 1.",
         .options = {{"--folder", "DIR",
                      "the folder the round files arrive in (else the folder of the last "
                      "import)"},
                     {"--interval", "SECONDS",
                      "how often to look for the file, in seconds from 0.05 to 86400 (1)"}},
         .examples = {"quorvane-cli watch Auction5.mdb --folder ~/Downloads"}},
        {.name = "export",
         .forms =
             {"DB TABLE [ROUND | --all] [--sort SPEC] [--filter EXPR] [-o FILE] [--format tsv|csv|json]"},
         .summary = "write those rows, sorted and filtered as the grid would, as a tab-delimited text "
                    "export (or --format csv|json)",
         .description = "Writes the rows a grid window shows for TABLE and ROUND (a whole number; the newest "
                        "round without one), or with --all the whole table, as tab-delimited text: a line of "
                        "field names, then one line per row, CR LF line ends. --filter keeps the rows "
                        "matching a condition, --sort orders them, as the grid's Filter and Sort do.",
         .options =
             {allOption,
              sortOption,
              filterOption,
              {"-o", "FILE",
               "write to FILE, replaced only once whole (else to standard output); a pipe, a device or "
               "/dev/stdout is written into, a symbolic link's file is written and the link kept, a "
               "read-only file is refused"},
              formatOption},
         .examples = {"quorvane-cli export Auction5.mdb \"All Bids\" 3 --sort \"[Bidder]\" -o bids.txt",
                      "quorvane-cli export Auction5.mdb Markets --all -o markets.txt"}},
        {.name = "drop",
         .forms = {"DB TABLE [--yes]"},
         .summary = "drop a table you built, as Tools > Drop Table does",
         .description =
             "Drops a table you built (with the table wizard or a saved SQL query) and its listing "
             "in sysTables and sysWizard, as Tools > Drop Table does. Only a table listed as yours "
             "can go: a table of the round results files, or one of the program's own (sysRounds...), "
             "is refused (\"Access Denied\"). A saved SQL query that builds the table stays, and "
             "builds it again at the next import.",
         .options = {{"--yes", "", "answer Yes to \"continue anyway?\" (otherwise No)"}},
         .examples = {"quorvane-cli drop Auction5.mdb \"Top Bids\" --yes"}},
        {.name = "query",
         .forms = {"DB list", "DB add NAME --select S --into T --from F [--where W] [--order O]",
                   "DB run NAME", "DB delete NAME"},
         .summary = "the SQL Query Wizard's saved queries: list, save, run (builds its table) or delete "
                    "one",
         .description = "The saved queries of the SQL Query Wizard. list prints them tab-delimited (name, "
                        "then the five clauses); add saves one, clause texts as you would type them in the "
                        "wizard (without keywords); run builds its table as the wizard's Run does, replacing "
                        "the table and listing it (a run that fails leaves the table as it was); delete "
                        "removes the query (the table it built stays). Saved queries also run after every "
                        "import.\n\n"
                        "INTO is one table name, bare (TopBids) or in square brackets ([Top Bids]), and "
                        "never a table of the round results files or one of the program's own (sys...).",
         .options = {{"--select", "S", "the fields, as after SELECT"},
                     {"--into", "T", "the table to build, as after INTO"},
                     {"--from", "F", "the tables to read, as after FROM"},
                     {"--where", "W", "the condition, as after WHERE"},
                     {"--order", "O", "the order, as after ORDER BY"}},
         .examples = {"quorvane-cli query Auction5.mdb add \"Top Bids\" --into \"[Top Bids]\" \\\n"
                      "    --select \"[Bidder], [Gross Bid Amount]\" --from \"[All Bids]\"",
                      "quorvane-cli query Auction5.mdb run \"Top Bids\""}},
        {.name = "summary",
         .forms = {"DB [ROUND] [--format tsv|csv|json]"},
         .summary = "the round summary's twenty figures of a round (the newest when omitted), one "
                    "\"label<TAB>figure\" line each",
         .description = "Prints the round summary's twenty figures of ROUND (the newest when omitted): the "
                        "auction and the round first, then one \"label<TAB>figure\" line each. With --format "
                        "csv or json it prints a table of two fields, Figure and Value.",
         .options = {formatOption},
         .examples = {"quorvane-cli summary Auction5.mdb 12"}},
        {.name = "print",
         .forms =
             {"DB TABLE [ROUND | --all] -o FILE.pdf [--landscape] [--margins L,R,T,B] [--row-break N]... "
              "[--col-break N]... [--sort SPEC] [--filter EXPR]"},
         .summary = "the pages a grid window prints, as PDF",
         .description = "Writes the pages a grid window prints for TABLE and ROUND (a whole number; the "
                        "newest round when omitted), or with --all for the whole table, as a PDF file. Every "
                        "page repeats the column headers and the row numbers.",
         .options = {{"-o", "FILE.pdf", "the PDF file to write", "--output"},
                     allOption,
                     {"--landscape", "", "landscape pages (portrait unless given)"},
                     {"--margins", "L,R,T,B", "the left, right, top and bottom margins in inches (0.5 each)"},
                     {"--row-break", "N", "start a page at row N; repeat for more breaks"},
                     {"--col-break", "N", "start a page at column N; repeat for more breaks"},
                     sortOption,
                     filterOption},
         .examples = {"quorvane-cli print Auction5.mdb \"All Bids\" 12 -o bids.pdf --landscape \\\n"
                      "    --row-break 20 --row-break 40",
                      "quorvane-cli print Auction5.mdb Bidders --all -o bidders.pdf"}},
        {.name = "pivot",
         .forms = {"DB markets|bidders|rounds --from N [--to M] [--net] [--select NAME]... [-o FILE.xlsx] "
                   "[--chart FILE.png|FILE.svg] [--tsv] [--format tsv|csv|json]"},
         .summary = "run a pivot analysis of the bids in rounds N to M on the licences or bidders named",
         .description = "Runs the markets, bidders or rounds analysis of the bids in rounds N to M (net or "
                        "gross amounts) on the licences or bidders named (all when none is named). It writes "
                        "the workbook as an .xlsx file with a live pivot table, prints the pivot table, or "
                        "draws its chart: one line per column group, the ten highest in the last round.",
         .options = {{"--from", "N", "the first round"},
                     {"--to", "M", "the last round (the first round when omitted)"},
                     {"--net", "", "net amounts (gross unless given)"},
                     {"--select", "NAME", "a licence or bidder to take; repeat for more"},
                     {"-o", "FILE.xlsx", "write the workbook as .xlsx"},
                     {"--chart", "FILE.png|FILE.svg",
                      "draw the chart as PNG, or SVG when the name ends in .svg; another ending is "
                      "refused, a pipe or /dev/stdout takes PNG"},
                     {"--tsv", "", "print the pivot table tab-delimited"},
                     formatOption},
         .examples = {"quorvane-cli --yes pivot Auction5.mdb markets --from 3 --to 8 \\\n"
                      "    --select B001-A1 -o markets.xlsx",
                      "quorvane-cli pivot Auction5.mdb rounds --from 1 --to 10 --chart rounds.png"}},
        {.name = "standings",
         .forms = {"DB [ROUND] [--by licence|bidder|changes|market] [--format tsv|csv|json]",
                   "DB [ROUND] --chart licence:NAME|bidder:NAME|net... -o FILE.png|FILE.svg"},
         .summary = "who holds each licence after a round, the bidders' holdings, what changed, or their "
                    "charts",
         .description =
             "Prints who holds each licence after ROUND (the newest when omitted), the bidders' "
             "holdings and eligibility, or what changed since the round before.\n\n"
             "The holder is the agency's [High Bidder] in Markets where the files carry it, else "
             "the replay of All Bids and Withdrawal Statistics; High Bid and Net High Bid come from "
             "one source, and Check says where the agency and the bids disagree. A first holder "
             "is a New holder; a licence changes hands only when one bidder replaces another. "
             "Where Markets carries them, the licences also show the next round's Minimum Accepted "
             "Bid, the Next Increment it implies over the high bid, the Price per Pop and the "
             "Bidding Units; a licence the agency holds shows its Withdrawn Bid, and is offered again at its "
             "Minimum Accepted Bid. The bidders show their Exposure (standing bids going into the round "
             "plus new bids, a raise of its own bid counted once) and, where Bidders carries them, "
             "Activity, Required Activity and Waivers Remaining. In tsv and csv a last row, Total, "
             "sums the amounts, counts and bidding units of the view.\n\n"
             "With --chart it draws price paths of licences, holdings and eligibility of bidders, "
             "or the net bids of every round, as PNG or SVG.",
         .options =
             {{"--by", "licence|bidder|changes|market",
               "the view: licences (the default), bidders, changes, or totals by market (and by block)"},
              formatOption,
              {"--chart", "licence:NAME|bidder:NAME|net",
               "the chart to draw; repeat licence: or bidder: for more lines"},
              {"-o", "FILE.png|FILE.svg",
               "the picture to write, SVG when the name ends in .svg; a pipe or /dev/stdout takes PNG"}},
         .examples = {"quorvane-cli standings Auction5.mdb 12 --by bidder",
                      "quorvane-cli standings Auction5.mdb --chart licence:B001-A1 -o prices.png"}},
        {.name = "report",
         .forms = {"DB [ROUND] -o FILE.html"},
         .summary = "the round report: one HTML file that needs nothing else",
         .description = "Writes the round report of ROUND (the newest when omitted): the summary's figures, "
                        "the standings and their charts in one self-contained HTML file, for a colleague "
                        "without Quorvane.",
         .options = {{"-o", "FILE.html", "the report to write"}},
         .examples = {"quorvane-cli report Auction5.mdb -o round-report.html"}},
        {.name = "compact",
         .forms = {"DB"},
         .summary = "compact the auction DB in place",
         .description = "Compacts the auction database DB in place. It waits for another program that has "
                        "it open or writes to it, and leaves it as it was when it cannot.",
         .options = {},
         .examples = {"quorvane-cli compact Auction5.mdb"}},
        {.name = "tables",
         .forms = {"DB"},
         .summary = "list the tables a grid window offers for the auction DB, one per line",
         .description = "Prints the names of the tables a grid window's table list offers for the auction "
                        "database DB (the round results files' tables and the ones you built), one per "
                        "line. The shell's completion reads it.",
         .options = {},
         .examples = {"quorvane-cli tables Auction5.mdb"}},
    };
}

} // namespace

const ProgramUsage& cliUsage()
{
    static const ProgramUsage usage{
        .name = "quorvane-cli",
        .purpose = "follow a spectrum-licence auction round by round, from scripts",
        .forms = {"[--app-dir DIR] [--yes] COMMAND ARGS...", "COMMAND --help", "--version"},
        .description = "quorvane-cli runs the routines of the desktop program quorvane without windows: it "
                       "creates auctions and imports their round results files, prints tables, round "
                       "summaries and standings, runs the pivot analyses, prints to PDF and writes the round "
                       "report, on the same auction databases.\n\n"
                       "Every message prints as one line (its title, then its text). Questions are answered "
                       "No, or Yes with --yes.",
        .options = {{"--app-dir", "DIR",
                     "the application folder, which holds the auction databases and lastimp.inf (else "
                     "$QUORVANE_HOME, else ~/.local/share/Quorvane/Quorvane)"},
                    {"--yes", "", "answer Yes to questions (otherwise No)"},
                    {"-h", "", "print this help; after a command, that command's help", "--help"},
                    {"--version", "", "print the version"}},
        .commands = commands(),
        .sections =
            {{"Output formats",
              "sql, show, export, summary, pivot and standings take --format tsv|csv|json: "
              "tab-delimited (the default), CSV quoted as RFC 4180, or a JSON array of one object "
              "per row, numbers as numbers and dates as ISO 8601 text."},
             {"Output files",
              "Every file is written whole or not at all: beside its target, then put in its place, "
              "so that when writing fails (a full disk, the program stopped) an earlier file stays as "
              "it was. -o naming a pipe, a device or /dev/stdout writes into it; naming a symbolic "
              "link, the file it points to (made if missing), keeping the link. A file you may not "
              "write, or that grants no one write permission (mode 0444, for root too), is left as it "
              "is and the command exits with 1. A failed write, to a file or to standard output, exits "
              "with 1. Every error goes to standard error, never to standard output."},
             {"Exit status", "0 when the command did what was asked, 1 when it failed (a failed write "
                             "included), 2 when the command line is wrong (an unknown command or option, a "
                             "missing argument, a ROUND that is not a whole number)."},
             {"Environment",
              "QUORVANE_HOME: the application folder, unless --app-dir is given. QT_QPA_PLATFORM: "
              "the platform the drawing commands (print, pivot --chart, standings --chart, report) "
              "draw on; offscreen unless set."},
             {"Files", "AuctionN.mdb (one database per auction) and lastimp.inf (the folder of the "
                       "last import) in the application folder. The drawing commands load "
                       "libquorvane-draw.so from beside the program, or from ../lib/quorvane."}},
        .seeAlso = {"quorvane(1)"},
    };
    return usage;
}

} // namespace qv::usage
