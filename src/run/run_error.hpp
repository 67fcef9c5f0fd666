// An orderly stop of the run: the message goes to the error stream and the program exits
// with status 1.
#pragma once

#include <stdexcept>
#include <string>

namespace cubega {

class RunError : public std::runtime_error {
  public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace cubega
