# resgen's print jobs: a size gives the same bytes twice and exactly that many; a size too small for a job or
# no number at all fails with a message and leaves no output behind.
#   cmake -DRESGEN=<resgen> -DWORK=<scratch folder> -P print_job_tool_check.cmake

include(${CMAKE_CURRENT_LIST_DIR}/resgen_check_support.cmake)

foreach(size 22 2910 1343742)
    resgen_twice("size ${size}" ${size} prn printjob ${size} @OUT@)
    file(SIZE "${WORK}/${size}.first.prn" written)
    if(NOT written EQUAL size)
        fail("size ${size}: the job has ${written} bytes")
    endif()
endforeach()

# <size argument>|<part of the message resgen must give>
foreach(case "21|at least 22 bytes" "12x|is not a number" "abc|is not a number")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 size)
    list(GET case 1 expected)
    resgen_refuses("size \"${size}\"" "${expected}" "${WORK}/bad.prn" printjob "${size}" "${WORK}/bad.prn")
endforeach()

end_checks(print-job "print jobs: exact sizes, the same twice; bad sizes refused")
