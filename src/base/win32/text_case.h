// Letter case of names as Windows compares them.
#pragma once

#include <string>
#include <string_view>

#include "base/mbcs.h"

// Folds a UTF-8 name so two names fold alike exactly when CompareStringOrdinal with ignore-case
// finds them equal: both go through the system's invariant upper-case table, in any script.
// ASCII letters then go to lower case, so names sort around "_" and "[" as they always did.
std::string FoldCaseOrdinal(std::string_view text, mbcs::LeadBytePredicate);
