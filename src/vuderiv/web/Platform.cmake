# SDL2, SDL2_ttf with FreeType, and SDL2_image (PNG) built for WebAssembly (scripts/web-deps builds them into a
# prefix and prints it), under the names the desktop build gives its system libraries.
set(ZARVOK_WEB_PREFIX "" CACHE PATH "Where scripts/web-deps put SDL2 and SDL2_ttf for the web")
if(NOT EXISTS "${ZARVOK_WEB_PREFIX}/lib/libSDL2.a")
    message(FATAL_ERROR "ZARVOK_WEB_PREFIX must name the folder that scripts/web-deps prints")
endif()
add_library(PkgConfig::SDL2 INTERFACE IMPORTED GLOBAL)
target_include_directories(PkgConfig::SDL2 INTERFACE ${ZARVOK_WEB_PREFIX}/include/SDL2)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${ZARVOK_WEB_PREFIX}/lib/libSDL2.a)
add_library(PkgConfig::SDL2_TTF INTERFACE IMPORTED GLOBAL)
target_link_libraries(PkgConfig::SDL2_TTF INTERFACE ${ZARVOK_WEB_PREFIX}/lib/libSDL2_ttf.a
                                                    ${ZARVOK_WEB_PREFIX}/lib/libfreetype.a
                                                    PkgConfig::SDL2)
add_library(PkgConfig::SDL2_IMAGE INTERFACE IMPORTED GLOBAL)
target_link_libraries(PkgConfig::SDL2_IMAGE INTERFACE ${ZARVOK_WEB_PREFIX}/lib/libSDL2_image.a
                                                      PkgConfig::SDL2)
