# GoogleTest from Debian's sources, and the main every test program links instead of
# GoogleTest's own (tests/support/gtest_main.cpp): a run that ran no test fails.
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_library(sondrel_gtest_main STATIC ${CMAKE_SOURCE_DIR}/tests/support/gtest_main.cpp)
target_link_libraries(sondrel_gtest_main PUBLIC GTest::gtest)
