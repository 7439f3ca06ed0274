#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace velmora::fuzz {

// A broken invariant is a finding: libFuzzer and the seed replay both stop at the abort.
[[noreturn]] inline void broken(const char* invariant, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, invariant);
    std::abort();
}

// The input's lines, so that seeds stay readable text.
inline std::vector<std::string> lines(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            out.emplace_back();
        else
            out.back() += static_cast<char>(data[i]);
    }
    return out;
}

} // namespace velmora::fuzz

#define FUZZ_REQUIRE(invariant) \
    ((invariant) ? void() : velmora::fuzz::broken(#invariant, __FILE__, __LINE__))
