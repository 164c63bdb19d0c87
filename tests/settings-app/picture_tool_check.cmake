# resgen's pictures: every picture source renders to the same bytes twice, and a broken source fails with
# the file and line of its fault and leaves no output behind.
#   cmake -DRESGEN=<resgen> -DPICTURES=<pictures folder> -DWORK=<scratch folder> -P picture_tool_check.cmake

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(failures 0)

file(GLOB_RECURSE sources "${PICTURES}/*.pic")
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no picture sources under ${PICTURES}")
endif()
foreach(source ${sources})
    get_filename_component(name "${source}" NAME_WE)
    foreach(run first second)
        execute_process(COMMAND "${RESGEN}" picture "${source}" "${WORK}/${name}.${run}.bmp"
                        RESULT_VARIABLE result ERROR_VARIABLE error)
        if(NOT result EQUAL 0)
            message(SEND_ERROR "${name}: ${error}")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${name}.first.bmp" "${WORK}/${name}.second.bmp"
                    RESULT_VARIABLE different)
    if(different)
        message(SEND_ERROR "${name}: two renderings differ")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

# Broken sources: <name>|<source text, "^" between lines>|<the message resgen must give>
set(broken
    "no size|fill #ffffff^rect 0 0 1 1|:2: size must come first"
    "unknown command|size 4 4^blur 2|:2: unknown command \"blur\""
    "not a number|size 4 4^circle 1 1 x|:2: \"x\" is not a number"
    "unknown colour|size 4 4^fill purple|:2: unknown colour \"purple\""
    "a misspelt colour|size 4 4^colour paper #12345g|:2: colour takes a name and #rrggbb"
    "too large|size 4000 4|:1: size must be whole numbers from 1 to 1024"
    "missing include|size 4 4^include nowhere.inc|nowhere.inc: cannot open"
    "a letter the font lacks|size 40 9^fill #000000^text 0 0 1 A~|:3: no letter for \"~\"")
foreach(row ${broken})
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 what)
    list(GET fields 1 text)
    list(GET fields 2 expected)
    string(REPLACE "^" "\n" text "${text}")
    file(WRITE "${WORK}/broken.pic" "${text}\n")
    file(REMOVE "${WORK}/broken.bmp")
    execute_process(COMMAND "${RESGEN}" picture "${WORK}/broken.pic" "${WORK}/broken.bmp"
                    RESULT_VARIABLE result ERROR_VARIABLE error)
    string(FIND "${error}" "${expected}" at)
    if(result EQUAL 0 OR at EQUAL -1 OR EXISTS "${WORK}/broken.bmp")
        message(SEND_ERROR "${what}: exit ${result}, message \"${error}\", expected \"${expected}\"")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} picture checks failed")
endif()
message(STATUS "${count} pictures render the same twice; broken sources are refused")
