# Writes the component's style sheet as a JavaScript constant, to be joined
# to the bundle:  cmake -DCSS=... -DJS=... -P StyleEnJs.cmake
file(READ ${CSS} css)
if(css MATCHES "[`$\\\\]")
  message(FATAL_ERROR "${CSS} : ni accent grave, ni $, ni barre oblique inverse (la feuille devient un gabarit JavaScript).")
endif()
file(WRITE ${JS} "// The component's style sheet, from pavonis-grille.css.\nconst styleGrille = `\n${css}`;\n")
