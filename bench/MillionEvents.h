#pragma once
// The catalogue of the statistics benchmarks: 1,000,000 events of the sample
// model over the 30 years 1976–2005, made once per program.

#include "SampleCatalogue.h"

namespace zorv {

inline const Table& millionEvents() {
    static const Table t = [] {
        sample::SampleOptions o;
        o.firstYear = 1976;
        o.lastYear = 2005;
        o.expectedEvents = 1e6;
        return sample::makeSampleCatalogue(o);
    }();
    return t;
}

}  // namespace zorv
