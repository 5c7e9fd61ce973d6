#include "hazard/KernelLoops.h"

// The 64-byte vectors of the loop bodies never cross a call boundary (every
// helper is inlined into the loop functions, which take pointers and scalars
// only), so the compiler's calling-convention warning about them does not
// apply to this file.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace zorv::kernel {

namespace portable {
#define ZORV_LANES 2
#define ZORV_FMA 0
#include "hazard/KernelLoopsBody.h"
#undef ZORV_LANES
#undef ZORV_FMA
}  // namespace portable

// Defined in KernelLoopsAvx2.cpp.
extern const Loops kAvx2Loops;

namespace {
const Loops kPortableLoops = {portable::lscvRows, portable::gaussRows, portable::gaussSum, portable::cdfSum,
                              portable::cdfSums,  portable::cdfAt,     portable::expAt};

bool hasAvx2Fma() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}
}  // namespace

const Loops* loopsFor(Isa isa) {
    switch (isa) {
        case Isa::Portable: return &kPortableLoops;
        case Isa::Avx2Fma: return hasAvx2Fma() ? &kAvx2Loops : nullptr;
    }
    return nullptr;
}

namespace {
const Loops*& chosen() {
    static const Loops* loops = hasAvx2Fma() ? &kAvx2Loops : &kPortableLoops;
    return loops;
}
}  // namespace

const Loops& loops() { return *chosen(); }

bool select(Isa isa) {
    const Loops* l = loopsFor(isa);
    if (l) chosen() = l;
    return l != nullptr;
}

}  // namespace zorv::kernel
