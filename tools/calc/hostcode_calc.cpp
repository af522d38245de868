// hostcode-calc: the host code of identities given on standard input, for
// checking a code without running the program on the machine it belongs to.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "StringManip/StringManip.h"
#include "host_code/host_code.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitWriteFailed = 1;
constexpr const char* kVersion = "hostcode-calc 1.0.0";

constexpr const char* kHelp = R"(usage: hostcode-calc [--lines] [--separator=C] [--explain]
       hostcode-calc --help | --version

Prints the host code of an identity read from standard input: all of it, as
raw bytes with nothing stripped, is one identity, and its code is printed
followed by a newline.

  --lines          each line of standard input is one identity (lines end
                   with LF, which is not part of the identity; a CR before it
                   is; a last line without LF counts); one code per line
  --separator=C    the decimal separator to render the quotient with, one
                   byte (default "."). With any separator but "." every code
                   is "--", exactly as the program prints it on a machine
                   whose decimal separator is not "."
  --explain        for each identity, labelled lines with its length, the
                   weighted sum, the rendered quotient, the fraction and the
                   code, and why a code is "--" or has short groups
  --help           this text
  --version        the version

Exit status: 0 on success, 2 for a wrong option or a failed read of standard
input, 1 when standard output cannot be written.
)";

struct Options {
  bool lines = false;
  bool explain = false;
  char separator = '.';
};

void Fail(const std::string& message) {
  std::fprintf(stderr, "hostcode-calc: %s\n", message.c_str());
}

// Appends the report of one identity to `out`.
void Describe(std::string_view identity, const Options& options, std::string& out) {
  if (!options.explain) {
    out += hostcode::MakeHostCode(identity, options.separator);
    out += '\n';
    return;
  }
  const std::int64_t sum = hostcode::WeightedSum(identity);
  const std::string rendered = hostcode::RenderQuotient(hostcode::Quotient(sum), options.separator);
  const std::string fraction = hostcode::TextAfter(rendered, ".");
  const std::string code = hostcode::CutHostCode(rendered);
  out += "identity length: " + std::to_string(identity.size()) + " bytes\n";
  out += "weighted sum: " + std::to_string(sum) + "\n";
  out += "rendered quotient: " + rendered + "\n";
  out += "fraction: " + fraction + "\n";
  out += "host code: " + code + "\n";
  if (fraction.empty()) {
    out += options.separator == '.'
               ? "why: the quotient is a whole number, so there is no fraction and the code is "
                 "the bare hyphens\n"
               : "why: the separator is not \".\", so the rendered quotient has no \".\" and the "
                 "code is the bare hyphens\n";
  } else if (fraction.size() < 10) {
    out += "why: the fraction has only " + std::to_string(fraction.size()) +
           " digits (15 significant digits, trailing zeros dropped), so the groups shrink from "
           "the right\n";
  }
  out += '\n';
}

bool Flush(std::string& out) {
  if (!out.empty() && std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) return false;
  out.clear();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("%s\n", kVersion);
      return 0;
    } else if (arg == "--lines") {
      options.lines = true;
    } else if (arg == "--explain") {
      options.explain = true;
    } else if (arg.substr(0, 12) == "--separator=") {
      if (arg.size() != 13) {
        Fail("the separator must be exactly one byte: '" + std::string(arg.substr(12)) + "'");
        return kExitUsage;
      }
      options.separator = arg[12];
    } else {
      Fail("unknown option '" + std::string(arg) + "' (see --help)");
      return kExitUsage;
    }
  }

  // Read in blocks; in line mode each finished line is answered at once, so
  // memory stays bounded by the longest line.
  std::vector<char> block(1 << 16);
  std::string pending;  // the identity read so far
  std::string out;
  for (;;) {
    const std::size_t count = std::fread(block.data(), 1, block.size(), stdin);
    std::string_view chunk(block.data(), count);
    while (options.lines && !chunk.empty()) {
      const std::size_t end = chunk.find('\n');
      if (end == std::string_view::npos) break;
      if (pending.empty()) {
        Describe(chunk.substr(0, end), options, out);
      } else {
        pending.append(chunk.substr(0, end));
        Describe(pending, options, out);
        pending.clear();
      }
      chunk.remove_prefix(end + 1);
    }
    pending.append(chunk);
    if (out.size() >= (1 << 16) && !Flush(out)) break;
    if (count < block.size()) break;
  }
  if (std::ferror(stdin)) {
    Fail("cannot read standard input");
    return kExitUsage;
  }
  if (!options.lines || !pending.empty()) Describe(pending, options, out);
  if (!Flush(out) || std::fflush(stdout) != 0) {
    Fail("cannot write standard output");
    return kExitWriteFailed;
  }
  return 0;
}
