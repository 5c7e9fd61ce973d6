#pragma once
// A failure the user caused: bad option, file or expression. zorv-batch
// prints its message and ends with exit code 1.

#include <stdexcept>

namespace zorv {

struct BatchError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace zorv
