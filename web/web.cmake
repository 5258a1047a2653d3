# The browser build (configured by ./web.sh with emscripten's CMake): the game's own libraries and
# the game, linked with the libraries web/deps.sh built from Debian's sources into ORVALIS_WEB_PREFIX.
# The tools, tests, benchmarks and data targets stay native: the site takes its art from the native
# build.
if(NOT ORVALIS_WEB_PREFIX)
  message(FATAL_ERROR "Configure the browser build with ./web.sh (ORVALIS_WEB_PREFIX names the libraries).")
endif()
set(ORVALIS_TESTS OFF)
set(ORVALIS_BENCH OFF)
# emscripten puts its own SDL 1 headers first on the include path unless told there is no SDL.
add_compile_options(-sUSE_SDL=0)
add_link_options(-sUSE_SDL=0)

# The libraries by the target names the native build's pkg-config and CMake packages give them.
function(orvalis_web_library name)
  add_library(${name} INTERFACE IMPORTED)
  set(libs)
  foreach(lib ${ARGN})
    list(APPEND libs ${ORVALIS_WEB_PREFIX}/lib/${lib})
  endforeach()
  set_target_properties(${name} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                           "${ORVALIS_WEB_PREFIX}/include;${ORVALIS_WEB_PREFIX}/include/SDL2"
                                           INTERFACE_LINK_LIBRARIES "${libs}")
endfunction()
orvalis_web_library(PkgConfig::SDL2TTF libSDL2_ttf.a libfreetype.a)
orvalis_web_library(PkgConfig::SDL2MIXER libSDL2_mixer.a)
orvalis_web_library(PkgConfig::PNG libpng16.a libz.a)
orvalis_web_library(PkgConfig::SDL2 libSDL2.a)
add_library(PkgConfig::FONTCONFIG INTERFACE IMPORTED)  # the site ships its own font file instead

# Header-only libraries, taken from the native packages' headers alone.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(COPY /usr/include/nlohmann /usr/include/toml++ DESTINATION ${host_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers})
add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
set_target_properties(tomlplusplus::tomlplusplus PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${host_headers}
                                                            INTERFACE_COMPILE_DEFINITIONS TOML_HEADER_ONLY=1)
add_custom_target(orvalis_data)  # the site's data is assembled by web.sh

foreach(folder ${ORVALIS_GAME_FOLDERS})
  add_subdirectory(${folder})
endforeach()

target_compile_definitions(orvalis_platform PRIVATE ORVALIS_FONT_FILE="/data/DejaVuSans-Bold.ttf")
# emscripten's C++ library has its coroutines under std::experimental only (opponent/coroutine.h),
# which its clang warns will go.
target_compile_options(orvalis_opponent PRIVATE -Wno-deprecated-experimental-coroutine)
# A damaged settings file is reported through the TOML reader's exception: only that file catches
# one, so only it pays for them.
target_compile_options(orvalis_settings PRIVATE -fexceptions)
target_link_options(orvalis PRIVATE -fexceptions -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
                    -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -lidbfs.js
                    "-sEXPORTED_RUNTIME_METHODS=['FS','callMain']" -sINVOKE_RUN=0
                    --pre-js ${CMAKE_SOURCE_DIR}/web/pre.js)
set_property(TARGET orvalis APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/pre.js)

# The computer's figures (bench/arena) for the browser, for ./web.sh --bench: the model alone, with
# the templates from the site's data package.
add_executable(orvalis_arena ${CMAKE_SOURCE_DIR}/bench/arena/arena.cpp)
target_include_directories(orvalis_arena PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(orvalis_arena PRIVATE orvalis_match)
target_compile_definitions(orvalis_arena PRIVATE ORVALIS_RUN_DIR="/data")
target_link_options(orvalis_arena PRIVATE -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1)
set_target_properties(orvalis_arena PROPERTIES OUTPUT_NAME arena RUNTIME_OUTPUT_DIRECTORY ${ORVALIS_RUN_DIR})
orvalis_flags(orvalis_arena)
