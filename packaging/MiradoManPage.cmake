# mirado_install_man_page(page.1): compresses the page at build time the way Debian ships man pages
# (gzip -9n: no name, no time stamp, so the package is reproducible) and installs it in its section.
function(mirado_install_man_page page)
  get_filename_component(name ${page} NAME)
  get_filename_component(source ${page} ABSOLUTE)
  string(REGEX MATCH "[0-9]$" section ${name})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND gzip -9nc ${source} > ${compressed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION share/man/man${section})
endfunction()
