# Runs during `cmake --install`: writes the menu entry with the installed binary's full path in
# its Exec line, quoted as desktop entries require when the path holds a space or another
# reserved character.
#
# dewbell_binary: the installed binary; dewbell_template: the entry with @DEWBELL_EXEC@;
# dewbell_entry: the entry to write.
string(REPLACE "%" "%%" DEWBELL_EXEC "${dewbell_binary}")
if(DEWBELL_EXEC MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
  # Inside the quotes a backslash escapes " ` $ and itself; the whole value is then a string,
  # whose own escaping doubles every backslash.
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" DEWBELL_EXEC "${DEWBELL_EXEC}")
  string(REPLACE "\\" "\\\\" DEWBELL_EXEC "${DEWBELL_EXEC}")
  set(DEWBELL_EXEC "\"${DEWBELL_EXEC}\"")
endif()
configure_file("${dewbell_template}" "${dewbell_entry}" @ONLY)
