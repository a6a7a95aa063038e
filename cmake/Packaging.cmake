# What a user gets: the module and its data file side by side, the checker,
# the German guide and the notices, as Runefold-<version>-win32.zip (the
# 32-bit module, the one hosts load) or -win64.zip. One version for all:
# the project's, which the module's version resource carries too.
include_guard(GLOBAL)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(RF_PACKAGE_ARCH win32)
else()
  set(RF_PACKAGE_ARCH win64)
endif()

install(TARGETS Runefold runefold-check
  RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE DESTINATION lib EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_SOURCE_DIR}/data/Runefold.cfg DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/anleitung/ DESTINATION Anleitung)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/notices/ DESTINATION Lizenzen)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Runefold)
set(CPACK_PACKAGE_VENDOR Runefold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Runefold-${PROJECT_VERSION}-${RF_PACKAGE_ARCH})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Not stripped: the export checks read pluginStart's returns from the
# packaged 32-bit module by its symbol.
set(CPACK_STRIP_FILES OFF)
include(CPack)
