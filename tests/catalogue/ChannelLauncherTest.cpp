#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ChannelLauncher.h"
#include "FakeChannelList.h"

namespace {

struct Recorder {
    std::vector<std::string>* opened;
    void operator()(const char* address) const { opened->emplace_back(address); }
};

class Launcher : public ::testing::Test {
protected:
    FakeChannelList list = FakeChannelList::Filled();
    ChannelLauncher launcher;
    std::vector<std::string> opened;

    void Select(int row) { list.selection = row; }
    void Run(int times = 1) {
        for (int i = 0; i < times; ++i) launcher.CheckSelection(list, Recorder{&opened});
    }
    static std::string At(int row) { return ChannelTable[static_cast<std::size_t>(row)].destination; }
};

TEST_F(Launcher, NothingSelectedOpensNothing) {
    Run(50);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(launcher.LastOpened(), 10000);
    EXPECT_EQ(list.setCurSelCalls, 0);
}

TEST_F(Launcher, FirstSelectionOpensOnceAndReselects) {
    Select(0);
    Run(5);
    EXPECT_EQ(opened, std::vector<std::string>{At(0)});
    EXPECT_EQ(launcher.LastOpened(), 0);
    EXPECT_EQ(list.setCurSelCalls, 1);
    EXPECT_EQ(list.selection, 0);
}

TEST_F(Launcher, LastRowIsReached) {
    Select(358);
    Run();
    EXPECT_EQ(opened, std::vector<std::string>{At(358)});
}

TEST_F(Launcher, PrefixNamesOpenOnlyTheirOwnRow) {
    Select(63);
    Run(3);
    Select(64);
    Run(3);
    Select(63);
    Run(3);
    Select(65);
    Run();
    EXPECT_EQ(opened, (std::vector<std::string>{At(63), At(64), At(63), At(65)}));
    EXPECT_EQ(launcher.LastOpened(), 65);
}

TEST_F(Launcher, ForeignItemsOpenNothing) {
    // Items another program might add: wrong case, trailing blank, empty, long,
    // high bytes, and a name longer than any channel's.
    for (std::string text :
         {std::string("cnn"), std::string("CNN "), std::string(""), std::string("C"), std::string(65536, 'x'),
          std::string("\x80\xff\xfe"), std::string("CNN Brasil!"), std::string(28, 'A')}) {
        list.items.push_back(text);
        Select(static_cast<int>(list.items.size()) - 1);
        Run();
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(launcher.LastOpened(), 10000);
    // A channel's own name found at another position still opens that channel,
    // once, and the selection stays on the item that was chosen.
    list.items.push_back("Zoo Moo");
    Select(static_cast<int>(list.items.size()) - 1);
    Run(2);
    EXPECT_EQ(opened, std::vector<std::string>{At(358)});
    EXPECT_EQ(list.selection, static_cast<int>(list.items.size()) - 1);
}

TEST_F(Launcher, AnItemInsertedAtTheTopDoesNotSetOffOpensDownTheList) {
    // Another program inserts an item before the channels: every name moves down
    // one place. Choosing "CNN" (now at 64) opens CNN once and nothing else.
    list.items.insert(list.items.begin(), "inserted");
    Select(64);
    Run(100);
    EXPECT_EQ(opened, std::vector<std::string>{At(63)});
    EXPECT_EQ(list.selection, 64);
}

TEST_F(Launcher, EveryRowOpensOnceWhateverLengthTheListReports) {
    // The reported length is only an upper bound; matching must rest on the text
    // actually copied.
    for (int mode = 0; mode < kLengthReports; ++mode) {
        const auto report = static_cast<LengthReport>(mode);
        FakeChannelList reporting = FakeChannelList::Filled();
        reporting.lengthReport = report;
        ChannelLauncher fresh;
        std::vector<std::string> walk;
        for (int row = 0; row < kChannelCount; ++row) {
            reporting.selection = row;
            fresh.CheckSelection(reporting, Recorder{&walk});
            fresh.CheckSelection(reporting, Recorder{&walk});
        }
        std::vector<std::string> missed;
        for (int row = 0; row < kChannelCount; ++row)
            if (std::count(walk.begin(), walk.end(), At(row)) != 1) missed.emplace_back(ChannelTable[row].displayName);
        EXPECT_EQ(walk.size(), static_cast<std::size_t>(kChannelCount)) << "report mode " << static_cast<int>(report);
        EXPECT_TRUE(missed.empty()) << "report mode " << static_cast<int>(report) << ": " << missed.size()
                                    << " rows not opened exactly once, first " << missed.front();
    }
}

TEST_F(Launcher, AShellThatRunsTheLauncherAgainWhileOpeningOpensOnce) {
    // The shell may run a message loop while it opens (a "cannot open" box),
    // and every message there runs the launcher again with the same selection.
    int reentries = 0;
    std::function<void(const char*)> shell = [&](const char* address) {
        opened.emplace_back(address);
        while (reentries < 2) {
            ++reentries;
            launcher.CheckSelection(list, shell);
        }
    };
    Select(63);
    launcher.CheckSelection(list, shell);
    EXPECT_EQ(opened, std::vector<std::string>{At(63)});
    EXPECT_EQ(launcher.LastOpened(), 63);
    EXPECT_EQ(reentries, 2);
}

TEST_F(Launcher, AgreesWithTheLiteralVisitOnRandomSequences) {
    // Items appended after the table keep every channel at its own position, so
    // both open the same addresses and agree on the channel opened last. They
    // leave the same selection except after a match on an appended duplicate of
    // a channel's name, which the literal visit moves to the channel's row.
    std::mt19937 random(20261209);
    FakeChannelList reference = FakeChannelList::Filled();
    LiteralLauncher literal;
    std::vector<std::string> expected;
    for (const char* extra : {"cnn", "CNN ", "", "Zoo Moo", "123 GO!"}) {
        list.items.emplace_back(extra);
        reference.items.emplace_back(extra);
    }
    const int count = static_cast<int>(list.items.size());
    for (int step = 0; step < 20000; ++step) {
        const int choice = static_cast<int>(random() % static_cast<unsigned>(count + 40)) - 40;
        // Mostly keep the selection, sometimes move it anywhere or clear it.
        if (step % 3 == 0) {
            const int sel = choice < -20 ? -1 : (choice < 0 ? list.selection : choice);
            list.selection = reference.selection = sel;
        }
        const bool ownPosition = list.selection == reference.selection && list.selection < kChannelCount;
        launcher.CheckSelection(list, Recorder{&opened});
        literal.CheckSelection(reference, Recorder{&expected});
        ASSERT_EQ(launcher.LastOpened(), literal.lastOpened) << "step " << step;
        if (ownPosition) {
            ASSERT_EQ(list.selection, reference.selection) << "step " << step;
        }
    }
    EXPECT_EQ(opened, expected);
    EXPECT_GT(opened.size(), 1000u);
}

}  // namespace
