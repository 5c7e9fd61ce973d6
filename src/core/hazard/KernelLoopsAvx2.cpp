// The kernel loops built for AVX2 with fused multiply-add. Only reached
// through loops() when the processor has both.

#include "hazard/KernelLoops.h"

// The 64-byte vectors of the loop bodies never cross a call boundary (every
// helper is inlined into the loop functions, which take pointers and scalars
// only), so the compiler's calling-convention warning about them does not
// apply to this file.
#pragma GCC diagnostic ignored "-Wpsabi"

// Only the loop bodies below get the AVX2 target: clang ignores the GCC
// target pragma and takes the attribute over a region instead.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,fma")
#endif

namespace zorv::kernel {

namespace avx2 {
#define ZORV_LANES 4
#define ZORV_FMA 1
#include "hazard/KernelLoopsBody.h"
#undef ZORV_LANES
#undef ZORV_FMA
}  // namespace avx2

extern const Loops kAvx2Loops;
const Loops kAvx2Loops = {avx2::lscvRows, avx2::gaussRows, avx2::gaussSum, avx2::cdfSum,
                          avx2::cdfSums,  avx2::cdfAt,     avx2::expAt};

}  // namespace zorv::kernel

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
