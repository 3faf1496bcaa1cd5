# wxWidgets (GTK 3) for the desktop layers, as one interface target. Its
# headers count as system headers, so our warning flags judge only our code.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS ribbon propgrid aui html adv xml core base)
add_library(formwright_wx INTERFACE)
target_include_directories(formwright_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(formwright_wx INTERFACE ${wxWidgets_DEFINITIONS})
target_compile_options(formwright_wx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(formwright_wx INTERFACE ${wxWidgets_LIBRARIES})
