// The options that do not go together, checked once they are all read.
#pragma once

#include "cli/options.h"

// Options that each make sense but not together, or a value an option
// cannot take: throws usage_error. Sets what follows from them (the format
// an output's name implies) and the values of their texts.
void check_combination(options& o);
