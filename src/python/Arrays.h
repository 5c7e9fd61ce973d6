#pragma once
// NumPy arrays in and out of the table engine: a column as an array (dates
// as datetime64[D], nulls as NaN, NaT or None), arrays as the columns of a
// new table, and the checks of the magnitude and date arrays the
// estimators take.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "table/Table.h"

namespace zorv::python {

namespace py = pybind11;

// Day number of 1970-01-01, the epoch of datetime64.
inline constexpr std::int32_t kUnixEpochDay = 25569;

// The column `f` of `table` as an array. A column of doubles without nulls
// is handed out without a copy, read only, with `owner` kept alive as long
// as the array lives.
py::array columnArray(const Table& table, int f, py::handle owner);

// A new table of the given arrays, in order: float → Float, integer →
// Integer (LargeInt beyond 32 bits), bool → Boolean, datetime64 → Date,
// str or object → String. NaN, NaT and None are nulls. Throws ArrayError
// (through OptionError's message) for a column of another kind or length.
Table tableOfArrays(const std::vector<std::pair<std::string, py::handle>>& columns);

// A 1-D array of finite real numbers, not empty, viewed without a copy when
// it is contiguous float64 and converted once otherwise.
class RealArray {
public:
    RealArray(py::handle object, const char* name, bool allowEmpty = false);
    std::span<const double> values() const { return {data_, size_}; }
    std::vector<double> vector() const { return {data_, data_ + size_}; }
    std::size_t size() const { return size_; }
    bool copied() const { return copied_; }

private:
    py::array_t<double> array_;
    const double* data_ = nullptr;
    std::size_t size_ = 0;
    bool copied_ = false;
};

// Day numbers of a 1-D array of dates (datetime64 of any unit, datetime.date
// objects or ISO texts); NaT is refused.
std::vector<std::int32_t> dayNumbers(py::handle object, const char* name);

// The error the module raises for a bad array (its Polish message).
struct ArrayError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace zorv::python
