# Run by CPack after it has installed and stripped the files it packages: removes what
# Debian's own packaging tools remove besides, the compiler's .comment section.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS staged)
    file(READ "${program}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND "${CPACK_VARNOK_OBJCOPY}" --remove-section=.comment "${program}"
            RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "objcopy could not remove .comment from ${program}")
        endif()
    endif()
endforeach()
