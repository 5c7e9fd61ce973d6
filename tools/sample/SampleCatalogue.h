#pragma once
// A synthetic but believable catalogue of mining-induced seismic events.
//
// Sixteen zones in four departments (G-1 … G-4), each a longwall front that
// advances with time and is mined for part of the span. Events arrive as a
// Poisson process per zone whose rate swings with the season; magnitudes
// follow a doubly truncated Gutenberg–Richter law (b = 1, 0.3 … 4.2), of
// which the network records every event from about 1.3 up and fewer and
// fewer below it. Energies follow log10 E = 1.96·M + 1.15 exactly; about one
// event in ten has no location (X = Y = 0). Records come in time order.
//
// Randomness is our own on top of std::mt19937_64 (whose output the standard
// fixes), so a seed gives the same catalogue with every standard library.

#include <cstdint>
#include <vector>

#include "table/Table.h"

namespace zorv::sample {

struct SampleOptions {
    std::uint64_t seed = 20040401;
    int firstYear = 2000;  // from 1 January
    int lastYear = 2005;   // to 31 December
    // Expected number of recorded events; the zone rates are scaled to it.
    double expectedEvents = 20000.0;
};

// The catalogue's fields: ODDZIAL C10, DATA date, X, Y 32-bit integers, ENG
// and MAGNITUDA floats, GODZ, MIN, SEK 32-bit integers, OPIS C40.
FieldDefs sampleFields();

Table makeSampleCatalogue(const SampleOptions& options = {});

// n magnitudes of the doubly truncated Gutenberg–Richter law on
// [mMin, mMax] with the given b-value: the inverse distribution function of
// 53-bit uniform numbers drawn from std::mt19937_64(seed).
std::vector<double> truncatedGutenbergRichterSample(std::size_t n, std::uint64_t seed, double mMin,
                                                    double mMax, double b = 1.0);

}  // namespace zorv::sample
