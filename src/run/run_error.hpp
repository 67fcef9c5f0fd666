// How a run stops early. RunError is an orderly stop on bad input or a file that cannot be
// written (exit status 1); InternalFault is a fault of the program itself, found by its own
// checks (exit status 3). The message goes to the error stream.
#pragma once

#include <stdexcept>
#include <string>

namespace cubega {

inline constexpr int kStatusStopped = 1;
inline constexpr int kStatusInternalFault = 3;

class RunError : public std::runtime_error {
  public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
};

class InternalFault : public std::runtime_error {
  public:
    explicit InternalFault(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace cubega
