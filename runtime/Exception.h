#pragma once
// The one error class of the system. Every error that any part raises is an
// Exception (or derives from it) and carries an 8-bit message that what()
// returns byte for byte.

#include <exception>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const noexcept { return FMessage; }

private:
  std::string FMessage;
};

// A text that is not a valid number ("'%s' ist kein gültiger Gleitkommawert").
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// Floating-point conditions reported as errors: division by zero, invalid
// operation and overflow, each with the runtime's own message.
class EMathError : public Exception {
public:
  using Exception::Exception;
};
class EZeroDivide : public EMathError {
public:
  EZeroDivide();
};
class EInvalidOp : public EMathError {
public:
  EInvalidOp();
};
class EOverflow : public EMathError {
public:
  EOverflow();
};
