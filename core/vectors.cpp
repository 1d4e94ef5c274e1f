#include "core/vectors.hpp"

namespace nrx {

bool runs(Vectors vectors)
{
#if defined(__x86_64__)
    switch (vectors) {
    case Vectors::avx2: return __builtin_cpu_supports("avx2");
    case Vectors::avx512: return __builtin_cpu_supports("avx512f");
    default: return true;
    }
#else
    return vectors == Vectors::baseline;
#endif
}

}  // namespace nrx
