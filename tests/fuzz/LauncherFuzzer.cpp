// Differential fuzzing of the launcher's decision: any sequence of selections,
// foreign items of any bytes and lengths appended after the channels, lengths
// reported exactly or inflated, and checks, against the literal visit of every
// row with exact lengths. They must open the same addresses and agree on the
// channel opened last; they leave the same selection whenever the selected item
// stands at its own row (the literal visit moves a match elsewhere onto the row).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChannelLauncher.h"
#include "FakeChannelList.h"

namespace {

struct Recorder {
    std::vector<std::string>* opened;
    void operator()(const char* address) const { opened->emplace_back(address); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FakeChannelList ours = FakeChannelList::Filled();
    FakeChannelList reference = FakeChannelList::Filled();
    ChannelLauncher launcher;
    LiteralLauncher literal;
    std::vector<std::string> opened, expected;

    std::size_t at = 0;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    while (at < size) {
        const std::uint8_t op = next();
        switch (op % 4) {
        case 0: {  // select an item by position, or nothing
            const int high = next();
            const int position = (high << 8 | next()) % (static_cast<int>(ours.items.size()) + 1) - 1;
            ours.selection = reference.selection = position;
            break;
        }
        case 1: {  // another program appends an item of any bytes
            std::string text;
            const std::size_t length = next();
            for (std::size_t i = 0; i < length && at < size; ++i) text += static_cast<char>(next());
            if (op & 0x80) text.append(static_cast<std::size_t>(next()) * 256, 'x');  // long items too
            ours.items.push_back(text);
            reference.items.push_back(text);
            break;
        }
        case 2: {  // an item carrying a channel's name, exactly or nearly
            std::string name = ChannelTable[next() % kChannelCount].displayName;
            if (op & 0x10) name += ' ';
            if (op & 0x20) name[0] = static_cast<char>(name[0] ^ 0x20);
            ours.items.push_back(name);
            reference.items.push_back(name);
            break;
        }
        default:  // the list reports lengths exactly, one more, or up to four times the real one
            ours.lengthReport = static_cast<LengthReport>(next() % kLengthReports);
            break;
        }
        const bool ownPosition = ours.selection == reference.selection && ours.selection < kChannelCount;
        launcher.CheckSelection(ours, Recorder{&opened});
        literal.CheckSelection(reference, Recorder{&expected});
        if (opened != expected || launcher.LastOpened() != literal.lastOpened) std::abort();
        if (ownPosition && ours.selection != reference.selection) std::abort();
    }
    return 0;
}
