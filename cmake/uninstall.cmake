# SPDX-License-Identifier: GPL-3.0-or-later
# Undoes `cmake --install`: removes every file the last install from this build folder
# wrote (its install_manifest.txt), then those of Tintwell's own folders (named
# tintwell) that this leaves empty. Shared folders such as share/icons stay. Run as the
# build folder's uninstall target, with the DESTDIR the install had, if any:
#
#   cmake --build build --target uninstall        (with sudo for a system prefix)
if(NOT EXISTS "${MANIFEST}")
    message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing. It is written by "
                        "cmake --install, into the build folder that was installed from.")
endif()
file(STRINGS "${MANIFEST}" installed)
set(folders "")
foreach(file IN LISTS installed)
    # The list names each file as if DESTDIR were empty.
    set(file "$ENV{DESTDIR}${file}")
    if(EXISTS "${file}" OR IS_SYMLINK "${file}")
        message(STATUS "Removing ${file}")
        file(REMOVE "${file}")
    endif()
    get_filename_component(folder "${file}" DIRECTORY)
    if(folder MATCHES "/tintwell$")
        list(APPEND folders "${folder}")
    endif()
endforeach()
list(REMOVE_DUPLICATES folders)
foreach(folder IN LISTS folders)
    file(GLOB left "${folder}/*")
    if(IS_DIRECTORY "${folder}" AND NOT left)
        message(STATUS "Removing ${folder}")
        file(REMOVE_RECURSE "${folder}")
    endif()
endforeach()
