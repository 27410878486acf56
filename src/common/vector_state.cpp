#include "common/vector_state.h"

namespace qv {

#if defined(__x86_64__) || defined(__i386__)

namespace {

// The instruction exists only with AVX: elsewhere it would be illegal.
// Asked for before main may have run the detection itself.
const bool hasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

__attribute__((target("avx"))) void zeroUpper()
{
    __builtin_ia32_vzeroupper();
}

} // namespace

void clearUpperVectorState()
{
    if (hasAvx)
        zeroUpper();
}

#else

void clearUpperVectorState()
{
}

#endif

} // namespace qv
