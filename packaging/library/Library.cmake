# Installing a library for other projects, as the Development component: its public header
# in include/zarvok, the static library, a CMake package (<Name>::<Name>) and a pkg-config
# file. A full install leaves all of it out; `cmake --install <build> --component
# Development` installs it, and the Debian package zarvok-dev holds it.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(ZARVOK_LIBRARY_TEMPLATES ${CMAKE_CURRENT_LIST_DIR})
set(ZARVOK_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/zarvok)

# The version that a public header declares in its <PREFIX>_VERSION_MAJOR/MINOR/PATCH.
function(zarvok_header_version header prefix out)
    set(parts)
    foreach(part MAJOR MINOR PATCH)
        file(STRINGS ${header} line REGEX "^#define ${prefix}_VERSION_${part} [0-9]+$")
        if(NOT line)
            message(FATAL_ERROR "${header} declares no ${prefix}_VERSION_${part}")
        endif()
        string(REGEX REPLACE ".* " "" number "${line}")
        list(APPEND parts ${number})
    endforeach()
    list(JOIN parts "." version)
    set(${out} ${version} PARENT_SCOPE)
endfunction()

# zarvok_install_library(<target> NAME <Package> HEADER <file> VERSION_PREFIX <PREFIX>
#     DESCRIPTION <text> [PACKAGES <CMake packages>...] [SIBLINGS <our packages>...]
#     [PKG_MODULES <PREFIX=module>...]
#     [PC_REQUIRES <pkg-config modules>...] [PC_CFLAGS <flags>...] [PC_LIBS <flags>...])
# PACKAGES are found again for the user with find_dependency, SIBLINGS (the project's other
# libraries) first beside this package, PKG_MODULES through pkg-config as the imported
# targets PkgConfig::<PREFIX>.
function(zarvok_install_library target)
    cmake_parse_arguments(L "" "NAME;HEADER;VERSION_PREFIX;DESCRIPTION"
                          "PACKAGES;SIBLINGS;PKG_MODULES;PC_REQUIRES;PC_CFLAGS;PC_LIBS" ${ARGN})
    zarvok_header_version(${L_HEADER} ${L_VERSION_PREFIX} version)
    set(cmakedir ${CMAKE_INSTALL_LIBDIR}/cmake/${L_NAME})
    set(pcdir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/package)

    set_target_properties(${target} PROPERTIES EXPORT_NAME ${L_NAME})
    target_include_directories(${target} INTERFACE $<INSTALL_INTERFACE:${ZARVOK_INCLUDEDIR}>)
    install(TARGETS ${target} EXPORT ${L_NAME}Targets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development EXCLUDE_FROM_ALL)
    install(FILES ${L_HEADER} DESTINATION ${ZARVOK_INCLUDEDIR}
            COMPONENT Development EXCLUDE_FROM_ALL)
    install(EXPORT ${L_NAME}Targets NAMESPACE ${L_NAME}:: DESTINATION ${cmakedir}
            COMPONENT Development EXCLUDE_FROM_ALL)

    # The package file: the dependencies first, then the library's own targets.
    set(DEPENDENCIES "")
    foreach(package ${L_PACKAGES})
        string(APPEND DEPENDENCIES "find_dependency(${package})\n")
    endforeach()
    # The siblings come from the same install, each at its own version: the same major
    # version is asked of them, not this library's minor.
    string(REGEX MATCH "^[0-9]+" major ${version})
    foreach(package ${L_SIBLINGS})
        string(APPEND DEPENDENCIES
               "find_dependency(${package} ${major} CONFIG PATHS \"\${CMAKE_CURRENT_LIST_DIR}/..\")\n")
    endforeach()
    set(MODULES "")
    foreach(pair ${L_PKG_MODULES})
        string(REPLACE "=" " " pair "${pair}")
        string(APPEND MODULES "    ${pair}\n")
    endforeach()
    set(NAME ${L_NAME})
    configure_package_config_file(${ZARVOK_LIBRARY_TEMPLATES}/Config.cmake.in
        ${out}/${L_NAME}Config.cmake INSTALL_DESTINATION ${cmakedir} NO_SET_AND_CHECK_MACRO
        NO_CHECK_REQUIRED_COMPONENTS_MACRO)
    write_basic_package_version_file(${out}/${L_NAME}ConfigVersion.cmake VERSION ${version}
                                     COMPATIBILITY SameMajorVersion)
    install(FILES ${out}/${L_NAME}Config.cmake ${out}/${L_NAME}ConfigVersion.cmake
            DESTINATION ${cmakedir} COMPONENT Development EXCLUDE_FROM_ALL)

    # The pkg-config file finds its prefix from its own place, so any prefix works.
    file(RELATIVE_PATH PC_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${pcdir} ${CMAKE_INSTALL_PREFIX})
    string(REGEX REPLACE "/$" "" PC_TO_PREFIX "${PC_TO_PREFIX}")
    string(TOLOWER ${L_NAME} PC_NAME)
    set(PC_VERSION ${version})
    set(PC_DESCRIPTION ${L_DESCRIPTION})
    set(PC_LIBRARY ${target})
    list(JOIN L_PC_REQUIRES " " PC_REQUIRES)
    set(PC_CFLAGS "")
    set(PC_LIBS "")
    foreach(flag ${L_PC_CFLAGS})
        string(APPEND PC_CFLAGS " ${flag}")
    endforeach()
    foreach(flag ${L_PC_LIBS})
        string(APPEND PC_LIBS " ${flag}")
    endforeach()
    configure_file(${ZARVOK_LIBRARY_TEMPLATES}/library.pc.in ${out}/${PC_NAME}.pc @ONLY)
    install(FILES ${out}/${PC_NAME}.pc DESTINATION ${pcdir}
            COMPONENT Development EXCLUDE_FROM_ALL)
endfunction()
