// The number readers: a number is read as itself, as infinity when too large for a double, and
// never as 0 while its whole part has a digit other than 0.
#include "core/Numbers.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cctype>
#include <cmath>

using namespace velmora;

namespace {

// Whether the leading number's whole part, as a person reads it, has a digit other than 0.
bool wholePartNonZero(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i != std::string::npos && (text[i] == '-' || text[i] == '+'))
        ++i;
    for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ' ' ||
                               text[i] == '\t');
         ++i) {
        if (text[i] >= '1' && text[i] <= '9')
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = leadingNumber(text);
    FUZZ_REQUIRE(!std::isnan(value));
    if (wholePartNonZero(text))
        FUZZ_REQUIRE(std::fabs(value) >= 1.0);
    if (const auto whole = wholeNumberText(text))
        FUZZ_REQUIRE(*whole == value);
    if (const auto rounded = toInt16(value))
        FUZZ_REQUIRE(std::fabs(*rounded - value) <= 0.5);
    else
        FUZZ_REQUIRE(!std::isfinite(value) || std::fabs(value) > 32767);

    if (std::isfinite(value)) {
        // Written in plain digits that read back to the same number.
        const std::string written = numberText(value);
        FUZZ_REQUIRE(written.find_first_not_of("-.0123456789") == std::string::npos);
        FUZZ_REQUIRE(leadingNumber(written) == value);
        const double minutes = leadingNumber(minutesText(static_cast<float>(std::fmod(value, 1e30))));
        FUZZ_REQUIRE(minutes >= 0 && minutes < 60);
    }
    return 0;
}
