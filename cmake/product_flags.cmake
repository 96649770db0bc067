# setup.exe is one statically linked file that should stay small: no exceptions or RTTI
# (the unwinder alone is over 100 KB), every function and datum in its own section so
# the linker drops what is unused, no frame pointers, no symbols, no build time stamp.
function(sondrel_product_flags target)
    target_compile_options(${target} PRIVATE
        -Oz -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
        -fno-threadsafe-statics -ffunction-sections -fdata-sections -fno-ident -fomit-frame-pointer
        -Wall -Wextra)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        # Win32 keeps the stack aligned to 4 bytes; asking for 16 costs code in every call.
        # Arguments are pushed, which the callee of a stdcall call takes off again, instead
        # of stored into space set aside in each frame: a sixth of the code. GCC pushes only
        # where it probes no stack, which it does for frames from 4000 bytes (the stack
        # grows a page at a time, and a larger frame could step over the page that grows
        # it), so no frame may be that large; one that must be turns probing back on.
        target_compile_options(${target} PRIVATE -mpreferred-stack-boundary=2 -mno-accumulate-outgoing-args
                               -mno-stack-arg-probe -Werror=frame-larger-than=4000)
    endif()
endfunction()

# The MinGW runtime's start-up code is left out (framework/entry.cpp starts the program),
# and the import tables share the read-only data's section (scripts/build/pe-linker-script.py).
find_program(SONDREL_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(SONDREL_LINKER_SCRIPT ${CMAKE_BINARY_DIR}/generated/setup.ld)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
execute_process(COMMAND ${SONDREL_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/build/pe-linker-script.py ${CMAKE_LINKER}
                        ${SONDREL_LINKER_SCRIPT}
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/build/pe-linker-script.py)

function(sondrel_product_link_flags target)
    target_link_options(${target} PRIVATE
        -nostartfiles -static -static-libgcc -static-libstdc++ -s
        -Wl,--gc-sections -Wl,--no-insert-timestamp -Wl,--build-id=none
        -Wl,--dynamicbase -Wl,--nxcompat -Wl,-T,${SONDREL_LINKER_SCRIPT})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${SONDREL_LINKER_SCRIPT})
endfunction()
