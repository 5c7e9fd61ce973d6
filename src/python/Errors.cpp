#include "Errors.h"

#include "Arrays.h"
#include "base/HazardError.h"
#include "catalogue/CatalogueFilter.h"
#include "catalogue/CatalogueSelection.h"
#include "catalogue/SettingsStore.h"
#include "hazard/Completeness.h"
#include "hazard/HazardErrors.h"
#include "interchange/TextImport.h"
#include "registry/OptionSource.h"
#include "table/TableError.h"

namespace zorv::python {

namespace py = pybind11;

void setPythonError(const char* name, const std::string& polish, const std::string& english) {
    const py::object errors = py::module_::import("zorv.errors");
    const py::object cls = errors.attr(name);
    PyErr_SetObject(cls.ptr(), py::make_tuple(polish, english).ptr());
}

namespace {

// The failure kinds of the estimators, most derived first.
template <class E>
bool raiseIf(const std::exception& e, const char* name, const char* english) {
    if (!dynamic_cast<const E*>(&e)) return false;
    setPythonError(name, e.what(), english);
    return true;
}

void translate(const std::exception& e) {
    if (raiseIf<ENoRecords>(e, "ENoRecords", "no records to analyse, or none reaches MMin") ||
        raiseIf<ESampleTooLow>(e, "ESampleTooLow", "the sample is too small") ||
        raiseIf<ETooManyIterations>(e, "ETooManyIterations",
                                    "too many iterations; the process may not converge") ||
        raiseIf<ETooLargeMagnitude>(e, "ETooLargeMagnitude", "magnitude or energy too large") ||
        raiseIf<EHFactorBelowZero>(e, "EHFactorBelowZero", "the smoothing factor is not positive") ||
        raiseIf<EDerivZero>(e, "EDerivZero", "the derivative is zero") ||
        raiseIf<EZeroNotFound>(e, "EZeroNotFound", "no root of the function was found") ||
        raiseIf<EMMaxEstExceeded>(e, "EMMaxEstExceeded",
                                  "the maximum magnitude estimate exceeds its limit") ||
        raiseIf<EMcSampleTooSmall>(e, "EMcSampleTooSmall", "too few events for the completeness magnitude") ||
        raiseIf<EMcBinWidth>(e, "EMcBinWidth", "the magnitude bin width must be positive") ||
        raiseIf<EBreakProcess>(e, "EBreakProcess", "the computation was stopped") ||
        raiseIf<AnalysisError>(e, "AnalysisError", "the analysis failed") ||
        raiseIf<OptionError>(e, "OptionError", "invalid option or argument") ||
        raiseIf<SelectionError>(e, "OptionError", "invalid selection") ||
        raiseIf<ArrayError>(e, "ArrayError", "invalid array") ||
        raiseIf<SettingsError>(e, "SettingsError", "the settings cannot be read") ||
        raiseIf<FilterError>(e, "FilterError", "invalid filter expression") ||
        raiseIf<CatalogueFilterError>(e, "FilterError", "invalid filter expression") ||
        raiseIf<FileFormatError>(e, "CatalogueError", "the file is not a readable catalogue") ||
        raiseIf<FileLockedError>(e, "CatalogueError", "the file is locked by another program") ||
        raiseIf<ImportError>(e, "CatalogueError", "the text catalogue cannot be read") ||
        raiseIf<TableError>(e, "CatalogueError", "table error"))
        return;
    setPythonError("Error", std::string("Problem... ") + e.what(), "unexpected failure");
}

}  // namespace

void registerErrorTranslator() {
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const py::error_already_set&) {
            throw;
        } catch (const py::builtin_exception&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& e) {
            translate(e);
        }
    });
}

}  // namespace zorv::python
