#include "Arrays.h"

#include <cmath>
#include <limits>

namespace zorv::python {

namespace {

py::module_ numpy() { return py::module_::import("numpy"); }

py::array readOnly(py::array a) {
    a.attr("flags").attr("writeable") = false;
    return a;
}

template <class T, class Get>
py::array filled(std::size_t n, Get get) {
    py::array_t<T> a(static_cast<py::ssize_t>(n));
    T* out = a.mutable_data();
    for (std::size_t i = 0; i < n; ++i) out[i] = get(i);
    return a;
}

py::array datesOf(const Column& c, std::size_t n) {
    py::array_t<std::int64_t> days(static_cast<py::ssize_t>(n));
    std::int64_t* out = days.mutable_data();
    const auto& v = c.int32s();
    for (std::size_t i = 0; i < n; ++i)
        out[i] = c.isNull(i) ? std::numeric_limits<std::int64_t>::min() : std::int64_t{v[i]} - kUnixEpochDay;
    return days.attr("view")("datetime64[D]");
}

// Milliseconds since the epoch of a day number with its time of day.
py::array dateTimesOf(const Column& c, std::size_t n) {
    py::array_t<std::int64_t> ms(static_cast<py::ssize_t>(n));
    std::int64_t* out = ms.mutable_data();
    const auto& v = c.doubles();
    for (std::size_t i = 0; i < n; ++i)
        out[i] = c.isNull(i) ? std::numeric_limits<std::int64_t>::min()
                             : static_cast<std::int64_t>(std::llround((v[i] - kUnixEpochDay) * 86400000.0));
    return ms.attr("view")("datetime64[ms]");
}

py::array textsOf(const Column& c, std::size_t n) {
    std::vector<py::object> dict(c.dictionarySize());
    for (std::uint32_t id = 0; id < dict.size(); ++id) dict[id] = py::str(c.dictionaryText(id));
    py::array out = numpy().attr("empty")(n, "object");
    auto** cells = static_cast<PyObject**>(out.mutable_data());
    const auto& ids = c.textIds();
    for (std::size_t i = 0; i < n; ++i) {
        PyObject* v = c.isNull(i) ? Py_None : dict[ids[i]].ptr();
        Py_INCREF(v);
        Py_XDECREF(cells[i]);
        cells[i] = v;
    }
    return out;
}

}  // namespace

py::array columnArray(const Table& table, int f, py::handle owner) {
    const Column& c = table.column(f);
    const std::size_t n = table.physicalCount();
    switch (c.type()) {
        case FieldType::Date: return datesOf(c, n);
        case FieldType::DateTime: return dateTimesOf(c, n);
        case FieldType::Float:
        case FieldType::Time:
            if (!c.hasNulls())
                return readOnly(py::array_t<double>({static_cast<py::ssize_t>(n)}, {sizeof(double)},
                                                    c.doubles().data(), owner));
            return filled<double>(n, [&](std::size_t i) {
                return c.isNull(i) ? std::numeric_limits<double>::quiet_NaN() : c.doubles()[i];
            });
        case FieldType::Boolean:
            if (!c.hasNulls()) return filled<bool>(n, [&](std::size_t i) { return c.int32s()[i] != 0; });
            [[fallthrough]];
        case FieldType::SmallInt:
        case FieldType::Integer:
        case FieldType::Word:
        case FieldType::AutoInc:
        case FieldType::LargeInt:
            // Whole numbers with nulls come out as floats with NaN.
            if (c.hasNulls())
                return filled<double>(n, [&](std::size_t i) {
                    return c.isNull(i) ? std::numeric_limits<double>::quiet_NaN() : c.numberAt(i);
                });
            if (c.storage() == StorageKind::Int64)
                return filled<std::int64_t>(n, [&](std::size_t i) { return c.int64s()[i]; });
            return filled<std::int32_t>(n, [&](std::size_t i) { return c.int32s()[i]; });
        case FieldType::String:
        case FieldType::Memo: return textsOf(c, n);
        case FieldType::Unknown: break;
    }
    py::array out = numpy().attr("empty")(n, "object");
    out.attr("fill")(py::none());
    return out;
}

namespace {

struct ColumnOfArray {
    FieldDef def;
    py::array array;
};

ColumnOfArray classify(const std::string& name, py::handle object) {
    py::array a = numpy().attr("asarray")(object);
    if (a.ndim() != 1) throw ArrayError("Kolumna " + name + " musi być tablicą jednowymiarową.");
    const char kind = a.dtype().kind();
    switch (kind) {
        case 'f': return {{name, FieldType::Float}, numpy().attr("asarray")(a, "float64")};
        case 'i':
        case 'u': {
            py::array wide = numpy().attr("asarray")(a, "int64");
            const bool large = a.size() > 0 && (py::int_(wide.attr("max")()).cast<long long>() > INT32_MAX ||
                                                py::int_(wide.attr("min")()).cast<long long>() < INT32_MIN);
            return {{name, large ? FieldType::LargeInt : FieldType::Integer}, wide};
        }
        case 'b': return {{name, FieldType::Boolean}, a};
        case 'M':
            return {{name, FieldType::Date},
                    numpy().attr("asarray")(a, "datetime64[D]").attr("view")("int64")};
        case 'U':
        case 'S':
        case 'O': {
            py::array objects = numpy().attr("asarray")(a, "object");
            int width = 1;
            for (py::handle v : objects) {
                if (v.is_none()) continue;
                if (py::isinstance<py::float_>(v) && std::isnan(v.cast<double>())) continue;
                if (!py::isinstance<py::str>(v))
                    throw ArrayError("Kolumna " + name + " zawiera wartość, która nie jest tekstem.");
                width = std::max(width, static_cast<int>(py::len(v)));
            }
            return {{name, FieldType::String, std::min(width, 254)}, objects};
        }
        default: break;
    }
    throw ArrayError("Kolumna " + name + " ma nieobsługiwany typ " + py::str(a.dtype()).cast<std::string>() +
                     ".");
}

}  // namespace

Table tableOfArrays(const std::vector<std::pair<std::string, py::handle>>& columns) {
    std::vector<ColumnOfArray> parts;
    FieldDefs defs;
    for (const auto& [name, object] : columns) {
        parts.push_back(classify(name, object));
        defs.push_back(parts.back().def);
    }
    const std::size_t n = parts.empty() ? 0 : static_cast<std::size_t>(parts.front().array.size());
    for (const ColumnOfArray& p : parts)
        if (static_cast<std::size_t>(p.array.size()) != n)
            throw ArrayError("Kolumny muszą mieć jednakową długość (" + p.def.name + ").");
    Table table(defs);
    for (std::size_t f = 0; f < parts.size(); ++f) {
        Column& c = table.loadColumn(static_cast<int>(f));
        c.reserve(n);
        const py::array& a = parts[f].array;
        switch (parts[f].def.type) {
            case FieldType::Float: {
                const auto v = a.cast<py::array_t<double>>().unchecked<1>();
                for (std::size_t i = 0; i < n; ++i) std::isnan(v(i)) ? c.appendNull() : c.appendDouble(v(i));
                break;
            }
            case FieldType::Integer:
            case FieldType::LargeInt: {
                const auto v = a.cast<py::array_t<std::int64_t>>().unchecked<1>();
                for (std::size_t i = 0; i < n; ++i)
                    parts[f].def.type == FieldType::Integer ? c.appendInt32(static_cast<std::int32_t>(v(i)))
                                                            : c.appendInt64(v(i));
                break;
            }
            case FieldType::Boolean: {
                const auto v = a.cast<py::array_t<bool>>().unchecked<1>();
                for (std::size_t i = 0; i < n; ++i) c.appendInt32(v(i) ? 1 : 0);
                break;
            }
            case FieldType::Date: {
                const auto v = a.cast<py::array_t<std::int64_t>>().unchecked<1>();
                for (std::size_t i = 0; i < n; ++i) {
                    if (v(i) == std::numeric_limits<std::int64_t>::min()) {
                        c.appendNull();
                        continue;
                    }
                    const std::int64_t day = v(i) + kUnixEpochDay;
                    if (day < -693593 || day > 2958465)
                        throw ArrayError("Data poza zakresem 0001-01-01 … 9999-12-31 w kolumnie " +
                                         parts[f].def.name + ".");
                    c.appendInt32(static_cast<std::int32_t>(day));
                }
                break;
            }
            default: {
                for (py::handle v : a) {
                    if (v.is_none() || !py::isinstance<py::str>(v))
                        c.appendNull();
                    else
                        c.appendText(v.cast<std::string>());
                }
                break;
            }
        }
    }
    table.finishLoad();
    return table;
}

RealArray::RealArray(py::handle object, const char* name, bool allowEmpty) {
    const std::string what = name;
    py::array a;
    try {
        a = numpy().attr("asarray")(object);
    } catch (const py::error_already_set&) {
        throw ArrayError("Argument " + what + " nie jest tablicą liczb.");
    }
    if (a.ndim() != 1)
        throw ArrayError("Argument " + what + " musi być tablicą jednowymiarową (ma " +
                         std::to_string(a.ndim()) + " wymiarów).");
    const char kind = a.dtype().kind();
    if (kind != 'f' && kind != 'i' && kind != 'u')
        throw ArrayError("Argument " + what + " musi zawierać liczby rzeczywiste (typ " +
                         py::str(a.dtype()).cast<std::string>() + ").");
    const bool direct = a.dtype().is(py::dtype::of<double>()) && (a.flags() & py::array::c_style);
    if (direct)
        array_ = a.cast<py::array_t<double>>();
    else
        array_ = numpy().attr("ascontiguousarray")(a, "float64").cast<py::array_t<double>>();
    copied_ = !direct;
    data_ = array_.data();
    size_ = static_cast<std::size_t>(array_.size());
    if (size_ == 0 && !allowEmpty) throw ArrayError("Argument " + what + " jest pusty.");
    for (std::size_t i = 0; i < size_; ++i)
        if (!std::isfinite(data_[i]))
            throw ArrayError("Argument " + what + " zawiera wartość nieskończoną lub NaN (pozycja " +
                             std::to_string(i) + ").");
}

std::vector<std::int32_t> dayNumbers(py::handle object, const char* name) {
    const std::string what = name;
    py::array a;
    try {
        a = numpy().attr("asarray")(object, "datetime64[D]");
    } catch (const py::error_already_set&) {
        throw ArrayError("Argument " + what + " nie jest tablicą dat.");
    }
    if (a.ndim() != 1) throw ArrayError("Argument " + what + " musi być tablicą jednowymiarową.");
    const auto v = a.attr("view")("int64").cast<py::array_t<std::int64_t>>().unchecked<1>();
    std::vector<std::int32_t> out(static_cast<std::size_t>(v.shape(0)));
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (v(i) == std::numeric_limits<std::int64_t>::min())
            throw ArrayError("Argument " + what + " zawiera pustą datę (NaT, pozycja " + std::to_string(i) +
                             ").");
        const std::int64_t day = v(i) + kUnixEpochDay;
        if (day < -693593 || day > 2958465) throw ArrayError("Data poza zakresem w argumencie " + what + ".");
        out[i] = static_cast<std::int32_t>(day);
    }
    return out;
}

}  // namespace zorv::python
