#pragma once
// The estimators of zorvcore on NumPy arrays of magnitudes (and dates):
// each runs the code of the analyses on a sample made of the arrays, so the
// numbers agree with the analyses of a catalogue of the same events.

#include <pybind11/pybind11.h>

namespace zorv::python {

namespace py = pybind11;

// Adds mc, completeness, b_value, mmax, smoothing_factor, np_hazard and
// p_hazard to the module.
void addEstimators(py::module_& m);

}  // namespace zorv::python
