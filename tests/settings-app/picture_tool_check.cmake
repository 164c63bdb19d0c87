# resgen's pictures: every picture source renders to the same bytes twice, and a broken source fails with
# the file and line of its fault and leaves no output behind.
#   cmake -DRESGEN=<resgen> -DPICTURES=<pictures folder> -DWORK=<scratch folder> -P picture_tool_check.cmake

include(${CMAKE_CURRENT_LIST_DIR}/resgen_check_support.cmake)

file(GLOB_RECURSE sources "${PICTURES}/*.pic")
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no picture sources under ${PICTURES}")
endif()
foreach(source ${sources})
    get_filename_component(name "${source}" NAME_WE)
    resgen_twice("${name}" "${name}" bmp picture "${source}" @OUT@)
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
    resgen_refuses_source("${what}" "${text}" "${expected}" picture bmp)
endforeach()

end_checks(picture "${count} pictures render the same twice; broken sources are refused")
