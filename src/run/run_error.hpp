// How a run stops early, and the exit status of each way. RunError is an orderly stop on bad
// input or a file that cannot be written (status 1); UsageError a request that asks for what
// cannot be done (status 2: an unknown option, text that is not moves, a number out of its
// range); InternalFault a fault of the program itself, found by its own checks (status 3);
// NotSolved a solve that its budget ended before the cube was solved (status 4).
#pragma once

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

namespace cubega {

inline constexpr int kStatusDone = 0;
inline constexpr int kStatusStopped = 1;
inline constexpr int kStatusUsage = 2;
inline constexpr int kStatusInternalFault = 3;
inline constexpr int kStatusNotSolved = 4;

class RunError : public std::runtime_error {
  public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
};

// With the key of the request's field it names, when it names one ("seed").
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message, std::string field = "")
        : std::runtime_error(message), field_(std::move(field)) {}
    const std::string& field() const { return field_; }

  private:
    std::string field_;
};

class InternalFault : public std::runtime_error {
  public:
    explicit InternalFault(const std::string& message) : std::runtime_error(message) {}
};

class NotSolved : public std::runtime_error {
  public:
    explicit NotSolved(const std::string& message) : std::runtime_error(message) {}
};

// How a piece of work ended: its exit status and, unless it was done, what to tell the user
// ("internal fault: ..." for a fault of the program).
struct RunEnd {
    int status = kStatusDone;
    std::string message;
    std::string field;  // a usage error's field, when it names one
};

// Runs `work` and says how it ended; the errors above are caught, any other exception passes.
RunEnd runGuarded(const std::function<void()>& work);

// Runs `work` and gives its exit status; a message goes to `err` as "cube-solver: ...".
int exitStatusOf(const std::function<void()>& work, std::ostream& err);

}  // namespace cubega
