// Prints the results of bench/run-benchmarks as a Markdown table, each against its target.
//
// Usage: bench_report RESULTS_JSON STARTUP_JSON ZOVREG_ROWS
//   RESULTS_JSON  the file Google Benchmark wrote (--benchmark_out, with the median aggregates)
//   STARTUP_JSON  the object startup_probe printed
//   ZOVREG_ROWS   one line per registry size: the key count, then "seconds KiB" of zovreg import,
//                 export and query -s and of sqlite3's .dump and its load
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/format.h"

namespace {

using nlohmann::json;
using zov::FormatText;

// One benchmark's median: microseconds of wall time, and disk syncs and write transactions per
// operation (negative when the sync counter was not preloaded).
struct Median {
    double microseconds;
    double syncs;
    double writeTransactions;
};

using Medians = std::map<std::string, Median>;

// Google Benchmark writes NaN and Infinity bare (a cv of counters that never vary is 0/0), which
// JSON has no words for: outside strings they become null, read back as NaN.
std::string WithNullForNonFinite(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (inString) {
            out.push_back(c);
            if (c == '\\' && at + 1 < text.size()) {
                out.push_back(text[++at]);
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        bool replaced = false;
        for (const std::string_view word : {"-Infinity", "Infinity", "-NaN", "NaN"}) {
            if (text.compare(at, word.size(), word) == 0) {
                out += "null";
                at += word.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out.push_back(c);
            inString = c == '"';
        }
    }
    return out;
}

// A number of the entry; null (a NaN or infinity of the writer) reads as NaN.
double NumberOf(const json& entry, const char* key, double missing) {
    const auto found = entry.find(key);
    if (found == entry.end()) {
        return missing;
    }
    return found->is_null() ? std::numeric_limits<double>::quiet_NaN() : found->get<double>();
}

Medians ReadMedians(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file || !text) {
        throw std::runtime_error("cannot read " + path);
    }
    json results;
    try {
        results = json::parse(WithNullForNonFinite(text.str()));
    } catch (const json::exception& error) {
        throw std::runtime_error(path + ": " + error.what());
    }
    Medians medians;
    for (const json& entry : results.at("benchmarks")) {
        if (entry.value("aggregate_name", "") != "median") {
            continue;
        }
        std::string name = entry.at("run_name").get<std::string>();
        const std::string suffix = "/real_time";
        if (name.ends_with(suffix)) {
            name.erase(name.size() - suffix.size());
        }
        medians[name] = {NumberOf(entry, "real_time", std::numeric_limits<double>::quiet_NaN()),
                         NumberOf(entry, "syncs", -1), NumberOf(entry, "write_transactions", -1)};
    }
    return medians;
}

const char* Verdict(bool met) {
    return met ? "met" : "**missed**";
}

std::string Count(double value) {
    return value < 0 ? "n/a" : FormatText("%g", value);
}

// 1000000 as "1,000,000".
std::string Grouped(long long number) {
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > (number < 0 ? 1 : 0);
         at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

// What a write of the card store must be: one write transaction, at most five disk syncs.
bool InOneTransaction(const Median& median) {
    return median.syncs >= 0 && median.syncs <= 5 && median.writeTransactions == 1;
}

std::string Cells(const Median& median) {
    return FormatText("%.0f us, %s syncs, %s write txn", median.microseconds,
                      Count(median.syncs).c_str(), Count(median.writeTransactions).c_str());
}

void PrintCardStoreRows(const Medians& medians) {
    const auto find = [&](const std::string& name) -> std::optional<Median> {
        const auto found = medians.find(name);
        return found == medians.end() ? std::nullopt : std::optional<Median>(found->second);
    };
    const std::pair<const char*, const char*> operations[] = {
        {"census", "census of 8 cards of 16 ports"},
        {"add", "add of a 16-port card"},
        {"remove_first", "removal of card 1 of 8"}};
    for (const auto& [operation, label] : operations) {
        for (const char* grouping : {"one_transaction", "call_by_call"}) {
            std::string groupingText = grouping;
            std::replace(groupingText.begin(), groupingText.end(), '_', ' ');
            const std::optional<Median> small =
                find(FormatText("%s/cards_only/%s", operation, grouping));
            const std::optional<Median> large =
                find(FormatText("%s/million_keys/%s", operation, grouping));
            if (!small || !large) {
                std::puts(FormatText("| %s, %s | failed | failed | | **missed** |", label,
                                     groupingText.c_str())
                              .c_str());
                continue;
            }
            const std::string text = FormatText("| %s, %s | %s | %s |", label, groupingText.c_str(),
                                                Cells(*small).c_str(), Cells(*large).c_str());
            if (std::string_view(grouping) == "call_by_call") {
                std::puts((text + " (for comparison) | |").c_str());
            } else if (std::string_view(operation) == "census") {
                const bool flat = large->microseconds <= small->microseconds * 1.25;
                const bool met = std::max(small->microseconds, large->microseconds) <= 150 && flat;
                std::puts(
                    FormatText("%s <= 150 us, flat within 25%% (here %+.0f%%) | %s |", text.c_str(),
                               large->microseconds / small->microseconds * 100 - 100, Verdict(met))
                        .c_str());
            } else {
                const bool met = InOneTransaction(*small) && InOneTransaction(*large);
                std::puts(
                    FormatText("%s one transaction, <= 5 syncs | %s |", text.c_str(), Verdict(met))
                        .c_str());
            }
        }
    }
}

void PrintStartupRows(const json& startup) {
    const double median = startup.at("startup_ms_median").get<double>();
    const double highWaterKib = startup.at("high_water_kib").get<double>();
    const double peakKib = startup.at("peak_kib").get<double>();
    std::puts(FormatText("| start-up to the drawn card list (median of %lld) | %.1f ms (min %.1f, "
                         "max %.1f) | | < 20 ms | %s |",
                         startup.at("runs").get<long long>(), median,
                         startup.at("startup_ms_min").get<double>(),
                         startup.at("startup_ms_max").get<double>(), Verdict(median < 20))
                  .c_str());
    std::puts(FormatText("| peak memory of zovcfg (VmHWM with the list shown) | %.1f MiB | | "
                         "< 10 MB | %s |",
                         highWaterKib / 1024, Verdict(highWaterKib * 1024 < 10'000'000))
                  .c_str());
    std::puts(FormatText("| peak memory of zovcfg (ru_maxrss from wait4) | %.1f MiB | | "
                         "(includes the forked probe before exec) | |",
                         peakKib / 1024)
                  .c_str());
}

// A whole field as a number, or an exception that names the row.
template <typename Number>
Number ParseField(const std::string& field, const std::string& line) {
    std::istringstream stream(field);
    Number number{};
    if (!(stream >> number) || !stream.eof()) {
        throw std::runtime_error("not a number in the zovreg row \"" + line + "\": " + field);
    }
    return number;
}

void PrintZovregRows(const std::string& rows) {
    std::istringstream lines(rows);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fieldStream(line);
        std::vector<std::string> fields;
        for (std::string field; fieldStream >> field;) {
            fields.push_back(field);
        }
        if (fields.empty()) {
            continue;
        }
        if (fields.size() != 11) {
            throw std::runtime_error("a zovreg row needs the key count and ten numbers: \"" + line +
                                     "\"");
        }
        const std::string keys = Grouped(ParseField<long long>(fields[0], line));
        std::vector<double> n;
        for (std::size_t i = 1; i < fields.size(); ++i) {
            n.push_back(ParseField<double>(fields[i], line));
        }
        const double importS = n[0], importK = n[1], exportS = n[2], exportK = n[3];
        const double queryS = n[4], queryK = n[5], dumpS = n[6], dumpK = n[7];
        const double loadS = n[8], loadK = n[9];
        std::puts(FormatText("| zovreg export, %s keys | %.2f s, %.1f MiB | sqlite3 .dump %.2f s, "
                             "%.1f MiB | <= 3x .dump, < 64 MB (here %.2fx) | %s |",
                             keys.c_str(), exportS, exportK / 1024, dumpS, dumpK / 1024,
                             exportS / dumpS,
                             Verdict(exportS <= 3 * dumpS && exportK * 1024 < 64e6))
                      .c_str());
        std::puts(FormatText("| zovreg import, %s keys | %.2f s, %.1f MiB | sqlite3 loading the "
                             "dump %.2f s, %.1f MiB | <= 1.5x the load, < 64 MB (here %.2fx) | "
                             "%s |",
                             keys.c_str(), importS, importK / 1024, loadS, loadK / 1024,
                             importS / loadS,
                             Verdict(importS <= 1.5 * loadS && importK * 1024 < 64e6))
                      .c_str());
        std::puts(FormatText("| zovreg query -s, %s keys | %.2f s, %.1f MiB | | < 64 MB | %s |",
                             keys.c_str(), queryS, queryK / 1024, Verdict(queryK * 1024 < 64e6))
                      .c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: bench_report RESULTS_JSON STARTUP_JSON ZOVREG_ROWS\n", stderr);
        return 2;
    }
    try {
        const Medians medians = ReadMedians(argv[1]);
        json startup;
        try {
            startup = json::parse(argv[2]);
        } catch (const json::exception& error) {
            throw std::runtime_error(std::string("the start-up result: ") + error.what());
        }
        std::puts("| measure | cards only | 1,000,000 unrelated keys | target | result |");
        std::puts("|---|---|---|---|---|");
        PrintCardStoreRows(medians);
        PrintStartupRows(startup);
        PrintZovregRows(argv[3]);
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fputs(FormatText("bench_report: %s\n", error.what()).c_str(), stderr);
        return 1;
    }
    std::puts("");
    std::puts(
        "Times are medians of 9 repetitions, wall clock. Syncs are fsync + fdatasync calls and "
        "write txn the rollback journals deleted, per operation, counted by "
        "bench/sync_counter.cpp (LD_PRELOAD).");
    return 0;
}
