#include "util/VectorState.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define SXF_HAS_VZEROUPPER 1
#endif

namespace sxf {

#if defined(SXF_HAS_VZEROUPPER)

namespace {

__attribute__((target("avx"))) void ZeroUpper() noexcept { _mm256_zeroupper(); }

}  // namespace

void ClearUpperVectorState() noexcept {
  static const bool hasAvx = __builtin_cpu_supports("avx");
  if (hasAvx) ZeroUpper();
}

#else

void ClearUpperVectorState() noexcept {}

#endif

}  // namespace sxf
