# resgen's print jobs: a size gives the same bytes twice and exactly that many; a size too small for a job or
# no number at all fails with a message and leaves no output behind.
#   cmake -DRESGEN=<resgen> -DWORK=<scratch folder> -P print_job_tool_check.cmake

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

foreach(size 22 2910 1343742)
    foreach(run first second)
        execute_process(COMMAND "${RESGEN}" printjob ${size} "${WORK}/${size}.${run}.prn"
                        RESULT_VARIABLE result ERROR_VARIABLE error)
        if(NOT result EQUAL 0)
            message(SEND_ERROR "size ${size}: ${error}")
        endif()
    endforeach()
    file(SIZE "${WORK}/${size}.first.prn" written)
    if(NOT written EQUAL size)
        message(SEND_ERROR "size ${size}: the job has ${written} bytes")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${size}.first.prn" "${WORK}/${size}.second.prn"
                    RESULT_VARIABLE different)
    if(different)
        message(SEND_ERROR "size ${size}: two jobs differ")
    endif()
endforeach()

# <size argument>|<part of the message resgen must give>
foreach(case "21|at least 22 bytes" "12x|is not a number" "abc|is not a number")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 size)
    list(GET case 1 expected)
    execute_process(COMMAND "${RESGEN}" printjob "${size}" "${WORK}/bad.prn" RESULT_VARIABLE result ERROR_VARIABLE error)
    if(result EQUAL 0 OR NOT error MATCHES "${expected}")
        message(SEND_ERROR "size \"${size}\": expected a failure saying \"${expected}\", got ${result}: ${error}")
    endif()
    if(EXISTS "${WORK}/bad.prn")
        message(SEND_ERROR "size \"${size}\": a failed job left its file behind")
    endif()
endforeach()
