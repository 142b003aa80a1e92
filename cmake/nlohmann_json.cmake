# nlohmann-json (header-only) as the target nlohmann_json::nlohmann_json, for the native and the
# cross build alike.
#
# Natively the package's own CMake files are found. Cross-built for Windows, the search stays
# inside the cross compiler's root, where no JSON package lives; the headers beside the host's
# are plain C++ and serve both. They are taken from outside that root, but only their own folder
# goes on the include path (a link in the build tree): the host's include directory itself, with
# its C library, must never reach the cross compiler.
find_package(nlohmann_json 3.11 CONFIG QUIET)

if(NOT nlohmann_json_FOUND AND CMAKE_CROSSCOMPILING)
  find_path(WALLCALC_NLOHMANN_JSON_HEADERS nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH
            DOC "the folder holding nlohmann/json.hpp (the host's nlohmann-json3-dev)")
  if(WALLCALC_NLOHMANN_JSON_HEADERS)
    set(include_dir ${CMAKE_BINARY_DIR}/nlohmann_json/include)
    file(MAKE_DIRECTORY ${include_dir})
    file(CREATE_LINK ${WALLCALC_NLOHMANN_JSON_HEADERS}/nlohmann ${include_dir}/nlohmann SYMBOLIC)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${include_dir})
  endif()
endif()

if(NOT TARGET nlohmann_json::nlohmann_json)
  message(FATAL_ERROR "nlohmann-json 3.11 or later not found (Debian: nlohmann-json3-dev; scripts/setup installs it)")
endif()
