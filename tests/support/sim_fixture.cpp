// The fixture is header-only so far; this unit gives the support library its first source.
#include "sim_fixture.h"
