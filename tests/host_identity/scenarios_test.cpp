// The Windows end-to-end scenarios (tests/windows/scenarios), read by the
// in-memory registry: the stand-in is held to the same expectations as Wine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host_identity/host_identity.h"
#include "host_identity/in_memory_platform.h"

namespace hostcode {
namespace {

const std::string kRoot = "HKEY_LOCAL_MACHINE\\";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// printf %b escapes: \xHH, \t, \r, \n, \\.
std::string Unescape(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      bytes += text[i];
      continue;
    }
    const char kind = text[++i];
    if (kind == 'x' && i + 2 < text.size()) {
      bytes += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      bytes += kind == 't' ? '\t' : kind == 'r' ? '\r' : kind == 'n' ? '\n' : kind;
    }
  }
  return bytes;
}

// "41,42,00" as bytes.
std::string HexBytes(const std::string& list) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < list.size(); i += 3) {
    bytes += static_cast<char>(HexDigit(list[i]) * 16 + HexDigit(list[i + 1]));
  }
  return bytes;
}

struct Scenario {
  std::string name;
  std::uint32_t platformId = 2;
  std::string identity;
  InMemoryPlatform platform;
};

// A machine as Wine has it before a scenario is staged: both product keys and
// the BIOS key, no values.
void Load(const std::filesystem::path& file, Scenario& scenario) {
  scenario.name = file.stem().string();
  scenario.platform.AddKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  scenario.platform.AddKey("Software\\Microsoft\\Windows\\CurrentVersion");
  scenario.platform.AddKey("HARDWARE\\DESCRIPTION\\System");
  std::ifstream in(file);
  std::string line;
  std::string key;
  while (std::getline(in, line)) {
    if (line.rfind("version ", 0) == 0) {
      const std::string version = line.substr(8);
      scenario.platformId = version == "win95" || version == "win98" || version == "winme" ? 1 : 2;
    } else if (line.rfind("identity ", 0) == 0) {
      scenario.identity = Unescape(line.substr(9));
    } else if (line.rfind("reg [", 0) == 0) {
      key = line.substr(5, line.size() - 6).substr(kRoot.size());
    } else if (line.rfind("reg \"", 0) == 0) {
      const std::size_t nameEnd = line.find("\"=", 5);
      const std::string name = line.substr(5, nameEnd - 5);
      const std::string data = line.substr(nameEnd + 2);
      if (data.front() == '"') {
        scenario.platform.SetValue(key, name, kRegSz, data.substr(1, data.size() - 2) + '\0');
      } else if (data.rfind("dword:", 0) == 0) {
        const unsigned long value = std::stoul(data.substr(6), nullptr, 16);
        std::string bytes;
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        scenario.platform.SetValue(key, name, kRegDword, bytes);
      } else if (data.rfind("hex:", 0) == 0) {
        scenario.platform.SetValue(key, name, kRegBinary, HexBytes(data.substr(4)));
      } else if (data.rfind("hex(", 0) == 0) {
        const std::size_t close = data.find("):");
        const auto type =
            static_cast<std::uint32_t>(std::stoul(data.substr(4, close - 4), nullptr, 16));
        scenario.platform.SetValue(key, name, type, HexBytes(data.substr(close + 2)));
      } else {
        ADD_FAILURE() << "unknown value form in " << file << ": " << line;
      }
    }
  }
}

TEST(WindowsScenarios, TheInMemoryRegistryGivesTheSameIdentities) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(HOSTCODE_SCENARIO_DIR)) {
    files.push_back(entry.path());
  }
  ASSERT_GE(files.size(), 10u);
  for (const auto& file : files) {
    Scenario scenario;
    Load(file, scenario);
    SCOPED_TRACE(scenario.name);
    EXPECT_EQ(GetHostIdentity(scenario.platform, scenario.platformId), scenario.identity);
    EXPECT_EQ(scenario.platform.OpenHandles(), 0u);
  }
}

}  // namespace
}  // namespace hostcode
