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

# The empty records database: data/schema/empty_database.sql run into bin/EmptyDatabase/
# by the program's own routine (the folder names come from the string table), with the
# delivered catalogue of quantities and units of data/schema/quantity_catalogue.sql.
if(TARGET orvek_database)
  add_executable(orvek_make_empty_database ${PROJECT_SOURCE_DIR}/database/tools/make_empty_database.cpp)
  target_link_libraries(orvek_make_empty_database PRIVATE orvek_database)
  set_target_properties(orvek_make_empty_database PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
  set(_empty_db ${ORVEK_BIN_DIR}/EmptyDatabase/Orvek.sqlite)
  add_custom_command(OUTPUT ${_empty_db}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
      $<TARGET_FILE:orvek_make_empty_database> ${PROJECT_SOURCE_DIR}/data/schema/empty_database.sql
      ${ORVEK_BIN_DIR} ${ORVEK_BIN_DIR}/EmptyDatabase ${PROJECT_SOURCE_DIR}/data/schema/quantity_catalogue.sql
    DEPENDS ${PROJECT_SOURCE_DIR}/data/schema/empty_database.sql orvek_make_empty_database orvek_strings
      ${PROJECT_SOURCE_DIR}/data/schema/quantity_catalogue.sql
      ${CMAKE_BINARY_DIR}/strings-imported.stamp
    COMMENT "Building the empty database"
    VERBATIM)
  add_custom_target(orvek_empty_database ALL DEPENDS ${_empty_db})
endif()

# Building the program alone (scripts/run) brings its data folders up to date too.
if(TARGET orvek)
  foreach(data_target orvek_strings orvek_empty_database)
    if(TARGET ${data_target})
      add_dependencies(orvek ${data_target})
    endif()
  endforeach()
endif()
