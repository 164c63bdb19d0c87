# What the checks of resgen's modes share: counted failures, the same bytes from two runs, and bad input refused
# with its message and no output left behind. Included by the *_tool_check.cmake scripts, which set RESGEN and
# WORK.

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set_property(GLOBAL PROPERTY RESGEN_CHECK_FAILURES 0)

# One failed check: reported at once, counted for end_checks.
function(fail what)
    message(SEND_ERROR "${what}")
    get_property(failures GLOBAL PROPERTY RESGEN_CHECK_FAILURES)
    math(EXPR failures "${failures} + 1")
    set_property(GLOBAL PROPERTY RESGEN_CHECK_FAILURES ${failures})
endfunction()

# Fails the script when a check failed, else says what held.
function(end_checks what summary)
    get_property(failures GLOBAL PROPERTY RESGEN_CHECK_FAILURES)
    if(failures GREATER 0)
        message(FATAL_ERROR "${failures} ${what} checks failed")
    endif()
    message(STATUS "${summary}")
endfunction()

# Runs resgen with <arguments> twice, @OUT@ among them standing for <WORK>/<stem>.first.<ext> and then
# <WORK>/<stem>.second.<ext>; both runs must work and write the same bytes. The first file stays for the caller.
function(resgen_twice what stem ext)
    foreach(run first second)
        string(REPLACE "@OUT@" "${WORK}/${stem}.${run}.${ext}" arguments "${ARGN}")
        execute_process(COMMAND "${RESGEN}" ${arguments} RESULT_VARIABLE result ERROR_VARIABLE error)
        if(NOT result EQUAL 0)
            fail("${what}: ${error}")
            return()
        endif()
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${stem}.first.${ext}"
                            "${WORK}/${stem}.second.${ext}" RESULT_VARIABLE different)
    if(different)
        fail("${what}: two runs differ")
    endif()
endfunction()

# Runs resgen with <arguments>, which name <output>: it must fail, say <expected> and leave no <output>.
function(resgen_refuses what expected output)
    file(REMOVE "${output}")
    execute_process(COMMAND "${RESGEN}" ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error)
    string(FIND "${error}" "${expected}" at)
    if(result EQUAL 0 OR at EQUAL -1 OR EXISTS "${output}")
        fail("${what}: exit ${result}, message \"${error}\", expected \"${expected}\" and no output")
    endif()
endfunction()

# Writes <text> ("^" between its lines) as <WORK>/broken.pic and runs resgen <mode> on it with its output
# <WORK>/broken.<ext> and the further <arguments>: it must be refused as resgen_refuses says.
function(resgen_refuses_source what text expected mode ext)
    string(REPLACE "^" "\n" text "${text}")
    file(WRITE "${WORK}/broken.pic" "${text}\n")
    resgen_refuses("${what}" "${expected}" "${WORK}/broken.${ext}"
                   ${mode} "${WORK}/broken.pic" "${WORK}/broken.${ext}" ${ARGN})
endfunction()
