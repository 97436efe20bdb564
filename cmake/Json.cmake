# kit_json: the header-only JSON library for the console programs. The headers are copied into the
# build tree and taken from there, because a cross build must not search the host's /usr/include (its C
# library headers would stand in for the target's).
find_path(KIT_JSON_INCLUDE_DIR nlohmann/json.hpp
    PATHS /usr/include /usr/local/include
    NO_CMAKE_FIND_ROOT_PATH
    REQUIRED)
set(kit_json_copy ${CMAKE_BINARY_DIR}/third_party/include)
file(COPY ${KIT_JSON_INCLUDE_DIR}/nlohmann DESTINATION ${kit_json_copy})
add_library(kit_json INTERFACE)
target_include_directories(kit_json SYSTEM INTERFACE ${kit_json_copy})
