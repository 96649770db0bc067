# Builds (when out of date) and runs the SZDD fuzzer; called by the test native.szdd_fuzz
# and the target szdd_fuzz (see CMakeLists.txt here):
#
#   cmake -DSOURCE_DIR=<repo> -DBINARY_DIR=<dir> [-DMODE=build|run] [-DSEEDS_EXE=<make_seeds>]
#         [-DCLANGXX=<clang++>] [-DARCH=x86_64] [-DMAX_TOTAL_TIME=20] [-DRSS_LIMIT_MB=2048]
#         [-DFUZZ_ARGS=<more libFuzzer flags, ;-separated>] -P run_fuzz.cmake
#
# The fuzzer is compiled by clang++ directly (the tree's C++ compiler is g++, which has no
# libFuzzer) with the codec's sources compiled into it. A missing clang++ or fuzzer runtime
# is an error with a clear message, never a silent skip.
cmake_minimum_required(VERSION 3.20)

foreach(var SOURCE_DIR BINARY_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "run_fuzz.cmake: ${var} is not set")
    endif()
endforeach()
if(NOT DEFINED MODE)
    set(MODE run)
endif()
if(NOT DEFINED ARCH OR ARCH STREQUAL "")
    set(ARCH x86_64)
endif()
if(NOT DEFINED MAX_TOTAL_TIME)
    set(MAX_TOTAL_TIME 20)
endif()
if(NOT DEFINED RSS_LIMIT_MB)
    set(RSS_LIMIT_MB 2048)
endif()

set(install_hint "install Debian's packages clang and libclang-rt-14-dev (scripts/make/install-deps.sh does)")

# The compiler: the one found at configure time, else whatever is on the PATH now.
if(NOT CLANGXX OR NOT EXISTS "${CLANGXX}")
    unset(CLANGXX)
    find_program(CLANGXX NAMES clang++ clang++-14)
endif()
if(NOT CLANGXX)
    message(FATAL_ERROR "native.szdd_fuzz: clang++ not found, so the fuzzer cannot be built; ${install_hint}.")
endif()

# The libFuzzer runtime comes in a separate package from the compiler.
execute_process(COMMAND "${CLANGXX}" -print-file-name=libclang_rt.fuzzer-${ARCH}.a
                OUTPUT_VARIABLE runtime OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT IS_ABSOLUTE "${runtime}" OR NOT EXISTS "${runtime}")
    message(FATAL_ERROR "native.szdd_fuzz: ${CLANGXX} has no libFuzzer runtime "
                        "(libclang_rt.fuzzer-${ARCH}.a); ${install_hint}.")
endif()

set(fuzzer "${BINARY_DIR}/szdd_fuzz")
set(sources
    "${SOURCE_DIR}/tests/fuzz/szdd_fuzz.cpp"
    "${SOURCE_DIR}/codec/szdd_decode.cpp"
    "${SOURCE_DIR}/codec/szdd_encode.cpp")
set(inputs ${sources} "${SOURCE_DIR}/codec/szdd.h" "${SOURCE_DIR}/codec/szdd_memory.h"
           "${CMAKE_CURRENT_LIST_FILE}")

set(stale FALSE)
foreach(f ${inputs})
    if(NOT EXISTS "${fuzzer}" OR "${f}" IS_NEWER_THAN "${fuzzer}")
        set(stale TRUE)
    endif()
endforeach()
if(stale)
    message(STATUS "Building ${fuzzer} with ${CLANGXX}")
    file(MAKE_DIRECTORY "${BINARY_DIR}")
    execute_process(
        COMMAND "${CLANGXX}" -std=c++17 -g -O1 -fno-omit-frame-pointer
                -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
                -Wall -Wextra -I "${SOURCE_DIR}" ${sources} -o "${fuzzer}.tmp"
        RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        file(REMOVE "${fuzzer}.tmp")
        message(FATAL_ERROR "native.szdd_fuzz: ${CLANGXX} failed to build the fuzzer (see above); "
                            "if the error is about a libclang_rt library, ${install_hint}.")
    endif()
    file(RENAME "${fuzzer}.tmp" "${fuzzer}")
endif()

if(MODE STREQUAL "build")
    return()
endif()

# Seeds are regenerated on every run; the working corpus and any crash files persist.
if(NOT SEEDS_EXE OR NOT EXISTS "${SEEDS_EXE}")
    message(FATAL_ERROR "native.szdd_fuzz: the seed generator '${SEEDS_EXE}' is missing; build the native tree first.")
endif()
set(seeds "${BINARY_DIR}/seeds")
set(corpus "${BINARY_DIR}/corpus")
set(artifacts "${BINARY_DIR}/artifacts")
file(REMOVE_RECURSE "${seeds}")
file(MAKE_DIRECTORY "${seeds}" "${corpus}" "${artifacts}")
execute_process(COMMAND "${SEEDS_EXE}" "${seeds}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "native.szdd_fuzz: writing the seed corpus failed")
endif()

file(GLOB old_crashes "${artifacts}/*")
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1:halt_on_error=1")
execute_process(
    COMMAND "${fuzzer}" -max_total_time=${MAX_TOTAL_TIME} -rss_limit_mb=${RSS_LIMIT_MB}
            -timeout=10 -max_len=16384 -print_final_stats=1 "-artifact_prefix=${artifacts}/"
            ${FUZZ_ARGS} "${corpus}" "${seeds}"
    RESULT_VARIABLE rc)
file(GLOB crashes "${artifacts}/*")
list(REMOVE_ITEM crashes ${old_crashes} "")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "native.szdd_fuzz: the fuzzer failed (exit ${rc}); input(s) that failed: ${crashes}\n"
                        "Reproduce with: ${fuzzer} <file>")
endif()
message(STATUS "native.szdd_fuzz: no crash in ${MAX_TOTAL_TIME} s")
