#include "Report.h"

#include <cstdio>
#include <map>

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof(buf), "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

void PrintSummary(std::ostream& out, const std::vector<Checked>& results, double wallSeconds) {
    std::map<std::string, int> counts;
    for (const Checked& c : results) ++counts[c.verdict];
    out << "verdict      addresses\n";
    for (const std::string& v : kVerdicts) {
        char line[64];
        std::snprintf(line, sizeof(line), "%-12s %9d\n", v.c_str(), counts[v]);
        out << line;
    }
    char total[96];
    std::snprintf(total, sizeof(total), "%-12s %9zu  in %.1f s\n", "total", results.size(), wallSeconds);
    out << total;
    bool header = false;
    for (const Checked& c : results) {
        if (c.verdict == "alive") continue;
        if (!header) out << "\nnot alive:\n";
        header = true;
        std::string codes;
        for (const TryResult& t : c.tries) {
            if (!codes.empty()) codes += ',';
            codes += std::to_string(t.status);
        }
        out << "  " << c.verdict << "  [" << codes << "]  " << c.target.name << "  " << c.target.address;
        const TryResult& last = c.tries.back();
        if (last.finalAddress != c.target.address) out << "  -> " << last.finalAddress;
        if (!last.error.empty()) out << "  (" << last.error << ")";
        out << "\n";
    }
}

void WriteJson(std::ostream& out, const std::vector<Checked>& results) {
    out << "[\n";
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Checked& c = results[i];
        double seconds = 0;
        std::string codes, errors, bytes;
        for (const TryResult& t : c.tries) {
            seconds += t.seconds;
            const char* separator = codes.empty() ? "" : ", ";
            codes += separator;
            codes += std::to_string(t.status);
            errors += separator;
            errors += JsonString(t.error);
            bytes += separator;
            bytes += std::to_string(t.bytes);
        }
        char time[32];
        std::snprintf(time, sizeof(time), "%.3f", seconds);
        out << "  {\"index\": " << (c.target.index < 0 ? std::string("null") : std::to_string(c.target.index))
            << ", \"name\": " << JsonString(c.target.name) << ", \"address\": " << JsonString(c.target.address)
            << ", \"verdict\": " << JsonString(c.verdict) << ", \"codes\": [" << codes << "], \"errors\": [" << errors
            << "], \"bytes\": [" << bytes << "], \"final_address\": " << JsonString(c.tries.back().finalAddress)
            << ", \"seconds\": " << time << "}" << (i + 1 < results.size() ? "," : "") << "\n";
    }
    out << "]\n";
}
