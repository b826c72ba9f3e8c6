#include "python/src/python_errors.h"

namespace py = pybind11;

namespace {

PyObject* s_timeoutError = nullptr;

}  // namespace

void register_python_errors(py::module_& module)
{
    s_timeoutError = PyErr_NewExceptionWithDoc(
        "trelvik.TimeoutError",
        "A run_until whose condition did not hold within its limit: the condition and what was seen.",
        PyExc_AssertionError, nullptr);
    module.add_object("TimeoutError", py::handle(s_timeoutError));
}

void raise_assertion(const std::string& message)
{
    PyErr_SetString(PyExc_AssertionError, message.c_str());
    throw py::error_already_set();
}

void raise_os_error(const std::string& message)
{
    PyErr_SetString(PyExc_OSError, message.c_str());
    throw py::error_already_set();
}

void raise_timeout(const std::string& message)
{
    PyErr_SetString(s_timeoutError, message.c_str());
    throw py::error_already_set();
}

void raise_pending() { throw py::error_already_set(); }
