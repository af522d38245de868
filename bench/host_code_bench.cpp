// Speed of the host code against plain baselines: the rendering against the
// standard library's number formatting, and MakeHostCode against a loop that
// merely sums the identity's bytes.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "host_code/host_code.h"

namespace {

// Quotients of a spread of weighted sums, as the program meets them.
const std::vector<double>& SampleQuotients() {
  static const std::vector<double> quotients = [] {
    std::mt19937_64 random(20261211);
    std::vector<double> q;
    for (int i = 0; i < 4096; ++i) {
      const auto sum = static_cast<std::int64_t>(random() % 100'000'000) + 65;
      q.push_back(hostcode::Quotient(sum));
    }
    return q;
  }();
  return quotients;
}

void RenderQuotient(benchmark::State& state) {
  const auto& quotients = SampleQuotients();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hostcode::RenderQuotient(quotients[i++ & 4095], '.'));
  }
}
BENCHMARK(RenderQuotient);

void ToChars(benchmark::State& state) {
  const auto& quotients = SampleQuotients();
  std::size_t i = 0;
  char text[64];
  for (auto _ : state) {
    const auto result = std::to_chars(text, text + sizeof(text), quotients[i++ & 4095]);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ToChars);

void Snprintf15g(benchmark::State& state) {
  const auto& quotients = SampleQuotients();
  std::size_t i = 0;
  char text[64];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::snprintf(text, sizeof(text), "%.15g", quotients[i++ & 4095]));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Snprintf15g);

std::string Identity(std::size_t length) {
  std::mt19937_64 random(length);
  std::string identity(length, '\0');
  for (auto& byte : identity) byte = static_cast<char>(random());
  return identity;
}

constexpr std::int64_t kSizes[] = {16, 64, 1024, 1 << 20, 8 << 20};

void MakeHostCode(benchmark::State& state) {
  const std::string identity = Identity(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(hostcode::MakeHostCode(identity, '.'));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(MakeHostCode)->ArgsProduct({{kSizes[0], kSizes[1], kSizes[2], kSizes[3], kSizes[4]}});

// The floor: every byte read once and added up.
void PlainByteSum(benchmark::State& state) {
  const std::string identity = Identity(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (const char c : identity) sum += static_cast<unsigned char>(c);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PlainByteSum)->ArgsProduct({{kSizes[0], kSizes[1], kSizes[2], kSizes[3], kSizes[4]}});

}  // namespace

BENCHMARK_MAIN();
