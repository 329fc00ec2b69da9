# Installation: the two shared libraries, their public headers, the kova
# tool, the XML Schema of the description format (share/kova_rules), and a
# CMake package so that a consumer can write
#   find_package(kova_rules REQUIRED)
#   target_link_libraries(app PRIVATE kova_rules::kova_rules)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KOVA_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/kova_rules)
set(KOVA_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kova_rules)

# Headers a host includes; the rest stay private to the library. Every
# function they declare is exported by one of the two libraries (or defined
# in the header), so whatever compiles against them also links;
# scripts/check-install builds examples/embed, which references each one.
set(KOVA_PUBLIC_HEADERS
    host/kova_host_export.h host/diagnostic.h host/source_table.h host/kova_name_index.h host/kova_stl.h
    host/kova_owned_map.h host/kova_info.h host/nuvo_int.h host/qel_util.h host/kova_atoi.h
    objects/kova_rules_export.h objects/kova_port_obj.h objects/kova_parameter_obj.h
    validator/kova_rules_validator.h validator/kova_fn_macro.h validator/kova_string_map.h
    expr/kova_tokens.h expr/operators.h expr/syntax_tree.h stimulus/force_command.h)
foreach(header ${KOVA_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${KOVA_INCLUDE_DIR}/${folder})
endforeach()

target_include_directories(kova_host PUBLIC $<INSTALL_INTERFACE:${KOVA_INCLUDE_DIR}>)
target_include_directories(kova_rules PUBLIC $<INSTALL_INTERFACE:${KOVA_INCLUDE_DIR}>)
set_target_properties(kova_host kova_rules PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
# The rules library finds the host library beside it; the tool finds both.
set_target_properties(kova_rules PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(kova PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS kova_host kova_rules EXPORT kova_rulesTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS kova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The XML Schema of the description format, for authors' editors.
install(FILES ${PROJECT_SOURCE_DIR}/docs/kova-description.xsd DESTINATION ${CMAKE_INSTALL_DATADIR}/kova_rules)
install(EXPORT kova_rulesTargets NAMESPACE kova_rules:: DESTINATION ${KOVA_PACKAGE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kova_rulesConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/kova_rulesConfig.cmake
                              INSTALL_DESTINATION ${KOVA_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kova_rulesConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kova_rulesConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/kova_rulesConfigVersion.cmake
        DESTINATION ${KOVA_PACKAGE_DIR})
