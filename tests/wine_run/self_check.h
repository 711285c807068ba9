#pragma once

// A minimal test runner for Windows test programs that run under Wine, where
// no cross-built test framework is at hand. Cases register themselves with
// TEST_CASE; checks record a failure and go on, so one run shows every fault.

#include <cstdio>
#include <string>
#include <vector>

namespace self_check {

struct Case {
    const char* name;
    void (*run)();
};

inline std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

struct Counts {
    int passed = 0;
    int failed = 0;
};

inline Counts& CheckCounts() {
    static Counts counts;
    return counts;
}

struct Registrar {
    Registrar(const char* name, void (*run)()) { Cases().push_back({name, run}); }
};

// Non-printable bytes as \xNN, so a failure shows exactly what differed.
inline std::string Printable(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    return shown;
}

inline std::string Printable(const std::vector<std::string>& items) {
    std::string shown = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        shown += (i ? ", \"" : "\"") + Printable(items[i]) + "\"";
    return shown + "]";
}

inline std::string Printable(long long value) {
    return std::to_string(value);
}

inline bool Record(bool ok, const char* text, const char* file, int line,
                   const std::string& detail = std::string()) {
    if (ok) {
        ++CheckCounts().passed;
    } else {
        ++CheckCounts().failed;
        std::printf("  FAILED %s:%d: %s\n", file, line, text);
        if (!detail.empty())
            std::printf("    %s\n", detail.c_str());
    }
    return ok;
}

template <typename A, typename B>
bool RecordEqual(const A& actual, const B& expected, const char* text, const char* file, int line) {
    const bool ok = actual == expected;
    return Record(ok, text, file, line,
                  ok ? std::string()
                     : "actual:   " + Printable(actual) + "\n    expected: " + Printable(expected));
}

// Runs every case and prints "N passed, N failed" (counting checks);
// returns the process exit code.
inline int RunAll() {
    int failedCases = 0;
    for (const Case& c : Cases()) {
        const int failedBefore = CheckCounts().failed;
        std::printf("[ RUN  ] %s\n", c.name);
        std::fflush(stdout);
        c.run();
        const bool ok = CheckCounts().failed == failedBefore;
        failedCases += ok ? 0 : 1;
        std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", c.name);
        std::fflush(stdout);
    }
    std::printf("%zu cases, %d failed; checks: %d passed, %d failed\n", Cases().size(), failedCases,
                CheckCounts().passed, CheckCounts().failed);
    return CheckCounts().failed == 0 && !Cases().empty() ? 0 : 1;
}

}  // namespace self_check

#define SELF_CHECK_JOIN2(a, b) a##b
#define SELF_CHECK_JOIN(a, b) SELF_CHECK_JOIN2(a, b)
#define TEST_CASE(function, name)                                                       \
    static void function();                                                             \
    static self_check::Registrar SELF_CHECK_JOIN(registrar_, function)(name, function); \
    static void function()

#define CHECK(condition) self_check::Record((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected) \
    self_check::RecordEqual((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
