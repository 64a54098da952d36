# Several stand-alone scales side by side. Build it against the installed library:
#   cmake -S . -B build && cmake --build build && build/scaledemo
cmake_minimum_required(VERSION 3.25)
project(scaledemo LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
find_package(Kesl 1 CONFIG REQUIRED)
add_executable(scaledemo main.cpp)
target_link_libraries(scaledemo PRIVATE Kesl::kesl)
