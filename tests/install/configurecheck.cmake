# SPDX-License-Identifier: GPL-3.0-or-later
# Configures the tree afresh as if Google Benchmark were not installed: the configure must
# succeed, build no benchmark, and its feature summary must say that the benchmarks are left out.
# Usage: cmake -DSOURCE=<tree> -DBUILD=<scratch folder> -P configurecheck.cmake
file(REMOVE_RECURSE "${BUILD}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${SOURCE}" -B "${BUILD}" -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
file(REMOVE_RECURSE "${BUILD}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the configure failed (${result}):\n${output}\n${errors}")
endif()
string(FIND "${output}" "The following features have been disabled:" disabled)
string(FIND "${output}" " * Benchmarks, the benchmarks of bench/" benchmarks)
if(disabled EQUAL -1 OR benchmarks LESS disabled)
    message(FATAL_ERROR "the summary does not list the benchmarks as left out:\n${output}")
endif()
message(STATUS "configured without Google Benchmark; the summary leaves the benchmarks out")
