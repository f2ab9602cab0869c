#pragma once

// The model profile is shared by every layer and lives in common/; this header only keeps
// older includes working.
#include "common/model_profile.h"
