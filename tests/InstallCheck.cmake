# Installs the build into a scratch prefix and checks that the programs, the
# icon, the menu entry and the C3D file type are where a desktop looks.
#   cmake -DBUILD=<build dir> -DPREFIX=<scratch prefix> -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file
    bin/quorvel bin/quorvel-cli
    share/applications/quorvel.desktop
    share/mime/packages/quorvel.xml
    share/icons/hicolor/scalable/apps/quorvel.svg
    share/icons/hicolor/48x48/apps/quorvel.png
    share/icons/hicolor/256x256/apps/quorvel.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/quorvel.desktop" entry)
foreach(line "Exec=quorvel %f" "Icon=quorvel" "MimeType=application/x-c3d;")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "quorvel.desktop lacks ${line}")
  endif()
endforeach()
find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND "${validate}" "${PREFIX}/share/applications/quorvel.desktop" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate refuses quorvel.desktop")
  endif()
endif()
file(REMOVE_RECURSE "${PREFIX}")
