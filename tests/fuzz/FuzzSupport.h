#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A broken invariant is a finding: libFuzzer and the seed replay both stop at the abort.
#define FUZZ_REQUIRE(condition)                                                                  \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);        \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

namespace velmora::fuzz {

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
