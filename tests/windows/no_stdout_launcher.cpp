// Starts a program with standard input and standard error but no standard
// output handle (STARTF_USESTDHANDLES with a null output handle), and checks
// that the program reports the write failure on standard error and ends with
// exit status 1. Usage: no_stdout_launcher PROGRAM.EXE

#include <windows.h>

#include <cstdio>
#include <regex>
#include <string>

namespace {

int Fail(const std::string& what) {
  std::printf("FAIL %s\n0 passed, 1 failed\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Fail("usage: no_stdout_launcher PROGRAM.EXE");

  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE errorRead = nullptr;
  HANDLE errorWrite = nullptr;
  if (!CreatePipe(&errorRead, &errorWrite, &inherit, 0)) return Fail("CreatePipe");
  SetHandleInformation(errorRead, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = nullptr;
  startup.hStdError = errorWrite;
  PROCESS_INFORMATION process{};
  std::string commandLine = std::string("\"") + argv[1] + "\"";
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                      nullptr, nullptr, &startup, &process)) {
    return Fail("CreateProcess " + std::to_string(GetLastError()));
  }
  CloseHandle(errorWrite);

  std::string report;
  char chunk[512];
  DWORD count = 0;
  while (ReadFile(errorRead, chunk, sizeof(chunk), &count, nullptr) && count > 0) {
    report.append(chunk, count);
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(errorRead);

  if (status != 1) {
    return Fail("exit status " + std::to_string(status) + ", expected 1; standard error [" +
                report + "]");
  }
  const std::regex expected(
      "Exception EInOutError in module hostcode\\.exe at [0-9A-F]{8}\\.\r\nI/O error "
      "105\\.\r\n\r\n");
  if (!std::regex_match(report, expected)) return Fail("standard error was [" + report + "]");
  std::printf("2 passed, 0 failed\n");
  return 0;
}
