#pragma once
// The check's results as a summary table and as a JSON report.

#include <ostream>
#include <string>
#include <vector>

#include "Targets.h"
#include "Verdict.h"

struct Checked {
    Target target;
    std::vector<TryResult> tries;
    std::string verdict;
};

void PrintSummary(std::ostream& out, const std::vector<Checked>& results, double wallSeconds);
void WriteJson(std::ostream& out, const std::vector<Checked>& results);
std::string JsonString(const std::string& text);
