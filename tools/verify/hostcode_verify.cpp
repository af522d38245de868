// hostcode-verify: checks the product's integer arithmetic against the
// extended-precision reference, sum by sum or identity by identity.
//
//   hostcode-verify [--threads N] sums FROM TO           every sum in [FROM, TO)
//   hostcode-verify [--threads N] random COUNT MAX SEED  COUNT seeded sums in [0, MAX]
//   hostcode-verify boundaries                            the sums where shortcuts part
//   hostcode-verify identities SEED LENGTH...             seeded random identities
//   hostcode-verify reference-code                        the reference's code of the
//                                                         identity on standard input
//
// Prints each mismatch with both texts, then the count checked and the rate.
// Exit status: 0 all agree, 1 a mismatch, 2 usage, 77 no reference here.

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host_code/host_code.h"
#include "reference_host_code.h"

namespace {

using hostcode::CutHostCode;
using hostcode::Quotient;
using hostcode::RenderQuotient;
namespace reference = hostcode::reference;

constexpr int kExitMismatch = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSkipped = 77;
constexpr std::size_t kMostMismatchesShown = 20;

std::string HexFloat(double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%a", value);
  return text;
}

class Mismatches {
 public:
  void Add(const std::string& report) {
    const std::lock_guard lock(mutex_);
    if (++count_ <= kMostMismatchesShown) std::cout << "MISMATCH " << report << '\n';
  }
  std::uint64_t Count() const {
    const std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  mutable std::mutex mutex_;
  std::uint64_t count_ = 0;
};

// Compares one weighted sum: quotient, rendered text and code.
void CheckSum(std::int64_t sum, Mismatches& mismatches) {
  const double q = Quotient(sum);
  const double referenceQ = reference::Quotient(static_cast<double>(sum));
  const std::string text = RenderQuotient(q, '.');
  const std::string referenceText = reference::RenderQuotient(referenceQ, '.');
  if (q == referenceQ && text == referenceText) {
    const std::string code = CutHostCode(text);
    if (code == reference::CutHostCode(referenceText)) return;
  }
  mismatches.Add("sum " + std::to_string(sum) + ": product " + HexFloat(q) + " " + text + " " +
                 CutHostCode(text) + ", reference " + HexFloat(referenceQ) + " " + referenceText +
                 " " + reference::CutHostCode(referenceText));
}

// Runs check(i) for every i in [0, count) on `threads` threads.
template <typename Check>
void RunParallel(std::uint64_t count, unsigned threads, Check check) {
  constexpr std::uint64_t kChunk = 1 << 16;
  std::atomic<std::uint64_t> next{0};
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (;;) {
        const std::uint64_t first = next.fetch_add(kChunk);
        if (first >= count) return;
        const std::uint64_t last = std::min(count, first + kChunk);
        for (std::uint64_t i = first; i < last; ++i) check(i);
      }
    });
  }
  for (auto& worker : workers) worker.join();
}

