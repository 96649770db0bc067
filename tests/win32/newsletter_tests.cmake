# The newsletter's in-process tests. The programs that talk to the network run inside
# tests/support/subscription_server.py, a real HTTP server on 127.0.0.1:80 that answers
# what the program asks for and logs what it received; port 80 is one per machine, hence
# the lock.
find_program(NEWSLETTER_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(NEWSLETTER_SERVER ${SONDREL_TEST_SUPPORT}/subscription_server.py)

# Runs `target` under the given Unix locale while the subscription server serves.
# Extra arguments are environment settings (NAME=VALUE), GTEST_FILTER among them.
function(newsletter_server_run test target lang)
    add_test(NAME ${test}
             COMMAND ${NEWSLETTER_PYTHON3} ${NEWSLETTER_SERVER} --dir ${CMAKE_CURRENT_BINARY_DIR}/${test}.server
                     -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${target}>)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK port80
        ENVIRONMENT "SONDREL_WINE_DIR=${WINE_DIR};SONDREL_LANG=${lang};${ARGN}")
endfunction()

sondrel_win32_test(newsletter_network_tests newsletter_network_test.cpp counting_window.cpp live_dialog.cpp
                   subscription_server_files.cpp test_files.cpp)
target_link_libraries(newsletter_network_tests PRIVATE entry_patch ws2_32)  # the test's own look at the socket library

set(NEWSLETTER_ONCE Probe.TheSocketLibraryStartsOnceAndNoSocketIsLeftOpen)
set(NEWSLETTER_OFFLINE Probe.NoConnectionAtAllGivesFalseBeforeAnySocketIsMade)
newsletter_server_run(win32.newsletter.network newsletter_network_tests en_US.UTF-8
                      GTEST_FILTER=-${NEWSLETTER_ONCE}:${NEWSLETTER_OFFLINE})
# Alone in its process: it counts the starts of the socket library.
newsletter_server_run(win32.newsletter.socket_lifetime newsletter_network_tests en_US.UTF-8 GTEST_FILTER=${NEWSLETTER_ONCE})
newsletter_server_run(win32.newsletter.network.fr_FR newsletter_network_tests fr_FR.UTF-8
                      GTEST_FILTER=Subscription.SendsOne*:Subscription.TheLanguage* SONDREL_EXPECT_LANG=fr)

sondrel_win32_test(newsletter_dialog_tests newsletter_dialog_test.cpp live_dialog.cpp)
newsletter_server_run(win32.newsletter.dialog newsletter_dialog_tests en_US.UTF-8 SONDREL_EXPECT_LANG=us)
newsletter_server_run(win32.newsletter.dialog.fr_FR newsletter_dialog_tests fr_FR.UTF-8 SONDREL_EXPECT_LANG=fr)

# Wine reports no internet connection when the network has no default route: this run
# gets a network namespace with only the loopback and a world of its own there.
add_test(NAME win32.newsletter.offline
         COMMAND unshare --net ${CMAKE_CURRENT_SOURCE_DIR}/offline_world.sh
                 ${CMAKE_CURRENT_BINARY_DIR}/win32.newsletter.offline ${NEWSLETTER_SERVER}
                 -- ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:newsletter_network_tests>)
set_tests_properties(win32.newsletter.offline PROPERTIES TIMEOUT 300
    ENVIRONMENT "SONDREL_LANG=en_US.UTF-8;SONDREL_EXPECT_OFFLINE=1;GTEST_FILTER=${NEWSLETTER_OFFLINE}")

# Servers that never end the exchange on their own: silent, trickling, endless, redirecting.
sondrel_win32_test(newsletter_bounds_tests newsletter_bounds_test.cpp counting_window.cpp subscription_server_files.cpp
                   test_files.cpp)
target_link_libraries(newsletter_bounds_tests PRIVATE psapi)
newsletter_server_run(win32.newsletter.bounds newsletter_bounds_tests en_US.UTF-8)
