#include "python/python_values.hpp"

#include <cstdint>
#include <limits>
#include <string>

#include "request/logbook_text.hpp"
#include "request/request_json.hpp"
#include "request/result_json.hpp"
#include "run/run_error.hpp"

namespace py = pybind11;

namespace cubega {

namespace {

// A Python whole number as JSON; beyond 64 bits it stays beyond every range (the request's
// rules read such a number as the largest).
nlohmann::json wholeNumberJson(const py::handle& value) {
    const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (!number) {
        throw py::error_already_set();
    }
    int overflow = 0;
    const long long whole = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (overflow > 0) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return overflow < 0 ? nlohmann::json(std::numeric_limits<std::int64_t>::min())
                        : nlohmann::json(whole);
}

// A Python value as JSON, for the request's rules to judge: truth values, whole numbers (numpy's
// too), real numbers and text as themselves; anything else as an empty object, which every rule
// refuses with its message.
nlohmann::json jsonOfPython(const py::handle& value) {
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

// The field of a keyword argument; an unknown keyword is refused as Python refuses it.
const RequestField& fieldOfKeyword(const std::string& keyword) {
    for (const RequestField& field : requestFields()) {
        if ((field.use & kInPython) != 0 && field.keyword() == keyword) {
            return field;
        }
    }
    throw UsageError("solve() got an unexpected keyword argument '" + keyword + "'");
}

}  // namespace

SolveTask taskOf(const py::dict& arguments) {
    nlohmann::json request = nlohmann::json::object();
    for (const auto& [name, value] : arguments) {
        if (!py::isinstance<py::str>(name)) {
            throw UsageError("keywords must be strings");
        }
        const RequestField& field = fieldOfKeyword(name.cast<std::string>());
        if (!value.is_none()) {
            request[std::string(field.key)] = jsonOfPython(value);
        }
    }
    return taskFromJson(request, {}, Spelling::keyword);
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

py::dict resultDict(const EngineTaken& taken) {
    if (const auto* refused = std::get_if<EngineRefusal>(&taken)) {
        return py::reinterpret_steal<py::dict>(pythonOf(errorJson(refused->message)).release());
    }
    const EngineResult& solved = std::get<EngineResult>(taken);
    py::dict dict = pythonOf(resultJson(solved.task, solved.outcome));
    if (solved.task.keepLogbook) {
        py::list rows;
        for (const LogbookRow& row : solved.rows) {
            rows.append(pythonOf(logbookRowJson(row)));
        }
        dict["log"] = std::move(rows);
    }
    return dict;
}

std::string pythonLiteral(const FieldValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "True" : "False";
    }
    if (std::holds_alternative<std::monostate>(value)) {
        return "None";
    }
    return jsonOf(value).dump();
}

}  // namespace cubega
