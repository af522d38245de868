#pragma once

#include <new>
#include <string>
#include <string_view>

namespace hostcode {

// The base failure type: a message, and the type's name at run time.
class Exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  Exception(const Exception&) = default;
  Exception& operator=(const Exception&) = default;
  virtual ~Exception() = default;

  virtual const char* TypeName() const noexcept { return "Exception"; }
  virtual std::string_view Message() const noexcept { return message_; }

 protected:
  Exception() noexcept = default;

 private:
  std::string message_;
};

class EHeapException : public Exception {
 public:
  using Exception::Exception;
  const char* TypeName() const noexcept override { return "EHeapException"; }

 protected:
  EHeapException() noexcept = default;
};

// Memory exhaustion. Its message is a constant, so copying and throwing it
// needs no heap; it also is a std::bad_alloc, so a new-handler may throw it.
class EOutOfMemory : public EHeapException, public std::bad_alloc {
 public:
  EOutOfMemory() noexcept = default;
  const char* TypeName() const noexcept override { return "EOutOfMemory"; }
  std::string_view Message() const noexcept override { return "Out of memory"; }
  const char* what() const noexcept override { return "Out of memory"; }
};

// A failed write of standard output; `code` is the I/O error code.
class EInOutError : public Exception {
 public:
  EInOutError(int code, std::string message) : Exception(std::move(message)), code_(code) {}
  const char* TypeName() const noexcept override { return "EInOutError"; }
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// A registry value that could not be read as expected.
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
  const char* TypeName() const noexcept override { return "ERegistryException"; }
};

}  // namespace hostcode
