# End-to-end tests of the newsletter dialog. Until the install sequence offers it, a small
# host program shows it the way the install will: owned by the application's main window.
add_executable(newsletter_host WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/newsletter_host/newsletter_host.cpp
               ${CMAKE_SOURCE_DIR}/tests/win32/entry_patch.cpp ${SONDREL_RESOURCES})
target_link_libraries(newsletter_host PRIVATE sondrel_core)
target_link_options(newsletter_host PRIVATE -static -static-libgcc -static-libstdc++)

sondrel_e2e_test(newsletter)
set_tests_properties(e2e.newsletter PROPERTIES RESOURCE_LOCK port80)
set_property(TEST e2e.newsletter APPEND PROPERTY ENVIRONMENT "SONDREL_NEWSLETTER_HOST_EXE=$<TARGET_FILE:newsletter_host>")

# Servers that never end the exchange, a double Enter, a second copy of the program.
sondrel_e2e_test(hostile_world)
set_tests_properties(e2e.hostile_world PROPERTIES RESOURCE_LOCK port80)
set_property(TEST e2e.hostile_world APPEND PROPERTY ENVIRONMENT "SONDREL_NEWSLETTER_HOST_EXE=$<TARGET_FILE:newsletter_host>")
