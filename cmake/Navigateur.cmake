# The browser's component, built by Emscripten in a build of its own
# (<build>/web, toolchain Emscripten.cmake) when Emscripten is installed;
# skipped, with a note, when it is not. Its site lands in <build>/web/site.
set(PAVONIS_SITE "")
if(NOT PAVONIS_WEB AND NOT PAVONIS_WEB_SEUL)
  return()
endif()
find_program(PAVONIS_EMXX em++)
if(NOT PAVONIS_EMXX)
  message(STATUS "Emscripten absent : le composant du navigateur n'est pas construit.")
  return()
endif()
if(NOT EXISTS ${PROJECT_SOURCE_DIR}/web/node_modules/@nozbe/simdjson/src/simdjson.cpp)
  message(STATUS "web/node_modules absent (npm ci dans web/) : le composant du navigateur n'est pas construit.")
  return()
endif()
# Debian's em++ is a link into Emscripten's own folder, which holds its
# CMake toolchain; its JavaScript optimiser wants Debian's Node modules.
file(REAL_PATH ${PAVONIS_EMXX} emxx)
get_filename_component(racine_emscripten ${emxx} DIRECTORY)
set(chaine ${racine_emscripten}/cmake/Modules/Platform/Emscripten.cmake)
if(DEFINED ENV{NODE_PATH})
  set(node_path $ENV{NODE_PATH})
else()
  set(node_path /usr/share/nodejs)
endif()
include(ExternalProject)
ExternalProject_Add(pavonis_web
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${PROJECT_BINARY_DIR}/web
  CMAKE_COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${node_path} ${CMAKE_COMMAND}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${chaine} -DCMAKE_BUILD_TYPE=Release -DPAVONIS_WERROR=${PAVONIS_WERROR}
  BUILD_COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${node_path} ${CMAKE_COMMAND} --build <BINARY_DIR>
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
set(PAVONIS_SITE ${PROJECT_BINARY_DIR}/web/site)
