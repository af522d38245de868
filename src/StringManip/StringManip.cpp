#include "StringManip/StringManip.h"

#include <algorithm>

namespace hostcode {

std::string TextAfter(std::string_view text, std::string_view delimiter) {
  if (delimiter.empty()) return {};
  const auto at = text.find(delimiter);
  if (at == std::string_view::npos) return {};
  return std::string(text.substr(at + delimiter.size()));
}

std::string RemoveChars(std::string_view source, std::string_view charSet) {
  std::string kept;
  kept.reserve(source.size());
  std::copy_if(source.begin(), source.end(), std::back_inserter(kept),
               [charSet](char c) { return charSet.find(c) == std::string_view::npos; });
  return kept;
}

}  // namespace hostcode
