#pragma once

// The published worked examples of the host code, shared by the product's
// tests and the reference's.

#include <cstdint>
#include <string>

namespace hostcode {

// `length` copies of `filler` with `other` at 1-based `position`.
inline std::string FilledWith(std::size_t length, char filler, std::size_t position, char other) {
  std::string identity(length, filler);
  identity[position - 1] = other;
  return identity;
}

struct WorkedExample {
  std::string name;
  std::string identity;
  std::int64_t weightedSum;
  std::string rendered;
  std::string code;
};

// The published worked examples: identity, weighted sum, rendered quotient and code.
inline const WorkedExample kWorkedExamples[] = {
    {"fallback xxx", "xxx", 1385, "0.197490375017824", "197-4903-750"},
    {"empty", "", 0, "0", "--"},
    {"letter A", "A", 130, "0.0185370027092542", "018-5370-027"},
    {"abc", "abc", 1143, "0.162983031512905", "162-9830-315"},
    {"hello world", "hello world", 13453, "1.91829459575075", "918-2945-957"},
    {"dog time", "dog time", 7013, "1", "--"},
    {"byte 0x05", "\x05", 70, "0.00998146299729075", "009-9814-629"},
    {"byte 0xFF", "\xFF", 320, "0.045629545130472", "045-6295-451"},
    {"76 bytes", FilledWith(76, 'x', 56, 'z'), 702411, "100.158420077", "158-4200-77"},
    {"248 bytes", FilledWith(248, 'r', 229, 'A'), 7017188, "1000.5971766719", "597-1766-719"},
    {"764 bytes", FilledWith(764, 'x', 325, 'z'), 70136447, "10000.9192927421", "919-2927-421"},
};

}  // namespace hostcode
