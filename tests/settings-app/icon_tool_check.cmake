# resgen's icons: the directory and each image's header say what the format says, the images lie where the
# directory puts them, a small picture's pixels and mask are where the format puts them (bottom row first,
# alpha as coverage, mask bits where nothing is painted), the same input gives the same bytes twice, and bad
# input is refused without leaving an output behind.
#   cmake -DRESGEN=<resgen> -DPICTURES=<pictures folder> -DWORK=<scratch folder> -P icon_tool_check.cmake

include(${CMAKE_CURRENT_LIST_DIR}/resgen_check_support.cmake)

# The little-endian number of <size> bytes at byte <offset> of the hex text <hex>.
function(read_le outvar hex offset size)
    set(value "")
    math(EXPR last "${size} - 1")
    foreach(i RANGE ${last})
        math(EXPR at "(${offset} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        set(value "${byte}${value}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${outvar} ${value} PARENT_SCOPE)
endfunction()

# Reads little-endian fields of <hex> from byte <base> on: each <name> <offset> <size> sets name in the caller.
function(read_fields hex base)
    set(fields ${ARGN})
    while(fields)
        list(POP_FRONT fields name offset size)
        math(EXPR at "${base} + ${offset}")
        read_le(value "${hex}" ${at} ${size})
        set(${name} ${value} PARENT_SCOPE)
    endwhile()
endfunction()

# Renders <source> at <sizes> twice; checks the directory, every entry and every image header, and leaves the
# file's hex text in <outvar>.
function(check_icon outvar what source)
    set(sizes ${ARGN})
    resgen_twice("${what}" "${what}" ico icon "${source}" @OUT@ ${sizes})
    if(NOT EXISTS "${WORK}/${what}.first.ico")
        return()
    endif()
    file(READ "${WORK}/${what}.first.ico" hex HEX)
    string(LENGTH "${hex}" length)
    math(EXPR length "${length} / 2")
    list(LENGTH sizes count)
    read_fields("${hex}" 0 reserved 0 2 type 2 2 images 4 2)
    if(NOT reserved EQUAL 0 OR NOT type EQUAL 1 OR NOT images EQUAL count)
        fail("${what}: directory ${reserved} ${type} ${images}, expected 0 1 ${count}")
    endif()
    math(EXPR expected_offset "6 + 16 * ${count}")
    set(index 0)
    foreach(side ${sizes})
        math(EXPR entry "6 + 16 * ${index}")
        # colours: the colour count and the reserved byte
        read_fields("${hex}" ${entry} width 0 1 height 1 1 colours 2 2 planes 4 2 bits 6 2 bytes 8 4 offset 12 4)
        math(EXPR side_byte "${side} % 256")
        math(EXPR mask_stride "(${side} + 31) / 32 * 4")
        math(EXPR data "4 * ${side} * ${side} + ${mask_stride} * ${side}")
        math(EXPR expected_bytes "40 + ${data}")
        set(got "${width} ${height} ${colours} ${planes} ${bits} ${bytes} ${offset}")
        set(want "${side_byte} ${side_byte} 0 1 32 ${expected_bytes} ${expected_offset}")
        if(NOT got STREQUAL want)
            fail("${what}, size ${side}: entry ${got}, expected ${want}")
        endif()
        if(offset LESS length)
            read_fields("${hex}" ${offset} header 0 4 bi_width 4 4 bi_height 8 4 bi_planes 12 2 bi_bits 14 2
                        bi_compression 16 4 bi_size 20 4)
            math(EXPR double_height "2 * ${side}")
            set(got "${header} ${bi_width} ${bi_height} ${bi_planes} ${bi_bits} ${bi_compression} ${bi_size}")
            set(want "40 ${side} ${double_height} 1 32 0 ${data}")
            if(NOT got STREQUAL want)
                fail("${what}, size ${side}: image header ${got}, expected ${want}")
            endif()
        endif()
        math(EXPR expected_offset "${expected_offset} + ${expected_bytes}")
        math(EXPR index "${index} + 1")
    endforeach()
    if(NOT length EQUAL expected_offset)
        fail("${what}: ${length} bytes, the images end at ${expected_offset}")
    endif()
    set(${outvar} "${hex}" PARENT_SCOPE)
endfunction()

# The page's icon as the plug-in's build draws it.
check_icon(page "page icon" "${PICTURES}/plugin/160_DEVICE_PAGE.pic" 16 32 48)

# A picture whose pixels are known: red over the top left, two and a half pixels wide and two high, of four
# by four; the rest is nothing. The third pixel of those rows is half covered.
file(WRITE "${WORK}/quarter.pic" "size 4 4\nfill #ff0000\nrect 0 0 2.5 2\n")
check_icon(hex quarter "${WORK}/quarter.pic" 4 8)
# <what>|<byte offset>|<hex bytes expected there>. The 4 x 4 image starts at 6 + 2 * 16 + 40 = 78; its colour
# rows (blue, green, red, alpha) are 16 bytes each, the bottom row first; its mask rows (4 bytes each) follow at
# 78 + 64 = 142. The 8 x 8 image starts at 142 + 16 + 40 = 198, its mask at 198 + 256 = 454.
set(expected_bytes
    "4 x 4, bottom row: nothing|78|00000000000000000000000000000000"
    "4 x 4, top row: red, red, half red, nothing|126|0000ffff0000ffff0000ff8000000000"
    "4 x 4, mask of the bottom rows: all four pixels|142|f0000000f0000000"
    "4 x 4, mask of the top rows: the last pixel|150|1000000010000000"
    "8 x 8, top row: five red, nothing|422|0000ffff0000ffff0000ffff0000ffff0000ffff000000000000000000000000"
    "8 x 8, mask: bottom row all, top row the last three|454|ff000000|482|07000000")
foreach(row ${expected_bytes})
    string(REPLACE "|" ";" fields "${row}")
    list(POP_FRONT fields what)
    while(fields)
        list(POP_FRONT fields offset want)
        string(LENGTH "${want}" chars)
        math(EXPR at "${offset} * 2")
        string(SUBSTRING "${hex}" ${at} ${chars} got)
        if(NOT got STREQUAL want)
            fail("${what}: at ${offset} ${got}, expected ${want}")
        endif()
    endwhile()
endforeach()

# Bad input: <what>|<source text, "^" between lines>|<sizes, "," between, or none>|<the message resgen must give>
set(broken
    "not square|size 4 2^fill #000000^rect 0 0 1 1|16|an icon's picture must be square"
    "no size|# nothing drawn|16|no size command"
    "a size too large|size 4 4|16,257|icon size 257 is not 1 to 256"
    "a size twice|size 4 4|16,32,16|icon size 16 given twice"
    "a size that is no number|size 4 4|16x|the size \"16x\" is not a number"
    "no sizes|size 4 4|none|usage: resgen icon")
foreach(row ${broken})
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 what)
    list(GET fields 1 text)
    list(GET fields 2 sizes)
    list(GET fields 3 expected)
    string(REPLACE "," ";" sizes "${sizes}")
    if(sizes STREQUAL "none")
        set(sizes "")
    endif()
    resgen_refuses_source("${what}" "${text}" "${expected}" icon ico ${sizes})
endforeach()

end_checks(icon "icons: directory, headers and pixels as the format says, the same twice; bad input refused")
