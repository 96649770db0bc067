# The Windows tree: setup.exe, its in-process tests and the end-to-end tests, all run
# through Wine by ctest.
enable_language(RC)
include(cmake/product_flags.cmake)
include(cmake/product.cmake)

# The shipped program is the 32-bit one; the 64-bit build is its twin.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(SONDREL_SHIPPED OFF)
    set(SONDREL_MANIFEST_ARCH amd64)
else()
    set(SONDREL_SHIPPED ON)
    set(SONDREL_MANIFEST_ARCH x86)
endif()

# The manifest names the processor it was built for; the resource scripts find it
# through the generated folder, which comes first on the include path.
set(SONDREL_GENERATED ${CMAKE_BINARY_DIR}/generated)
# It is written without the indentation and comments that keep the source readable: every
# byte of it is carried in the program.
file(READ ${CMAKE_SOURCE_DIR}/resources/setup.manifest.in manifest)
string(CONFIGURE "${manifest}" manifest @ONLY)
string(REGEX REPLACE "<!--[^>]*-->" "" manifest "${manifest}")
string(REGEX REPLACE ">[ \t\r\n]+<" "><" manifest "${manifest}")
string(REGEX REPLACE "[ \t\r\n]+" " " manifest "${manifest}")
string(STRIP "${manifest}" manifest)
file(CONFIGURE OUTPUT ${SONDREL_GENERATED}/setup.manifest CONTENT "${manifest}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/setup.manifest.in)
file(CONFIGURE OUTPUT ${SONDREL_GENERATED}/manifest.rc
     CONTENT "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${SONDREL_GENERATED}/setup.manifest\"\n")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${SONDREL_GENERATED} -I${CMAKE_SOURCE_DIR}")

# Every source of the program but its entry point and application object, folder by
# folder; the test programs link the same library.
add_library(sondrel_core STATIC
    codec/crc32.cpp
    codec/szdd_decode.cpp
    framework/app.cpp
    framework/busy.cpp
    framework/common_controls.cpp
    framework/data_exchange.cpp
    framework/dialog.cpp
    framework/file_error.cpp
    framework/folder_path.cpp
    framework/instance_lock.cpp
    framework/memory.cpp
    framework/message_box.cpp
    framework/path.cpp
    framework/program_name.cpp
    framework/registry_text.cpp
    framework/resource_bytes.cpp
    framework/stretched_bitmap.cpp
    framework/string_table.cpp
    framework/system_dll.cpp
    framework/text.cpp
    framework/wide_path.cpp
    payload/catalogue.cpp
    payload/install_payload_file.cpp
    payload/lz_service.cpp
    shell/installed_apps.cpp
    shell/old_shortcuts.cpp
    shell/settings.cpp
    shell/shell_folders.cpp
    shell/shortcuts.cpp
    newsletter/internet_error.cpp
    newsletter/newsletter_dlg.cpp
    newsletter/reachability.cpp
    newsletter/reply_scan.cpp
    newsletter/subscription.cpp
    newsletter/url_encoding.cpp
    app/default_install_dir.cpp
    app/install_dir.cpp
    app/install_sequence.cpp
    app/install_steps.cpp
    app/setup_dlg.cpp
)
# The files that hold the program's variables. With a section for every datum, MinGW's GCC
# puts even zero-initialised variables into .data, whose bytes the file then carries (a
# whole 512-byte page for a hundred bytes of zeros); without, they go to .bss, which costs
# the file nothing.
set_source_files_properties(framework/app.cpp framework/system_dll.cpp newsletter/reachability.cpp
                            codec/crc32.cpp payload/lz_service.cpp app/setup_app.cpp PROPERTIES COMPILE_OPTIONS -fno-data-sections)
# The decoder keeps its window on the stack, past the one page a frame may take unprobed
# (cmake/product_flags.cmake); the program itself uses only its header reader.
set_source_files_properties(codec/szdd_decode.cpp PROPERTIES COMPILE_OPTIONS "-mstack-arg-probe;-maccumulate-outgoing-args;-Wno-frame-larger-than")
target_include_directories(sondrel_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(sondrel_core PUBLIC
    WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX WIN32_LEAN_AND_MEAN
    SONDREL_SUBSCRIPTION_HOST="${SONDREL_SUBSCRIPTION_HOST}"
    SONDREL_PROBE_HOST="${SONDREL_PROBE_HOST}")
sondrel_product_flags(sondrel_core)
target_link_libraries(sondrel_core PUBLIC shell32 ole32 oleaut32 uuid advapi32 user32 gdi32 kernel32)

set(SONDREL_RESOURCES ${CMAKE_SOURCE_DIR}/resources/setup.rc)
file(GLOB SONDREL_RESOURCE_DEPENDS CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
     ${CMAKE_SOURCE_DIR}/resources/art/*)
list(APPEND SONDREL_RESOURCE_DEPENDS ${SONDREL_GENERATED}/setup.manifest ${SONDREL_GENERATED}/manifest.rc)

# What the resource scripts pull in. Source properties belong to one directory, so every
# directory that compiles the scripts calls this.
function(sondrel_resource_dependencies)
    set_source_files_properties(${SONDREL_RESOURCES} PROPERTIES OBJECT_DEPENDS "${SONDREL_RESOURCE_DEPENDS}")
    if(SONDREL_PAYLOAD_RC)
        set_source_files_properties(${SONDREL_PAYLOAD_RC} PROPERTIES GENERATED TRUE
                                    OBJECT_DEPENDS "${SONDREL_PACKED_FILES}")
    endif()
endfunction()
sondrel_resource_dependencies()

include(cmake/payload.cmake)
sondrel_resource_dependencies()

add_executable(setup WIN32 app/setup_app.cpp framework/entry.cpp ${SONDREL_RESOURCES} ${SONDREL_PAYLOAD_RC})
add_dependencies(setup payload)
target_link_libraries(setup PRIVATE sondrel_core)
sondrel_product_flags(setup)
sondrel_product_link_flags(setup)
include(cmake/signing.cmake)
sondrel_sign(setup)

add_subdirectory(tests/support)
add_subdirectory(tests/win32)
add_subdirectory(tests/e2e)
add_subdirectory(tests/build)
add_subdirectory(bench/install_timer)
