# Builds a program as a web page: zarvok_web_page(<target> [DATA <folder>@<path>...]) puts
# the page, its script, its WebAssembly and its data (each folder at its path in the page's
# file system, and the DejaVu faces of the text styles in /fonts) into site/<target>/.

# The faces of the six text styles.
set(ZARVOK_WEB_FONTS DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansCondensed.ttf
                     DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf)
set(ZARVOK_WEB_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Where the DejaVu faces lie")
set(web_font_stage ${CMAKE_BINARY_DIR}/web-fonts)
file(MAKE_DIRECTORY ${web_font_stage})
foreach(face IN LISTS ZARVOK_WEB_FONTS)
    configure_file(${ZARVOK_WEB_FONT_DIR}/${face} ${web_font_stage}/${face} COPYONLY)
endforeach()

# The game reports a faulty level file by an exception that its main loop catches: the
# browser build catches C++ exceptions as the desktop does (the compiler's default there
# is to abort on any throw). For the game and the examples, which this file precedes.
add_compile_options(-fexceptions)

# Pages linked QUICK_LINK skip the size optimisations after the asyncify transform: a link
# takes a quarter of the time, the WebAssembly weighs twice as much.
function(zarvok_web_page target)
    cmake_parse_arguments(PAGE "QUICK_LINK" "" "DATA" ${ARGN})
    set(site ${CMAKE_BINARY_DIR}/site/${target})
    set(WEB_TITLE ${target})
    set(WEB_PROGRAM ${target})
    configure_file(${PROJECT_SOURCE_DIR}/web/index.html ${site}/index.html @ONLY)
    # SHELL: keeps each option with its folder (CMake would merge the repeated option).
    set(preload "SHELL:--preload-file ${web_font_stage}@/fonts")
    foreach(folder IN LISTS PAGE_DATA)
        list(APPEND preload "SHELL:--preload-file ${folder}")
    endforeach()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${site} SUFFIX .js)
    # Asyncify lets a wait hand the thread to the browser and resume; the runtime ends
    # with main, so that the page can say the program has ended.
    target_link_options(${target} PRIVATE -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
        -fexceptions -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sENVIRONMENT=web
        -sFORCE_FILESYSTEM=1 -lidbfs.js ${preload}
        # The page's script functions SDL's sound calls: it resumes itself on the first
        # key or click through them.
        -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${PROJECT_SOURCE_DIR}/web/sound-functions.json)
    if(PAGE_QUICK_LINK)
        target_link_options(${target} PRIVATE -O1)
    endif()
endfunction()
