# Installs the build into a fresh prefix and checks what lands there.
# -DBUILD_DIR= -DPREFIX= -DVERSION= -DGUI=ON|OFF
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(expected
  bin/veltrum-claims
  share/man/man1/veltrum-claims.1.gz
  share/doc/veltrum/copyright
  share/doc/veltrum/changelog.gz)
if(GUI)
  list(APPEND expected
    bin/veltrum
    share/man/man1/veltrum.1.gz
    share/applications/org.veltrum.Veltrum.desktop
    share/metainfo/org.veltrum.Veltrum.metainfo.xml
    share/icons/hicolor/scalable/apps/veltrum.svg)
  foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/veltrum.png)
  endforeach()
endif()
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    message(SEND_ERROR "missing: ${file}")
  endif()
endforeach()

# Nothing else: a stray test program or library in the package is a fault too.
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(REMOVE_ITEM installed ${expected})
if(installed)
  message(SEND_ERROR "installed but not expected: ${installed}")
endif()

if(GUI)
  # Each icon is the size its folder says.
  foreach(size 16 32 48 64 128 256)
    file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/veltrum.png header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 16 dimensions)
    string(SUBSTRING "${dimensions}" 0 8 w)
    string(SUBSTRING "${dimensions}" 8 8 h)
    math(EXPR w "0x${w}")
    math(EXPR h "0x${h}")
    if(NOT w EQUAL size OR NOT h EQUAL size)
      message(SEND_ERROR "icon ${size}x${size} is ${w}x${h}")
    endif()
  endforeach()
  file(READ ${PREFIX}/share/metainfo/org.veltrum.Veltrum.metainfo.xml metainfo)
  if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
    message(SEND_ERROR "the metadata's release is not ${VERSION}")
  endif()
endif()

# The installed program runs from its new place and knows its version.
execute_process(COMMAND ${PREFIX}/bin/veltrum-claims --version OUTPUT_VARIABLE said)
if(NOT said STREQUAL "veltrum-claims ${VERSION}\n")
  message(SEND_ERROR "installed veltrum-claims --version said '${said}'")
endif()
