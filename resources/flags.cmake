# Country flags ":/flag/XX.png" (upper-case two-letter code; 40 x 25 and @2x 80 x 50), rendered
# at build time from the 4:3 SVG flags of the npm package flag-icons (MIT), which
# scripts/fetch-data.sh keeps verified in .cache/data/flags/. Included by CMakeLists.txt here,
# before the image list is written.

set(QN_FLAGS_SVG ${PROJECT_SOURCE_DIR}/.cache/data/flags)
if(NOT EXISTS ${QN_FLAGS_SVG}/.source)
    message(FATAL_ERROR "The flag drawings ${QN_FLAGS_SVG} are missing: "
        "run scripts/fetch-data.sh, then configure again.")
endif()
# A new fetch (another package version) must reach the flag list.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QN_FLAGS_SVG}/.source)

file(MAKE_DIRECTORY ${QN_RENDERED}/flag)
file(GLOB QN_FLAG_SVGS ${QN_FLAGS_SVG}/??.svg)
list(SORT QN_FLAG_SVGS)
foreach(svg IN LISTS QN_FLAG_SVGS)
    get_filename_component(code ${svg} NAME_WE)
    string(TOUPPER ${code} code)
    # "xx" is the package's placeholder, not a country: an unknown country shows "US".
    if(code MATCHES "^[A-Z][A-Z]$" AND NOT code STREQUAL "XX")
        qn_render_png(flag/${code} ${svg} 40 25)
    endif()
endforeach()
