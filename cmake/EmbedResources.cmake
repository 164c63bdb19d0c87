# Embedding resources into the sim build.
#
# corventa_embed_resources(<target> TABLE <cxx-name> RESOURCES <name> <RCDATA|BITMAP> <file> [...])
#   Generates a source file defining
#     extern const platform::EmbeddedResource <cxx-name>[]; extern const std::size_t <cxx-name>Count;
#   with the bytes of each file, and adds it to <target>. The sim's resource table is then filled from it.
#
# corventa_utf16_text(<out-var> <utf8-source> <output>)
#   Converts a UTF-8 text with LF line ends into UTF-16LE with byte-order mark and CR LF line ends at build
#   time (the form in which the program's INI texts ship).
#
# Both run the small host tool resgen, built from cmake/resgen.
#
# Details:
# - The table lives in the global namespace. Its declarations come in a generated header "<cxx-name>.h"; the
#   folder holding it is added to <target>'s include path (PUBLIC, so tests linking <target> see it too).
# - Relative <file> and <utf8-source> paths are taken from the calling folder's source tree; a relative
#   <output> lands in its build tree. Everything generated stays in the build tree and is made again when an
#   input file or resgen itself changes.
# - A file made by corventa_utf16_text may be passed straight to corventa_embed_resources in the same folder.
# - Bitmaps are embedded as the files' bytes, file header included.
# - A cross build can define an imported executable target named resgen (built for the host) before this
#   file is included; otherwise resgen is built here with the host compiler.

if(NOT TARGET resgen)
    add_executable(resgen ${CMAKE_CURRENT_LIST_DIR}/resgen/resgen.cpp)
endif()

function(corventa_embed_resources target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TABLE" "RESOURCES")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "corventa_embed_resources(${target}): unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_TABLE)
        message(FATAL_ERROR "corventa_embed_resources(${target}): TABLE <cxx-name> is required")
    endif()
    list(LENGTH ARG_RESOURCES count)
    math(EXPR remainder "${count} % 3")
    if(count EQUAL 0 OR NOT remainder EQUAL 0)
        message(FATAL_ERROR "corventa_embed_resources(${target}): RESOURCES takes triples <name> <type> <file>")
    endif()

    set(command_args)
    set(inputs)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR type_index "${i} + 1")
        math(EXPR file_index "${i} + 2")
        list(GET ARG_RESOURCES ${i} name)
        list(GET ARG_RESOURCES ${type_index} type)
        list(GET ARG_RESOURCES ${file_index} file)
        string(TOUPPER "${type}" type)
        if(NOT type MATCHES "^(RCDATA|BITMAP)$")
            message(FATAL_ERROR "corventa_embed_resources(${target}): resource ${name} has type ${type}, "
                                "not RCDATA or BITMAP")
        endif()
        get_filename_component(file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
        list(APPEND command_args "${name}" "${type}" "${file}")
        list(APPEND inputs "${file}")
    endforeach()

    set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/embedded")
    set(out_cpp "${out_dir}/${ARG_TABLE}.cpp")
    set(out_h "${out_dir}/${ARG_TABLE}.h")
    add_custom_command(
        OUTPUT "${out_cpp}" "${out_h}"
        COMMAND resgen embed "${out_cpp}" "${out_h}" "${ARG_TABLE}" ${command_args}
        DEPENDS resgen ${inputs}
        COMMENT "Embedding resources ${ARG_TABLE}"
        VERBATIM)
    target_sources(${target} PRIVATE "${out_cpp}" "${out_h}")
    target_include_directories(${target} PUBLIC "${out_dir}")
endfunction()

function(corventa_utf16_text outvar source output)
    get_filename_component(source "${source}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    get_filename_component(output "${output}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND resgen utf16 "${source}" "${output}"
        DEPENDS resgen "${source}"
        COMMENT "Converting ${source} to UTF-16LE"
        VERBATIM)
    set(${outvar} "${output}" PARENT_SCOPE)
endfunction()