// The i-th number of a seeded sequence, the same whatever thread asks for it.
std::uint64_t SplitMix64(std::uint64_t i) {
  std::uint64_t z = i * 0x9E3779B97F4A7C15ull + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A sum as the rule can hold it: the nearest double, ties to even.
std::int64_t AsStoredSum(std::int64_t sum) {
  return static_cast<std::int64_t>(static_cast<double>(sum));
}

std::string RandomIdentity(std::mt19937_64& random, std::size_t length) {
  std::string identity(length, '\0');
  for (auto& byte : identity) byte = static_cast<char>(random() & 0xFF);
  return identity;
}

bool ParseInteger(const char* text, std::int64_t& value) {
  const char* end = text + std::strlen(text);
  const auto [rest, error] = std::from_chars(text, end, value);
  return error == std::errc() && rest == end;
}

int Usage() {
  std::cerr << "usage: hostcode-verify [--threads N] sums FROM TO | random COUNT MAX SEED | "
               "boundaries | identities SEED LENGTH... | reference-code\n";
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  if (args.size() >= 2 && args[0] == "--threads") {
    std::int64_t n = 0;
    if (!ParseInteger(args[1].c_str(), n) || n < 1 || n > 256) return Usage();
    threads = static_cast<unsigned>(n);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  std::vector<std::int64_t> numbers;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::int64_t n = 0;
    if (!ParseInteger(args[i].c_str(), n)) return Usage();
    numbers.push_back(n);
  }

  if (!reference::Available()) {
    std::cout << "skipped: " << reference::UnavailableReason() << '\n';
    return kExitSkipped;
  }

  const std::string& mode = args[0];
  if (mode == "reference-code" && numbers.empty()) {
    const std::string identity{std::istreambuf_iterator<char>(std::cin), {}};
    std::cout << reference::CutHostCode(reference::RenderQuotient(
                     reference::Quotient(reference::WeightedSum(identity)), '.'))
              << '\n';
    return 0;
  }

  Mismatches mismatches;
  std::uint64_t checked = 0;
  const auto start = std::chrono::steady_clock::now();

  if (mode == "sums" && numbers.size() == 2 && numbers[0] <= numbers[1]) {
    const std::int64_t from = numbers[0];
    checked = static_cast<std::uint64_t>(numbers[1] - from);
    RunParallel(checked, threads, [&](std::uint64_t i) {
      CheckSum(AsStoredSum(from + static_cast<std::int64_t>(i)), mismatches);
    });
  } else if (mode == "random" && numbers.size() == 3 && numbers[0] >= 0 && numbers[1] >= 0) {
    checked = static_cast<std::uint64_t>(numbers[0]);
    const auto max = static_cast<std::uint64_t>(numbers[1]);
    const auto seed = static_cast<std::uint64_t>(numbers[2]);
    RunParallel(checked, threads, [&](std::uint64_t i) {
      const std::uint64_t bits = SplitMix64(seed + i);
      const std::uint64_t sum = max == INT64_MAX ? bits >> 1 : bits % (max + 1);
      CheckSum(AsStoredSum(static_cast<std::int64_t>(sum)), mismatches);
    });
  } else if (mode == "boundaries" && numbers.empty()) {
    std::vector<std::int64_t> sums = {0,
                                      65,
                                      70,
                                      71,
                                      701,
                                      702,
                                      6253,
                                      42179,
                                      57970,
                                      702411,
                                      7017188,
                                      70136447,
                                      (std::int64_t{1} << 53) - 1,
                                      std::int64_t{1} << 53,
                                      -1385};
    for (std::int64_t m = 1; m <= 100000; ++m) sums.push_back(7013 * m);
    for (std::int64_t m = 1; m <= 1000; ++m) {
      sums.push_back(7013 * m - 1);
      sums.push_back(7013 * m + 1);
    }
    checked = sums.size();
    for (const auto sum : sums) CheckSum(sum, mismatches);
  } else if (mode == "identities" && numbers.size() >= 2) {
    std::mt19937_64 random(static_cast<std::uint64_t>(numbers[0]));
    for (std::size_t i = 1; i < numbers.size(); ++i) {
      if (numbers[i] < 0) return Usage();
      const std::string identity = RandomIdentity(random, static_cast<std::size_t>(numbers[i]));
      const std::int64_t sum = hostcode::WeightedSum(identity);
      const double referenceSum = reference::WeightedSum(identity);
      if (static_cast<double>(sum) != referenceSum) {
        std::ostringstream report;
        report << "identity of " << identity.size() << " bytes: product sum " << sum
               << ", reference sum " << std::fixed << referenceSum;
        mismatches.Add(report.str());
      }
      const std::string code = hostcode::MakeHostCode(identity, '.');
      const std::string referenceCode =
          reference::CutHostCode(reference::RenderQuotient(reference::Quotient(referenceSum), '.'));
      if (code != referenceCode) {
        mismatches.Add("identity of " + std::to_string(identity.size()) + " bytes: product " +
                       code + ", reference " + referenceCode);
      }
      ++checked;
    }
  } else {
    return Usage();
  }

  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "checked " << checked << " in " << seconds << " s ("
            << static_cast<std::uint64_t>(static_cast<double>(checked) / std::max(seconds, 1e-9))
            << " per second, " << threads << " threads), " << mismatches.Count() << " mismatches\n";
  return mismatches.Count() == 0 ? 0 : kExitMismatch;
}
