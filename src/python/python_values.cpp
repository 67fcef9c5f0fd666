#include "python/python_values.hpp"

#include <cstdint>
#include <string>

#include "request/logbook_text.hpp"
#include "request/request_json.hpp"
#include "request/request_rules.hpp"
#include "request/result_json.hpp"
#include "run/run_error.hpp"

namespace py = pybind11;

namespace cubega {

namespace {

constexpr const char* kLogKeyword = "log";
constexpr const char* kLogEveryKeyword = "log_every";

// A Python whole number as JSON; beyond 64 bits it stays beyond every range.
nlohmann::json wholeNumberJson(const py::handle& value) {
    const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (!number) {
        throw py::error_already_set();
    }
    int overflow = 0;
    const long long whole = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (overflow > 0) {
        return UINT64_MAX;
    }
    return overflow < 0 ? nlohmann::json(INT64_MIN) : nlohmann::json(whole);
}

// A Python value as JSON, for the request's rules to judge: truth values, whole numbers (numpy's
// too), real numbers and text as themselves; anything else as an empty object, which every rule
// refuses with its message.
nlohmann::json jsonOf(const py::handle& value) {
    if (py::isinstance<py::bool_>(value)) {
        return value.cast<bool>();
    }
    if (py::isinstance<py::str>(value)) {
        return value.cast<std::string>();
    }
    if (PyFloat_Check(value.ptr())) {
        return PyFloat_AS_DOUBLE(value.ptr());
    }
    if (PyIndex_Check(value.ptr())) {
        return wholeNumberJson(value);
    }
    const PyNumberMethods* number = Py_TYPE(value.ptr())->tp_as_number;
    if (number != nullptr && number->nb_float != nullptr) {  // numpy.float32, Decimal
        return value.cast<double>();
    }
    return nlohmann::json::object();
}

// The request's key of a keyword argument; an unknown keyword is refused as Python refuses it.
std::string requestKeyOf(const std::string& keyword) {
    for (const std::string_view key : requestKeys()) {
        if (keywordOf(key) == keyword) {
            return std::string(key);
        }
    }
    throw UsageError("solve() got an unexpected keyword argument '" + keyword + "'");
}

std::int32_t logEveryOf(const py::handle& value) {
    const nlohmann::json every = jsonOf(value);
    if (!every.is_number_integer()) {
        throw UsageError(wholeNumberMessage(kLogEveryRule, Spelling::keyword));
    }
    const std::int64_t whole = every.is_number_unsigned() ? INT64_MAX : every.get<std::int64_t>();
    return static_cast<std::int32_t>(checkedWholeNumber(kLogEveryRule, whole, Spelling::keyword));
}

}  // namespace

SolveJob jobOf(const py::dict& arguments) {
    SolveJob job;
    nlohmann::json request = nlohmann::json::object();
    for (const auto& [name, value] : arguments) {
        if (!py::isinstance<py::str>(name)) {
            throw UsageError("keywords must be strings");
        }
        const std::string keyword = name.cast<std::string>();
        if (value.is_none()) {
            continue;
        }
        if (keyword == kLogKeyword) {
            if (!py::isinstance<py::bool_>(value)) {
                throw UsageError("log must be true or false");
            }
            job.keepLog = job.keepLog || value.cast<bool>();
        } else if (keyword == kLogEveryKeyword) {
            job.logEvery = logEveryOf(value);
            job.keepLog = true;
        } else {
            request[requestKeyOf(keyword)] = jsonOf(value);
        }
    }
    job.task = taskFromJson(request, {}, Spelling::keyword);
    return job;
}

py::object pythonOf(const nlohmann::ordered_json& json) {
    using Type = nlohmann::ordered_json::value_t;
    switch (json.type()) {
        case Type::boolean:
            return py::bool_(json.get<bool>());
        case Type::number_integer:
            return py::int_(json.get<std::int64_t>());
        case Type::number_unsigned:
            return py::int_(json.get<std::uint64_t>());
        case Type::number_float:
            return py::float_(json.get<double>());
        case Type::string:
            return py::str(json.get_ref<const std::string&>());
        case Type::array: {
            py::list list;
            for (const auto& item : json) {
                list.append(pythonOf(item));
            }
            return list;
        }
        case Type::object: {
            py::dict dict;
            for (const auto& [key, item] : json.items()) {
                dict[py::str(key)] = pythonOf(item);
            }
            return dict;
        }
        default:  // null (the binary and discarded kinds never occur here)
            return py::none();
    }
}

py::dict resultDict(const JobResult& result) {
    if (result.error) {
        return py::reinterpret_steal<py::dict>(pythonOf(errorJson(*result.error)).release());
    }
    py::dict dict = pythonOf(resultJson(result.job.task, result.outcome));
    if (result.job.keepLog) {
        py::list rows;
        for (const LogbookRow& row : result.rows) {
            rows.append(pythonOf(logbookRowJson(row)));
        }
        dict["log"] = std::move(rows);
    }
    return dict;
}

}  // namespace cubega
