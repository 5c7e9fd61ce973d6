#pragma once
// A failure the user caused: bad option, file or expression. zorv-batch
// prints its message and ends with exit code 1. The option readers of
// zorvcore throw the same type.

#include "registry/OptionSource.h"

namespace zorv {

using BatchError = OptionError;

}  // namespace zorv
