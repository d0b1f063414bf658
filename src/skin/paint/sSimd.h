// Which vector instruction set the pixel kernels use. Every vector kernel gives the same bits as
// its scalar reference, so the choice only changes speed.
#pragma once

namespace skin::paint {

enum class TSimdLevel { Scalar = 0, Sse2 = 1, Avx2 = 2 };

// The best level this processor supports.
TSimdLevel SupportedSimdLevel();
// The level in use: the supported one unless limited by SetSimdLevel.
TSimdLevel ActiveSimdLevel();
// Limits the level in use (tests force each path; Scalar forces the reference code). A level
// above the supported one is lowered to it.
void SetSimdLevel(TSimdLevel level);

}  // namespace skin::paint
