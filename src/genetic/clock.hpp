// The two clocks the random source is seeded from, behind an interface so tests can freeze
// them.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace cubega {

struct ClockReading {
    std::uint32_t millisecondsSinceStart = 0;  // monotonic, since the process started
    std::uint32_t calendarSeconds = 0;         // whole seconds since 1 January 1970
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual ClockReading read() = 0;
};

// The real clocks. Both reads go through the vDSO, not a system call (time() only reads a
// word the kernel keeps up to date), so the search can reseed many times per millisecond.
class SystemClock final : public Clock {
  public:
    SystemClock() : start_(std::chrono::steady_clock::now()) {}

    ClockReading read() override {
        using namespace std::chrono;
        const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start_).count();
        return {static_cast<std::uint32_t>(elapsed),
                static_cast<std::uint32_t>(std::time(nullptr))};
    }

  private:
    std::chrono::steady_clock::time_point start_;
};

// A clock that says what it is told: frozen unless a test moves it.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(ClockReading reading = {}) : reading_(reading) {}
    ClockReading read() override { return reading_; }
    void set(ClockReading reading) { reading_ = reading; }

  private:
    ClockReading reading_;
};

}  // namespace cubega
