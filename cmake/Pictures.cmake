# Pictures drawn from text: each bitmap resource of the pictures has one source, "<name>.pic" in the picture
# language of resgen (cmake/resgen/picture.h), rendered into a bitmap file at build time.
#
# corventa_pictures(<out-var> <folder> <name>...)
#   Renders <folder>/<name>.pic into <build folder>/pictures/<name>.bmp for each name and appends the
#   resource triple "<name> BITMAP <file>" to <out-var>, ready for corventa_embed_resources in the same folder.
#   A relative <folder> is taken from the calling folder's source tree. A missing source stops the configure.
#
# corventa_setting_icons(<out-var>)
#   The same for the setting icons, one for each name in settings-app/resources/icon-names.txt. The settings
#   program embeds them, and the plug-in embeds the same ones in its own module with this call.
#
# corventa_picture_icon(<out-var> <folder> <name> SIZES <size>...)
#   Renders the square picture <folder>/<name>.pic at each size into the icon file
#   <build folder>/pictures/<name>.ico and sets <out-var> to its path, for a resource script to name.
#
# Every picture is made again when its source, any shared part (a .inc file under the pictures folder) or
# resgen changes.

set(CORVENTA_PICTURES_DIR ${CMAKE_CURRENT_LIST_DIR}/../settings-app/resources/pictures)
get_filename_component(CORVENTA_PICTURES_DIR "${CORVENTA_PICTURES_DIR}" ABSOLUTE)

function(corventa_pictures outvar folder)
    get_filename_component(folder "${folder}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    file(GLOB_RECURSE parts CONFIGURE_DEPENDS "${CORVENTA_PICTURES_DIR}/*.inc")
    set(triples ${${outvar}})
    foreach(name ${ARGN})
        set(source "${folder}/${name}.pic")
        if(NOT EXISTS "${source}")
            message(FATAL_ERROR "Picture ${name}: its source ${source} is missing")
        endif()
        set(output "${CMAKE_CURRENT_BINARY_DIR}/pictures/${name}.bmp")
        add_custom_command(
            OUTPUT "${output}"
            COMMAND resgen picture "${source}" "${output}"
            DEPENDS resgen "${source}" ${parts}
            COMMENT "Drawing picture ${name}"
            VERBATIM)
        list(APPEND triples "${name}" BITMAP "${output}")
    endforeach()
    set(${outvar} ${triples} PARENT_SCOPE)
endfunction()

function(corventa_picture_icon outvar folder name)
    cmake_parse_arguments(PARSE_ARGV 3 ARG "" "" "SIZES")
    if(NOT ARG_SIZES OR ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "corventa_picture_icon(${name}): takes SIZES <size>... and nothing else")
    endif()
    get_filename_component(folder "${folder}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    file(GLOB_RECURSE parts CONFIGURE_DEPENDS "${CORVENTA_PICTURES_DIR}/*.inc")
    set(source "${folder}/${name}.pic")
    if(NOT EXISTS "${source}")
        message(FATAL_ERROR "Icon ${name}: its source ${source} is missing")
    endif()
    set(output "${CMAKE_CURRENT_BINARY_DIR}/pictures/${name}.ico")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND resgen icon "${source}" "${output}" ${ARG_SIZES}
        DEPENDS resgen "${source}" ${parts}
        COMMENT "Drawing icon ${name}"
        VERBATIM)
    set(${outvar} "${output}" PARENT_SCOPE)
endfunction()

function(corventa_setting_icons outvar)
    set(names_file "${CORVENTA_PICTURES_DIR}/../icon-names.txt")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${names_file}")
    file(STRINGS "${names_file}" names REGEX "^[^#]")
    set(triples ${${outvar}})
    corventa_pictures(triples "${CORVENTA_PICTURES_DIR}/icons" ${names})
    set(${outvar} ${triples} PARENT_SCOPE)
endfunction()
