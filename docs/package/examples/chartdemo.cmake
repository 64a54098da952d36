# A chart with three layers of data, a choice of mouse action and the four
# cross-hairs. Build it against the installed library:
#   cmake -S . -B build && cmake --build build && build/chartdemo
cmake_minimum_required(VERSION 3.25)
project(chartdemo LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(Kesl 1 CONFIG REQUIRED)
add_executable(chartdemo main.cpp)
target_link_libraries(chartdemo PRIVATE Kesl::kesl)
