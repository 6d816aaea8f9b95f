# The manual edit dialog, the progress dialog and the two edit runs: a
# library of their own, so their tests need no main window. Included from
# src/app/CMakeLists.txt.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(liedkram_edit_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/edit_runs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/edit_runs.h
  ${CMAKE_CURRENT_LIST_DIR}/manual_edit_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/manual_edit_dlg.h
  ${CMAKE_CURRENT_LIST_DIR}/progress_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_dlg.h
)
set_target_properties(liedkram_edit_dialogs PROPERTIES AUTOMOC ON)
target_include_directories(liedkram_edit_dialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(liedkram_edit_dialogs PUBLIC liedkram_core Qt6::Widgets)
