#include "Verdict.h"

Outcome OutcomeOf(long status) {
    if (status >= 200 && status < 300) return Outcome::Answered2xx;
    if (status == 404 || status == 410) return Outcome::Gone;
    if (status == 401 || status == 402 || status == 403 || status == 451) return Outcome::Refused;
    if (status == 0) return Outcome::NoAnswer;
    return Outcome::Failed;
}

std::string VerdictOf(const std::vector<TryResult>& tries) {
    if (tries.empty()) return "unreachable";
    const Outcome first = tries.front().outcome;
    for (const TryResult& t : tries)
        if (t.outcome != first) return "flaky";
    switch (first) {
    case Outcome::Answered2xx:
        return "alive";
    case Outcome::Gone:
        return "dead";
    case Outcome::Refused:
        return "blocked";
    case Outcome::NoAnswer:
        return "unreachable";
    case Outcome::Failed:
        break;
    }
    return "failing";
}
