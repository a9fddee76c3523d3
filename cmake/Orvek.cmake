# Libraries are made per subsystem folder from the sources that folder holds, so a
# folder gets its library when its first source lands and no list needs editing.

set(ORVEK_FOLDERS "")
set(ORVEK_LOGIC_TARGETS "")

function(orvek_sources out dir)
  file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# orvek_logic(folder [extra link libraries]): orvek_<folder> from <folder>/*.cpp,
# linking every logic library below it.
macro(orvek_logic folder)
  list(APPEND ORVEK_FOLDERS ${folder})
  orvek_sources(_srcs ${folder})
  if(_srcs)
    add_library(orvek_${folder} STATIC ${_srcs})
    target_include_directories(orvek_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(orvek_${folder} PUBLIC ${ORVEK_LOGIC_TARGETS} Qt6::Core Qt6::Gui ${ARGN})
    list(APPEND ORVEK_LOGIC_TARGETS orvek_${folder})
  endif()
endmacro()

# orvek_ui(folder): orvek_<folder>_ui from <folder>/ui/*.cpp, linking its own logic,
# every logic library and every window library below it.
set(ORVEK_UI_TARGETS "")
macro(orvek_ui folder)
  orvek_sources(_srcs ${folder}/ui)
  if(_srcs)
    add_library(orvek_${folder}_ui STATIC ${_srcs})
    target_include_directories(orvek_${folder}_ui PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(orvek_${folder}_ui PUBLIC ${ORVEK_UI_TARGETS} ${ORVEK_LOGIC_TARGETS}
      Qt6::Widgets Qt6::PrintSupport Qt6::Charts)
    list(APPEND ORVEK_UI_TARGETS orvek_${folder}_ui)
  endif()
endmacro()
