# The report texts checked by real clients: LibreOffice Writer reads the full report's
# RTF, LibreOffice Calc computes the formula listing. One program, one LibreOffice at a
# time (one profile), a generous time limit for the first start of a profile.
if(NOT ORVEK_SANITIZE)
  file(GLOB client_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp ${CMAKE_CURRENT_LIST_DIR}/*.h)
  add_executable(test_richtext_clients ${client_sources})
  target_link_libraries(test_richtext_clients PRIVATE orvek_test_support)
  target_compile_definitions(test_richtext_clients PRIVATE
    ORVEK_OFFICE_PROFILE="${CMAKE_BINARY_DIR}/office-profile")
  gtest_discover_tests(test_richtext_clients DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 300 RESOURCE_LOCK libreoffice)
endif()
