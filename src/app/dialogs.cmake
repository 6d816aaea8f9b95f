# The options, duplicate and about dialogs: a library of their own, so their
# tests need no main window. Included from src/app/CMakeLists.txt.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(liedkram_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/about_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_dlg.h
  ${CMAKE_CURRENT_LIST_DIR}/duplicate_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/duplicate_dlg.h
  ${CMAKE_CURRENT_LIST_DIR}/options_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/options_dlg.h
)
set_target_properties(liedkram_dialogs PROPERTIES AUTOMOC ON)
target_include_directories(liedkram_dialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(liedkram_dialogs PUBLIC liedkram_core Qt6::Widgets)
