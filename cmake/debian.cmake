# What a Debian package asks of the build: the distribution's hardening flags, manual pages and
# the changelog compressed as policy wants them.

# Debian's hardening flags (fortify, stack protector, relro, bindnow), as dpkg-buildflags gives
# them; the optimisation and debug flags stay the build type's. Not with the sanitizers, which
# bring their own instrumentation.
option(ORVANE_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(ORVANE_HARDENING AND DPKG_BUILDFLAGS AND NOT ORVANE_SANITIZE AND NOT ORVANE_FUZZ)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
        ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag IN LISTS flags)
      if(flag MATCHES "^-D_FORTIFY_SOURCE|^-fstack-|^-fcf-protection|^-Wformat|^-Werror=format")
        add_compile_options(${flag})
      elseif(flag MATCHES "^-Wl,-z,")
        add_link_options(${flag})
      endif()
    endforeach()
  endforeach()
endif()

find_program(GZIP gzip REQUIRED)

# Installs data/man/PAGE.1 (and its Japanese translation data/man/ja/PAGE.1, where there is one)
# compressed, as Debian's policy asks.
function(orvane_install_man page)
  foreach(lang "" ja)
    set(source ${PROJECT_SOURCE_DIR}/data/man/${lang}/${page}.1)
    if(NOT EXISTS ${source})
      continue()
    endif()
    set(gz ${CMAKE_BINARY_DIR}/man/${lang}/${page}.1.gz)
    add_custom_command(OUTPUT ${gz}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man/${lang}
      COMMAND ${GZIP} -9n -c ${source} > ${gz}
      DEPENDS ${source})
    add_custom_target(man-${lang}-${page} ALL DEPENDS ${gz})
    if(lang STREQUAL "")
      install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    else()
      install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/${lang}/man1)
    endif()
  endforeach()
endfunction()

# The changelog, for a native package: /usr/share/doc/orvane/changelog.gz.
set(ORVANE_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${ORVANE_CHANGELOG_GZ}
  COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/data/changelog > ${ORVANE_CHANGELOG_GZ}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/changelog)
add_custom_target(orvane-changelog ALL DEPENDS ${ORVANE_CHANGELOG_GZ})
install(FILES ${ORVANE_CHANGELOG_GZ} DESTINATION ${CMAKE_INSTALL_DOCDIR})
