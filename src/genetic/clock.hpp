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

// The real clocks, read through the standard clocks. On Linux both reads go through the
// vDSO, not a system call (time() only reads a word the kernel keeps up to date), so the
// search can reseed many times per millisecond. On Windows time() costs a system call (4.5 us
// a read under Wine, against 39 ns for system_clock), so the calendar seconds come from
// system_clock there: the same whole seconds since 1970.
class SystemClock final : public Clock {
  public:
    SystemClock() : start_(std::chrono::steady_clock::now()) {}

    ClockReading read() override {
        using namespace std::chrono;
        const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start_).count();
        return {static_cast<std::uint32_t>(elapsed), calendarSeconds()};
    }

    static std::uint32_t calendarSeconds() {
#ifdef _WIN32
        using namespace std::chrono;
        return static_cast<std::uint32_t>(
            duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
#else
        return static_cast<std::uint32_t>(std::time(nullptr));
#endif
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
