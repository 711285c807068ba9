# Makes OUT_DIR/NAME.zip: one folder NAME holding bramkot.exe (PROGRAM),
# README.txt (GUIDE) and LICENSE.txt (LICENSE), the texts with CR LF line
# ends, and prints the SHA-256 of the program and the zip.
#
# The same inputs give the same bytes: the entries come in a fixed order with
# a fixed time (00:00 UTC on 1 January 2026) and fixed permissions, and
# without the extra fields of access time and owner. `cmake -E tar` cannot
# leave those out, hence Info-ZIP's zip.
# Usage: cmake -DPROGRAM=... -DGUIDE=... -DLICENSE=... -DNAME=... -DOUT_DIR=... -DZIP=... -P make-package.cmake
if(NOT ZIP)
    message(FATAL_ERROR "package: the zip program is missing (Debian: apt-get install zip)")
endif()
set(stage ${OUT_DIR}/package-stage)
set(files ${stage}/files)  # the package's files before their fixed permissions
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${files})

function(write_with_crlf source target)
    file(READ ${source} text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${target} "${text}")
endfunction()
write_with_crlf(${GUIDE} ${files}/README.txt)
write_with_crlf(${LICENSE} ${files}/LICENSE.txt)
configure_file(${PROGRAM} ${files}/bramkot.exe COPYONLY)

set(entries ${NAME}/bramkot.exe ${NAME}/README.txt ${NAME}/LICENSE.txt)
file(COPY ${files}/bramkot.exe ${files}/README.txt ${files}/LICENSE.txt
    DESTINATION ${stage}/${NAME}
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC touch -t 202601010000.00 ${entries}
    WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
if(NOT failed)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP} -q -X -D ${NAME}.zip ${entries}
        WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed)
endif()
if(failed)
    message(FATAL_ERROR "package: could not make ${NAME}.zip")
endif()
file(RENAME ${stage}/${NAME}.zip ${OUT_DIR}/${NAME}.zip)
file(REMOVE_RECURSE ${stage})

file(SHA256 ${PROGRAM} program_hash)
file(SHA256 ${OUT_DIR}/${NAME}.zip zip_hash)
message("package: ${OUT_DIR}/${NAME}.zip")
message("SHA-256 ${program_hash}  bramkot.exe")
message("SHA-256 ${zip_hash}  ${NAME}.zip")
