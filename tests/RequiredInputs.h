// What a test does when something it runs on is missing: a fixture that was not built, a library
// not named, no display. Run by hand, the test is skipped with the reason; under scripts/test.sh,
// which sets QUARNEL_REQUIRE_INPUTS=1, it fails, so that nothing missing passes unnoticed.
#pragma once

#include <cstdlib>

namespace quarnel_test {

inline bool InputsRequired() {
    const char* value = std::getenv("QUARNEL_REQUIRE_INPUTS");
    return value != nullptr && value[0] == '1';
}

} // namespace quarnel_test
