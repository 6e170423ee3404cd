cmake_minimum_required(VERSION 3.16)
# Installs into a scratch prefix and checks that the desktop pieces land where
# desktop environments look for them, and that the launcher starts the
# program in a data folder of its own.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(path bin/fauntome bin/fauntome-launcher share/fauntome/faundata.xml
             share/applications/fauntome.desktop share/icons/hicolor/256x256/apps/fauntome.png)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "missing after install: ${path}")
  endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/fauntome.desktop" entry)
foreach(line "Exec=fauntome-launcher" "Icon=fauntome" "Type=Application")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()

# The program runs until closed; a short timeout is enough for the launcher
# to have seeded the data folder.
set(ENV{HOME} "${PREFIX}/home")
set(ENV{XDG_DATA_HOME} "${PREFIX}/home/data")
set(ENV{QT_QPA_PLATFORM} "offscreen")
execute_process(COMMAND "${PREFIX}/bin/fauntome-launcher" TIMEOUT 5 OUTPUT_QUIET ERROR_QUIET)
foreach(path faundata.xml owners teams)
  if(NOT EXISTS "${PREFIX}/home/data/fauntome/${path}")
    message(FATAL_ERROR "launcher did not prepare ${path}")
  endif()
endforeach()
