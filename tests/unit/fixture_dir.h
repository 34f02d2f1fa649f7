// Where the PE fixtures of this build lie (tests/fixtures): empty when the build made none.
#pragma once

#include <string>

#ifdef QUARNEL_FIXTURE_DIR
const std::string kFixtureDir = QUARNEL_FIXTURE_DIR;
#else
const std::string kFixtureDir;
#endif
