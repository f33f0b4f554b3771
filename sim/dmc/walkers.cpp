// The walker arrays: sizing and copying one walker, which branching does.
#include "sim/dmc/walkers.h"

namespace qh2::dmc {

void Walkers::resize(int n) {
  for (int k = 0; k < 6; ++k) {
    x[k].resize(n);
    g[k].resize(n);
  }
  lead.resize(n);
  pair.resize(n);
  energy.resize(n);
  weight.resize(n);
}

void Walkers::copy_from(const Walkers& source, int from, int to) {
  for (int k = 0; k < 6; ++k) {
    x[k][to] = source.x[k][from];
    g[k][to] = source.g[k][from];
  }
  lead[to] = source.lead[from];
  pair[to] = source.pair[from];
  energy[to] = source.energy[from];
  weight[to] = source.weight[from];
}

void MoveOutputs::resize(int n) {
  accept.resize(n);
  moved2.resize(n);
  energy.resize(n);
  weight.resize(n);
  copies.resize(n);
}

}  // namespace qh2::dmc
