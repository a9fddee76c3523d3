# The folders that ship next to the executable. Sources under data/ are copied in;
# folders without sources yet are created empty so the program finds them.
foreach(dir EmptyDatabase help Validation DemoExamples Strings Pictures)
  file(MAKE_DIRECTORY ${ORVEK_BIN_DIR}/${dir})
  if(EXISTS ${PROJECT_SOURCE_DIR}/data/${dir})
    file(COPY ${PROJECT_SOURCE_DIR}/data/${dir}/ DESTINATION ${ORVEK_BIN_DIR}/${dir})
  endif()
endforeach()

# The string table: data/strings.tsv imported into bin/Strings/ by the program's own
# import routine (texts edited in the build's browser survive a later import), with the
# source beside it so the program can bring a newer source in at start-up.
if(TARGET orvek_core)
  add_executable(orvek_import_strings ${PROJECT_SOURCE_DIR}/core/tools/import_strings.cpp)
  target_link_libraries(orvek_import_strings PRIVATE orvek_core)
  set_target_properties(orvek_import_strings PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(_strings_stamp ${CMAKE_BINARY_DIR}/strings-imported.stamp)
  add_custom_command(OUTPUT ${_strings_stamp}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
      $<TARGET_FILE:orvek_import_strings> ${PROJECT_SOURCE_DIR}/data/strings.tsv ${ORVEK_BIN_DIR}/Strings
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/strings.tsv ${ORVEK_BIN_DIR}/Strings/strings.tsv
    COMMAND ${CMAKE_COMMAND} -E touch ${_strings_stamp}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/strings.tsv orvek_import_strings
    COMMENT "Importing the string table"
    VERBATIM)
  add_custom_target(orvek_strings ALL DEPENDS ${_strings_stamp})
endif()
