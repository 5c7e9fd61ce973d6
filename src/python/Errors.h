#pragma once
// The failures of zorvcore as the exceptions of zorv.errors: each carries
// the Polish message of the program and an English one.

#include <pybind11/pybind11.h>

#include <string>

namespace zorv::python {

// Raises zorv.errors.<name>(polish, english) as the pending Python error.
void setPythonError(const char* name, const std::string& polish, const std::string& english);

// Installs the translator of every C++ failure the module lets through.
void registerErrorTranslator();

}  // namespace zorv::python
