#pragma once
// What one try of an address gave, and the verdict over all its tries.

#include <string>
#include <vector>

enum class Outcome {
    Answered2xx,  // the page is there
    Gone,         // 404 or 410
    Refused,      // 401, 402, 403 or 451: what a block by country looks like
    NoAnswer,     // name, connection, TLS or time-out failure
    Failed,       // any other status, a redirect off https, or too many redirects
};

struct TryResult {
    long status = 0;  // the last HTTP status, 0 when nothing answered
    Outcome outcome = Outcome::NoAnswer;
    std::string error;         // why it failed, empty when it did not
    std::string finalAddress;  // where the last redirect led
    std::size_t bytes = 0;     // body bytes read
    double seconds = 0;
};

Outcome OutcomeOf(long status);

// alive, dead, blocked, unreachable, failing (every try failed the same other
// way) or flaky (mixed results).
std::string VerdictOf(const std::vector<TryResult>& tries);

inline const std::vector<std::string> kVerdicts = {"alive", "dead", "blocked", "unreachable", "failing", "flaky"};
