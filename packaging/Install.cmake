# How a program of the package and its manual page are installed; included by the folders that
# build one.
include(GNUInstallDirs)

# vq_install_program(target): the executable into bin/. A Release install carries no symbols and no
# build notes, as a distribution strips it; other builds keep them for debugging.
function(vq_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(CODE "
    if(CMAKE_INSTALL_CONFIG_NAME STREQUAL \"Release\")
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-all --remove-section=.comment
                              --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endfunction()

# vq_install_manpage(page): the manual page into man/man1, compressed, as man reads it and as
# Debian wants it.
function(vq_install_manpage page)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${name}.gz
    COMMAND gzip -9 --no-name --stdout ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${name}.gz
    DEPENDS ${page} VERBATIM)
  add_custom_target(${name}_manpage ALL DEPENDS ${name}.gz)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
