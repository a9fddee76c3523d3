# The folders that ship next to the executable. Sources under data/ are copied in;
# folders without sources yet are created empty so the program finds them.
foreach(dir EmptyDatabase help Validation DemoExamples Strings)
  file(MAKE_DIRECTORY ${ORVEK_BIN_DIR}/${dir})
  if(EXISTS ${PROJECT_SOURCE_DIR}/data/${dir})
    file(COPY ${PROJECT_SOURCE_DIR}/data/${dir}/ DESTINATION ${ORVEK_BIN_DIR}/${dir})
  endif()
endforeach()
