// Peer checks run programs of other projects (netpbm, Tiled's tmxrasterizer); without them such a check
// is skipped with a message naming the program, so a machine without them still runs the rest of the suite.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace tavrik::test {

// The first of names that is not an executable file in a folder of $PATH, or "" when all are there.
std::string FirstMissingProgram(std::initializer_list<const char*> names);

} // namespace tavrik::test

// Skips the running test (or, in SetUp, the fixture's tests) when one of the named programs is missing.
#define TAVRIK_SKIP_WITHOUT_PROGRAMS(...)                                                                   \
    if (const std::string missingProgram = ::tavrik::test::FirstMissingProgram({__VA_ARGS__});            \
        !missingProgram.empty())                                                                          \
    GTEST_SKIP() << missingProgram << " is not installed, so this peer check cannot run "                 \
                 << "(bash scripts/dev.sh test installs it)"

// Tiled's renderer and netpbm's pngtopnm, which RasterizeWithTiled runs.
#define TAVRIK_SKIP_WITHOUT_TILED() TAVRIK_SKIP_WITHOUT_PROGRAMS("tmxrasterizer", "pngtopnm")
