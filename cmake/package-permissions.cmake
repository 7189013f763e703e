# Run by CPack on the staged files before it packs them: every folder 0755, whatever the umask
# of whoever packs (CPack creates some of them itself and ignores the default permissions).
file(GLOB_RECURSE folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS folders ITEMS "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    file(CHMOD "${path}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
