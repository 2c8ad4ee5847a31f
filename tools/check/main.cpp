// orvenna-check: visits every channel address of the catalogue and the
// program's three fixed pages, and tells which are alive, dead, blocked,
// unreachable, failing or flaky.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Fetcher.h"
#include "Report.h"
#include "Targets.h"

namespace {

const char kUsage[] =
    "usage: orvenna-check [options]\n"
    "  --only NAME            check only this channel or page (repeatable)\n"
    "  --tries N              tries per address, until one answers 2xx (3)\n"
    "  --timeout S            seconds per try (10)\n"
    "  --retry-delay S        seconds between tries (3)\n"
    "  --jobs N               requests in flight at most (8); never more than 2 to one host\n"
    "  --portal-base URL      the channel portal instead of the program's\n"
    "  --youtube-base URL     YouTube instead of the real one\n"
    "  --maker-base URL       the maker's site instead of the program's\n"
    "  --ca-file FILE         trust these certificates instead of the system's\n"
    "  --json FILE            write a JSON report, one record per address\n"
    "  --fail-on LIST         verdicts that make the exit status 1 (dead)\n"
    "exit status: 0 when no address has a --fail-on verdict, 1 when one has, 2 on a usage error\n";

[[noreturn]] void UsageError(const std::string& message) {
    std::cerr << "orvenna-check: " << message << "\n" << kUsage;
    std::exit(2);
}

double Number(const std::string& option, const std::string& value, double low, double high) {
    char* end = nullptr;
    const double v = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(v >= low && v <= high))
        UsageError(option + " takes a number from " + std::to_string(low) + " to " + std::to_string(high));
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    Bases bases = ProgramBases();
    FetchOptions options;
    std::vector<std::string> only;
    std::string jsonPath;
    std::set<std::string> failOn = {"dead"};

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) UsageError("unknown option or missing value: " + arg);
        const std::string value = argv[++i];
        if (arg == "--only")
            only.push_back(value);
        else if (arg == "--tries")
            options.tries = static_cast<int>(Number(arg, value, 1, 10));
        else if (arg == "--timeout")
            options.timeoutSeconds = Number(arg, value, 0.1, 600);
        else if (arg == "--retry-delay")
            options.retryDelaySeconds = Number(arg, value, 0, 600);
        else if (arg == "--jobs")
            options.jobs = static_cast<int>(Number(arg, value, 1, 8));
        else if (arg == "--portal-base")
            bases.portal = value;
        else if (arg == "--youtube-base")
            bases.youtube = value;
        else if (arg == "--maker-base")
            bases.maker = value;
        else if (arg == "--ca-file")
            options.caFile = value;
        else if (arg == "--json")
            jsonPath = value;
        else if (arg == "--fail-on") {
            failOn.clear();
            std::stringstream list(value);
            for (std::string v; std::getline(list, v, ',');) {
                bool known = false;
                for (const std::string& k : kVerdicts) known = known || k == v;
                if (!known) UsageError("unknown verdict in --fail-on: " + v);
                failOn.insert(v);
            }
        } else {
            UsageError("unknown option: " + arg);
        }
    }

    const std::vector<Target> targets = MakeTargets(bases, only);
    if (targets.empty()) UsageError("no channel or page has that name");
    std::vector<std::string> addresses;
    for (const Target& t : targets) addresses.push_back(t.address);

    const bool terminal = isatty(STDERR_FILENO);
    const auto started = std::chrono::steady_clock::now();
    auto progress = [&](std::size_t done, std::size_t total) {
        if (!terminal) return;
        const int width = 40;
        const int filled = static_cast<int>(width * done / total);
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(width - filled), ' ') << "] " << done << "/" << total
                  << (done == total ? "\n" : "") << std::flush;
    };
    std::vector<std::vector<TryResult>> tries;
    try {
        tries = FetchAll(addresses, options, progress);
    } catch (const std::exception& e) {
        std::cerr << "orvenna-check: " << e.what() << "\n";
        return 2;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    std::vector<Checked> results;
    bool failed = false;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results.push_back({targets[i], tries[i], VerdictOf(tries[i])});
        failed = failed || failOn.count(results.back().verdict);
    }
    PrintSummary(std::cout, results, wall);
    if (!jsonPath.empty()) {
        std::ofstream json(jsonPath);
        WriteJson(json, results);
        if (!json) {
            std::cerr << "orvenna-check: could not write " << jsonPath << "\n";
            return 2;
        }
    }
    return failed ? 1 : 0;
}
