# The target package-zip: bramkot-<version>-win32.zip in the build folder,
# the version taken from the version block of the resources.
file(STRINGS ${PROJECT_SOURCE_DIR}/res/bramkot.rc file_version REGEX "^ *FILEVERSION ")
if(NOT file_version MATCHES "([0-9]+) *, *([0-9]+) *, *([0-9]+) *, *([0-9]+)")
    message(FATAL_ERROR "no FILEVERSION in res/bramkot.rc")
endif()
set(BRAMKOT_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/bramkot.rc)

find_program(BRAMKOT_ZIP_PROGRAM zip)
add_custom_target(package-zip
    COMMAND ${CMAKE_COMMAND}
        -DPROGRAM=$<TARGET_FILE:bramkot>
        -DGUIDE=${PROJECT_SOURCE_DIR}/docs/user-guide.txt
        -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
        -DNAME=bramkot-${BRAMKOT_VERSION}-win32
        -DOUT_DIR=${CMAKE_BINARY_DIR}
        -DZIP=${BRAMKOT_ZIP_PROGRAM}
        -P ${PROJECT_SOURCE_DIR}/cmake/make-package.cmake
    VERBATIM)
add_dependencies(package-zip bramkot)
