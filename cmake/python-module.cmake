# Finds what the Python module needs (Debian's python3-dev and pybind11-dev) and sets
# CUBEGA_PYTHON_MODULE when both are there, with CUBEGA_PYTHON_INSTALL_DIR, the folder under
# the install prefix where the interpreter finds modules. Debian's interpreter is tried first:
# a python3 earlier on PATH (pyenv, a virtual environment) is another interpreter, whose
# headers and site folder the module would not match.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The interpreter the Python module is built for")
endif()
find_package(Python3 COMPONENTS Interpreter Development.Module)
if(Python3_FOUND)
  find_package(pybind11 CONFIG QUIET)
endif()
if(NOT Python3_FOUND OR NOT pybind11_FOUND)
  message(STATUS "No pybind11 and Python headers (pybind11-dev, python3-dev): the Python module is left out")
  set(CUBEGA_PYTHON_MODULE OFF)
  return()
endif()
set(CUBEGA_PYTHON_MODULE ON)

# Debian's packages put modules in lib/python3/dist-packages (the interpreter's deb_system
# scheme); other interpreters in their platlib folder, lib/python3.X/site-packages.
execute_process(
  COMMAND ${Python3_EXECUTABLE} -c [=[
import os, sysconfig
scheme = 'deb_system' if 'deb_system' in sysconfig.get_scheme_names() else 'posix_prefix'
print(os.path.relpath(sysconfig.get_path('platlib', scheme, vars={'platbase': '/', 'base': '/'}), '/'))
]=]
  OUTPUT_VARIABLE site_folder OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(CUBEGA_PYTHON_INSTALL_DIR ${site_folder} CACHE STRING
    "Where the Python module is installed, under the install prefix")
