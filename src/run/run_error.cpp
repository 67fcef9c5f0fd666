#include "run/run_error.hpp"

namespace cubega {

RunEnd runGuarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const RunError& error) {
        return {kStatusStopped, error.what(), ""};
    } catch (const UsageError& error) {
        return {kStatusUsage, error.what(), error.field()};
    } catch (const InternalFault& fault) {
        return {kStatusInternalFault, std::string("internal fault: ") + fault.what(), ""};
    } catch (const NotSolved& stop) {
        return {kStatusNotSolved, std::string("not solved: ") + stop.what(), ""};
    }
    return {};
}

int exitStatusOf(const std::function<void()>& work, std::ostream& err) {
    const RunEnd end = runGuarded(work);
    if (end.status != kStatusDone) {
        err << "cube-solver: " << end.message << '\n';
    }
    return end.status;
}

}  // namespace cubega
