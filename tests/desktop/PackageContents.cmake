# Packs the build as scripts/package does (CPack's own configuration) into a fresh folder and
# checks what the package holds: cmake -DBUILD_DIR=... -DWORK=... -P this.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${WORK} --config ${BUILD_DIR}/CPackConfig.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB deb ${WORK}/*.deb)
if(NOT result EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack made no package (${result}):\n${output}")
endif()

execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
set(problems)
foreach(path usr/share/doc/orv-editor/copyright usr/share/doc/orv-editor/changelog.gz
             usr/share/icons/hicolor/scalable/apps/orv-editor.svg usr/share/man/man1/orv-cli.1.gz)
  string(FIND "${listing}" " ./${path}\n" at)
  if(at EQUAL -1)
    list(APPEND problems "the package lacks /${path}")
  endif()
endforeach()

# A file of the package, as it would be installed.
function(read_packaged path out)
  execute_process(COMMAND sh -c "dpkg-deb --fsys-tarfile \"$0\" | tar -xOf - \"./$1\"" ${deb} ${path}
                  OUTPUT_VARIABLE text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

read_packaged(usr/share/doc/orv-editor/copyright copyright)
if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")
  list(APPEND problems "the copyright file is not in the machine-readable format")
endif()
# Every licence named by a Files paragraph has its text in a License paragraph of its own.
string(REGEX MATCHALL "\nLicense: [^\n]+\n" named "${copyright}")
foreach(line ${named})
  string(REGEX REPLACE "\nLicense: ([^\n]+)\n" "\\1" names "${line}")
  string(REPLACE " and " ";" names "${names}")
  foreach(name ${names})
    if(NOT copyright MATCHES "\n\nLicense: ${name}\n ")
      list(APPEND problems "the licence ${name} has no text")
    endif()
  endforeach()
endforeach()

read_packaged(usr/share/icons/hicolor/scalable/apps/orv-editor.svg svg)
if(NOT svg MATCHES "<svg [^>]*viewBox=\"0 0 256 256\"" OR NOT svg MATCHES "</svg>\n*$")
  list(APPEND problems "the scalable icon is not a whole SVG document")
endif()

execute_process(COMMAND dpkg-deb --field ${deb} Version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND sh -c "dpkg-deb --fsys-tarfile \"$0\" | tar -xOf - ./usr/share/doc/orv-editor/changelog.gz | gzip -dc | head -n 1" ${deb}
                OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^orv-editor \\(${version}\\) ")
  list(APPEND problems "the changelog does not start with this version (${version}): ${changelog}")
endif()

if(problems)
  list(JOIN problems "\n" problems)
  message(FATAL_ERROR "${problems}")
endif()
message(STATUS "package checked: ${deb}")
