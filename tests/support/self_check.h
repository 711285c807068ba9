#pragma once

// The one test runner of the Windows test programs that run under Wine,
// where no cross-built test framework is at hand. Cases register themselves
// with TEST_CASE; checks record a failure and go on, so one run shows every
// fault. Checks may run on any thread.

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace self_check {

struct Case {
    const char* id;    // the function's name, which picks the case on a command line
    const char* name;  // what it shows
    void (*run)();
};

inline std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

struct Counts {
    std::atomic<int> passed{0};
    std::atomic<int> failed{0};
};

inline Counts& CheckCounts() {
    static Counts counts;
    return counts;
}

struct Registrar {
    Registrar(const char* id, const char* name, void (*run)()) {
        Cases().push_back({id, name, run});
    }
};

// Non-printable bytes as \xNN, so a failure shows exactly what differed; a
// long text shows its start and its size.
inline std::string Printable(const std::string& text) {
    const std::size_t kShown = 600;
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            shown += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    if (text.size() > kShown)
        shown += "...(" + std::to_string(text.size()) + " bytes)";
    return shown;
}

inline std::string Printable(const std::vector<std::string>& items) {
    std::string shown = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        shown += (i ? ", \"" : "\"") + Printable(items[i]) + "\"";
    return shown + "]";
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
        std::fflush(stdout);
    }
    return ok;
}

// Numbers of any two integer types compare as numbers, C strings as texts.
template <typename A, typename B>
bool RecordEqual(const A& actual, const B& expected, const char* text, const char* file, int line) {
    if constexpr (std::is_integral_v<A> && std::is_integral_v<B>) {
        return RecordEqual(std::to_string(static_cast<long long>(actual)),
                           std::to_string(static_cast<long long>(expected)), text, file, line);
    } else if constexpr (std::is_convertible_v<const A&, const char*> &&
                         std::is_convertible_v<const B&, const char*>) {
        return RecordEqual(std::string(actual), std::string(expected), text, file, line);
    } else {
        const bool ok = actual == expected;
        return Record(
            ok, text, file, line,
            ok ? std::string()
               : "actual:   " + Printable(actual) + "\n    expected: " + Printable(expected));
    }
}

// Runs every case, or only the one whose id is `only`, and prints
// "N cases, N failed; checks: N passed, N failed"; returns the process exit
// code: 0 when a case ran and no check failed.
inline int RunAll(const char* only = nullptr) {
    int ran = 0;
    int failedCases = 0;
    for (const Case& c : Cases()) {
        if (only != nullptr && std::strcmp(only, c.id) != 0)
            continue;
        const int failedBefore = CheckCounts().failed;
        std::printf("[ RUN  ] %s\n", c.name);
        std::fflush(stdout);
        c.run();
        const bool ok = CheckCounts().failed == failedBefore;
        ++ran;
        failedCases += ok ? 0 : 1;
        std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", c.name);
        std::fflush(stdout);
    }
    std::printf("%d cases, %d failed; checks: %d passed, %d failed\n", ran, failedCases,
                CheckCounts().passed.load(), CheckCounts().failed.load());
    return CheckCounts().failed == 0 && ran > 0 ? 0 : 1;
}

}  // namespace self_check

#define SELF_CHECK_JOIN2(a, b) a##b
#define SELF_CHECK_JOIN(a, b) SELF_CHECK_JOIN2(a, b)
#define TEST_CASE(function, name)                                                                  \
    static void function();                                                                        \
    static self_check::Registrar SELF_CHECK_JOIN(registrar_, function)(#function, name, function); \
    static void function()

#define CHECK(condition) self_check::Record((condition), #condition, __FILE__, __LINE__)
// With what the failure shows beside the condition.
#define CHECK_WHY(condition, detail) \
    self_check::Record((condition), #condition, __FILE__, __LINE__, (detail))
#define CHECK_EQ(actual, expected) \
    self_check::RecordEqual((actual), (expected), #actual " == " #expected, __FILE__, __LINE__)
