#include "render/circuits.h"

namespace timer555 {

void LoadCircuitBlock(const TStringHolder& circuits, int block, TStringHolder& buffer) {
  buffer.Clear();
  if (block < 0 || block >= kCircuitBlockCount) return;
  for (int i = 1; i < kCircuitBlockLines; ++i) {
    const int line = kCircuitBlockLines * block + i;
    if (line < circuits.Count()) buffer.Add(circuits.Line(line));
  }
}

}  // namespace timer555
