# Authenticode signing of the shipped program. With the vendor's certificate and key (PEM
# files, or one PKCS#12 file) the build writes signed/setup.exe beside the unsigned
# setup.exe, which stays exactly as it is; without them nothing here runs.
set(SONDREL_SIGN_CERT "" CACHE FILEPATH "PEM code-signing certificate (and its chain) for setup.exe")
set(SONDREL_SIGN_KEY "" CACHE FILEPATH "PEM private key of SONDREL_SIGN_CERT")
set(SONDREL_SIGN_PKCS12 "" CACHE FILEPATH "PKCS#12 file with certificate and key, instead of the two PEM files")
set(SONDREL_SIGN_PASSWORD_FILE "" CACHE FILEPATH "File holding the password of the key or the PKCS#12 file")
set(SONDREL_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamp server; empty: no time stamp")
set(SONDREL_SIGN_TIME "" CACHE STRING "Signing time in Unix seconds, for byte-identical signed files; empty: now")

# The program's description in the signature: what Windows shows when it asks the user.
set(SONDREL_SIGN_DESCRIPTION "${SONDREL_SETUP_CAPTION}")

function(sondrel_sign target)
    if(SONDREL_SIGN_PKCS12)
        set(identity -pkcs12 ${SONDREL_SIGN_PKCS12})
    elseif(SONDREL_SIGN_CERT AND SONDREL_SIGN_KEY)
        set(identity -certs ${SONDREL_SIGN_CERT} -key ${SONDREL_SIGN_KEY})
    elseif(SONDREL_SIGN_CERT OR SONDREL_SIGN_KEY)
        message(FATAL_ERROR "SONDREL_SIGN_CERT and SONDREL_SIGN_KEY go together")
    else()
        return()
    endif()
    find_program(OSSLSIGNCODE osslsigncode REQUIRED)
    set(options -h sha256 -n "${SONDREL_SIGN_DESCRIPTION}")
    if(SONDREL_SIGN_PASSWORD_FILE)
        list(APPEND options -readpass ${SONDREL_SIGN_PASSWORD_FILE})
    endif()
    if(SONDREL_SIGN_TIMESTAMP_URL)
        list(APPEND options -ts ${SONDREL_SIGN_TIMESTAMP_URL})
    endif()
    if(NOT SONDREL_SIGN_TIME STREQUAL "")
        list(APPEND options -time ${SONDREL_SIGN_TIME})
    endif()
    set(signed ${CMAKE_BINARY_DIR}/signed/setup.exe)
    add_custom_command(OUTPUT ${signed}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/signed
        COMMAND ${CMAKE_COMMAND} -E remove -f ${signed}.partial
        COMMAND ${OSSLSIGNCODE} sign ${identity} ${options} -in $<TARGET_FILE:${target}> -out ${signed}.partial
        COMMAND ${CMAKE_COMMAND} -E rename ${signed}.partial ${signed}
        DEPENDS ${target} ${SONDREL_SIGN_CERT} ${SONDREL_SIGN_KEY} ${SONDREL_SIGN_PKCS12}
        COMMENT "Signing setup.exe" VERBATIM)
    add_custom_target(signed_${target} ALL DEPENDS ${signed})
endfunction()
