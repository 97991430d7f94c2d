# Run by CPack on its staging folder, after it stripped the debug symbols:
# takes the compiler's .comment and .note sections out of the shipped
# programs, as Debian's own packaging does.
find_program(LUMITAKT_STRIP NAMES strip REQUIRED)
file(GLOB_RECURSE programs LIST_DIRECTORIES false
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/libexec/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${LUMITAKT_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
