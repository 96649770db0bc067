# The native tree: the portable code's tests, run directly on the build machine.
include(cmake/gtest.cmake)

add_library(sondrel_portable STATIC framework/text.cpp codec/crc32.cpp codec/szdd_decode.cpp codec/szdd_encode.cpp)
target_include_directories(sondrel_portable PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(sondrel_portable PRIVATE -O2 -Wall -Wextra)

add_subdirectory(tools)

add_subdirectory(tests/native)
add_subdirectory(tests/fuzz)
add_subdirectory(bench)
