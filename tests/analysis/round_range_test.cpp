// The round dialog's loop: what each entry leads to, with the exact messages.
#include "analysis/core/analysis_kind.h"
#include "analysis/core/round_range.h"
#include "support/scripted_analysis_dialogs.h"
#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace qv::analysis {
namespace {

using test::ScriptedAnalysisDialogs;
using test::ScriptedPrompter;

struct RangeRun {
    ScriptedAnalysisDialogs dialogs;
    ScriptedPrompter prompter;
    std::optional<RoundRange> ask(AnalysisKind kind = AnalysisKind::Markets, int imported = 12)
    {
        return askRoundRange(
            kind, [imported] { return imported; }, dialogs, prompter);
    }
};

TEST(RoundRange, EmptyToMeansTheStartingRoundOnly)
{
    RangeRun run;
    run.dialogs.roundEntries = {{QStringLiteral("3"), QString()}};
    const auto range = run.ask();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->from, 3);
    EXPECT_EQ(range->to, 3);
    EXPECT_TRUE(run.prompter.messages.empty());
    EXPECT_EQ(run.dialogs.roundsUnloaded, 0);
}

TEST(RoundRange, NoFurtherChecksOnAnAcceptedRange)
{
    RangeRun run;
    run.dialogs.roundEntries = {{QStringLiteral("0"), QStringLiteral("0")}};
    ASSERT_TRUE(run.ask());
    run.dialogs.roundEntries = {{QStringLiteral("9"), QStringLiteral("4")}};
    const auto range = run.ask();
    ASSERT_TRUE(range);
    EXPECT_EQ(range->from, 9);
    EXPECT_EQ(range->to, 4);
    // The last round imported is in range, as start and as end.
    run.dialogs.roundEntries = {{QStringLiteral("12"), QStringLiteral("12")}};
    const auto last = run.ask();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->from, 12);
    EXPECT_EQ(last->to, 12);
    EXPECT_TRUE(run.prompter.messages.empty());
}

TEST(RoundRange, StartBeyondTheRoundsAsksAgainAndCancelEndsSilently)
{
    const struct {
        AnalysisKind kind;
        const char* second;
        const char* third;
    } cases[] = {
        {AnalysisKind::Markets, "     outside the range of imported rounds.",
         "               Please try again."},
        {AnalysisKind::Bidders, "      outside the range of imported rounds.",
         "               Please try again."},
        {AnalysisKind::Rounds, "     outside the range of imported rounds.",
         "                Please try again."},
    };
    for (const auto& c : cases) {
        RangeRun run;
        run.dialogs.roundEntries = {{QStringLiteral("13"), QString()}, {QString(), QString(), true, true}};
        EXPECT_FALSE(run.ask(c.kind));
        ASSERT_EQ(run.prompter.messages.size(), 1u);
        const auto& shown = run.prompter.messages.front();
        EXPECT_EQ(shown.text, QStringLiteral("Error! The starting round you have requested is\r") +
                                  QLatin1String(c.second) + QLatin1Char('\r') + QLatin1String(c.third));
        EXPECT_EQ(shown.title, QStringLiteral("Error"));
        EXPECT_EQ(shown.icon, Icon::Exclamation);
        EXPECT_EQ(shown.buttons, Buttons::OK);
        EXPECT_EQ(run.dialogs.roundsShown, 2);
        EXPECT_EQ(run.dialogs.roundsUnloaded, 1);
    }
}

TEST(RoundRange, EndBeyondTheRoundsYesTakesTheLastRoundNoAsksAgain)
{
    const QString question = QStringLiteral(" Error! The ending round you have requested is\r"
                                            "      outside the range of imported rounds.\r"
                                            "Would you like to use all available rounds after\r"
                                            "             the specified starting round?");
    RangeRun yes;
    yes.dialogs.roundEntries = {{QStringLiteral("5"), QStringLiteral("20")}};
    yes.prompter.answers = {Answer::Yes};
    const auto all = yes.ask(AnalysisKind::Rounds);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->from, 5);
    EXPECT_EQ(all->to, 12);
    ASSERT_EQ(yes.prompter.messages.size(), 1u);
    EXPECT_EQ(yes.prompter.messages[0].text, question);
    EXPECT_EQ(yes.prompter.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(yes.prompter.messages[0].icon, Icon::None);
    EXPECT_EQ(yes.prompter.messages[0].buttons, Buttons::YesNo);

    // No: the dialog comes back (with what was typed) and its next entry counts.
    RangeRun no;
    no.dialogs.roundEntries = {{QStringLiteral("5"), QStringLiteral("20")},
                               {QStringLiteral("5"), QStringLiteral("7")}};
    no.prompter.answers = {Answer::No};
    const auto corrected = no.ask(AnalysisKind::Bidders);
    ASSERT_TRUE(corrected);
    EXPECT_EQ(corrected->to, 7);
    EXPECT_EQ(no.dialogs.roundsShown, 2);
}

// Rounds imported while the dialog was open count when the entry is checked.
TEST(RoundRange, RoundsAreCountedWhenTheEntryIsChecked)
{
    RangeRun run;
    int counted = 0;
    run.dialogs.roundEntries = {{QStringLiteral("8"), QString()},
                                {QStringLiteral("8"), QStringLiteral("10")}};
    const auto range = askRoundRange(
        AnalysisKind::Markets, [&counted] { return ++counted == 1 ? 7 : 10; }, run.dialogs, run.prompter);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->from, 8);
    EXPECT_EQ(range->to, 10);
    EXPECT_EQ(run.prompter.messages.size(), 1u); // round 8 was beyond the first count
    EXPECT_EQ(counted, 2);
}

TEST(RoundRange, EmptyFromOrCancelEndsWithoutAMessage)
{
    for (bool cancel : {false, true}) {
        RangeRun run;
        run.dialogs.roundEntries = {
            {cancel ? QStringLiteral("4") : QString(), QStringLiteral("6"), true, cancel}};
        EXPECT_FALSE(run.ask());
        EXPECT_TRUE(run.prompter.messages.empty());
        EXPECT_EQ(run.dialogs.roundsUnloaded, 1);
    }
}

} // namespace
} // namespace qv::analysis
