# setup.exe is one statically linked file that should stay small: no exceptions or RTTI
# (the unwinder alone is over 100 KB), every function and datum in its own section so
# the linker drops what is unused, no symbols, no build time stamp.
function(sondrel_product_flags target)
    target_compile_options(${target} PRIVATE
        -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -fno-unwind-tables
        -fno-threadsafe-statics -ffunction-sections -fdata-sections -fno-ident
        -Wall -Wextra)
endfunction()

function(sondrel_product_link_flags target)
    target_link_options(${target} PRIVATE
        -static -static-libgcc -static-libstdc++ -s
        -Wl,--gc-sections -Wl,--no-insert-timestamp -Wl,--build-id=none
        -Wl,--dynamicbase -Wl,--nxcompat)
endfunction()
