#include "display/VectorRegisters.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace vector_registers {

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void ClearWithAvx() { _mm256_zeroupper(); }
const bool HasAvx = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx") != 0;
}();
}  // namespace

void ClearUpperHalves() {
  if (HasAvx) ClearWithAvx();
}
#else
void ClearUpperHalves() {}
#endif

}  // namespace vector_registers
