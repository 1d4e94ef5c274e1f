// The instruction sets that kernels build their hot loops for, beside the
// baseline every x86-64 processor runs. A kernel compiles the same loop once
// per set (with [[gnu::target]]), each build giving the same bits, and runs
// the widest this processor has; its tests run every build it has.
#pragma once

namespace nrx {

enum class Vectors { baseline, avx2, avx512 };

// Whether this processor runs `vectors`.
bool runs(Vectors vectors);

}  // namespace nrx
