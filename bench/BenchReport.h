// One row of the benchmark table, in the columns tools/dev prints its own
// rows in: figure, value, goal, and whether the goal is met ("yes", "MISSED",
// or empty for a figure without a goal).
#pragma once

#include <cstdio>

inline void PrintRow(const char* figure, const char* value, const char* goal = "",
                     const char* met = "") {
    if (*goal == '\0' && *met == '\0') {
        std::printf("%-38s %s\n", figure, value);
    } else {
        std::printf("%-38s %-30s %-12s %s\n", figure, value, goal, met);
    }
    std::fflush(stdout);
}

inline const char* Verdict(bool met) {
    return met ? "yes" : "MISSED";
}
