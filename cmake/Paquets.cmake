# Debian packages, by CPack from the three install components:
#   libpavonis1     execution      the control, the runtime libraries, help pages,
#                                  FHIR resources, machine-wide registration
#   libpavonis-dev  developpement  headers, CMake package, pkg-config, Qt Designer plugin
#   pavonis-outils  outils         pavonis-gir, pavonis-hote, pavonis-rapport,
#                                  pavonis-regsvr, their manual pages, the examples
# Built from the "paquet" preset (prefix /usr, no RPATH): cpack in build-paquet/.

# Each package's copyright and changelog; manual pages, compressed as Debian wants.
set(PAVONIS_PAQUETS ${PROJECT_BINARY_DIR}/paquets)
file(MAKE_DIRECTORY ${PAVONIS_PAQUETS})
find_program(GZIP gzip REQUIRED)
set(pages_man pavonis-gir pavonis-hote pavonis-rapport pavonis-regsvr)
set(fichiers_gz ${PAVONIS_PAQUETS}/changelog.Debian.gz)
add_custom_command(OUTPUT ${PAVONIS_PAQUETS}/changelog.Debian.gz
  COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/paquets/changelog > ${PAVONIS_PAQUETS}/changelog.Debian.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/paquets/changelog VERBATIM)
foreach(page IN LISTS pages_man)
  add_custom_command(OUTPUT ${PAVONIS_PAQUETS}/${page}.1.gz
    COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/docs/man/${page}.1 > ${PAVONIS_PAQUETS}/${page}.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}.1 VERBATIM)
  list(APPEND fichiers_gz ${PAVONIS_PAQUETS}/${page}.1.gz)
  install(FILES ${PAVONIS_PAQUETS}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT outils)
endforeach()
add_custom_target(pavonis_pages_man ALL DEPENDS ${fichiers_gz})
# The scenario language, which pavonis-hote's help and manual page point to.
install(FILES ${PROJECT_SOURCE_DIR}/docs/scenarios.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pavonis-outils
  COMPONENT outils)

foreach(paquet_composant IN ITEMS libpavonis1:execution libpavonis-dev:developpement pavonis-outils:outils)
  string(REPLACE ":" ";" paire ${paquet_composant})
  list(GET paire 0 paquet)
  list(GET paire 1 composant)
  install(FILES ${PROJECT_SOURCE_DIR}/paquets/copyright ${PAVONIS_PAQUETS}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${paquet} COMPONENT ${composant})
endforeach()

# Install scripts of libpavonis1, with the control's installed path.
set(ORVALIS ${CMAKE_INSTALL_FULL_LIBDIR}/Orvalis.ocx)
foreach(script postinst prerm postrm)
  configure_file(${PROJECT_SOURCE_DIR}/paquets/${script} ${PAVONIS_PAQUETS}/${script} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavonis)
set(CPACK_PACKAGE_VENDOR "Équipe Pavonis")
set(CPACK_PACKAGE_CONTACT "Équipe Pavonis <pavonis@pavonis.fr>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://pavonis.fr")
# Each package has its own summary, the first line of its description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL execution developpement outils)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries, for the tools' dependencies: libpavonis1 provides them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPPEMENT_DEPENDS execution)
set(CPACK_COMPONENT_OUTILS_DEPENDS execution)

set(CPACK_DEBIAN_EXECUTION_PACKAGE_NAME libpavonis1)
set(CPACK_DEBIAN_EXECUTION_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_EXECUTION_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
file(WRITE ${PAVONIS_PAQUETS}/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_EXECUTION_PACKAGE_CONTROL_EXTRA
  "${PAVONIS_PAQUETS}/postinst;${PAVONIS_PAQUETS}/prerm;${PAVONIS_PAQUETS}/postrm;${PAVONIS_PAQUETS}/triggers")
set(CPACK_DEBIAN_EXECUTION_DESCRIPTION "composant d'évaluation AGGIR 2008 (exécution)
Pavonis est l'écran d'évaluation de la grille AGGIR (révision 2008) que les
logiciels de gestion médico-sociale placent dans une de leurs fenêtres : les
24 lignes d'évaluation, les modalités A, B, C, le GIR et son sous-groupe, les
pages d'aide des variables, la boîte d'impression et la page A4.
.
Ce paquet contient le composant Orvalis.ocx, les bibliothèques
libpavonis-plateforme et libpavonis-evaluation, les pages d'aide et les
ressources FHIR ; il enregistre le composant pour tous les utilisateurs.")

set(CPACK_DEBIAN_DEVELOPPEMENT_PACKAGE_NAME libpavonis-dev)
set(CPACK_DEBIAN_DEVELOPPEMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPPEMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_DEVELOPPEMENT_DESCRIPTION "composant d'évaluation AGGIR 2008 (développement)
Pavonis est l'écran d'évaluation de la grille AGGIR (révision 2008) que les
logiciels de gestion médico-sociale placent dans une de leurs fenêtres.
.
Ce paquet contient les en-têtes, le paquet CMake Pavonis, le fichier
pkg-config pavonis.pc et le greffon Qt Designer qui place le contrôle
Uc_Pavonis sur un formulaire.")

set(CPACK_DEBIAN_OUTILS_PACKAGE_NAME pavonis-outils)
set(CPACK_DEBIAN_OUTILS_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_OUTILS_DESCRIPTION "outils en ligne de commande de la grille AGGIR 2008
Pavonis est l'écran d'évaluation de la grille AGGIR (révision 2008) que les
logiciels de gestion médico-sociale placent dans une de leurs fenêtres.
.
Ce paquet contient pavonis-gir (calcul du GIR en lot, CSV ou JSON Lines),
pavonis-hote (hôte de démonstration et rejeu de scénarios), pavonis-rapport
(page A4 d'une évaluation conservée, en PDF ou PDF/A) et pavonis-regsvr
(enregistrement du composant), avec leurs pages de manuel.")

include(CPack)
