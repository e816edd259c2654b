# Run by cpack once it has made the package: cpack gives the three members of
# the package's ar archive (debian-binary, control.tar.gz, data.tar.gz) the
# modes the umask of its caller leaves, 0664 under umask 002; Debian's own tools
# give 0644. Each member header's mode field is written over with 100644, so the
# package is the same bytes whatever the umask.
#
# An ar archive: "!<arch>\n", then for each member a 60-byte header (name 16,
# date 12, owner 6, group 6, mode 8, size 10, "`\n") and the member, padded to
# an even length.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(SIZE "${package}" archive_size)
  set(header_at 8)
  while(header_at LESS archive_size)
    file(READ "${package}" header OFFSET ${header_at} LIMIT 60)
    string(SUBSTRING "${header}" 58 2 header_end)
    if(NOT header_end STREQUAL "`\n")
      message(FATAL_ERROR "${package}: no ar member header at byte ${header_at}")
    endif()
    string(SUBSTRING "${header}" 48 10 member_size)
    string(STRIP "${member_size}" member_size)
    math(EXPR mode_at "${header_at} + 40")
    execute_process(COMMAND printf "%-8s" 100644
      COMMAND dd "of=${package}" bs=1 seek=${mode_at} conv=notrunc
      OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR header_at "${header_at} + 60 + ${member_size} + ${member_size} % 2")
  endwhile()
endforeach()
