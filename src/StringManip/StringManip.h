#pragma once

#include <string>
#include <string_view>

namespace hostcode {

// Returns the bytes of `text` that follow the first (leftmost) occurrence of
// `delimiter`. Returns the empty text when the delimiter is empty, does not
// occur, or ends the text. Matching is byte for byte and case-sensitive.
// Example: TextAfter("a.b.c", ".") == "b.c".
std::string TextAfter(std::string_view text, std::string_view delimiter);

// Returns the bytes of `source` that occur nowhere in `charSet`, in their
// order. Bytes compare by exact value; a NUL byte is a byte like any other.
// Example: RemoveChars("a b\r\nc", " \r\n") == "abc".
std::string RemoveChars(std::string_view source, std::string_view charSet);

}  // namespace hostcode
