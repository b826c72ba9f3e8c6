#pragma once
// The exceptions the module raises besides Python's own: trelvik.TimeoutError,
// a failed check like AssertionError, for a run-until whose limit passed.

#include <string>

#include <pybind11/pybind11.h>

void register_python_errors(pybind11::module_& module);

[[noreturn]] void raise_assertion(const std::string& message);
[[noreturn]] void raise_os_error(const std::string& message);
[[noreturn]] void raise_timeout(const std::string& message);
// Raises the exception a pending signal's handler left (KeyboardInterrupt).
[[noreturn]] void raise_pending();
