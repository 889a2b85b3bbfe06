find_package(Threads REQUIRED)

if(TOVRIK_BUILD_TESTS OR TOVRIK_BUILD_BENCH)
    if(TOVRIK_BACKEND STREQUAL "win32")
        # Debian ships GoogleTest as source for cross builds.
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    else()
        find_package(GTest REQUIRED)
    endif()
endif()

if(TOVRIK_BACKEND STREQUAL "linux")
    find_package(PkgConfig REQUIRED)
    find_package(OpenSSL REQUIRED)
endif()
