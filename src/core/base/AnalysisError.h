#pragma once
// A failure of an analysis, carrying the message shown to the user.

#include <stdexcept>

namespace zorv {

class AnalysisError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace zorv
