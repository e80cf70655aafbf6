# The desktop utility services: file-exists check, document launcher, combo helper, save
# dialog and file system. Each is an interface (what the program relies on) plus the real
# implementation used by the program; tests use the fakes in tests/fakes/.
add_library(jabbly_services STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileCheck.h ${CMAKE_CURRENT_LIST_DIR}/FileCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileSystem.h ${CMAKE_CURRENT_LIST_DIR}/FileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentLauncher.h ${CMAKE_CURRENT_LIST_DIR}/DocumentLauncher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComboTool.h ${CMAKE_CURRENT_LIST_DIR}/ComboTool.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SaveDialog.h ${CMAKE_CURRENT_LIST_DIR}/SaveDialog.cpp)
target_include_directories(jabbly_services PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(jabbly_services PUBLIC jabbly_contracts Qt6::Core Qt6::Gui Qt6::Widgets)
