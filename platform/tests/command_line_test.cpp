#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/version.h"

namespace qm71 {
namespace {

constexpr ProgramHelp kHelp{"prog", "[--fast]", "Does things.\n", "  --fast    hurry\n",
                            "  PROG_DIR  where things are\n"};

// Takes --fast and nothing else.
bool ParseFast(const std::vector<std::string>& args, std::string& error) {
    for (const auto& a : args) {
        if (a != "--fast") {
            error = "no \"" + a + "\" here";
            return false;
        }
    }
    return true;
}

TEST(CommandLine, AnswersRunsOrRefuses) {
    const std::string version = "prog " + std::string(Version()) + "\n";
    const std::string helpText =
        "Usage: prog [--fast]\nDoes things.\n\nOptions:\n  --fast    hurry\n"
        "  -h, --help    show this text and end\n  --version     show the version and end\n"
        "\nEnvironment:\n  PROG_DIR  where things are\n";
    const struct {
        std::vector<std::string> args;
        bool withParser, run;
        int status;
        std::string out;  // expected start of standard output
        std::string err;  // expected part of standard error
    } rows[] = {
        {{}, false, true, 0, "", ""},
        {{"--fast"}, true, true, 0, "", ""},
        {{"--help"}, false, false, 0, helpText, ""},
        {{"--fast", "-h"}, true, false, 0, "Usage: prog", ""},
        {{"--bogus", "--version"}, false, false, 0, version, ""},
        {{"--bogus"}, false, false, 2, "", "prog: unknown argument \"--bogus\"\nTry 'prog --help'"},
        {{"-platform", "xcb"}, false, false, 2, "", "\"-platform\""},
        {{"--fast", "--slow"}, true, false, 2, "", "prog: no \"--slow\" here\n"},
    };
    for (const auto& r : rows) {
        std::ostringstream out, err;
        const auto outcome =
            HandleCommandLine(kHelp, r.args, out, err, r.withParser ? ParseFast : nullptr);
        const std::string what = r.args.empty() ? "(none)" : r.args.front();
        EXPECT_EQ(outcome.run, r.run) << what;
        EXPECT_EQ(outcome.exitStatus, r.status) << what;
        EXPECT_TRUE(out.str().starts_with(r.out)) << what << ": " << out.str();
        EXPECT_EQ(out.str().empty(), r.out.empty()) << what;
        EXPECT_NE(err.str().find(r.err), std::string::npos) << what << ": " << err.str();
        EXPECT_EQ(err.str().empty(), r.err.empty()) << what;
    }
}

TEST(CommandLine, AnswerThatCannotBeWrittenIsAFailure) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(HandleCommandLine(kHelp, {"--version"}, out, err).exitStatus, 1);
}

}  // namespace
}  // namespace qm71
