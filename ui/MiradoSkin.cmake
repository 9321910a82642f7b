# mirado_embed_skin(<target> <skin_dir> [ID <id>])
# Zips <skin_dir> (its files become the archive root) at build time and compiles the
# zip into <target> as the Qt resource ":/mirado/zipres/<id>.zip" (id 135 unless
# given), which windows with the skin kind UILIB_ZIPRESOURCE read. Embed into an
# executable (a static library could let the linker drop the resource).
function(mirado_embed_skin target skin_dir)
  cmake_parse_arguments(ARG "" "ID" "" ${ARGN})
  if(NOT ARG_ID)
    set(ARG_ID 135)
  endif()
  get_filename_component(skin_dir "${skin_dir}" ABSOLUTE)
  file(GLOB_RECURSE skin_files LIST_DIRECTORIES false CONFIGURE_DEPENDS RELATIVE "${skin_dir}" "${skin_dir}/*")
  list(SORT skin_files)
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_skin_${ARG_ID}")
  set(zip "${out_dir}/${ARG_ID}.zip")
  set(qrc "${out_dir}/skin_${ARG_ID}.qrc")
  set(cpp "${out_dir}/qrc_skin_${ARG_ID}.cpp")
  set(abs_files "")
  foreach(f IN LISTS skin_files)
    list(APPEND abs_files "${skin_dir}/${f}")
  endforeach()
  file(MAKE_DIRECTORY "${out_dir}")
  add_custom_command(OUTPUT "${zip}"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${zip}"
    COMMAND ${CMAKE_COMMAND} -E tar cf "${zip}" --format=zip -- ${skin_files}
    WORKING_DIRECTORY "${skin_dir}"
    DEPENDS ${abs_files}
    COMMENT "Zipping skin ${skin_dir}"
    VERBATIM)
  file(WRITE "${qrc}" "<RCC><qresource prefix=\"/mirado/zipres\"><file alias=\"${ARG_ID}.zip\">${zip}</file></qresource></RCC>\n")
  add_custom_command(OUTPUT "${cpp}"
    COMMAND Qt6::rcc --name "mirado_skin_${ARG_ID}" --no-compress -o "${cpp}" "${qrc}"
    DEPENDS "${zip}" "${qrc}"
    VERBATIM)
  target_sources(${target} PRIVATE "${cpp}")
endfunction()
