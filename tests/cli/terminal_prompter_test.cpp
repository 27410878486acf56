#include "cli/terminal_prompter.h"
#include "common/error.h"

#include <gtest/gtest.h>

using namespace qv;

// The command line's exit code follows what was reported as an error, never
// the wording of a message.
TEST(TerminalPrompter, CountsErrorsByKindNotByWording)
{
    cli::TerminalPrompter plain(false, {});
    Prompter& asked = plain;
    asked.message(QStringLiteral("Error: this is only a round's name"), QStringLiteral("Note"),
                  Icon::Exclamation);
    asked.message(QStringLiteral("User's Error is a bidder"), QStringLiteral("Note"));
    EXPECT_FALSE(plain.sawError());

    cli::TerminalPrompter unusual(false, {});
    static_cast<Prompter&>(unusual).errorMessage(QStringLiteral("The round could not be read."),
                                                 QStringLiteral("Quorvane"));
    EXPECT_TRUE(unusual.sawError());

    cli::TerminalPrompter generic(false, {});
    showGenericError(generic, Error(err::FileNotFound, QStringLiteral("File not found")));
    EXPECT_TRUE(generic.sawError());
}

TEST(TerminalPrompter, MissingFileIsAnError)
{
    cli::TerminalPrompter prompter(false, {});
    FileChoice choice;
    choice.filter = QStringLiteral("Zip (*.zip)|*.zip");
    choice.cancelError = false;
    EXPECT_TRUE(prompter.openFile(choice).isEmpty());
    EXPECT_TRUE(prompter.sawError());
}
