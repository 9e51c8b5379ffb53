# The Debian package: the program in /usr/bin, the help page and the banner
# in /usr/share/kescherheft (the program finds them there and keeps its data
# in the user's data folder), the menu entry, AppStream data, icons, manual
# page and the copyright file. `make deb` builds it with CPack.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(_pkg ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
set(_id de.uferwacht.Kescherheft)
set(_gen ${CMAKE_CURRENT_BINARY_DIR}/package)
target_link_options(kescherheft PRIVATE -Wl,-z,relro,-z,now)

install(TARGETS kescherheft RUNTIME DESTINATION bin)
install(FILES resources/banner.gif DESTINATION share/kescherheft)
install(FILES resources/help/index.html DESTINATION share/kescherheft/help)
install(FILES ${_pkg}/${_id}.desktop DESTINATION share/applications)
install(FILES ${_pkg}/${_id}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${_pkg}/${_id}.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${_pkg}/copyright DESTINATION share/doc/kescherheft)

# The icon in the usual sizes, rendered from the SVG; the manual page and
# the changelog compressed as Debian wants them (no time stamp, best ratio).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)
set(_made)
foreach(_size 16 22 24 32 48 64 128 256)
    set(_png ${_gen}/icons/${_size}/${_id}.png)
    add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}/icons/${_size}
        COMMAND ${RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_pkg}/${_id}.svg
        DEPENDS ${_pkg}/${_id}.svg VERBATIM)
    install(FILES ${_png} DESTINATION share/icons/hicolor/${_size}x${_size}/apps)
    list(APPEND _made ${_png})
endforeach()
foreach(_pair "kescherheft.1|kescherheft.1.gz" "changelog|changelog.gz")
    string(REPLACE "|" ";" _pair "${_pair}")
    list(GET _pair 0 _in)
    list(GET _pair 1 _out)
    add_custom_command(OUTPUT ${_gen}/${_out}
        COMMAND ${GZIP} -9nc ${_pkg}/${_in} > ${_gen}/${_out}
        DEPENDS ${_pkg}/${_in})
    list(APPEND _made ${_gen}/${_out})
endforeach()
install(FILES ${_gen}/kescherheft.1.gz DESTINATION share/man/man1)
install(FILES ${_gen}/changelog.gz DESTINATION share/doc/kescherheft)
add_custom_target(kh_package_files ALL DEPENDS ${_made})
add_dependencies(kescherheft kh_package_files)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kescherheft)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Uferwacht Angelsport <kescherheft@uferwacht.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "German catch log for anglers")
# The long description, in lines of a Debian control file's length.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Uferwacht Digitales Kescherheft records each catch (date, trip times,"
    "species, weight, length, water, spot, rig, bait, weather, temperatures,"
    "depth and a photo) and each fishing expense in plain text files. Its main"
    "window shows running statistics; both logs can be listed, filtered,"
    "edited, printed and backed up."
    ""
    "The user interface is in German. The data lives in"
    "~/.local/share/Kescherheft.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.uferwacht.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
