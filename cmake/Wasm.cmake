# The browser engine: rules and character compiled with emscripten, with the embind binding
# of src/web. Included from the top-level file when the toolchain is emscripten's.

# The readers use exceptions; without this a throw aborts the WebAssembly module.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# nlohmann-json is header-only: its own headers, without the rest of the host's /usr/include.
find_path(VARN_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(VARN_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${VARN_JSON_INCLUDE})
if(NOT EXISTS ${VARN_JSON_INCLUDE}/nlohmann)
    file(CREATE_LINK ${VARN_JSON_HEADERS}/nlohmann ${VARN_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()
add_library(varn_json INTERFACE)
target_include_directories(varn_json SYSTEM INTERFACE ${VARN_JSON_INCLUDE})
add_library(nlohmann_json::nlohmann_json ALIAS varn_json)

add_subdirectory(src/rules)
add_subdirectory(src/character)
add_subdirectory(src/web)
