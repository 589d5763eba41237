# korvala_library(NAME SOURCES ... LINKS ... [QT]): a static library of the
# project, or an interface library while its folder holds no sources yet.
# QT turns on the meta-object compiler.
function(korvala_library name)
  cmake_parse_arguments(L "QT" "" "SOURCES;LINKS" ${ARGN})
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_LINKS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(L_QT)
      set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_LINKS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()
