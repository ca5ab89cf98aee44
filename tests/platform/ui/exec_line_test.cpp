#include "platform/ui/exec_line.h"

#include <gtest/gtest.h>

namespace {

const QString kAddress = R"(https://www.morvane.example/a b?q="1";$(id))";

struct ExecCase {
    QString exec;
    QStringList command;
};

void ExpectCommands(const std::vector<ExecCase>& cases) {
    for (const ExecCase& c : cases) {
        const std::optional<QStringList> command = ui::CommandForAddress(c.exec, kAddress);
        ASSERT_TRUE(command.has_value()) << c.exec.toStdString();
        EXPECT_EQ(*command, c.command) << c.exec.toStdString();
    }
}

} // namespace

TEST(CommandForAddress, CutsAtTheAddressCodeAndAppendsTheAddress) {
    ExpectCommands({
        {R"(browser --new-window "%u")", {"browser", "--new-window", kAddress}},
        // The quoted code wins over an earlier bare one, which is dropped like other codes.
        {R"(browser %f --private "%u" --tail)", {"browser", "--private", kAddress}},
        {"browser %U --new-tab", {"browser", kAddress}},
        {"browser --app=%u --tail", {"browser", "--app=", kAddress}},
        {"browser %i %c --private %k", {"browser", "--private", kAddress}},
        {"browser --private", {"browser", "--private", kAddress}},
    });
}

TEST(CommandForAddress, UndoesTheQuotingOfArguments) {
    ExpectCommands({
        {R"("/opt/Web Browser/run" "say \"hi\" \\ \$HOME \`id\`" plain\ arg "" 100%% %u)",
         {"/opt/Web Browser/run", R"(say "hi" \ $HOME `id`)", "plain arg", "", "100%", kAddress}},
        {"browser\t--private\t\t%u", {"browser", "--private", kAddress}},
        {R"(browser "%%u" "a\b")", {"browser", "%u", R"(a\b)", kAddress}},
    });
}

TEST(CommandForAddress, RefusesALineThatNamesNoProgram) {
    for (const char* exec :
         {"", "   ", "%u", R"("%U" --private)", R"("" %u)", R"(browser "--title=unclosed %u)"})
        EXPECT_FALSE(ui::CommandForAddress(exec, kAddress).has_value()) << exec;
}
