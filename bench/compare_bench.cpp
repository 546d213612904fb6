// quenorbial_compare4 alone: nanoseconds a call over pairs of real version
// strings, and over two long strings that differ only at their end.
#include <algorithm>
#include <cstddef>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "quenorbial.h"

namespace {

// The corpus lines, loaded once.
const std::vector<std::string> &corpus() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> v;
    std::ifstream in(CORPUS_FILE);
    for (std::string s; std::getline(in, s);) v.push_back(s);
    return v;
  }();
  return lines;
}

// Copies of the strings side by side, so that the loop measures the
// comparison and not cache misses on the corpus.
using Pairs = std::vector<std::pair<std::string, std::string>>;

void run_pairs(benchmark::State &state, const Pairs &pairs) {
  if (pairs.empty()) {
    state.SkipWithError("no corpus");
    return;
  }
  std::size_t i = 0;
  for (auto _ : state) {
    const auto &p = pairs[i];
    benchmark::DoNotOptimize(
        quenorbial_compare4(p.first.c_str(), p.second.c_str(), 0, 0));
    if (++i == pairs.size()) i = 0;
  }
}

// Two lines drawn at random, as the first rounds of a sort compare them.
void BM_RandomPairs(benchmark::State &state) {
  const auto &lines = corpus();
  Pairs pairs;
  std::mt19937 rng(1);
  for (std::size_t i = 0; i < 65536 && !lines.empty(); ++i) {
    pairs.emplace_back(lines[rng() % lines.size()],
                       lines[rng() % lines.size()]);
  }
  run_pairs(state, pairs);
}
BENCHMARK(BM_RandomPairs);

// Neighbours in byte order, which share a prefix as the last rounds of a
// sort do.
void BM_NeighbourPairs(benchmark::State &state) {
  std::vector<std::string> sorted = corpus();
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  Pairs pairs;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    pairs.emplace_back(sorted[i - 1], sorted[i]);
  }
  run_pairs(state, pairs);
}
BENCHMARK(BM_NeighbourPairs);

// Two strings of range(0) bytes that differ only in the last one, made of
// `unit` repeated. The time must grow linearly with the length.
void long_pair(benchmark::State &state, const char *unit, int flags2) {
  std::size_t n = static_cast<std::size_t>(state.range(0));
  std::string a;
  while (a.size() < n) a += unit;
  a.resize(n);
  std::string b = a;
  a.back() = '1';
  b.back() = '2';
  for (auto _ : state) {
    benchmark::DoNotOptimize(quenorbial_compare4(a.c_str(), b.c_str(), 0, flags2));
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          state.range(0));
}

// The shared prefix is skipped.
void BM_LongPair(benchmark::State &state) { long_pair(state, "1.22.333-rc4.", 0); }
// Other flags: both strings are cut from the start.
void BM_LongPairOtherFlags(benchmark::State &state) {
  long_pair(state, "1.22.333-rc4.", P_LETTER_AS_PATCH);
}
// One number: the cut starts again at its first digit.
void BM_LongNumber(benchmark::State &state) { long_pair(state, "1", 0); }
// Zeros, each of which may be padding before a pre-release: each run of them
// must be looked past once, not once for every zero.
void BM_LongZerosOtherFlags(benchmark::State &state) {
  long_pair(state, "0.", P_LETTER_AS_PATCH);
}

BENCHMARK(BM_LongPair)->RangeMultiplier(4)->Range(256 << 10, 4 << 20)->Complexity();
BENCHMARK(BM_LongPairOtherFlags)->RangeMultiplier(4)->Range(256 << 10, 4 << 20)->Complexity();
BENCHMARK(BM_LongNumber)->RangeMultiplier(4)->Range(256 << 10, 4 << 20)->Complexity();
BENCHMARK(BM_LongZerosOtherFlags)->RangeMultiplier(4)->Range(256 << 10, 4 << 20)->Complexity();

}  // namespace

BENCHMARK_MAIN();
