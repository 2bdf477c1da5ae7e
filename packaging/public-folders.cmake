# Creates the installation's folders, readable by everyone whatever the umask:
# CMake makes them with mkdir, which the umask trims, and a plug-in folder
# private to root would silently cost users the automatic masking. Folders
# that exist already keep their modes.
foreach(folder IN LISTS TALLYGLOW_INSTALLED_FOLDERS)
    if(NOT IS_ABSOLUTE "${folder}")
        set(folder "${CMAKE_INSTALL_PREFIX}/${folder}")
    endif()
    set(path "$ENV{DESTDIR}${folder}")
    set(missing "")
    while(NOT EXISTS "${path}")
        list(PREPEND missing "${path}")
        get_filename_component(path "${path}" DIRECTORY)
    endwhile()
    foreach(created IN LISTS missing)
        file(MAKE_DIRECTORY "${created}")
        file(CHMOD "${created}" DIRECTORY_PERMISSIONS
            OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endforeach()
endforeach()
